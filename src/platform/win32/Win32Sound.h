// The real speaker and sound files: kernel32's Beep and winmm's PlaySoundW,
// both waiting until the sound has played.
#pragma once

#include "platform/Sound.h"

namespace ovrix::win32 {

class Win32Sound final : public Sound {
protected:
    bool DoBeep(uint32_t freq, uint32_t ms) override;
    bool DoPlaySound(std::u16string_view file) override;
};

}  // namespace ovrix::win32
