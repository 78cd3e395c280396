#include "shell/ClipboardWatch.h"

#include "engine/Playback.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"

namespace ovrix {

namespace {

// Joining the chain brings one notice of its own; the next is a real change.
constexpr uint32_t kNoticesForAChange = 2;

}  // namespace

std::u16string WaitClipboardChange(Player& player, uint32_t timeoutMs) {
    Desktop& desktop = player.desktop;
    if (!desktop.clipboard.JoinClipboardChain()) return {};
    const uint32_t start = desktop.clock.TickCount();
    bool changed = false;
    while (!IsSet(StopRequest)) {
        if (desktop.clipboard.ClipboardNotices() >= kNoticesForAChange) {
            changed = true;
            break;
        }
        if (timeoutMs > 0 && desktop.clock.TickCount() - start >= timeoutMs) break;
        PlaybackWait(player, kWaitSlice, 0, kWaitSlice);
    }
    desktop.clipboard.LeaveClipboardChain();
    return changed ? desktop.clipboard.GetClipboardText() : std::u16string();
}

}  // namespace ovrix
