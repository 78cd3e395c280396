// The one base class of the player's own windows and dialogs. The window
// procedure stores the object's `this` in the window's user data when the
// window is born (WM_NCCREATE for a window, WM_INITDIALOG for a dialog) and
// forwards every later message to one virtual handler per message. The object
// must outlive its window; WM_NCDESTROY detaches the two.
#pragma once

#include "platform/win32/WinApi.h"

#include <optional>
#include <type_traits>

namespace ovrix::win32 {

class Window {
public:
    Window() = default;
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return handle_; }

protected:
    // Creates a window of a class registered with Window::WindowProc.
    HWND CreateWindowed(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                        int y, int width, int height, HWND parent);
    // Creates a modeless dialog from a template resource.
    HWND CreateModeless(HINSTANCE instance, int templateId, HWND parent);
    // Runs a modal dialog from a template resource; answers EndDialog's result.
    INT_PTR RunModal(HINSTANCE instance, int templateId, HWND parent);
    // Runs a modal dialog from a template built in memory.
    INT_PTR RunModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent);

    // Handlers: an empty answer sends the message to default processing.
    virtual std::optional<LRESULT> OnCreate() { return std::nullopt; }
    virtual bool OnInitDialog() { return true; }
    virtual std::optional<LRESULT> OnCommand(int id, int code) { return std::nullopt; }
    virtual std::optional<LRESULT> OnSysCommand(WPARAM command) { return std::nullopt; }
    virtual std::optional<LRESULT> OnPaint() { return std::nullopt; }
    virtual std::optional<LRESULT> OnEraseBackground(HDC dc) { return std::nullopt; }
    virtual std::optional<LRESULT> OnTimer(UINT_PTR id) { return std::nullopt; }
    virtual std::optional<LRESULT> OnHotkey(int id) { return std::nullopt; }
    virtual std::optional<LRESULT> OnQueryDragIcon() { return std::nullopt; }
    virtual std::optional<LRESULT> OnClose() { return std::nullopt; }
    virtual std::optional<LRESULT> OnDestroy() { return std::nullopt; }
    // Any message without a handler of its own (private messages among them).
    virtual std::optional<LRESULT> OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
        return std::nullopt;
    }

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // Exactly the system's procedure types, calling convention included, so
    // that they are handed over without a cast.
    static_assert(std::is_same_v<decltype(&WindowProc), WNDPROC>);
    static_assert(std::is_same_v<decltype(&DialogProc), DLGPROC>);

private:
    std::optional<LRESULT> Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
};

}  // namespace ovrix::win32
