// What the two halves of the windows family share: how a call reaches the
// desktop's windows and the window it names, and how a found window becomes
// a value. The finding and listing functions live in WindowFinders.cpp, the
// functions that act on one window or read it in WindowFunctions.cpp, which
// also holds the family's table.
//
// A call acts only with a host, with at least as many arguments as the
// function reads, and, where it names a window, with a window value whose
// handle is still a window; otherwise it gives no value and does nothing.
#pragma once

#include <cstdint>

#include "builtins/Function.h"
#include "platform/Windows.h"

namespace ovrix {

class Desktop;

namespace winfn {

// The desktop played on when there is a host and the call has `needs`
// arguments; null otherwise.
Desktop* DesktopFor(int32_t count, int32_t needs);

// The call's desktop and the live window its first argument names.
struct WindowCall {
    Desktop* desktop = nullptr;
    Windows* windows = nullptr;
    WindowId window = kNoWindow;
    explicit operator bool() const { return windows != nullptr && window != kNoWindow; }
};
WindowCall ResolveWindow(int32_t count, const PExprItem* args, int32_t needs);

// A new window value for the window, owning nothing; no value for kNoWindow.
PExprItem* ReturnWindow(PExprItem* result, WindowId window);

// The finders (WindowFinders.cpp).
PExprItem* FindWindow(PExprItem* result, int32_t count, PExprItem* args, uint32_t);
PExprItem* FindWindowEx(PExprItem* result, int32_t count, PExprItem* args, uint32_t);
PExprItem* FindSubWindow(PExprItem* result, int32_t count, PExprItem* args, uint32_t);
PExprItem* ListWindows(PExprItem* result, int32_t count, PExprItem* args, uint32_t);
PExprItem* WindowFromPoint(PExprItem* result, int32_t count, PExprItem* args, uint32_t);
PExprItem* GetForegroundWindow(PExprItem* result, int32_t count, PExprItem* args, uint32_t);

}  // namespace winfn
}  // namespace ovrix
