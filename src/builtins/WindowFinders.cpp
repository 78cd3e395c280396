// Finding windows: by title among the top-level windows, by class and title,
// below a parent window, at a point of the screen, and the foreground one.
// Titles are compared as patterns ('*', '?') without regard to case, classes
// exactly but without regard to case.
#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "builtins/WindowCalls.h"
#include "builtins/WindowSearch.h"
#include "container/Text.h"
#include "expr/KindsObject.h"
#include "expr/NumberFormat.h"
#include "platform/Desktop.h"

namespace ovrix::winfn {

namespace {

using namespace fnargs;

// A title matches a lower-cased pattern; an empty pattern matches any title.
bool TitleMatches(Windows& windows, WindowId window, const std::u16string& pattern) {
    return pattern.empty() || MatchPattern(pattern, LowerCase(windows.GetTitle(window)));
}

bool ClassIs(Windows& windows, WindowId window, const std::u16string& lowerClass) {
    return LowerCase(windows.GetClassName(window)) == lowerClass;
}

// The descendants of a window in their order, each child before its own
// children; with `recursive` a child of another class is searched in its
// turn, before the siblings that follow it.
class SubWindowSearch {
public:
    SubWindowSearch(Windows& windows, std::u16string_view pattern, std::u16string_view className, bool recursive)
        : windows_(windows), pattern_(LowerCase(pattern)), className_(LowerCase(className)), recursive_(recursive) {}

    WindowId Below(WindowId parent) const {
        for (WindowId child : windows_.ChildWindows(parent)) {
            if (ClassIs(windows_, child, className_)) {
                if (windows_.IsVisible(child) && TitleMatches(windows_, child, pattern_)) return child;
            } else if (recursive_) {
                if (const WindowId found = Below(child); found != kNoWindow) return found;
            }
        }
        return kNoWindow;
    }

private:
    Windows& windows_;
    std::u16string pattern_;
    std::u16string className_;
    bool recursive_;
};

}  // namespace

PExprItem* FindWindow(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Desktop* desktop = DesktopFor(count, 1);
    if (desktop == nullptr) return None(result);
    return ReturnWindow(result, FindWindowByTitle(desktop->windows, Text(args, count, 0)));
}

// Unlike FindWindow it looks at every visible top-level window, also those
// without a title and the desktop shell's.
PExprItem* FindWindowEx(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Desktop* desktop = DesktopFor(count, 2);
    const std::u16string className = LowerCase(Text(args, count, 1));
    if (desktop == nullptr || className.empty()) return None(result);
    Windows& windows = desktop->windows;
    const std::u16string pattern = LowerCase(Text(args, count, 0));
    for (WindowId window : windows.TopLevelWindows()) {
        if (windows.IsVisible(window) && ClassIs(windows, window, className) &&
            TitleMatches(windows, window, pattern)) {
            return ReturnWindow(result, window);
        }
    }
    return None(result);
}

PExprItem* FindSubWindow(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const WindowCall call = ResolveWindow(count, args, 4);
    const std::u16string className = Text(args, count, 2);
    if (!call || className.empty()) return None(result);
    const SubWindowSearch search(*call.windows, Text(args, count, 1), className, AsTruth(args[3]));
    return ReturnWindow(result, search.Below(call.window));
}

PExprItem* ListWindows(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Desktop* desktop = DesktopFor(count, 3);
    if (desktop == nullptr) return None(result);
    auto* array = new AnyArray();
    const PExprItem value = PExprItem::Of(array);
    for (WindowId window :
         ListWindowsMatching(desktop->windows, Text(args, count, 0), Text(args, count, 1), Text(args, count, 2))) {
        array->Push(MakeItem<ExprItem_WindowHandle>(window));
    }
    return ReturnValue(result, value);
}

PExprItem* WindowFromPoint(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Desktop* desktop = DesktopFor(count, 2);
    if (desktop == nullptr) return None(result);
    const Point at{TruncateToInt32(Number(args, count, 0)), TruncateToInt32(Number(args, count, 1))};
    return ReturnWindow(result, desktop->windows.WindowFromPoint(at));
}

PExprItem* GetForegroundWindow(PExprItem* result, int32_t count, PExprItem*, uint32_t) {
    Desktop* desktop = DesktopFor(count, 0);
    if (desktop == nullptr) return None(result);
    return ReturnWindow(result, desktop->windows.GetForegroundWindow());
}

}  // namespace ovrix::winfn
