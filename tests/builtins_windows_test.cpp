// The windows family on the simulated desktop: finders, actions as traced,
// places in a parent's client area, and the calls left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "builtins_test_support.h"
#include "container/Text.h"
#include "expr/KindsObject.h"
#include "platform/Trace.h"

namespace ovrix {
namespace {

using namespace testing_builtins;
using Handles = std::vector<WindowId>;
using Lines = std::vector<std::string>;

SimWindowSpec Win(std::u16string title, std::u16string className, ScreenRect rect = {},
                  std::vector<SimWindowSpec> controls = {}) {
    SimWindowSpec spec;
    spec.title = std::move(title);
    spec.className = std::move(className);
    spec.rect = rect;
    spec.controls = std::move(controls);
    return spec;
}

template <class Field, class Value>
SimWindowSpec With(SimWindowSpec spec, Field SimWindowSpec::*field, Value value) {
    spec.*field = value;
    return spec;
}

PExprItem Window(WindowId window) { return MakeItem<ExprItem_WindowHandle>(window); }
PExprItem Truth(bool value) { return MakeItem<ExprItem_Bool>(value); }

WindowId HandleOf(const PExprItem& value) {
    const auto* window = ItemAs<ExprItem_WindowHandle>(value);
    return window != nullptr ? window->window : kNoWindow;
}

class WindowFunctions : public ::testing::Test {
protected:
    WindowId Add(const SimWindowSpec& spec) { return host.sim.windows.Add(spec); }
    WindowId ChildOf(WindowId parent) { return host.sim.windows.ChildWindows(parent).at(0); }
    std::u16string TitleOf(const PExprItem& value) { return host.sim.windows.GetTitle(HandleOf(value)); }

    // A call loaded as the player loads it (defaults filled) on a window.
    static PExprItem CallOn(std::u16string_view key, WindowId window, std::vector<PExprItem> rest = {}) {
        rest.insert(rest.begin(), Window(window));
        return CallWith(key, rest);
    }

    // The window lines traced since the last look, without their time.
    Lines Traced() { return EventsSince(host.trace, seen_, {"window "}); }

    FakeBuiltinHost host;

private:
    size_t seen_ = 0;
};

// FindWindow and ListWindows skip what title searches skip; FindWindowEx
// looks at every visible window of the class, untitled and the shell too.
TEST_F(WindowFunctions, FindersMakeWindowValues) {
    const WindowId shell = Add(Win(u"Untitled - Notepad", u"Progman"));
    Add(With(Win(u"Hidden - Notepad", u"Notepad"), &SimWindowSpec::visible, false));
    const WindowId untitled = Add(Win(u"", u"notepad"));
    const WindowId pad = Add(With(Win(u"Untitled - Notepad", u"Notepad"), &SimWindowSpec::process, u"notepad.exe"));
    const WindowId notes = Add(With(Win(u"notes.txt - Notepad", u"Notepad"), &SimWindowSpec::process, u"write.exe"));
    const WindowId draft = Add(Win(u"Draft - Notepad", u"Other"));  // process unknown

    const PExprItem found = Call(u"FindWindow", {});  // "* - Notepad"
    ASSERT_EQ(HandleOf(found), pad);
    EXPECT_FALSE(ItemAs<ExprItem_WindowHandle>(found)->ownsWindow);
    EXPECT_EQ(HandleOf(Call(u"FindWindowEx", {Text(u"")})), untitled);  // class "Notepad"
    EXPECT_EQ(HandleOf(Call(u"FindWindowEx", {Text(u"NOTES*")})), notes);
    EXPECT_EQ(HandleOf(Call(u"FindWindowEx", {Text(u""), Text(u"progman")})), shell);
    EXPECT_FALSE(Call(u"FindWindowEx", {Text(u"Hidden*"), Text(u"Notepad")}));
    EXPECT_FALSE(Call(u"FindWindowEx", {Text(u""), Text(u"")}));

    const auto list = [](std::vector<PExprItem> args) {
        Handles out;
        const PExprItem listed = Call(u"ListWindows", std::move(args));
        const auto* array = ItemAs<AnyArray>(listed);
        for (size_t i = 0; array != nullptr && i < array->elements.size(); ++i) {
            out.push_back(HandleOf(array->elements[i]));
        }
        return out;
    };
    // ListWindows(title, process, class), each filter in its place.
    EXPECT_EQ(list({}), (Handles{pad, notes, draft}));
    EXPECT_EQ(list({Text(u""), Text(u"NOTEPAD.EXE")}), (Handles{pad, draft}));
    EXPECT_EQ(list({Text(u"*"), Text(u""), Text(u"notepad")}), (Handles{pad, notes}));
    EXPECT_EQ(list({Text(u"NOTES*"), Text(u""), Text(u"notepad")}), (Handles{notes}));
    // Each reads all its arguments or gives nothing.
    EXPECT_FALSE(CallBare(u"FindWindow", {}));
    EXPECT_FALSE(CallBare(u"FindWindowEx", {Text(u"")}));
    EXPECT_FALSE(CallBare(u"ListWindows", {Text(u"*"), Text(u"")}));
    EXPECT_FALSE(CallBare(u"WindowFromPoint", {Num(0)}));
}

// Recursion goes below children of another class only, each child searched
// before its next sibling.
TEST_F(WindowFunctions, FindSubWindowSearchesBelowOtherClassesWhenRecursive) {
    const SimWindowSpec hidden = With(Win(u"hidden", u"Edit"), &SimWindowSpec::visible, false);
    const SimWindowSpec spec = Win(u"Options", u"#32770", {},
                                   {Win(u"Name:", u"Static"), hidden, Win(u"", u"Group", {}, {Win(u"inner", u"Edit")}),
                                    Win(u"outer", u"Edit", {}, {Win(u"deep", u"Edit")}), Win(u"second", u"EDIT")});
    const WindowId dialog = Add(With(spec, &SimWindowSpec::closeMs, std::optional<uint64_t>(5000)));
    const auto find = [&](const char16_t* title, const char16_t* className, bool recursive) {
        return TitleOf(CallOn(u"FindSubWindow", dialog, {Text(title), Text(className), Truth(recursive)}));
    };
    EXPECT_EQ(TitleOf(CallOn(u"FindSubWindow", dialog)), u"outer");  // any title of class "Edit"
    EXPECT_EQ(find(u"", u"edit", true), u"inner");
    EXPECT_EQ(find(u"INN*", u"Edit", false), u"");
    EXPECT_EQ(find(u"deep", u"Edit", true), u"");  // below a window of the class itself
    EXPECT_EQ(find(u"sec*", u"Edit", false), u"second");
    EXPECT_EQ(find(u"hidden", u"Edit", true), u"");
    EXPECT_FALSE(CallOn(u"FindSubWindow", dialog, {Text(u""), Text(u""), Truth(true)}));
    host.sim.Sleep(6000);  // the dialog closes
    EXPECT_FALSE(CallOn(u"FindSubWindow", dialog, {Text(u""), Text(u"Edit"), Truth(true)}));
}

TEST_F(WindowFunctions, ActingOnAWindowIsTracedInItsTitle) {
    const WindowId other = Add(Win(u"Other", u"Other", {0, 0, 50, 50}));
    const WindowId pad = Add(With(Win(u"Pad", u"Notepad", {10, 10, 410, 310}), &SimWindowSpec::minimized, true));
    EXPECT_EQ(HandleOf(Call(u"GetForegroundWindow", {})), other);

    CallOn(u"ActivateWindow", pad);  // restored first, being minimised
    CallOn(u"ActivateWindow", pad);
    EXPECT_EQ(HandleOf(Call(u"GetForegroundWindow", {})), pad);
    CallOn(u"SetWindowPos", pad, {Num(20.9), Num(-3.7)});
    CallOn(u"SetWindowSize", pad, {Num(640), Num(480.5)});
    CallOn(u"ShowWindow", pad);
    CallOn(u"ShowWindow", pad, {Num(0)});
    CallOn(u"SetRedraw", pad, {Truth(true)});
    CallOn(u"SetRedraw", pad, {Num(0)});
    CallOn(u"SetFocus", pad);
    CallOn(u"InvalidateRect", pad, {Call(u"CreateRect", {Num(1), Num(2), Num(3), Num(4)})});
    CallOn(u"InvalidateRect", pad, {Num(5)});  // no rectangle: nothing
    CallOn(u"DisableWindowTheme", pad);
    CallOn(u"SetWindowText", pad, {Text(u"Notes")});
    CallOn(u"CloseWindow", pad);
    EXPECT_EQ(Traced(), (Lines{"window restore \"Pad\"", "window activate \"Pad\"", "window activate \"Pad\"",
                               "window move \"Pad\" 20 -3", "window size \"Pad\" 640 480", "window show \"Pad\" 5",
                               "window show \"Pad\" 0", "window message \"Pad\" 0xB 1 0",
                               "window message \"Pad\" 0xB 0 0", "window focus \"Pad\"",
                               "window invalidate \"Pad\" 1 2 4 6", "window theme-off \"Pad\"",
                               "window title \"Pad\" \"Notes\"", "window close \"Notes\""}));
    EXPECT_FALSE(host.sim.windows.IsWindow(pad));
}

TEST_F(WindowFunctions, TextsAndMessages) {
    const std::u16string longText(2000, u'x');
    const WindowId edit = ChildOf(Add(Win(u"Form", u"Form", {}, {Win(longText, u"Edit")})));
    EXPECT_EQ(AsText(CallOn(u"Win_GetText", edit)), longText);  // whole, by message
    EXPECT_EQ(AsText(CallOn(u"GetWindowText", edit)).size(), 259u);
    const PExprItem length = CallOn(u"SendMessage", edit, {Num(0x0E), Num(-1.9), Num(7.9)});
    ASSERT_TRUE(length && length->Kind() == kind::kNumber);
    EXPECT_EQ(AsNumber(length), 2000.0);

    CallOn(u"Win_SetText", edit, {Text(u"a")});
    CallOn(u"SendString", edit, {Text(u"b\U0001F600")});  // outside the basic plane: two units
    CallOn(u"SendString", edit, {Text(u"")});
    EXPECT_EQ(AsText(CallOn(u"Win_GetText", edit)), u"ab\U0001F600");
    const std::string title = "\"" + std::string(259, 'x') + "\"";
    EXPECT_EQ(Traced(), (Lines{"window message " + title + " 0xE -1 7", "window settext " + title + " \"a\"",
                               "window char \"a\" 98", "window char \"ab\" 55357",
                               "window char " + JsonString(u"ab\xD83D") + " 56832"}));
}

// A simulated window has no frame: its client area is its rectangle.
TEST_F(WindowFunctions, PlacesAreInTheParentsClientArea) {
    const SimWindowSpec child = Win(u"Child", u"Panel", {10, 20, 111, 70}, {Win(u"Leaf", u"Button", {5, 5, 25, 15})});
    const WindowId top = Add(Win(u"Top", u"Top", {100, 200, 400, 300}, {child}));
    const WindowId lost = ChildOf(Add(Win(u"Flat", u"Top", {0, 0, 0, 50}, {Win(u"Lost", u"Edit", {0, 0, 10, 10})})));
    const WindowId panel = ChildOf(top);
    const WindowId leaf = ChildOf(panel);
    const auto rectOf = [](const PExprItem& value) {
        const auto* r = ItemAs<ExprItem_Rect>(value);
        return r != nullptr ? std::vector<int32_t>{r->left, r->top, r->right, r->bottom} : std::vector<int32_t>{};
    };
    EXPECT_EQ(rectOf(CallOn(u"GetRectInParent", top)), (std::vector<int32_t>{100, 200, 400, 300}));
    EXPECT_EQ(rectOf(CallOn(u"GetRectInParent", leaf)), (std::vector<int32_t>{5, 5, 25, 15}));
    EXPECT_EQ(AsNumber(CallOn(u"GetClientWidth", top)), 300.0);
    EXPECT_EQ(AsNumber(CallOn(u"GetClientHeight", top)), 100.0);
    EXPECT_EQ(HandleOf(Call(u"WindowFromPoint", {Num(150.7), Num(260)})), panel);
    EXPECT_EQ(HandleOf(Call(u"WindowFromPoint", {Num(116.9), Num(226)})), leaf);

    CallOn(u"MoveWindowToCenter", top);    // on the 1920 x 1080 screen
    CallOn(u"MoveWindowToCenter", panel);  // (300 - 101) / 2 truncates
    CallOn(u"MoveWindowToCenter", lost);   // in an empty area
    EXPECT_EQ(Traced(), (Lines{"window move \"Top\" 810 490", "window move \"Child\" 99 25"}));
    EXPECT_EQ(rectOf(CallOn(u"GetRectInParent", panel)), (std::vector<int32_t>{99, 25, 200, 75}));
}

// Each function that names a window gives no value and acts on nothing with
// a value that names no live window, or with too few arguments.
TEST_F(WindowFunctions, MissingWrongAndVanishedWindowsAreLeftAlone) {
    const WindowId gone = Add(With(Win(u"Brief", u"Edit"), &SimWindowSpec::closeMs, std::optional<uint64_t>(1000)));
    const WindowId live = Add(Win(u"Stays", u"Edit", {}, {Win(u"", u"Edit")}));
    host.sim.Sleep(2000);
    const std::vector<std::pair<const char16_t*, std::vector<PExprItem>>> calls = {
        {u"FindSubWindow", {Text(u""), Text(u"Edit"), Truth(true)}}, {u"GetRectInParent", {}},
        {u"ActivateWindow", {}}, {u"CloseWindow", {}}, {u"SetWindowPos", {Num(1), Num(2)}},
        {u"MoveWindowToCenter", {}}, {u"SetWindowSize", {Num(1), Num(2)}}, {u"SetFocus", {}},
        {u"InvalidateRect", {Call(u"CreateRect", {Num(0), Num(0)})}}, {u"SetRedraw", {Truth(true)}},
        {u"GetWindowText", {}}, {u"Win_GetText", {}}, {u"SetWindowText", {Text(u"t")}},
        {u"Win_SetText", {Text(u"t")}}, {u"GetClientWidth", {}}, {u"GetClientHeight", {}},
        {u"ShowWindow", {Num(5)}}, {u"DisableWindowTheme", {}}, {u"SendMessage", {Num(0x0E), Num(0), Num(0)}},
        {u"SendString", {Text(u"x")}},
    };
    for (const auto& [key, rest] : calls) {
        for (const PExprItem& window : {Window(gone), Window(kNoWindow), Num(live), Text(u"Stays")}) {
            std::vector<PExprItem> args{window};
            args.insert(args.end(), rest.begin(), rest.end());
            EXPECT_FALSE(CallBare(key, args)) << ToUtf8(key) << " " << ToUtf8(AsText(window));
        }
        std::vector<PExprItem> tooFew{Window(live)};
        tooFew.insert(tooFew.end(), rest.begin(), rest.end());
        tooFew.pop_back();
        EXPECT_FALSE(CallBare(key, tooFew)) << ToUtf8(key);
    }
    EXPECT_TRUE(Traced().empty());
    // The same calls do answer for the live window.
    EXPECT_EQ(AsText(CallBare(u"GetWindowText", {Window(live)})), u"Stays");
    EXPECT_TRUE(CallBare(u"FindSubWindow", {Window(live), Text(u""), Text(u"Edit"), Truth(false)}));
}

}  // namespace
}  // namespace ovrix
