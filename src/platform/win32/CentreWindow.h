// Placing the player's modal dialogs: they have no owner to centre on, so
// they sit in the middle of the primary screen.
#pragma once

#include "platform/win32/WinApi.h"

namespace ovrix::win32 {

// Moves a top-level window to the middle of the primary screen, its size
// unchanged; integer division, so an odd remainder leaves it a pixel up-left.
inline void CentreOnPrimaryScreen(HWND window) {
    RECT frame{};
    if (!::GetWindowRect(window, &frame)) return;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ovrix::win32

namespace ovrix::win32 {

// The dialogs a script asks with have no owner either: centred, and brought
// to the foreground so the person's keys go to them rather than to whatever
// window the script was driving.
inline void CentreAndBringForward(HWND window) {
    CentreOnPrimaryScreen(window);
    ::SetForegroundWindow(window);
}

}  // namespace ovrix::win32
