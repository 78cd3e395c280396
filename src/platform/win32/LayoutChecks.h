// The sizes of the system structures the player hands to Windows or reads
// from it, checked at compile time for both targets: the shipped i686 build
// and the x86_64 build the Windows tests run. A size field the system checks
// (cbSize, dwOSVersionInfoSize, SendInput's record size) or a record read
// through a pointer in a message must match the system's own layout, and a
// wrong packing or pointer size would otherwise show only on a 32-bit desktop.
#pragma once

#include "platform/win32/WinApi.h"

#include <cstddef>

namespace ovrix::win32 {

static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "the player targets i686 and x86_64 only");

// The expected size on the target being compiled.
constexpr size_t ForTarget(size_t i686, size_t x86_64) { return sizeof(void*) == 4 ? i686 : x86_64; }

// Input records for SendInput: the record is as large as its largest member,
// the mouse record, and its pointer-sized dwExtraInfo pads it on x86_64.
static_assert(sizeof(MOUSEINPUT) == ForTarget(24, 32));
static_assert(sizeof(KEYBDINPUT) == ForTarget(16, 24));
static_assert(sizeof(INPUT) == ForTarget(28, 40));
static_assert(offsetof(INPUT, ki) == ForTarget(4, 8));

// Window classes, messages and what a window reads at its birth and paint.
static_assert(sizeof(WNDCLASSEXW) == ForTarget(48, 80));
static_assert(sizeof(MSG) == ForTarget(28, 48));
static_assert(sizeof(CREATESTRUCTW) == ForTarget(48, 80));
static_assert(sizeof(PAINTSTRUCT) == ForTarget(64, 72));
static_assert(sizeof(RECT) == 16);
static_assert(sizeof(POINT) == 8);

// Records without pointers: the same on both targets.
static_assert(sizeof(OSVERSIONINFOW) == 276);
static_assert(sizeof(OSVERSIONINFOEXW) == 284);
static_assert(sizeof(TOKEN_PRIVILEGES) == 16);

// Window data holds a pointer: the pointer-sized calls and types.
static_assert(sizeof(LONG_PTR) == sizeof(void*) && sizeof(LRESULT) == sizeof(void*));
static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*));
static_assert(sizeof(INT_PTR) == sizeof(void*) && sizeof(DWORD_PTR) == sizeof(void*));

}  // namespace ovrix::win32
