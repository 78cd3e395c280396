// A stop request ends a window wait within one 50 ms slice, and nothing
// after the wait plays. (The window steps' other behaviour is played as
// source beside its traces in tests/golden.)
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "ScriptTestSupport.h"
#include "screen/WindowSteps.h"

namespace ovrix {
namespace {

using scripttest::ClearLog;
using scripttest::Log;
using scripttest::LogText;
using scripttest::Step;

struct WindowStepsPlay : ::testing::Test {
    WindowStepsPlay() { ClearLog(); }

    SimFixture f;
};

TEST_F(WindowStepsPlay, StopEndsAWaitWithinASliceAndSkipsNothingMore) {
    f.sim.onPump = [](SimPlatform& s) { SetFlag(StopRequest, s.ElapsedMs() >= 2500 ? 1 : 0); };
    auto wait = Step<WaitWindowEvent>(1000);
    wait->title = u"never";
    wait->timeout = 1;
    wait->timeoutUnit = u"hour";
    wait->ifForm = 1;
    wait->children.Append(Log(u"then"));
    const uint64_t took = f.PlaySteps({wait, Log(u"after")});
    EXPECT_GE(took, 2500u);
    EXPECT_LT(took, 2560u);
    EXPECT_EQ(LogText(), "");
}

}  // namespace
}  // namespace ovrix
