// A simulated desktop with a traced Desktop and a Player on it, for tests
// that call the loaders or the engine directly; the player's runtime is
// installed for the fixture's lifetime, as the driver installs it.
#pragma once

#include <string>
#include <vector>

#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "platform/Desktop.h"
#include "platform/sim/SimPlatform.h"

namespace ovrix {

struct SimFixture {
    SimFixture()
        : desktop(sim, Trace([this](const std::string& line) { trace.push_back(line); })), player(desktop) {
        SetFlag(StopRequest, 0);
        SetFlag(PauseRequest, 0);
        SetFlag(ResetRequest, 0);
    }

    // The trace lines whose event is `event`, without their time field.
    std::vector<std::string> Events(const std::string& event) const {
        std::vector<std::string> out;
        for (const auto& line : trace) {
            const auto space = line.find(' ');
            const std::string rest = line.substr(space + 1);
            if (rest.rfind(event, 0) == 0) out.push_back(rest);
        }
        return out;
    }

    SimPlatform sim;
    std::vector<std::string> trace;
    Desktop desktop;
    Player player;
    RuntimeScope runtime{player.runtime};
};

// Trace lines of one event kind, without their time field.
inline std::vector<std::string> EventsOf(const std::vector<std::string>& trace, const std::string& event) {
    std::vector<std::string> out;
    for (const auto& line : trace) {
        const std::string rest = line.substr(line.find(' ') + 1);
        if (rest.rfind(event, 0) == 0) out.push_back(rest);
    }
    return out;
}

}  // namespace ovrix
