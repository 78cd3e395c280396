// The mouse steps and functions where the simulated desktop needs a state
// the description file has no key for: swapped buttons, the absolute
// positions of OS 6.2, the random generator, a stop during a drag. Buttons,
// clicks, moves, drags and the mouse functions on a plain desktop play as
// source in tests/golden (input_*).
#include <gtest/gtest.h>


#include "InputPlaySupport.h"
#include "ScriptTestSupport.h"
#include "actions/MouseSteps.h"
#include "engine/PlaybackSteps.h"
#include "builtins_test_support.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using namespace inputtest;
using scripttest::Num;
using scripttest::Step;
using scripttest::Stored;

Ref<Event> Button(uint32_t action) {
    auto step = Step<MouseEvent>();
    step->action = action;
    return step;
}

Ref<Event> Click(uint32_t button, uint32_t kind) {
    auto step = Step<MouseClickEvent>();
    step->button = button;
    step->clickKind = kind;
    return step;
}

template <class T>
Ref<Event> Coordinates(PExprItem x, PExprItem y) {
    auto step = Step<T>();
    step->x = Stored(x), step->y = Stored(y);
    return step;
}

// Swapped buttons trade left for right in the button, click, drag and
// recorded-input steps alike; the middle button stays.
TEST(MouseActions, SwappedButtonsTradeLeftForRight) {
    auto recorded = Step<PlayRecordEvent>();
    recorded->records = {{RecordedInput::kLeftDown, 0, 0, 0, 0}};
    const std::vector<Ref<Event>> steps{Button(1), Button(4), Button(5), Click(MouseClickEvent::kLeft, 0),
                                        Click(MouseClickEvent::kRight, 0), recorded,
                                        Coordinates<DragMouseEvent>(Num(0), Num(-7))};
    const DesktopSetup swapped = [](SimPlatform& sim) { sim.PlaceCursor(3, 9), sim.buttonsSwapped = true; };
    EXPECT_EQ(Untimed(PlayInput(steps, swapped)),
              (Lines{"mouse 0x8 0 0 0", "mouse 0x4 0 0 0", "mouse 0x20 0 0 0", "mouse 0x8 0 0 0",
                     "mouse 0x10 0 0 0", "mouse 0x2 0 0 0", "mouse 0x4 0 0 0", "mouse 0x8 0 0 0", "cursor 3 9",
                     "mouse 0x8 0 0 0", "cursor 3 4", "cursor 3 2", "mouse 0x10 0 0 0"}));
}

// On OS 6.2 a position is set by an absolute mouse move, which the cursor
// follows.
TEST(MouseActions, PositionsAreAbsoluteOnlyOnOs62) {
    SimFixture f;
    f.sim.osVersion = {6, 2};
    f.PlaySteps({Coordinates<MousePosEvent>(Num(960.7), scripttest::Text(u"540"))}, true);
    EXPECT_EQ(InputOf(f.trace), (Lines{"0 mouse 0x8001 32768 32768 0"}));
    EXPECT_EQ(f.sim.GetCursorPos().x, 960);
    EXPECT_EQ(f.sim.GetCursorPos().y, 540);
    const DesktopSetup os62 = [](SimPlatform& sim) { sim.osVersion = {6, 2}; };
    // The product is taken in 32 bits: 40000 x 65536 wraps to a negative.
    EXPECT_EQ(PlayInput({Coordinates<MousePosEvent>(Num(40000), Num(-1))}, os62),
              (Lines{"0 mouse 0x8001 -871628 -60 0"}));
}

TEST(MouseActions, RandomPositionsTakeXFromTheFirstDrawAndYFromTheSecond) {
    auto region = Step<PosRandomEvent>();
    region->left = 100, region->right = 110, region->top = -50, region->bottom = 0;
    SimPlatform twin;  // the same generator from the same start
    const uint32_t r1 = twin.Random(), r2 = twin.Random();
    EXPECT_EQ(PlayInput({region}), (Lines{"0 cursor " + std::to_string(100 + r1 % 10) + " " +
                                          std::to_string(-50 + static_cast<int32_t>(r2 % 50))}));
}

// Stopped during the press wait, a drag lets the wait run out, leaves the
// line and releases the button at the target.
TEST(MouseActions, AStoppedDragStillReleasesAtTheTarget) {
    EXPECT_EQ(PlayInput({Coordinates<DragMouseEvent>(Num(1000), Num(0))},
                        [](SimPlatform& sim) { sim.onPump = [](SimPlatform&) { SetFlag(StopRequest); }; }),
              (Lines{"0 cursor 0 0", "0 mouse 0x2 0 0 0", "100 cursor 1000 0", "100 mouse 0x4 0 0 0"}));
}

// A relative move given one value (the loader always fills in both) does nothing.
TEST(MouseActions, ARelativeMoveWithOneValueDoesNothing) {
    SimFixture f;
    PlayerBuiltinHost host(f.player);
    testing_builtins::CallBare(u"MouseRelativeMove", {Num(100)});
    EXPECT_TRUE(InputOf(f.trace).empty());
}

}  // namespace
}  // namespace ovrix
