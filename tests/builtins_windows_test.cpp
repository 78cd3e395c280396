// The windows family called with fewer arguments than it takes: the loader
// always fills a played call's missing arguments, so only a direct call
// reaches these paths (what a played script sees is in the window_* golden
// traces).
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "builtins_test_support.h"
#include "container/Text.h"
#include "expr/KindsObject.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

// Each function gives nothing and acts on nothing unless it has all its
// arguments, even on a live window that the full call does act on.
TEST(WindowFunctions, EachReadsAllItsArgumentsOrGivesNothing) {
    FakeBuiltinHost host;
    SimWindowSpec spec;
    spec.title = u"Stays";
    spec.className = u"Edit";
    spec.controls.push_back(spec);
    const PExprItem live = MakeItem<ExprItem_WindowHandle>(host.sim.windows.Add(spec));
    const PExprItem truth = MakeItem<ExprItem_Bool>(true);
    const std::vector<std::pair<const char16_t*, std::vector<PExprItem>>> calls = {
        {u"FindWindowEx", {Text(u""), Text(u"Edit")}},
        {u"ListWindows", {Text(u"*"), Text(u""), Text(u"")}}, {u"WindowFromPoint", {Num(0), Num(0)}},
        {u"FindSubWindow", {live, Text(u""), Text(u"Edit"), truth}}, {u"GetRectInParent", {live}},
        {u"ActivateWindow", {live}}, {u"CloseWindow", {live}}, {u"SetWindowPos", {live, Num(1), Num(2)}},
        {u"MoveWindowToCenter", {live}}, {u"SetWindowSize", {live, Num(1), Num(2)}}, {u"SetFocus", {live}},
        {u"InvalidateRect", {live, Call(u"CreateRect", {Num(0), Num(0)})}}, {u"SetRedraw", {live, truth}},
        {u"GetWindowText", {live}}, {u"Win_GetText", {live}}, {u"SetWindowText", {live, Text(u"t")}},
        {u"Win_SetText", {live, Text(u"t")}}, {u"GetClientWidth", {live}}, {u"GetClientHeight", {live}},
        {u"ShowWindow", {live, Num(5)}}, {u"DisableWindowTheme", {live}},
        {u"SendMessage", {live, Num(0x0E), Num(0), Num(0)}}, {u"SendString", {live, Text(u"x")}},
    };
    for (const auto& [key, args] : calls) {
        std::vector<PExprItem> tooFew = args;
        tooFew.pop_back();
        EXPECT_FALSE(CallBare(key, tooFew)) << ToUtf8(key);
    }
    EXPECT_FALSE(CallBare(u"FindWindow", {}));
    EXPECT_TRUE(host.trace.empty());
    // The full calls do answer.
    EXPECT_EQ(AsText(CallBare(u"GetWindowText", {live})), u"Stays");
    EXPECT_TRUE(CallBare(u"FindSubWindow", {live, Text(u""), Text(u"Edit"), truth}));
    EXPECT_TRUE(CallBare(u"FindWindowEx", {Text(u""), Text(u"Edit")}));
}

}  // namespace
}  // namespace ovrix
