// The common controls' header for the platform layer. Its message macros
// (ListView_InsertItem and the like) send through SNDMSG, which would name
// the SendMessage macro WinApi.h takes away: they send through the wide
// function instead.
#pragma once

#include "platform/win32/WinApi.h"

#ifndef SNDMSG
#define SNDMSG ::SendMessageW
#endif
#include <commctrl.h>
