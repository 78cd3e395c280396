// The windows of the real desktop, the player's own and other programs',
// read and driven straight through user32. The facet speaks of windows as
// 32-bit numbers; every crossing between those and HWND goes through
// ToWindowId and ToHwnd, so the 64-bit build (where a handle is a pointer)
// and the 32-bit one agree on what a number means.
#pragma once

#include <cstdint>

#include "platform/Windows.h"
#include "platform/win32/WinApi.h"

namespace ovrix::win32 {

// Window handles hold 32 significant bits on every Windows, also in 64-bit
// processes, which is what lets 32- and 64-bit programs share them. Like the
// system's own conversion of a 32-bit handle, widening sign-extends.
inline WindowId ToWindowId(HWND window) {
    return static_cast<WindowId>(reinterpret_cast<uintptr_t>(window));
}
inline HWND ToHwnd(WindowId window) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(window)));
}

class Win32Windows final : public Windows {
public:
    bool IsWindow(WindowId window) override;
    std::vector<WindowId> TopLevelWindows() override;
    std::vector<WindowId> ChildWindows(WindowId parent) override;
    WindowId GetParent(WindowId window) override;
    std::u16string GetTitle(WindowId window) override;
    std::u16string GetClassName(WindowId window) override;
    bool IsVisible(WindowId window) override;
    bool IsMinimized(WindowId window) override;
    std::optional<ScreenRect> GetWindowRect(WindowId window) override;
    std::optional<ScreenRect> GetClientRect(WindowId window) override;
    std::optional<std::u16string> ProcessName(WindowId window) override;
    WindowId WindowFromPoint(Point point) override;
    WindowId GetForegroundWindow() override;
    std::u16string GetControlText(WindowId window) override;

protected:
    void DoActivate(WindowId window) override;
    void DoShow(WindowId window, int32_t command) override;
    void DoPostClose(WindowId window) override;
    void DoMove(WindowId window, int32_t x, int32_t y) override;
    void DoResize(WindowId window, int32_t width, int32_t height) override;
    void DoFocus(WindowId window) override;
    void DoSetTitle(WindowId window, std::u16string_view text) override;
    void DoSetControlText(WindowId window, std::u16string_view text) override;
    void DoSendChar(WindowId window, char16_t unit) override;
    int64_t DoSendMessage(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) override;
    void DoInvalidate(WindowId window, const ScreenRect& rect) override;
    void DoDisableTheme(WindowId window) override;
};

}  // namespace ovrix::win32
