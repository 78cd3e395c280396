// Plays an image on the simulated desktop, exactly as the real player's
// driver would, and collects the trace. Used by ovrix-sim and by the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/sim/SimPlatform.h"

namespace ovrix {

struct SimPlayOptions {
    SimOptions desktop;
    std::vector<std::u16string> arguments;
    // Called with the simulated desktop before playback, to set its answers.
    std::function<void(SimPlatform&)> setup;
    // Each trace line as it is written (in addition to the collected lines).
    std::function<void(const std::string&)> echo;
};

struct SimPlayResult {
    std::vector<std::string> trace;
    uint64_t elapsedMs = 0;
    bool timeLimitHit = false;
};

SimPlayResult PlayOnSim(const std::vector<uint8_t>& image, const SimPlayOptions& options = {});

}  // namespace ovrix
