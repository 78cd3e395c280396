#include "screen/WindowActions.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "builtins/WindowSearch.h"
#include "engine/Context.h"
#include "engine/ExecuteStep.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "platform/Desktop.h"
#include "screen/WindowSteps.h"
#include "script/StepKinds.h"

namespace ovrix {

namespace {

constexpr std::u16string_view kNotFound = u"Can not find the window";
// A wait looks for the window about this often; one of this length or
// shorter looks only once.
constexpr uint32_t kLookEveryMs = 100;

void PlayCloseWindow(const StepRun& run) {
    const auto& step = static_cast<const CloseWindowEvent&>(run.step);
    Windows& windows = run.player.desktop.windows;
    const WindowId window = FindWindowByTitle(windows, step.title);
    if (window == kNoWindow) return run.Finish(kNotFound);
    windows.PostClose(window);  // the window closes in its own time
    run.Finish();
}

void PlaySwitchWindow(const StepRun& run) {
    const auto& step = static_cast<const SwitchWindowEvent&>(run.step);
    Windows& windows = run.player.desktop.windows;
    const WindowId window = FindWindowByTitle(windows, step.title);
    if (window == kNoWindow) return run.Finish(kNotFound);
    BringToFront(windows, window);
    run.Finish();
}

// Looks for the window until the wait's condition holds, the timeout passes
// or playback is stopped; answers the window found when the condition holds
// (kNoWindow for a disappearance) or nullopt when it never did.
std::optional<WindowId> WaitForCondition(const StepRun& run, const WaitWindowEvent& step) {
    Desktop& desktop = run.player.desktop;
    const uint64_t timeout = TimeoutMilliseconds(step.timeout, step.timeoutUnit);
    // Time is counted in differences of the tick count, so that the count
    // passing its 32-bit end during a wait changes nothing.
    const uint32_t start = desktop.clock.TickCount();
    bool first = true;
    while (true) {
        const WindowId window = FindWindowByTitle(desktop.windows, step.title);
        if ((window != kNoWindow) == (step.appear != 0)) return window;
        if (timeout <= kLookEveryMs) return std::nullopt;
        const uint64_t elapsed = static_cast<uint32_t>(desktop.clock.TickCount() - start);
        if (first) {
            desktop.progress.SetLine(ProgressLine::Status, step.appear ? u"Waiting for the window appear"
                                                                       : u"Waiting for the window disappear");
            first = false;
        }
        if (IsSet(StopRequest) || elapsed >= timeout) return std::nullopt;
        run.Wait(static_cast<uint32_t>(std::min<uint64_t>(timeout - elapsed, kLookEveryMs)));
        if (IsSet(StopRequest)) return std::nullopt;
    }
}

void PlayWaitWindow(const StepRun& run) {
    const auto& step = static_cast<const WaitWindowEvent&>(run.step);
    const std::optional<WindowId> found = WaitForCondition(run, step);
    if (found) {
        if (step.ifForm) run.SetConditionHeld(true);
        if (step.bringToFront && step.appear && *found != kNoWindow) BringToFront(run.player.desktop.windows, *found);
        run.Finish();  // the "If" form goes on into its then-steps
        return;
    }
    // A timeout is not an error: the plain form goes on with the next step.
    // It is shown for the delay only; it does not become the status text.
    if (step.ifForm) run.SetConditionHeld(false);
    if (step.delay > 0) run.player.desktop.progress.SetLine(ProgressLine::Status, u"Wait for the window timeout");
    run.Wait(step.delay);
    if (!step.ifForm || IsSet(StopRequest)) return;
    run.SkipBlock();
}

}  // namespace

void AddWindowSteps(StepKinds& kinds) {
    kinds.Add(Kind<CloseWindowEvent>(Plays<PlayCloseWindow>));
    kinds.Add(Kind<SwitchWindowEvent>(Plays<PlaySwitchWindow>));
    kinds.Add(Kind<WaitWindowEvent>(Plays<PlayWaitWindow>));
}

}  // namespace ovrix
