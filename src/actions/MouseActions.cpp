#include "actions/MouseActions.h"

#include <cstdlib>
#include <limits>
#include <optional>

#include "actions/MouseSteps.h"
#include "engine/ExecuteStep.h"
#include "engine/Playback.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "expr/NumberFormat.h"
#include "expr/ExprHandle.h"
#include "script/StepKinds.h"

namespace ovrix {

namespace {

constexpr uint32_t kMiddleDown = 0x0020;
constexpr uint32_t kMiddleUp = 0x0040;
constexpr uint32_t kWheel = 0x0800;
constexpr uint32_t kAbsoluteMove = 0x8001;  // move | absolute
constexpr uint32_t kDoubleClickGap = 100;   // ms, a plain sleep
constexpr uint32_t kDragPressWait = 100;    // ms after the press
constexpr uint32_t kDragStepWait = 10;      // ms after each shown point and the release
constexpr uint64_t kDragPointInterval = 5;  // points 6, 11, 16, ... are shown

// 32-bit wrap of a sum, as the processor's addition gives it.
int32_t Wrap(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(value)); }

int32_t CoordinateOf(const StoredExpr& expression) {
    return TruncateToInt32(AsNumber(EvaluateStored(expression)));
}

// Every point of the straight line from (x0, y0) to (x1, y1), both ends
// included, in order, numbered from 1: the major axis advances one pixel per
// point and a midpoint decision term says when the minor axis follows. The
// visitor answers false to end the walk.
template <class Visit>
void WalkLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, Visit&& visit) {
    const int64_t runX = std::llabs(x1 - x0);
    const int64_t runY = std::llabs(y1 - y0);
    const bool xMajor = runX >= runY;
    const int64_t major = xMajor ? runX : runY;
    const int64_t minor = xMajor ? runY : runX;
    const int64_t stepX = x1 < x0 ? -1 : 1;
    const int64_t stepY = y1 < y0 ? -1 : 1;
    int64_t x = x0;
    int64_t y = y0;
    int64_t& along = xMajor ? x : y;
    int64_t& across = xMajor ? y : x;
    const int64_t alongStep = xMajor ? stepX : stepY;
    const int64_t acrossStep = xMajor ? stepY : stepX;
    // How far the true line passes the midpoint between the next two
    // candidate pixels, scaled by twice the major run; the runs fit in 33
    // bits, so this cannot overflow.
    int64_t decision = 2 * minor - major;
    for (int64_t i = 0; i <= major; ++i) {
        if (!visit(static_cast<uint64_t>(i) + 1, Wrap(x), Wrap(y))) return;
        if (decision > 0) {
            across += acrossStep;
            decision -= 2 * major;
        }
        decision += 2 * minor;
        along += alongStep;
    }
}

void SendButton(Player& player, uint32_t flags) { player.desktop.input.MouseEvent(flags, 0, 0, 0); }

void PlayButton(const StepRun& run, const MouseEvent& step) {
    Player& player = run.player;
    const MouseState& mouse = player.mouse;
    switch (step.action) {
        case MouseEvent::kLeftDown: SendButton(player, mouse.leftDown); break;
        case MouseEvent::kLeftUp: SendButton(player, mouse.leftUp); break;
        case MouseEvent::kRightDown: SendButton(player, mouse.rightDown); break;
        case MouseEvent::kRightUp: SendButton(player, mouse.rightUp); break;
        case MouseEvent::kMiddleDown: SendButton(player, kMiddleDown); break;
        case MouseEvent::kMiddleUp: SendButton(player, kMiddleUp); break;
        // The wheel's data is a signed count carried in an unsigned word.
        case MouseEvent::kWheelDown: player.desktop.input.MouseEvent(kWheel, 0, 0, 0u - step.wheelAmount); break;
        case MouseEvent::kWheelUp: player.desktop.input.MouseEvent(kWheel, 0, 0, step.wheelAmount); break;
        default: break;
    }
}

struct ButtonFlags {
    uint32_t down = 0;
    uint32_t up = 0;
};

// The click step's buttons: left, middle, right; none for other numbers.
std::optional<ButtonFlags> ClickButton(const MouseState& mouse, uint32_t button) {
    switch (button) {
        case MouseClickEvent::kLeft: return ButtonFlags{mouse.leftDown, mouse.leftUp};
        case MouseClickEvent::kMiddle: return ButtonFlags{kMiddleDown, kMiddleUp};
        case MouseClickEvent::kRight: return ButtonFlags{mouse.rightDown, mouse.rightUp};
        default: return std::nullopt;
    }
}

void PlayClick(const StepRun& run, const MouseClickEvent& step) {
    Player& player = run.player;
    const std::optional<ButtonFlags> button = ClickButton(player.mouse, step.button);
    if (!button) return;
    if (step.clickKind != MouseClickEvent::kSingle && step.clickKind != MouseClickEvent::kDouble) return;
    SendButton(player, button->down);
    SendButton(player, button->up);
    if (step.clickKind == MouseClickEvent::kDouble) {
        // No pumping and no stop test between the two clicks of a double click.
        player.desktop.clock.Sleep(kDoubleClickGap);
        SendButton(player, button->down);
        SendButton(player, button->up);
    }
}

}  // namespace

void MoveCursorBy(Player& player, int32_t dx, int32_t dy) {
    const Point at = player.desktop.input.GetCursorPos();
    player.desktop.input.SetCursorPos(Wrap(int64_t{at.x} + dx), Wrap(int64_t{at.y} + dy));
}

void SetMousePosition(Player& player, int32_t x, int32_t y) {
    const MouseState& mouse = player.mouse;
    const bool absoluteMove = mouse.os.major == 6 && mouse.os.minor == 2;
    if (!absoluteMove || mouse.screen.width <= 0 || mouse.screen.height <= 0) {
        player.desktop.input.SetCursorPos(x, y);
        return;
    }
    // Normalised to 0..65536 over the screen, the product wrapped to 32 bits.
    const int32_t dx = Wrap(int64_t{x} * 65536) / mouse.screen.width;
    const int32_t dy = Wrap(int64_t{y} * 65536) / mouse.screen.height;
    player.desktop.input.MouseEvent(kAbsoluteMove, dx, dy, 0);
}

void RandomMousePosition(Player& player, int32_t left, int32_t top, int64_t width, int64_t height) {
    const int64_t r1 = player.desktop.system.Random();
    const int64_t r2 = player.desktop.system.Random();
    const int64_t x = int64_t{left} + (width > 0 ? r1 % width : 0);
    const int64_t y = int64_t{top} + (height > 0 ? r2 % height : 0);
    player.desktop.input.SetCursorPos(Wrap(x), Wrap(y));
}

void DragMouseBy(Player& player, int32_t dx, int32_t dy, uint32_t stepDelay, uint32_t pauseArgument) {
    Desktop& desktop = player.desktop;
    const Point from = desktop.input.GetCursorPos();
    const int32_t toX = Wrap(int64_t{from.x} + dx);
    const int32_t toY = Wrap(int64_t{from.y} + dy);
    desktop.input.SetCursorPos(from.x, from.y);
    SendButton(player, player.mouse.leftDown);
    // The press settles whatever happens: a stop does not end this wait.
    PlaybackWait(player, kDragPressWait, pauseArgument, kWaitSlice, nullptr);
    WalkLine(from.x, from.y, toX, toY, [&](uint64_t number, int32_t x, int32_t y) {
        // After a stop the waits end at once; the rest of the line is not
        // worth walking.
        if (IsSet(StopRequest)) return false;
        if (number > 1 && (number - 1) % kDragPointInterval == 0) {
            desktop.input.SetCursorPos(x, y);
            PlaybackWait(player, stepDelay, pauseArgument, kWaitSlice);
        }
        return true;
    });
    desktop.input.SetCursorPos(toX, toY);
    PlaybackWait(player, stepDelay, pauseArgument, kWaitSlice);
    SendButton(player, player.mouse.leftUp);
    PlaybackWait(player, stepDelay, pauseArgument, kWaitSlice);
}

namespace {

// Every mouse step shows "Step Complete" while its delay is waited.
template <class T, void (*Act)(const StepRun&, const T&)>
int32_t ThenFinish(const StepRun& run) {
    Act(run, static_cast<const T&>(run.step));
    run.Finish();
    return 0;
}

void PlayMove(const StepRun& run, const MoveMouseEvent& step) {
    const int32_t dx = CoordinateOf(step.x);
    const int32_t dy = CoordinateOf(step.y);
    MoveCursorBy(run.player, dx, dy);
}

void PlayDrag(const StepRun& run, const DragMouseEvent& step) {
    const int32_t dx = CoordinateOf(step.x);
    const int32_t dy = CoordinateOf(step.y);
    DragMouseBy(run.player, dx, dy, kDragStepWait, run.pauseArgument);
}

void PlayPosition(const StepRun& run, const MousePosEvent& step) {
    const int32_t x = CoordinateOf(step.x);
    const int32_t y = CoordinateOf(step.y);
    SetMousePosition(run.player, x, y);
}

void PlayRandomPosition(const StepRun& run, const PosRandomEvent& step) {
    RandomMousePosition(run.player, step.left, step.top, int64_t{step.right} - step.left,
                        int64_t{step.bottom} - step.top);
}

template <class T, void (*Act)(const StepRun&, const T&)>
StepKind MouseKind() {
    return Kind<T>(ThenFinish<T, Act>);
}

}  // namespace

void AddMouseSteps(StepKinds& kinds) {
    kinds.Add(MouseKind<MouseEvent, PlayButton>());
    kinds.Add(MouseKind<MouseClickEvent, PlayClick>());
    kinds.Add(MouseKind<MoveMouseEvent, PlayMove>());
    kinds.Add(MouseKind<DragMouseEvent, PlayDrag>());
    kinds.Add(MouseKind<MousePosEvent, PlayPosition>());
    kinds.Add(MouseKind<PosRandomEvent, PlayRandomPosition>());
}

}  // namespace ovrix
