#include "platform/win32/Window.h"

#include "platform/win32/LayoutChecks.h"

namespace ovrix::win32 {

namespace {

Window* Attached(HWND window) { return reinterpret_cast<Window*>(::GetWindowLongPtrW(window, GWLP_USERDATA)); }

// Dialog messages whose answer is the dialog procedure's return value itself
// rather than DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
    switch (message) {
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_QUERYDRAGICON:
        case WM_INITDIALOG:
            return true;
        default:
            return false;
    }
}

}  // namespace

HWND Window::CreateWindowed(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                            int y, int width, int height, HWND parent) {
    return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                             ::GetModuleHandleW(nullptr), this);
}

HWND Window::CreateModeless(HINSTANCE instance, int templateId, HWND parent) {
    return ::CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), parent, &Window::DialogProc,
                                reinterpret_cast<LPARAM>(this));
}

INT_PTR Window::RunModal(HINSTANCE instance, int templateId, HWND parent) {
    return ::DialogBoxParamW(instance, MAKEINTRESOURCEW(templateId), parent, &Window::DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

INT_PTR Window::RunModalIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent) {
    return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate, parent, &Window::DialogProc,
                                     reinterpret_cast<LPARAM>(this));
}

LRESULT CALLBACK Window::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->handle_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = Attached(window);
    }
    if (self == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    const std::optional<LRESULT> answer = self->Dispatch(message, wParam, lParam);
    return answer ? *answer : ::DefWindowProcW(window, message, wParam, lParam);
}

INT_PTR CALLBACK Window::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Window*>(lParam);
        self->handle_ = dialog;
        ::SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = Attached(dialog);
    }
    if (self == nullptr) return FALSE;
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(dialog, GWLP_USERDATA, 0);
        self->handle_ = nullptr;
        return FALSE;
    }
    const std::optional<LRESULT> answer = self->Dispatch(message, wParam, lParam);
    if (!answer) return FALSE;
    if (AnswersDirectly(message)) return static_cast<INT_PTR>(*answer);
    ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, *answer);
    return TRUE;
}

std::optional<LRESULT> Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate();
        case WM_INITDIALOG: return OnInitDialog() ? TRUE : FALSE;
        case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_SYSCOMMAND: return OnSysCommand(wParam);
        case WM_PAINT: return OnPaint();
        case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wParam));
        case WM_TIMER: return OnTimer(wParam);
        case WM_HOTKEY: return OnHotkey(static_cast<int>(wParam));
        case WM_QUERYDRAGICON: return OnQueryDragIcon();
        case WM_CLOSE: return OnClose();
        case WM_DESTROY: return OnDestroy();
        default: return OnOtherMessage(message, wParam, lParam);
    }
}

}  // namespace ovrix::win32
