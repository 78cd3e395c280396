#include "engine/NestedPlayback.h"

#include <string>

#include "actions/KeyboardActions.h"
#include "actions/MouseActions.h"
#include "engine/Context.h"
#include "engine/ExecuteStep.h"
#include "engine/Playback.h"
#include "engine/PlaybackSteps.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "engine/ScriptFunctions.h"
#include "expr/KindsValue.h"
#include "expr/Variables.h"

namespace ovrix {

namespace {

// The step line and status line of the step, put back after a nested run
// has written its own.
struct RememberedLines {
    explicit RememberedLines(Desktop& d)
        : desktop(d), step(d.progress.GetLine(ProgressLine::Step)), status(d.progress.GetLine(ProgressLine::Status)) {}

    // After the run: with a delay, the step line comes back and the status
    // shows while the delay is waited again.
    void RestoreAndWait(const StepRun& run) const {
        if (run.step.delay > 0) {
            desktop.progress.SetLine(ProgressLine::Step, step);
            desktop.progress.SetLine(ProgressLine::Status, kStepComplete);
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

constexpr uint32_t kMiddleDown = 0x0020;
constexpr uint32_t kMiddleUp = 0x0040;
constexpr uint32_t kWheel = 0x0800;

void SendRecord(Player& player, const RecordedInput& record, int32_t x, int32_t y) {
    Desktop& desktop = player.desktop;
    const MouseState& mouse = player.mouse;
    switch (record.kind) {
        case RecordedInput::kMove: SetMousePosition(player, x, y); break;
        case RecordedInput::kLeftDown: desktop.input.MouseEvent(mouse.leftDown, 0, 0, 0); break;
        case RecordedInput::kLeftUp: desktop.input.MouseEvent(mouse.leftUp, 0, 0, 0); break;
        case RecordedInput::kMiddleDown: desktop.input.MouseEvent(kMiddleDown, 0, 0, 0); break;
        case RecordedInput::kMiddleUp: desktop.input.MouseEvent(kMiddleUp, 0, 0, 0); break;
        case RecordedInput::kRightDown: desktop.input.MouseEvent(mouse.rightDown, 0, 0, 0); break;
        case RecordedInput::kRightUp: desktop.input.MouseEvent(mouse.rightUp, 0, 0, 0); break;
        case RecordedInput::kWheel: {
            const Point at = record.x == -1 ? desktop.input.GetCursorPos() : Point{x, y};
            desktop.input.SetCursorPos(at.x, at.y);
            desktop.input.MouseEvent(kWheel, 0, 0, static_cast<uint32_t>(static_cast<int32_t>(record.wheel)));
            break;
        }
        case RecordedInput::kKeyDown: SendKey(desktop, static_cast<uint8_t>(record.x & 0xFF), false); break;
        case RecordedInput::kKeyUp: SendKey(desktop, static_cast<uint8_t>(record.x & 0xFF), true); break;
        default: break;  // a pause, or a kind this player does not know: only the delay
    }
}

// Replays the recorded stream, optionally shifted so that its first position
// falls on the cursor, at the step's speed.
void PlayRecord(const StepRun& run) {
    const auto& step = static_cast<const PlayRecordEvent&>(run.step);
    Player& player = run.player;
    Point offset;
    if (step.relative != 0) {
        for (const RecordedInput& record : step.records) {
            if (!record.HasPosition()) continue;
            const Point cursor = player.desktop.input.GetCursorPos();
            offset = {cursor.x - record.x, cursor.y - record.y};
            break;
        }
    }
    player.desktop.progress.SetLine(ProgressLine::Status, u"Playing...");
    const double factor = step.speed > 0 ? 100.0 / step.speed : 1.0;
    for (const RecordedInput& record : step.records) {
        if (IsSet(StopRequest)) break;
        int32_t x = record.x;
        int32_t y = record.y;
        if (step.relative != 0 && record.HasPosition()) {
            x += offset.x;
            y += offset.y;
        }
        SendRecord(player, record, x, y);
        const double pause = record.delay * factor;
        run.Wait(pause >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<uint32_t>(pause));
    }
    run.Finish();
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

bool PlayNestedStep(const StepRun& run) {
    switch (run.step.TypeId()) {
        case PlayScriptEvent::kTypeId: PlayScript(run); return true;
        case PlayRandomEvent::kTypeId: PlayRandom(run); return true;
        case PlayRecordEvent::kTypeId: PlayRecord(run); return true;
        default: return false;
    }
}

}  // namespace ovrix
