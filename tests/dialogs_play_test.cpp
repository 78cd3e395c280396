// The asking functions inside a played script on the simulated desktop: the
// progress window names the asking step before its dialog opens, the
// answers land in the script's variables, and the playback's default title
// is the dialogs' caption.
#include <gtest/gtest.h>

#include "ScriptTestSupport.h"
#include "SimFixture.h"
#include "builtins_test_support.h"
#include "engine/Playback.h"
#include "expr/KindsObject.h"
#include "expr/Variables.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using scripttest::Num, scripttest::Set, scripttest::Step, scripttest::Text;
using testing_builtins::LoadCall;
using Lines = std::vector<std::string>;

struct DialogsPlay : ::testing::Test {
    void Play(std::vector<Ref<Event>> steps) {
        EventList list;
        for (auto& s : steps) list.Append(s);
        f.trace.clear();
        f.Begin();
        RunEventList(f.player, list, nullptr, 1);
    }
    // Ends after the test has read the variables, which the end clears.
    void TearDown() override { EndPlayback(f.player); }
    // The step lines and dialogs, in order, without their time field.
    Lines StepsAndDialogs() const {
        Lines out;
        for (const auto& line : f.trace) {
            const std::string rest = line.substr(line.find(' ') + 1);
            if (rest.rfind("line step", 0) == 0 || rest.rfind("ask", 0) == 0 || rest.rfind("msgbox", 0) == 0) {
                out.push_back(rest);
            }
        }
        return out;
    }
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
    EXPECT_EQ(seen[2], "ask inputbox \"Mine\" \"Who?\" ok \"Alice\"");
    EXPECT_EQ(seen[3], "ask selectlist \"Select String\" \"Please select a value:\" ok \"green\"");
    EXPECT_EQ(seen[4], "ask confirm \"Mine\" \"Sure?\" cancel \"\"");
}

TEST_F(DialogsPlay, RefusedParametersShowTheMessageAndTheDialogStaysOpen) {
    f.sim.dialogAnswers = {{DialogButton::Ok, std::nullopt, {{u"Name", u""}}},
                           {DialogButton::Ok, std::nullopt, {{u"Name", u"Bo"}, {u"Address", u"Here"}}}};
    Play({Set(u"#p", LoadCall(u"InputPara", {}))});
    const auto* data = ItemAs<ExprItem_NamedData>(GetVariable(CanonicalVariableName(u"#p")));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(AsText(data->Get(u"Address")), u"Here");
    const Lines seen = StepsAndDialogs();
    ASSERT_EQ(seen.size(), 3u) << ::testing::PrintToString(f.trace);
    EXPECT_EQ(seen[1], "msgbox 0x0 \"Ovrix\" \"The value of \\\"Name\\\" can not be empty!\"");
    EXPECT_EQ(seen[2], "ask inputpara \"Input Parameters\" \"\" ok \"Name=Bo\\nAge=16\\nAddress=Here\"");
}

}  // namespace
}  // namespace ovrix
