// The playback driver where a golden trace cannot show it (the driver_*
// golden traces show the rest): a start time of day the desktop file cannot
// set, a run time in its 4-byte form, an empty timed script whose passes
// would fill a trace, a stop request in mid-pass, and the variable tables
// after playback.
#include <gtest/gtest.h>

#include "SimFixture.h"
#include "ScriptTestSupport.h"
#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "engine/PlaybackFlags.h"
#include "expr/KindsValue.h"
#include "expr/Variables.h"
#include "platform/sim/SimPlay.h"

namespace ovrix {
namespace {

// One step that takes `delay` ms: a pass of this script lasts that long.
EventList OneStep(uint32_t delay) {
    return SimFixture::StepList({scripttest::Wait(0, delay)});
}

TEST(Driver, RunTimeInFourBytesAndTheStartTimeOfDay) {
    const auto image =
        ImageBuilder().Main(OneStep(1000)).Setting(tag::kRepeat, kRepeatByTime).Setting(tag::kRunTime, 9500).Build();
    SimPlayOptions options;
    options.desktop.epochSeconds += 3600 * 13 + 60 * 5 + 7;  // starts at 13:05:07
    const auto lines = EventsOf(PlayOnSim(image, options).trace, "line repeat");
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines.back(), "line repeat \"Started at 13:05:07, current 9\"");
}

TEST(Driver, TimedRepeatOfAnEmptyScriptStillEnds) {
    const auto image = ImageBuilder().Main(EventList{}).Setting(tag::kRepeat, kRepeatByTime).Setting(tag::kRunTime, 2000).Build();
    const auto result = PlayOnSim(image);
    EXPECT_GE(result.elapsedMs, 2000u);
    EXPECT_GT(EventsOf(result.trace, "line repeat").size(), 1u);
    EXPECT_EQ(result.trace.back().substr(result.trace.back().find(' ') + 1), "end");
}

TEST(Driver, StopEndsThePassAndNoFurtherPassStarts) {
    const auto image = ImageBuilder().Main(OneStep(1000)).Setting(tag::kRepeat, 5).Build();
    SimPlayOptions options;
    options.setup = [](SimPlatform& sim) {
        sim.onPump = [](SimPlatform& s) {
            if (s.ElapsedMs() >= 1500) SetFlag(StopRequest);
        };
    };
    const auto result = PlayOnSim(image, options);
    EXPECT_EQ(EventsOf(result.trace, "line repeat").size(), 2u);
    EXPECT_LT(result.elapsedMs, 1600u);  // the wait returned at its next slice
}

TEST(Driver, EndingPlaybackClearsBothVariableTables) {
    const auto image = ImageBuilder().Main(OneStep(1000)).Build();
    bool stored = false;
    SimPlayOptions options;
    options.setup = [&](SimPlatform& sim) {
        sim.onPump = [&](SimPlatform&) {
            if (stored) return;
            stored = true;
            StoreVariable(u"!pass", MakeItem<ExprItem_Num>(1.0));
            StoreVariable(u"#run", MakeItem<ExprItem_Num>(1.0));
        };
    };
    PlayOnSim(image, options);
    ASSERT_TRUE(stored);
    EXPECT_FALSE(FindVariable(u"!pass").HasValue());
    EXPECT_FALSE(FindVariable(u"#run").HasValue());
}

}  // namespace
}  // namespace ovrix
