// wine-target: a window of another program for the player's window functions
// to find and drive, with the controls Notepad lacks:
//
//   "Ovrix Target" (class OvrixTarget) at 100,100, 400 x 300, holding
//     Edit    "xxx..." (2,000 characters)  at 10,10    200 x 24
//     Button  "Press"                      at 10,50     80 x 26
//     Static  "Label"                      at 10,90     80 x 20
//     Static  "Panel"                      at 220,10   150 x 120, holding
//       Button "Inner"                     at 5,7       60 x 22
//
// It ends when its window is closed, or after 120 s whatever happens, so a
// test that loses track of it leaves nothing running.
#include <windows.h>

#include "test_program.h"

namespace {

using namespace ovrix::winetest;

constexpr UINT kGiveUpMs = 120000;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return LifetimeMessage(window, message, wParam, lParam);
}

HWND Control(HWND parent, const wchar_t* className, const wchar_t* text, int x, int y, int width, int height,
             DWORD style = 0) {
    return ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int wmain() {
    if (!RegisterProgramClass(L"OvrixTarget", &TargetProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr)) {
        return 1;
    }

    const HWND frame = ::CreateWindowExW(0, L"OvrixTarget", L"Ovrix Target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                         100, 400, 300, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (frame == nullptr) return 1;
    wchar_t text[2001];
    for (int i = 0; i < 2000; ++i) text[i] = L'x';
    text[2000] = L'\0';
    Control(frame, L"Edit", text, 10, 10, 200, 24, ES_AUTOHSCROLL | WS_BORDER);
    Control(frame, L"Button", L"Press", 10, 50, 80, 26, BS_PUSHBUTTON);
    Control(frame, L"Static", L"Label", 10, 90, 80, 20);
    const HWND panel = Control(frame, L"Static", L"Panel", 220, 10, 150, 120);
    Control(panel, L"Button", L"Inner", 5, 7, 60, 22, BS_PUSHBUTTON);
    return RunUntilClosed(frame, kGiveUpMs);
}
