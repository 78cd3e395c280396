#include "platform/win32/CtrlEnterEdit.h"

#include "platform/win32/CommonControls.h"

namespace ovrix::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 0x0E17;

}  // namespace

CCtrlEnterEdit::~CCtrlEnterEdit() {
    if (control_ != nullptr) ::RemoveWindowSubclass(control_, &SubclassProc, kSubclassId);
}

void CCtrlEnterEdit::Subclass(HWND control) {
    if (control == nullptr) return;
    control_ = control;
    ::SetWindowSubclass(control, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

bool CCtrlEnterEdit::TakeKey(WPARAM key, bool act) {
    const bool ctrl = CtrlHeld();
    if (key == VK_RETURN && ctrl && ctrlEnterCloses != 0) {
        if (act) {
            swallowChar_ = L'\n';  // Ctrl+Enter types a line feed
            const HWND dialog = ::GetParent(control_);
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
        }
        return true;
    }
    if (key == 'A' && ctrl) {
        if (act) {
            swallowChar_ = 0x01;
            ::SendMessageW(control_, EM_SETSEL, 0, -1);
            ::SendMessageW(control_, EM_SCROLLCARET, 0, 0);
        }
        return true;
    }
    if (key == VK_TAB && !ctrl && tabAppends != 0) {
        if (act) {
            swallowChar_ = L'\t';
            // At the end of the text, wherever the caret was.
            const int length = ::GetWindowTextLengthW(control_);
            ::SendMessageW(control_, EM_SETSEL, length, length);
            ::SendMessageW(control_, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"\t"));
        }
        return true;
    }
    return false;
}

LRESULT CALLBACK CCtrlEnterEdit::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self) {
    auto* edit = reinterpret_cast<CCtrlEnterEdit*>(self);
    switch (message) {
        case WM_GETDLGCODE: {
            const LRESULT code = ::DefSubclassProc(window, message, wParam, lParam);
            const auto* pending = reinterpret_cast<const MSG*>(lParam);
            if (pending != nullptr && pending->message == WM_KEYDOWN && edit->TakeKey(pending->wParam, false)) {
                return code | DLGC_WANTALLKEYS | DLGC_WANTTAB;
            }
            return code;
        }
        case WM_KEYDOWN:
            if (edit->TakeKey(wParam, true)) return 0;
            break;
        case WM_CHAR:
            if (edit->swallowChar_ != 0 && static_cast<wchar_t>(wParam) == edit->swallowChar_) {
                edit->swallowChar_ = 0;
                return 0;
            }
            edit->swallowChar_ = 0;
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, &SubclassProc, kSubclassId);
            edit->control_ = nullptr;
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace ovrix::win32
