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
#include "TraceLines.h"
#include "builder/ImageBuilder.h"

namespace ovrix {

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

    // Plays the steps as one list with a fresh trace, in a playback begun
    // for them when `begin` is set; answers the virtual milliseconds the run
    // took.
    uint64_t PlaySteps(std::vector<Ref<Event>> steps, bool begin = false) {
        EventList list = StepList(std::move(steps));
        trace.clear();
        begin ? Begin() : desktop.BeginTrace();
        const uint64_t start = sim.ElapsedMs();
        RunEventList(player, list, nullptr, 1);
        return sim.ElapsedMs() - start;
    }
    static EventList StepList(std::vector<Ref<Event>> steps) {
        EventList list;
        for (auto& step : steps) list.Append(step);
        return list;
    }

    // The scripts, named within the folder C:\m, embedded in the player's
    // image beside an empty main script, where nested plays find them.
    void EmbedScripts(std::vector<std::pair<std::u16string, std::vector<Ref<Event>>>> scripts) {
        ImageBuilder builder;
        builder.Main(EventList());
        for (auto& [name, steps] : scripts) builder.Script(u"C:\\m\\" + name, StepList(std::move(steps)));
        image = builder.Build();
        player.image = Region{image.data(), static_cast<uint32_t>(image.size())};
        player.baseFolder = u"C:\\m";
    }

    // The trace lines of these events, without their time field.
    Lines Events(std::string_view event) const { return EventsOf(trace, event); }
    Lines Events(std::initializer_list<std::string_view> events) const { return EventsOf(trace, events); }

    SimPlatform sim;
    std::vector<std::string> trace;
    Desktop desktop;
    Player player;
    RuntimeScope runtime{player.runtime};
    std::vector<uint8_t> image;
};

}  // namespace ovrix
