// Program-wide state that start-up prepares on the Windows side and later
// parts of the player read: the OS version record, the thread-local slot for
// each thread's playback state and the main dialog's font (kept for
// script-made dialogs). Written once on the main thread during start-up.
#pragma once

#include "platform/win32/WinApi.h"

namespace ovrix::win32 {

struct AppState {
    // The extended version record; its size field is set before the query.
    OSVERSIONINFOEXW osVersion{};
    // Thread-local index of each thread's playback state; 0 after shutdown.
    DWORD threadSlot = 0;
    HFONT dialogFont = nullptr;
};

AppState& App();

}  // namespace ovrix::win32
