// The run of a step list on the simulated desktop where a script as source
// cannot say it: the display throttle, pause and stop from the progress
// window, the script line of a nested run and the frame stack. (The step
// line's numbering, the delays' slices, reset and the script line of played
// files play as source in tests/golden.)
#include <gtest/gtest.h>

#include <functional>

#include "ScriptTestSupport.h"
#include "SimFixture.h"
#include "actions/SystemSteps.h"
#include "engine/Context.h"
#include "engine/FlowSteps.h"
#include "engine/FunctionSteps.h"
#include "engine/Playback.h"
#include "engine/PlaybackFlags.h"

namespace ovrix {
namespace {

using scripttest::Wait;

// Time field and rest of each trace line of one event kind.
std::vector<std::pair<uint64_t, std::string>> Timed(const std::vector<std::string>& trace, const std::string& event) {
    std::vector<std::pair<uint64_t, std::string>> out;
    for (const auto& line : trace) {
        const auto space = line.find(' ');
        const std::string rest = line.substr(space + 1);
        if (rest.rfind(event, 0) == 0) out.emplace_back(std::stoull(line.substr(0, space)), rest);
    }
    return out;
}

struct PlaybackTest : ::testing::Test {
    void Play(EventList& list) {
        f.desktop.BeginTrace();
        RunEventList(f.player, list, nullptr, 1);
    }
    // Two steps, the first with a 1000 ms delay, played while `onPump` acts.
    void PlayTwoSteps(std::function<void(SimPlatform&)> onPump) {
        twoSteps.Append(Wait(1, 1000));
        twoSteps.Append(Wait(2, 100));
        f.sim.onPump = std::move(onPump);
        Play(twoSteps);
    }
    SimFixture f;
    EventList twoSteps;
};

TEST_F(PlaybackTest, ZeroDelayStepsAreShownAtMostEvery50Ms) {
    EventList list;
    for (int i = 0; i < 20000; ++i) list.Append(Wait(0, 0));
    Play(list);
    const auto steps = Timed(f.trace, "line step");
    ASSERT_GE(steps.size(), 2u);
    EXPECT_LT(steps.size(), 100u);  // far fewer displays than steps
    for (size_t i = 1; i < steps.size(); ++i) EXPECT_GE(steps[i].first - steps[i - 1].first, 50u);
    EXPECT_EQ(steps[0].second, "line step \"Step 1: Delay 0 ms\"");
}

// A loop of zero-delay steps never waits, yet its breathers pump messages,
// so a stop from the progress window's thread ends it within one slice.
TEST_F(PlaybackTest, ATightZeroDelayLoopStopsWithinOneWaitSlice) {
    using scripttest::Loop, scripttest::Num, scripttest::Op, scripttest::Set, scripttest::Step, scripttest::Stored,
        scripttest::Var;
    auto loop = Loop(kLoopWhile, {Set(u"#n", Op(op::kSum, Var(u"#n"), Num(1)))});
    loop->condition = Stored(Op(op::kLess, Var(u"#n"), Num(1e7)));  // ends a loop that is never stopped
    EventList list = SimFixture::StepList({Set(u"#n", Num(0)), loop, Step<NextEvent>()});
    uint64_t stopAt = 0;
    f.sim.onPump = [&stopAt](SimPlatform& s) {
        if (stopAt == 0 && s.ElapsedMs() >= 500) {
            stopAt = s.ElapsedMs();
            SetFlag(StopRequest);
        }
    };
    Play(list);
    ASSERT_NE(stopAt, 0u);
    EXPECT_LE(f.sim.ElapsedMs() - stopAt, kWaitSlice);
    const double passes = AsNumber(GetVariable(u"#n"));
    EXPECT_GT(passes, 1000.0);  // it did spin without waiting
    EXPECT_LT(passes, 1e7);
}

TEST_F(PlaybackTest, PauseHoldsTheDelayAndRestoresLinesAndCursor) {
    PlayTwoSteps([this](SimPlatform& s) {
        if (s.ElapsedMs() >= 300 && s.ElapsedMs() < 400 && !IsSet(PauseRequest)) {
            SetFlag(PauseRequest);
            s.PlaceCursor(5, 5);
        } else if (s.ElapsedMs() >= 5000 && IsSet(PauseRequest)) {
            s.PlaceCursor(600, 600);  // the user moved the mouse while paused
            SetFlag(PauseRequest, 0);
        }
    });
    const auto steps = Timed(f.trace, "line step");
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_GE(steps[1].first, 5000u + 600u);  // the rest of the delay came after the pause
    EXPECT_EQ(f.Events("cursor").back(), "cursor 5 5");
}

TEST_F(PlaybackTest, StopWhilePausedEndsAtOnceWithoutRestoring) {
    PlayTwoSteps([](SimPlatform& s) {
        if (s.ElapsedMs() >= 200 && !IsSet(PauseRequest)) SetFlag(PauseRequest);
        if (s.ElapsedMs() >= 3000) SetFlag(StopRequest);
    });
    EXPECT_EQ(f.Events("line step").size(), 1u);
    EXPECT_TRUE(f.Events("cursor").empty());
    EXPECT_LT(f.sim.ElapsedMs(), 3200u);
    SetFlag(PauseRequest, 0);
}

// Only a run that is not nested shows its file on the script line.
TEST_F(PlaybackTest, ANestedRunLeavesTheScriptLineAlone) {
    EventList file = SimFixture::StepList({Wait(1, 100)});
    f.player.scriptPaths[&file] = u"C:\\scripts\\a.ovx";
    RunEventList(f.player, file, nullptr, 1);
    EXPECT_TRUE(f.Events("line script").empty());
}

TEST_F(PlaybackTest, ARunStoppedBeforeItsFirstStepLeavesItsFrameUntilPlaybackEnds) {
    EventList list = SimFixture::StepList({Wait(1, 100)});
    SetFlag(StopRequest);
    Play(list);
    EXPECT_TRUE(f.Events("line step").empty());
    EXPECT_EQ(ThreadPlayerState().stack.size(), 1u);
    EndPlayback(f.player);
    EXPECT_TRUE(ThreadPlayerState().stack.empty());
}

}  // namespace
}  // namespace ovrix
