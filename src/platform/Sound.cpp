#include "platform/Sound.h"

#include <string>

#include "platform/Trace.h"

namespace ovrix {

bool Sound::Beep(uint32_t freq, uint32_t ms) {
    TraceEvent("beep", std::to_string(freq) + " " + std::to_string(ms));
    return DoBeep(freq, ms);
}

bool Sound::PlaySound(std::u16string_view file) {
    TraceEvent("sound", JsonString(file));
    return DoPlaySound(file);
}

}  // namespace ovrix
