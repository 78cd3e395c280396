#include "platform/sim/SimPlay.h"

#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "platform/Desktop.h"
#include "shell/PlaybackDriver.h"

namespace ovrix {

SimPlayResult PlayOnSim(const std::vector<uint8_t>& image, const SimPlayOptions& options) {
    SimPlayResult result;
    SimPlatform sim(options.desktop);
    sim.onTimeLimit = [&] {
        result.timeLimitHit = true;
        SetFlag(StopRequest);
    };
    if (options.setup) options.setup(sim);
    Desktop desktop(sim, Trace([&](const std::string& line) {
        result.trace.push_back(line);
        if (options.echo) options.echo(line);
    }));
    // The real player seeds its generator with the time in seconds at start.
    desktop.system.SeedRandom(static_cast<uint32_t>(desktop.clock.Now()));
    Player player(desktop);
    player.arguments = options.arguments;
    SetFlag(StopRequest, 0);
    SetFlag(PauseRequest, 0);
    SetFlag(ResetRequest, 0);
    RunPlaybackDriver(player, Region{image.data(), static_cast<uint32_t>(image.size())});
    result.elapsedMs = sim.ElapsedMs();
    return result;
}

}  // namespace ovrix
