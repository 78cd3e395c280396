// Playing mouse and keyboard steps on a fresh simulated desktop from the
// start of a playback, and reading back the input that reached it, each line
// with its time in virtual milliseconds (counted from the first step).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "engine/Playback.h"

namespace ovrix::inputtest {

using DesktopSetup = std::function<void(SimPlatform&)>;

// The whole trace of the steps played as one script on a desktop that
// `setup` prepared (swapped buttons, OS version, clipboard, ...).
inline Lines PlayTrace(std::vector<Ref<Event>> steps, const DesktopSetup& setup = {}) {
    SimFixture f;
    if (setup) setup(f.sim);
    f.PlaySteps(std::move(steps), true);
    return f.trace;
}

// The lines of buttons, cursor positions, keys, input records and clipboard texts.
inline Lines InputOf(const Lines& trace) {
    Lines out;
    for (const auto& line : trace) {
        for (const char* kind : {"mouse ", "cursor ", "key ", "input ", "clipboard "}) {
            if (line.compare(line.find(' ') + 1, std::string::traits_type::length(kind), kind) == 0) {
                out.push_back(line);
            }
        }
    }
    return out;
}

inline Lines PlayInput(std::vector<Ref<Event>> steps, const DesktopSetup& setup = {}) {
    return InputOf(PlayTrace(std::move(steps), setup));
}

}  // namespace ovrix::inputtest
