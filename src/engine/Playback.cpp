#include "engine/Playback.h"

#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "engine/StepTree.h"
#include "expr/Variables.h"
#include "script/Event.h"

namespace ovrix {

namespace {

// Steps that take no display and no delay.
bool IsSilentStep(uint32_t type) { return type == 43 || type == 47; }
// Steps whose action ends without FinishStep.
bool HasNoDelay(uint32_t type) { return type == 25 || type == 43 || type == 45 || type == 47; }

constexpr uint32_t kFunctionStartType = 46;
constexpr uint32_t kDisplayInterval = 50;
constexpr uint32_t kBreather = 10;

}  // namespace

void BeginPlayback(Player& player) {
    SetFlag(StopRequest, 0);
    SetFlag(PauseRequest, 0);
    ClearProgramVariables();
    player.desktop.BeginTrace();
    player.desktop.OpenProgressWindow(player.settings.window);
}

void EndPlayback(Player& player) {
    ClearProgramVariables();
    player.desktop.CloseProgressWindow();
    SetFlag(StopRequest);
    player.desktop.TraceEvent("end");
}

std::u16string StepDisplayText(const StepPath& path, const Event& step) {
    return u"Step " + StepNumberText(path) + u": " + (step.name.empty() ? step.GetText() : step.name);
}

void RunEventList(Player& player, EventList& list, const std::vector<std::u16string>* /*arguments*/,
                  int /*nested*/) {
    if (IsSet(StopRequest)) return;
    Desktop& desktop = player.desktop;
    StepPath path;
    ResetPath(list, path);
    uint32_t lastDisplay = 0;
    while (!path.empty() && !IsSet(StopRequest) && !IsSet(ResetRequest)) {
        // A jump may point past the end of a list: play goes on after the
        // enclosing block.
        Event* step = EventAt(list, path);
        while (step == nullptr && !path.empty()) {
            path.pop_back();
            if (path.empty()) break;
            ++path.back();
            step = EventAt(list, path);
        }
        if (step == nullptr) break;
        const uint32_t type = step->TypeId();
        if (IsSilentStep(type)) {
            AdvancePath(list, path);
            continue;
        }
        if (type == kFunctionStartType) {  // a function body is played only when called
            ++path[0];
            continue;
        }
        if (step->disabled != 0) {
            AdvancePath(list, path);
            continue;
        }
        bool refreshed = false;
        const uint32_t now = desktop.TickCount();
        if (now - lastDisplay > kDisplayInterval || step->delay > 0) {
            refreshed = now - lastDisplay > kDisplayInterval;
            if (refreshed) lastDisplay = now;
            desktop.SetLine(ProgressLine::Step, StepDisplayText(path, *step));
            desktop.SetLine(ProgressLine::Status, u"");
        }
        if (!HasNoDelay(type)) FinishStep(player, *step);
        AdvancePath(list, path);
        if (refreshed && step->delay == 0) PlaybackWait(player, kBreather, 0, kWaitSlice);
    }
}

void FinishStep(Player& player, const Event& step, std::u16string_view status) {
    if (step.delay > 0) player.desktop.SetLine(ProgressLine::Status, status);
    PlaybackWait(player, step.delay, 0, kWaitSlice);
}

void PlaybackWait(Player& player, uint32_t ms, uint32_t pauseArgument, uint32_t slice) {
    Desktop& desktop = player.desktop;
    if (slice == 0) {
        desktop.Sleep(ms);
        CheckPause(player, pauseArgument);
        return;
    }
    if (ms == 0) return;
    const uint32_t step = ms < slice ? ms : slice;
    for (uint64_t elapsed = 0; elapsed < ms; elapsed += step) {
        if (IsSet(StopRequest)) return;
        desktop.PumpMessages();
        desktop.Sleep(step);
        CheckPause(player, pauseArgument);
    }
}

void CheckPause(Player& player, uint32_t pauseArgument) {
    if (IsSet(StopRequest) || pauseArgument != 0 || !IsSet(PauseRequest)) return;
    Desktop& desktop = player.desktop;
    const Point cursor = desktop.GetCursorPos();
    const std::u16string stepLine = desktop.GetLine(ProgressLine::Step);
    const std::u16string statusLine = desktop.GetLine(ProgressLine::Status);
    while (IsSet(PauseRequest)) {
        if (IsSet(StopRequest)) return;
        desktop.PumpMessages();
        desktop.Sleep(kWaitSlice);
    }
    desktop.SetLine(ProgressLine::Step, stepLine);
    desktop.SetLine(ProgressLine::Status, statusLine);
    desktop.SetCursorPos(cursor.x, cursor.y);
}

}  // namespace ovrix
