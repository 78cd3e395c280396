// The mouse steps and the mouse built-in functions on the simulated desktop:
// button flags with and without swapped buttons, the wheel, clicks, moves,
// absolute and random positions and drags, with the time of each event.
#include <gtest/gtest.h>

#include <cmath>

#include "InputPlaySupport.h"
#include "ScriptTestSupport.h"
#include "actions/MouseSteps.h"
#include "builtins_test_support.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using namespace inputtest;
using scripttest::Num;
using scripttest::Step;
using scripttest::Stored;

Ref<Event> Button(uint32_t action, uint32_t amount = 100) {
    auto step = Step<MouseEvent>();
    step->action = action;
    step->wheelAmount = amount;
    return step;
}

Ref<Event> Click(uint32_t button, uint32_t kind, uint32_t delay = 0) {
    auto step = Step<MouseClickEvent>(delay);
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

DesktopSetup CursorAt(int32_t x, int32_t y, bool swapped = false) {
    return [=](SimPlatform& sim) { sim.PlaceCursor(x, y), sim.buttonsSwapped = swapped; };
}

TEST(MouseActions, ButtonsFollowTheSwapSettingAndClicksTheirButtons) {
    // Left down, right up, middle down, wheel down and up by 120, left
    // click, right double click (a plain 100 ms between the clicks).
    const std::vector<Ref<Event>> steps{Button(1), Button(4), Button(5), Button(7, 120), Button(8, 120), Button(9),
                                        Click(MouseClickEvent::kLeft, 0), Click(MouseClickEvent::kRight, 1)};
    // Button events carry no position and no data.
    const auto sent = [](std::initializer_list<std::string> events) {
        Lines out;
        for (const auto& e : events) out.push_back("mouse " + e + (e.find(' ') == e.npos ? " 0 0 0" : ""));
        return out;
    };
    EXPECT_EQ(Untimed(PlayInput(steps)), sent({"0x2", "0x10", "0x20", "0x800 0 0 4294967176", "0x800 0 0 120",
                                              "0x2", "0x4", "0x8", "0x10", "0x8", "0x10"}));
    EXPECT_EQ(Untimed(PlayInput(steps, CursorAt(0, 0, true))),
              sent({"0x8", "0x4", "0x20", "0x800 0 0 4294967176", "0x800 0 0 120", "0x8", "0x10", "0x2", "0x4",
                    "0x2", "0x4"}));
    EXPECT_EQ(PlayInput({Click(MouseClickEvent::kMiddle, 1)}),
              (Lines{"0 mouse 0x20 0 0 0", "0 mouse 0x40 0 0 0", "100 mouse 0x20 0 0 0", "100 mouse 0x40 0 0 0"}));

    // An unknown button or click kind sends nothing, yet waits with its status.
    const Lines trace = PlayTrace({Click(3, 0, 200), Click(MouseClickEvent::kLeft, 2, 200), Button(0)});
    EXPECT_TRUE(InputOf(trace).empty());
    EXPECT_EQ(EventsOf(trace, "line status \"Step Complete\"").size(), 2u);
    EXPECT_EQ(trace.back().substr(0, trace.back().find(' ')), "400");
}

TEST(MouseActions, CoordinatesAreTruncatedAndPositionsAbsoluteOnlyOnOs62) {
    EXPECT_EQ(PlayInput({Coordinates<MoveMouseEvent>(Num(2.9), Num(-2.9))}, CursorAt(100, 100)),
              (Lines{"0 cursor 102 98"}));
    // Out of range or not a number: the lowest 32-bit integer; sums wrap.
    EXPECT_EQ(PlayInput({Coordinates<MoveMouseEvent>(Num(1e300), Num(std::nan("")))}, CursorAt(5, 0)),
              (Lines{"0 cursor -2147483643 -2147483648"}));
    const auto at = Coordinates<MousePosEvent>(Num(960.7), scripttest::Text(u"540"));
    EXPECT_EQ(PlayInput({at}), (Lines{"0 cursor 960 540"}));
    const DesktopSetup os62 = [](SimPlatform& sim) { sim.osVersion = {6, 2}; };
    EXPECT_EQ(PlayInput({at}, os62), (Lines{"0 mouse 0x8001 32768 32768 0"}));
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

TEST(MouseActions, DragsPressWalkTheLineAndAlwaysRelease) {
    // By (0, 0): press and release in place, 100 ms after the press and 10
    // ms around the release.
    EXPECT_EQ(PlayInput({Coordinates<DragMouseEvent>(Num(0), Num(0))}, CursorAt(50, 60)),
              (Lines{"0 cursor 50 60", "0 mouse 0x2 0 0 0", "100 cursor 50 60", "110 mouse 0x4 0 0 0"}));
    // Points 6 and 11 of an eleven-point line are shown, 10 ms apart.
    EXPECT_EQ(PlayInput({Coordinates<DragMouseEvent>(Num(10), Num(-4))}, CursorAt(20, 20)),
              (Lines{"0 cursor 20 20", "0 mouse 0x2 0 0 0", "100 cursor 25 18", "110 cursor 30 16",
                     "120 cursor 30 16", "130 mouse 0x4 0 0 0"}));
    EXPECT_EQ(PlayInput({Coordinates<DragMouseEvent>(Num(0), Num(-7))}, CursorAt(3, 9, true)),
              (Lines{"0 cursor 3 9", "0 mouse 0x8 0 0 0", "100 cursor 3 4", "110 cursor 3 2", "120 mouse 0x10 0 0 0"}));
    // Stopped during the press wait: the wait runs out, the line is left
    // and the button is released at the target.
    EXPECT_EQ(PlayInput({Coordinates<DragMouseEvent>(Num(1000), Num(0))},
                        [](SimPlatform& sim) { sim.onPump = [](SimPlatform&) { SetFlag(StopRequest); }; }),
              (Lines{"0 cursor 0 0", "0 mouse 0x2 0 0 0", "100 cursor 1000 0", "100 mouse 0x4 0 0 0"}));
}

TEST(MouseActions, BuiltInFunctionsActLikeTheSteps) {
    using testing_builtins::Call;
    using testing_builtins::CallBare;
    SimFixture f;
    f.sim.osVersion = {6, 2};
    f.Begin();
    PlayerBuiltinHost host(f.player);
    Call(u"SetMousePosition", {Num(960), Num(540)});
    EXPECT_EQ(AsNumber(Call(u"GetMousePositionX", {})), 960);
    EXPECT_EQ(AsNumber(Call(u"GetMousePositionY", {})), 540);
    f.sim.osVersion = {10, 0};
    f.Begin();
    CallBare(u"SetMousePosition#1", {MakeItem<ExprItem_Point>(7, 8)});
    Call(u"MouseRelativeMove", {Num(-2.5), Num(2.5)});
    CallBare(u"MouseRelativeMove", {Num(100)});  // one argument: nothing
    Call(u"RandomMousePosition", {Num(100), Num(200), Num(1), Num(0)});
    Call(u"MouseRelativeDrag", {Num(5), Num(0), Num(20)});
    EXPECT_EQ(InputOf(f.trace), (Lines{"0 mouse 0x8001 32768 32768 0", "0 cursor 7 8", "0 cursor 5 10",
                                       "0 cursor 100 200", "0 cursor 100 200", "0 mouse 0x2 0 0 0",
                                       "100 cursor 105 200", "120 cursor 105 200", "140 mouse 0x4 0 0 0"}));
}

}  // namespace
}  // namespace ovrix
