// What the Wine tests' own programs share: their window class, a lifetime
// limit so that a test that loses track of one leaves nothing running, and
// the message loop.
#pragma once

#include <windows.h>

namespace ovrix::winetest {

inline constexpr UINT_PTR kGiveUpTimer = 1;

// Registers a window class of the program; false when the system refuses.
inline bool RegisterProgramClass(const wchar_t* name, WNDPROC procedure, HBRUSH background, HCURSOR cursor) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    windowClass.hbrBackground = background;
    windowClass.hCursor = cursor;
    return ::RegisterClassExW(&windowClass) != 0;
}

// The messages of the program's lifetime: its give-up timer closes the
// window, and a closed window ends the program. Everything else goes to
// the default procedure.
inline LRESULT LifetimeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kGiveUpTimer) ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// Lets the window live at most `ms`, then runs the loop until it closes.
inline int RunUntilClosed(HWND window, UINT ms) {
    ::SetTimer(window, kGiveUpTimer, ms, nullptr);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace ovrix::winetest
