// The Windows headers for the platform layer. Include this instead of
// <windows.h>: the system headers define MessageBox, ShellExecute,
// GetCurrentDirectory, SetCurrentDirectory, CopyFile, DeleteFile, MapVirtualKey,
// VkKeyScan, ExitWindows, GetClassName, SendMessage, LoadImage and PlaySound as macros, which would rename
// the facets' members of the same names in some translation
// units and not in others. The layer calls the W functions by their full names.
#pragma once

#include <windows.h>
#include <shellapi.h>

#undef MessageBox
#undef ShellExecute
#undef GetCurrentDirectory
#undef SetCurrentDirectory
#undef CopyFile
#undef DeleteFile
#undef MapVirtualKey
#undef VkKeyScan
#undef ExitWindows
#undef GetClassName
#undef SendMessage
#undef LoadImage
#undef PlaySound
