// wine-picture: shows the pattern of picture_pattern.h for the player's
// picture search to find and click, and keeps count of the clicks it gets.
//
//   A borderless topmost window "Ovrix Picture: clicks 0" (class
//   OvrixPicture) that covers exactly kPatternWidth x kPatternHeight pixels
//   at kPatternLeft, kPatternTop and paints the shown pattern. Each left
//   click on it (button down, then up) is counted in its title:
//   "Ovrix Picture: clicks N down X,Y up X,Y", the last one's screen points,
//   which the player's scripts and wine-probe both read.
//
// It ends when its window is closed, or after 60 s whatever happens.
#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <vector>

#include "picture_pattern.h"
#include "test_program.h"

namespace {

using namespace ovrix::winetest;

constexpr UINT kGiveUpMs = 60000;

int clicks = 0;
POINT down{-1, -1};
bool pressed = false;

POINT ScreenPoint(HWND window, LPARAM lParam) {
    POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(window, &point);
    return point;
}

void ShowCount(HWND window, POINT up) {
    wchar_t title[128];
    std::swprintf(title, 128, L"Ovrix Picture: clicks %d down %ld,%ld up %ld,%ld", clicks, down.x, down.y, up.x,
                  up.y);
    ::SetWindowTextW(window, title);
}

// The pattern as a top-down 32-bit device-independent bitmap, painted 1:1.
void Paint(HWND window) {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(window, &paint);
    std::vector<uint32_t> pixels(kPatternWidth * kPatternHeight);
    for (int y = 0; y < kPatternHeight; ++y) {
        for (int x = 0; x < kPatternWidth; ++x) pixels[y * kPatternWidth + x] = PatternPixel(kShownSeed, x, y);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kPatternWidth;
    info.bmiHeader.biHeight = -kPatternHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc, 0, 0, kPatternWidth, kPatternHeight, 0, 0, 0, kPatternHeight, pixels.data(), &info,
                        DIB_RGB_COLORS);
    ::EndPaint(window, &paint);
}

LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_LBUTTONDOWN:
            down = ScreenPoint(window, lParam);
            pressed = true;
            return 0;
        case WM_LBUTTONUP:
            if (pressed) {
                pressed = false;
                ++clicks;
                ShowCount(window, ScreenPoint(window, lParam));
            }
            return 0;
        default:
            return LifetimeMessage(window, message, wParam, lParam);
    }
}

}  // namespace

int wmain() {
    if (!RegisterProgramClass(L"OvrixPicture", &PictureProc, nullptr, ::LoadCursorW(nullptr, IDC_ARROW))) return 1;

    // A popup has no frame: its client area is the whole window.
    const HWND window = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"OvrixPicture", L"Ovrix Picture: clicks 0",
                                          WS_POPUP | WS_VISIBLE, kPatternLeft, kPatternTop, kPatternWidth,
                                          kPatternHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return 1;
    return RunUntilClosed(window, kGiveUpMs);
}
