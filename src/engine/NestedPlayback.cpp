#include "engine/NestedPlayback.h"

#include <string>

#include "engine/Context.h"
#include "engine/ExecuteStep.h"
#include "engine/HandlerActions.h"
#include "engine/Playback.h"
#include "engine/PlaybackSteps.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "engine/ScriptFunctions.h"
#include "expr/KindsValue.h"
#include "expr/Variables.h"
#include "script/StepKinds.h"

namespace ovrix {

namespace {

// The step line and status line of the step, put back after a nested run
// has written its own.
struct RememberedLines {
    explicit RememberedLines(Desktop& d)
        : desktop(d), step(d.progress.GetLine(ProgressLine::Step)), status(d.progress.GetLine(ProgressLine::Status)) {}

    // After the run: with a delay, the step line comes back and the status
    // text the run's steps left shows while the delay is waited again.
    void RestoreAndWait(const StepRun& run) const {
        if (run.step.delay > 0) {
            desktop.progress.SetLine(ProgressLine::Step, step);
            desktop.progress.SetLine(ProgressLine::Status, StatusText());
        }
        run.Wait(run.step.delay);
    }

    Desktop& desktop;
    std::u16string step;
    std::u16string status;
};

std::u16string FileNameOf(std::u16string_view path) {
    const size_t slash = path.find_last_of(u'\\');
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

// Scripts that play each other without end are stopped before the native
// stack runs out, like script functions that call each other.
bool WithinDepth(const StepRun& run, std::u16string_view file) {
    if (ThreadPlayerState().stack.size() < kMaxCallDepth) return true;
    const std::string limit = std::to_string(kMaxCallDepth);
    ReportScriptError(run.player, u"Error: Script " + FileNameOf(file) + u" is nested more than " +
                                      std::u16string(limit.begin(), limit.end()) + u" runs deep!");
    return false;
}

void PlayScript(const StepRun& run) {
    auto& step = static_cast<PlayScriptEvent&>(run.step);
    run.Wait(step.delay);
    const RememberedLines lines(run.player.desktop);
    ArgumentList arguments{MakeItem<ExprItem_Text>(step.file)};
    for (const StoredExpr& argument : step.arguments) arguments.push_back(EvaluateStored(argument));
    if (step.script != nullptr && WithinDepth(run, step.file)) RunEventList(run.player, *step.script, &arguments, 0);
    const PExprItem& target = step.result.Node();
    if (const auto* variable = target ? dynamic_cast<const ExprItem_Var*>(target.operator->()) : nullptr) {
        StoreVariable(variable->Name(), ScriptReturnValue());
    }
    lines.RestoreAndWait(run);
}

void PlayRandom(const StepRun& run) {
    auto& step = static_cast<PlayRandomEvent&>(run.step);
    if (step.totalWeight == 0) {
        run.Finish(u"Nothing to play!");
        return;
    }
    const uint32_t r = Random32(run.player.desktop) % step.totalWeight;
    const PlayRandomEvent::Entry* chosen = nullptr;
    uint64_t sum = 0;
    for (const auto& entry : step.entries) {
        if (sum <= r && r < sum + entry.weight) {
            chosen = &entry;
            break;
        }
        sum += entry.weight;
    }
    if (chosen == nullptr) {
        run.Finish(u"Just do nothing.");
        return;
    }
    Desktop& desktop = run.player.desktop;
    if (step.delay > 0) desktop.progress.SetLine(ProgressLine::Status, u"Play \"" + FileNameOf(chosen->file) + u"\"");
    run.Wait(step.delay);
    const RememberedLines lines(desktop);
    if (chosen->script != nullptr && WithinDepth(run, chosen->file)) RunEventList(run.player, *chosen->script, nullptr, 0);
    lines.RestoreAndWait(run);
}

}  // namespace

uint32_t Random32(Desktop& desktop) {
    const auto half = [&desktop] {
        const uint32_t sum = desktop.system.Random() + desktop.system.Random();
        desktop.system.Random();  // drawn and discarded
        return sum & 0xFFFF;
    };
    const uint32_t low = half();
    return low | half() << 16;
}

void AddPlaybackSteps(StepKinds& kinds) {
    kinds.Add(Kind<PlayScriptEvent>(Plays<PlayScript>));
    kinds.Add(Kind<PlayRandomEvent>(Plays<PlayRandom>));
    AddHandlerSteps(kinds);
}

}  // namespace ovrix
