// Playing a recorded input stream (the Play Record step): each record is
// sent as the mouse or keyboard event it stands for, then its pause, scaled
// by the step's speed, is waited.
#include "actions/RecordPlayback.h"

#include "actions/KeyboardActions.h"
#include "actions/MouseActions.h"
#include "engine/ExecuteStep.h"
#include "engine/PlaybackFlags.h"
#include "engine/PlaybackSteps.h"
#include "engine/Player.h"
#include "script/StepKinds.h"

namespace ovrix {

namespace {

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

void AddRecordSteps(StepKinds& kinds) { kinds.Add(Kind<PlayRecordEvent>(Plays<PlayRecord>)); }

}  // namespace ovrix
