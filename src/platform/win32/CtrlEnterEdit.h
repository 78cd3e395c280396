// An edit control that takes a few keys before the control itself sees them:
// Ctrl+Enter presses the dialog's OK, Ctrl+A selects the whole text and, when
// asked for, Tab appends a tab character at the end of the text. The dialog
// manager would otherwise take Tab (next control) and Ctrl+Enter (default
// button) for itself, so the control claims exactly those keys when the
// dialog asks which it wants.
#pragma once

#include <cstdint>

#include "platform/win32/WinApi.h"

namespace ovrix::win32 {

class CCtrlEnterEdit {
public:
    CCtrlEnterEdit() = default;
    ~CCtrlEnterEdit();
    CCtrlEnterEdit(const CCtrlEnterEdit&) = delete;
    CCtrlEnterEdit& operator=(const CCtrlEnterEdit&) = delete;

    // Takes over an existing edit control of a dialog.
    void Subclass(HWND control);

    uint32_t ctrlEnterCloses = 1;
    uint32_t tabAppends = 0;

private:
    // Whether this key press is one of ours; carries it out when `act`.
    bool TakeKey(WPARAM key, bool act);

    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);

    HWND control_ = nullptr;
    // The character message that follows a key we took, dropped when it comes.
    wchar_t swallowChar_ = 0;
};

// Whether the Ctrl key is held as this thread's input state has it.
inline bool CtrlHeld() { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }

}  // namespace ovrix::win32
