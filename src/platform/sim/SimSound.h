// The simulated desktop's speaker and sound files: nothing sounds, the trace
// tells what would have. A beep lasts its time on the virtual clock, as the
// real one keeps the player waiting; a sound file's length is not known.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/Sound.h"

namespace ovrix {

class SimSound : public Sound {
public:
    explicit SimSound(std::function<void(uint32_t)> sleep) : sleep_(std::move(sleep)) {}

protected:
    bool DoBeep(uint32_t, uint32_t ms) override {
        sleep_(ms);
        return true;
    }
    bool DoPlaySound(std::u16string_view) override { return true; }

private:
    std::function<void(uint32_t)> sleep_;
};

}  // namespace ovrix
