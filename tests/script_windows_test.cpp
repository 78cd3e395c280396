// Windows that scripts build, where no trace shows it: the form's value owns
// its window, colours left empty keep the system's, and a stop request ends a
// modal run with the owner disabled during the run and enabled after it.
#include <gtest/gtest.h>

#include "ScriptTestSupport.h"
#include "SimFixture.h"
#include "builtins_test_support.h"
#include "expr/KindsObject.h"
#include "expr/VariableName.h"
#include "expr/Variables.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using scripttest::LogText, scripttest::Log, scripttest::Num, scripttest::Set, scripttest::Text, scripttest::Var;
using testing_builtins::LoadCall;

PExprItem Empty() { return MakeItem<ExprItem_Empty>(); }

TEST(ScriptWindowFunctions, TheFormsValueOwnsItsWindowAndEmptyColoursKeepTheSystems) {
    testing_builtins::FakeBuiltinHost host;
    const PExprItem form = testing_builtins::Call(u"CreateWindow", {Text(u"Form")});
    const auto* handle = ItemAs<ExprItem_WindowHandle>(form);
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(handle->ownsWindow);
    testing_builtins::CallWith(u"SetWindowColors", {form, Num(0xFF), Empty()});
    EXPECT_EQ(host.sim.scriptWindows.Colors(handle->window).text, 0xFFu);
    EXPECT_EQ(host.sim.scriptWindows.Colors(handle->window).background, 0xFFFFFFu);
}

WindowId WindowIn(std::u16string_view variable) {
    const auto* value = ItemAs<ExprItem_WindowHandle>(GetVariable(CanonicalVariableName(variable)));
    return value != nullptr ? value->window : kNoWindow;
}

// The stop request ends a modal run within a wait slice, with no value.
TEST(ScriptWindowPlay, StopEndsAModalRunWithinASliceAndEnablesTheOwnerAgain) {
    SimFixture f;
    PlayerBuiltinHost host{f.player};
    scripttest::ClearLog();
    bool ownerDisabled = false;
    f.sim.onPump = [&](SimPlatform& sim) {
        if (sim.ElapsedMs() < 1000) return;
        if (const WindowId owner = WindowIn(u"!owner"); owner != kNoWindow && !sim.scriptWindows.IsEnabled(owner)) {
            ownerDisabled = true;
        }
        if (sim.ElapsedMs() >= 2000) SetFlag(StopRequest);
    };
    f.PlaySteps({Set(u"!owner", LoadCall(u"CreateWindow", {Text(u"Owner")})),
                 Set(u"!form", LoadCall(u"CreateDialog", {Text(u"Form"), Empty(), Empty(), Num(600), Num(400), Var(u"!owner")})),
                 Set(u"$r", LoadCall(u"RunModalWindow", {Var(u"!form")})), Log(u"after")});
    EXPECT_LT(f.sim.ElapsedMs(), 2000u + 2 * kWaitSlice);
    EXPECT_EQ(LogText(), "");
    EXPECT_TRUE(f.sim.windows.IsWindow(WindowIn(u"!form")));
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(f.sim.scriptWindows.IsEnabled(WindowIn(u"!owner")));
}

}  // namespace
}  // namespace ovrix
