// The asking functions reached in ways a played script cannot reach them
// (what a script sees is in the dialogs_* golden traces): calls with fewer
// arguments than they take, which the loader never makes, and a zero
// character, which no script text can hold.
#include <gtest/gtest.h>

#include "builtins_test_support.h"
#include "expr/KindsObject.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

TEST(DialogFunctions, TooFewArgumentsShowNoDialog) {
    FakeBuiltinHost host;
    host.sim.dialogAnswers = {{DialogButton::Ok, u"typed", {}}};
    const PExprItem items = Text(u"a\r\nb");
    const PExprItem yes = Num(1);
    EXPECT_FALSE(CallBare(u"InputBox", {Text(u"P"), Text(u"D")}).HasValue());
    EXPECT_FALSE(CallBare(u"InputBoxMultiLine", {Text(u"P"), Text(u"D")}).HasValue());
    EXPECT_FALSE(CallBare(u"SelectList", {items, yes, Text(u""), Text(u"")}).HasValue());
    EXPECT_FALSE(CallBare(u"ConfirmBox", {Text(u"one")}).HasValue());
    EXPECT_FALSE(CallBare(u"InputPara", {}).HasValue());
    EXPECT_TRUE(EventsOf(host.trace, {"ask", "step-text"}).empty());
    // The answer was left for the first complete call.
    EXPECT_EQ(AsText(CallBare(u"InputBox", {Text(u"P"), Text(u"D"), Text(u"")})), u"typed");
}

TEST(DialogFunctions, AZeroCharacterGoesToTheTraceEscaped) {
    FakeBuiltinHost host;
    EXPECT_EQ(AsText(CallBare(u"InputBox", {Text(std::u16string(u"\"q\"\0", 4)), Text(u""), Text(u"")})), u"");
    EXPECT_EQ(EventsOf(host.trace, {"ask"}), (std::vector<std::string>{"ask inputbox \"Vantorel\" \"\\\"q\\\"\\u0000\" cancel \"\""}));
}

}  // namespace
}  // namespace ovrix
