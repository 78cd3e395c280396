// The asking functions in a played script: the input box's step is shown
// first, answers land in variables, the default title is the caption.
#include <gtest/gtest.h>

#include "ScriptTestSupport.h"
#include "SimFixture.h"
#include "builtins_test_support.h"
#include "engine/Playback.h"
#include "expr/Variables.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using scripttest::Num, scripttest::Set, scripttest::Step, scripttest::Text;
using testing_builtins::LoadCall;
using Lines = std::vector<std::string>;

struct DialogsPlay : ::testing::Test {
    void Play(std::vector<Ref<Event>> steps) { f.PlaySteps(std::move(steps), true); }
    // Ends after the test has read the variables, which the end clears.
    void TearDown() override { EndPlayback(f.player); }
    // The step lines and dialogs, in order, without their time field.
    Lines StepsAndDialogs() const { return f.Events({"line step", "ask"}); }
    static std::u16string Variable(std::u16string_view name) { return AsText(GetVariable(CanonicalVariableName(name))); }

    SimFixture f;
    PlayerBuiltinHost host{f.player};
};

TEST_F(DialogsPlay, AnswersReachTheScriptAfterItsStepIsShown) {
    f.sim.dialogAnswers = {{DialogButton::Ok, u"Alice", {}},
                           {DialogButton::Ok, std::nullopt, {}},
                           {DialogButton::Cancel, std::nullopt, {}}};
    auto options = Step<SetVarEvent>(0);
    options->code = scripttest::Stored(LoadCall(u"SetScriptOptions", {Text(u"DefaultTitle = Mine")}));
    Play({options, Set(u"#who", LoadCall(u"InputBox", {Text(u"Who?"), Text(u""), Text(u"")})),
          Set(u"#pick", LoadCall(u"SelectList", {Text(u"red\r\ngreen"), Num(1), Text(u""), Text(u""), Text(u"G")})),
          Set(u"#sure", LoadCall(u"ConfirmBox", {Text(u"Sure?"), Text(u"")}))});
    EXPECT_EQ(Variable(u"#who"), u"Alice");
    EXPECT_EQ(Variable(u"#pick"), u"green");
    EXPECT_EQ(Variable(u"#sure"), u"0");
    const Lines seen = StepsAndDialogs();
    // Quick steps are not each shown, but an input box shows its own step
    // before it opens; the list and the confirmation box do not.
    ASSERT_EQ(seen.size(), 5u) << ::testing::PrintToString(f.trace);
    EXPECT_EQ(seen[0].rfind("line step \"Step 1: ", 0), 0u);
    EXPECT_EQ(seen[1].rfind("line step \"Step 2: Set #who = InputBox(", 0), 0u);
    EXPECT_EQ(Lines(seen.begin() + 2, seen.end()),
              (Lines{"ask inputbox \"Mine\" \"Who?\" ok \"Alice\"",
                     "ask selectlist \"Select String\" \"Please select a value:\" ok \"green\"",
                     "ask confirm \"Mine\" \"Sure?\" cancel \"\""}));
}

}  // namespace
}  // namespace ovrix
