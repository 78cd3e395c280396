#include "platform/win32/Win32Sound.h"

#include "platform/win32/WinApi.h"
#include "platform/win32/Wide.h"

#include <mmsystem.h>
#undef PlaySound

namespace ovrix::win32 {

bool Win32Sound::DoBeep(uint32_t freq, uint32_t ms) { return ::Beep(freq, ms) != FALSE; }

// A file that cannot be played stays silent rather than sounding the
// system's default sound.
bool Win32Sound::DoPlaySound(std::u16string_view file) {
    const std::wstring path = ToWide(file);
    return ::PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT) != FALSE;
}

}  // namespace ovrix::win32
