// A simulated desktop with a traced Desktop and a Player on it, for tests
// that call the loaders or the engine directly; the player's runtime is
// installed for the fixture's lifetime, as the driver installs it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Playback.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "platform/Desktop.h"
#include "platform/sim/SimPlatform.h"
#include "shell/ProgressWindowLogic.h"
#include "shell/StepKindsAll.h"

namespace ovrix {

// Trace lines of one event kind, without their time field.
inline std::vector<std::string> EventsOf(const std::vector<std::string>& trace, const std::string& event) {
    std::vector<std::string> out;
    for (const auto& line : trace) {
        const std::string rest = line.substr(line.find(' ') + 1);
        if (rest.rfind(event, 0) == 0) out.push_back(rest);
    }
    return out;
}

struct SimFixture {
    explicit SimFixture(SimOptions options = {})
        : sim(options),
          desktop(sim, Trace([this](const std::string& line) { trace.push_back(line); })), player(desktop, &PlayerStepKinds()) {
        SetFlag(StopRequest, 0);
        SetFlag(PauseRequest, 0);
        SetFlag(ResetRequest, 0);
    }

    // Begins playback, or opens the progress window alone, as the driver does.
    auto WindowWith(const ProgressWindowSettings& s) { return std::make_unique<ProgressWindowLogic>(s, desktop.input); }
    void Begin() { BeginPlayback(player, WindowWith(player.settings.window)); }
    bool OpenWindow(const ProgressWindowSettings& settings) { return desktop.progress.Open(WindowWith(settings)); }

    // Plays the steps as one list with a fresh trace; answers the virtual
    // milliseconds the run took.
    uint64_t PlaySteps(std::vector<Ref<Event>> steps) {
        EventList list;
        for (auto& step : steps) list.Append(step);
        trace.clear();
        desktop.BeginTrace();
        const uint64_t start = sim.ElapsedMs();
        RunEventList(player, list, nullptr, 1);
        return sim.ElapsedMs() - start;
    }

    // The trace lines whose event is `event`, without their time field.
    std::vector<std::string> Events(const std::string& event) const { return EventsOf(trace, event); }

    SimPlatform sim;
    std::vector<std::string> trace;
    Desktop desktop;
    Player player;
    RuntimeScope runtime{player.runtime};
};

}  // namespace ovrix
