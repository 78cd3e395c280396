// The asking functions on the simulated desktop: answers come from its queue,
// the trace shows each dialog as it closed.
#include <gtest/gtest.h>

#include "builtins_test_support.h"
#include "expr/KindsObject.h"

namespace ovrix {
namespace {

using namespace testing_builtins;
using Lines = std::vector<std::string>;

SimDialogAnswer Ok(std::u16string text) { return {DialogButton::Ok, std::move(text), {}}; }
SimDialogAnswer Ok() { return {DialogButton::Ok, std::nullopt, {}}; }
SimDialogAnswer Cancel() { return {DialogButton::Cancel, std::nullopt, {}}; }
SimDialogAnswer Values(std::vector<std::pair<std::u16string, std::u16string>> values) {
    return {DialogButton::Ok, std::nullopt, std::move(values)};
}
PExprItem Truth(bool b) { return MakeItem<ExprItem_Num>(b ? 1.0 : 0.0); }

struct DialogFunctions : ::testing::Test {
    // The trace lines of these events, without their time field.
    Lines Of(std::initializer_list<std::string_view> events) const { return EventsOf(host.trace, events); }
    FakeBuiltinHost host;
};

TEST_F(DialogFunctions, InputBoxGivesTheTextOrTheEmptyTextOnCancel) {
    host.sim.dialogAnswers = {Ok(u"Alice"), Ok(), Cancel()};
    EXPECT_EQ(AsText(Call(u"InputBox", {Text(u"Name?"), Text(u"Bob"), Text(u"")})), u"Alice");
    EXPECT_EQ(AsText(Call(u"InputBox", {Text(u"Name?"), Text(u"Bob"), Text(u"T")})), u"Bob");
    const PExprItem cancelled = Call(u"InputBox", {Text(u"Name?"), Text(u"Bob"), Text(u"T")});
    ASSERT_TRUE(cancelled.HasValue());
    EXPECT_EQ(cancelled->Kind(), kind::kText);
    EXPECT_EQ(AsText(cancelled), u"");
    // The queue is used up: the next dialog is cancelled.
    EXPECT_EQ(AsText(Call(u"InputBoxMultiLine", {Text(u"Notes"), Text(u"a\r\nb"), Text(u"")})), u"");
    // The step that asks is on the progress window before each box opens.
    EXPECT_EQ(Of({"ask", "step-text"}),
              (Lines{"step-text", "ask inputbox \"Vantorel\" \"Name?\" ok \"Alice\"", "step-text",
                     "ask inputbox \"T\" \"Name?\" ok \"Bob\"", "step-text", "ask inputbox \"T\" \"Name?\" cancel \"\"",
                     "step-text", "ask inputboxml \"Vantorel\" \"Notes\" cancel \"\""}));
}

TEST_F(DialogFunctions, InputBoxesNeedThreeArgumentsAndKeepTheTemplateCaption) {
    EXPECT_FALSE(CallBare(u"InputBox", {Text(u"P"), Text(u"D")}).HasValue());
    EXPECT_FALSE(CallBare(u"InputBoxMultiLine", {Text(u"P"), Text(u"D")}).HasValue());
    EXPECT_TRUE(Of({"ask", "step-text"}).empty());
    host.defaultTitle.clear();
    host.sim.dialogAnswers = {Ok(u"typed\r\ntext")};
    EXPECT_EQ(AsText(CallBare(u"InputBoxMultiLine", {Text(u"P"), Text(u"D"), Text(u"")})), u"typed\r\ntext");
    EXPECT_EQ(Of({"ask"}), (Lines{"ask inputboxml \"Input Box\" \"P\" ok \"typed\\r\\ntext\""}));
}

// How the answer reads as a number is ReadInputNumber's; here only the kinds.
TEST_F(DialogFunctions, InputBoxReadsANumberWhenAsked) {
    host.sim.dialogAnswers = {Ok(u"0x1F"), Ok(u"12"), Cancel()};
    auto ask = [](bool number) { return Call(u"InputBox", {Text(u"N"), Text(u""), Text(u""), Truth(number)}); };
    const PExprItem hex = ask(true);
    EXPECT_EQ(hex->Kind(), kind::kNumber);
    EXPECT_EQ(AsText(hex), u"31");
    const PExprItem asText = ask(false);
    EXPECT_EQ(asText->Kind(), kind::kText);
    EXPECT_EQ(AsText(asText), u"12");
    // Cancel gives the empty text even when a number was asked for.
    EXPECT_EQ(ask(true)->Kind(), kind::kText);
}

TEST_F(DialogFunctions, SelectListOffersSortedItemsAndPreselectsByPrefix) {
    const PExprItem items = Text(u"b\r\n\r\nApple\r\napricot");
    host.sim.dialogAnswers = {Ok(), Ok(u"b"), Ok(u"not listed"), Ok(u"typed"), Cancel()};
    EXPECT_EQ(AsText(Call(u"SelectList", {items, Truth(true), Text(u""), Text(u""), Text(u"ap")})), u"Apple");
    EXPECT_EQ(AsText(Call(u"SelectList", {items, Truth(true), Text(u"Pick"), Text(u"T"), Text(u"ap")})), u"b");
    // An item the list does not hold leaves the selection as it opened.
    EXPECT_EQ(AsText(Call(u"SelectList", {items, Truth(true), Text(u""), Text(u""), Text(u"B")})), u"b");
    EXPECT_EQ(AsText(Call(u"SelectList", {items, Truth(false), Text(u""), Text(u""), Text(u"")})), u"typed");
    const PExprItem cancelled = Call(u"SelectList", {items, Truth(false), Text(u""), Text(u""), Text(u"x")});
    ASSERT_TRUE(cancelled.HasValue());
    EXPECT_EQ(AsText(cancelled), u"");
    EXPECT_EQ(Of({"ask", "step-text"}),
              (Lines{"ask selectlist \"Select String\" \"Please select a value:\" ok \"Apple\"",
                     "ask selectlist \"T\" \"Pick\" ok \"b\"",
                     "ask selectlist \"Select String\" \"Please select a value:\" ok \"b\"",
                     "ask selectlist \"Select String\" \"Please select or enter a value:\" ok \"typed\"",
                     "ask selectlist \"Select String\" \"Please select or enter a value:\" cancel \"\""}));
}

TEST_F(DialogFunctions, SelectListTakesArraysAndNeedsFiveArguments) {
    PExprItem array = MakeItem<AnyArray>();
    for (double v : {30.0, 4.0}) ItemAs<AnyArray>(array)->Push(MakeItem<ExprItem_Num>(v));
    ItemAs<AnyArray>(array)->Push(PExprItem());
    host.sim.dialogAnswers = {Ok(u"4"), Ok()};
    EXPECT_EQ(AsText(CallBare(u"SelectList", {array, Truth(true), Text(u""), Text(u""), Text(u"")})), u"4");
    // Nothing preselected in a select-only list: OK gives the empty text.
    EXPECT_EQ(AsText(CallBare(u"SelectList", {array, Truth(true), Text(u""), Text(u""), Text(u"")})), u"");
    EXPECT_FALSE(CallBare(u"SelectList", {array, Truth(true), Text(u""), Text(u"")}).HasValue());
    // The stored default arguments make a call with only its items complete.
    host.sim.dialogAnswers = {Ok()};
    EXPECT_EQ(AsText(Call(u"SelectList", {})), u"");
    EXPECT_EQ(Of({"ask"}).back(), "ask selectlist \"Select String\" \"Please select a value:\" ok \"\"");
}

TEST_F(DialogFunctions, ConfirmBoxAnswersOneForOk) {
    host.sim.dialogAnswers = {Ok(), Cancel()};
    const PExprItem yes = Call(u"ConfirmBox", {Text(u"Go on?"), Text(u"")});
    EXPECT_EQ(yes->Kind(), kind::kNumber);
    EXPECT_EQ(AsNumber(yes), 1);
    EXPECT_EQ(AsNumber(Call(u"ConfirmBox", {Text(u"Sure?"), Text(u"Check")})), 0);
    EXPECT_EQ(AsNumber(Call(u"ConfirmBox", {Text(u"Used up"), Text(u"")})), 0);
    EXPECT_FALSE(CallBare(u"ConfirmBox", {Text(u"one")}).HasValue());
    EXPECT_EQ(Of({"ask"}), (Lines{"ask confirm \"Vantorel\" \"Go on?\" ok \"\"", "ask confirm \"Check\" \"Sure?\" cancel \"\"",
                                  "ask confirm \"Vantorel\" \"Used up\" cancel \"\""}));
}

TEST_F(DialogFunctions, InputParaGivesNamedDataInRowOrder) {
    host.sim.dialogAnswers = {Ok(), Values({{u"Address", u"Main St 1"}, {u"Nobody", u"x"}})};
    const PExprItem first = Call(u"InputPara", {});
    const auto* data = ItemAs<ExprItem_NamedData>(first);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->order, (std::vector<std::u16string>{u"Name", u"Age", u"Address"}));
    EXPECT_EQ(AsText(data->Get(u"Name")), u"Alice");
    const PExprItem second = Call(u"InputPara", {});
    EXPECT_EQ(AsText(ItemAs<ExprItem_NamedData>(second)->Get(u"Address")), u"Main St 1");
    EXPECT_EQ(Of({"ask"}), (Lines{"ask inputpara \"Input Parameters\" \"\" ok \"Name=Alice\\nAge=16\\nAddress=\"",
                                  "ask inputpara \"Input Parameters\" \"\" ok \"Name=Alice\\nAge=16\\nAddress=Main St 1\""}));
}

TEST_F(DialogFunctions, InputParaWithoutRowsOrCancelledGivesNoValue) {
    host.sim.dialogAnswers = {Cancel()};
    EXPECT_FALSE(Call(u"InputPara", {Text(u"")}).HasValue());
    EXPECT_FALSE(Call(u"InputPara", {Text(u"=\r\n**\r\n = x")}).HasValue());
    EXPECT_TRUE(Of({"ask"}).empty());  // no dialog was shown for those
    EXPECT_FALSE(Call(u"InputPara", {Text(u"A = 1")}).HasValue());
    EXPECT_EQ(Of({"ask"}), (Lines{"ask inputpara \"Input Parameters\" \"\" cancel \"\""}));
    EXPECT_FALSE(CallBare(u"InputPara", {}).HasValue());
}

TEST_F(DialogFunctions, InputParaRefusesOkWhileARequiredValueIsEmpty) {
    host.sim.dialogAnswers = {Values({{u"Name", u""}, {u"Age", u"17"}}), Values({{u"Name", u"Eve"}})};
    const PExprItem result = Call(u"InputPara", {});
    const auto* data = ItemAs<ExprItem_NamedData>(result);
    ASSERT_NE(data, nullptr);
    // What was typed before the refusal stays in the open dialog.
    EXPECT_EQ(AsText(data->Get(u"Age")), u"17");
    EXPECT_EQ(AsText(data->Get(u"Name")), u"Eve");
    EXPECT_EQ(Of({"msgbox", "ask"}),
              (Lines{"msgbox 0x0 \"Ovrix\" \"The value of \\\"Name\\\" can not be empty!\"",
                     "ask inputpara \"Input Parameters\" \"\" ok \"Name=Eve\\nAge=17\\nAddress=\""}));

    // Refused and then nothing more from the person: the dialog is cancelled.
    host.sim.dialogAnswers = {Values({{u"Name", u""}})};
    EXPECT_FALSE(Call(u"InputPara", {}).HasValue());
    EXPECT_EQ(host.sim.boxes.size(), 2u);
}

TEST_F(DialogFunctions, HostileArgumentsNeverBreakTheDialogs) {
    std::u16string huge;
    for (int i = 0; i < 5000; ++i) huge += u"Item " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + u"\r\n";
    host.sim.dialogAnswers = {Ok(), Ok(), Ok(), Ok()};
    EXPECT_EQ(AsText(Call(u"SelectList", {Text(huge), Truth(true), Text(u""), Text(u""), Text(u"item z")})), u"Item Z");
    EXPECT_EQ(AsText(Call(u"SelectList", {Text(u"\r\n\r\n"), Truth(true), Text(u""), Text(u""), Text(u"a")})), u"");
    const PExprItem para = Call(u"InputPara", {Text(huge)});
    ASSERT_NE(ItemAs<ExprItem_NamedData>(para), nullptr);
    EXPECT_EQ(ItemAs<ExprItem_NamedData>(para)->Size(), 26);  // one member per distinct name
    // A box's texts go to the trace as they are, even with quotes and zeros.
    EXPECT_EQ(AsText(CallBare(u"InputBox", {Text(std::u16string(u"\"q\"\0", 4)), Text(u""), Text(u"")})), u"");
    EXPECT_EQ(Of({"ask"}).back(), "ask inputbox \"Vantorel\" \"\\\"q\\\"\\u0000\" ok \"\"");
}

}  // namespace
}  // namespace ovrix
