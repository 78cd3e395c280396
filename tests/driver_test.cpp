// The playback driver on the simulated desktop: passes and their top-line
// texts under every repeat rule, the settings it reads, the base folder, and
// the main stream's failure paths.
#include <gtest/gtest.h>

#include <optional>

#include "SimFixture.h"
#include "ScriptTestSupport.h"
#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "engine/PlaybackFlags.h"
#include "expr/ExprHandle.h"
#include "expr/KindsValue.h"
#include "expr/Variables.h"
#include "engine/VariableSteps.h"
#include "script/StoredExpr.h"
#include "StepTestSupport.h"
#include "platform/sim/SimPlay.h"
#include "shell/PlaybackDriver.h"
#include "engine/ScriptLoader.h"

namespace ovrix {
namespace {

// One step that takes `delay` ms: a pass of this script lasts that long.
EventList OneStep(uint32_t delay) {
    return SimFixture::StepList({scripttest::Wait(0, delay)});
}

std::vector<std::string> RepeatLines(const std::vector<uint8_t>& image, SimPlayOptions options = {}) {
    return EventsOf(PlayOnSim(image, options).trace, "line repeat");
}

TEST(Driver, RepeatLineShowsEveryPassAndTheFirstPassAlwaysRuns) {
    const std::pair<std::optional<uint32_t>, std::vector<std::string>> cases[] = {
        {3, {"line repeat \"Repeat 3 times, current 1\"", "line repeat \"Repeat 3 times, current 2\"",
             "line repeat \"Repeat 3 times, current 3\""}},
        // 'REP' 0 plays once, like 1; so does "by time" with no time.
        {0, {"line repeat \"Repeat 0 times, current 1\""}},
        {kRepeatByTime, {"line repeat \"Started at 00:00:00, current 1\""}},
        {std::nullopt, {"line repeat \"Repeat 1 times, current 1\""}},
    };
    for (const auto& [repeat, lines] : cases) {
        SCOPED_TRACE(repeat.value_or(1));
        ImageBuilder b;
        b.Main(OneStep(100));
        if (repeat) b.Setting(tag::kRepeat, *repeat);
        EXPECT_EQ(RepeatLines(b.Build()), lines);
    }
}

TEST(Driver, RunTimeCountsWholeSecondsBetweenPasses) {
    // 10 s passes, 90,500 ms of playing time: the half second is dropped, and a
    // pass starts only while fewer than 90 whole seconds have passed.
    for (bool eightBytes : {false, true}) {
        ImageBuilder b;
        b.Main(OneStep(10000)).Setting(tag::kRepeat, kRepeatByTime);
        if (eightBytes) {
            b.Setting64(tag::kRunTime, 90500);
        } else {
            b.Setting(tag::kRunTime, 90500);
        }
        SimPlayOptions options;
        options.desktop.epochSeconds += 3600 * 13 + 60 * 5 + 7;  // starts at 13:05:07
        const auto lines = RepeatLines(b.Build(), options);
        ASSERT_EQ(lines.size(), 9u) << eightBytes;
        EXPECT_EQ(lines.back(), "line repeat \"Started at 13:05:07, current 9\"");
    }
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

TEST(Driver, PassVariablesAreClearedEachPassAndProgramVariablesSurvive) {
    const auto image = ImageBuilder().Main(OneStep(1000)).Setting(tag::kRepeat, 3).Build();
    std::vector<std::pair<bool, bool>> seen;  // at each pass's first pump: '!' there, '#' there
    uint32_t lastPass = 0;
    SimPlayOptions options;
    options.setup = [&](SimPlatform& sim) {
        sim.onPump = [&](SimPlatform& s) {
            const uint32_t pass = static_cast<uint32_t>(s.ElapsedMs() / 1000) + 1;
            if (pass == lastPass) return;
            lastPass = pass;
            seen.emplace_back(FindVariable(u"!pass").HasValue(), FindVariable(u"#run").HasValue());
            StoreVariable(u"!pass", MakeItem<ExprItem_Num>(1.0));
            StoreVariable(u"#run", MakeItem<ExprItem_Num>(1.0));
        };
    };
    PlayOnSim(image, options);
    EXPECT_EQ(seen, (std::vector<std::pair<bool, bool>>{{false, false}, {false, true}, {false, true}}));
    EXPECT_FALSE(FindVariable(u"#run").HasValue());  // ending playback clears both tables
}

// A Set step record "Set #<target> = <function>(16)", as the editor stores it.
// (Written as bytes: reading it here would already file a missing function.)
FieldWriter SetFromCall(const std::u16string& target, const std::u16string& function) {
    return [=](RecordBuffer& record) {
        RecordBuffer argument, call, set, variable;
        WriteU32(argument, tag::kType, 257);
        WriteF64(argument, MakeTag("NUM"), 16.0);
        WriteU32(call, tag::kType, 2049);
        WriteString(call, MakeTag("FUN"), function);
        WriteU32(call, MakeTag("LIST"), 0);
        WriteContainer(call, IndexedTag('A', 0), argument);
        WriteU32(variable, tag::kType, 256);
        WriteString(variable, MakeTag("VAR"), target);
        WriteU32(set, tag::kType, 2050);
        WriteContainer(set, MakeTag("VAR"), variable);
        WriteContainer(set, MakeTag("VAL"), call);
        WriteU32(record, tag::kDelay, 100);
        WriteContainer(record, tag::kCode, set);
    };
}

TEST(Driver, ScriptsCallBuiltInFunctionsAndMissingOnesAreReportedOnce) {
    constexpr uint32_t kSetVar = 33;
    const auto image = ImageBuilder()
                           .MainStream(StreamOf({{kSetVar, SetFromCall(u"#root", u"Sqrt")},
                                                 {kSetVar, SetFromCall(u"#a", u"NoSuchDriverFunction")},
                                                 {kSetVar, SetFromCall(u"#b", u"NoSuchDriverFunction")}}))
                           .Build();
    double root = -1;
    SimPlayOptions options;
    options.setup = [&](SimPlatform& sim) {
        sim.onPump = [&](SimPlatform&) {
            if (root < 0 && FindVariable(u"#root").HasValue()) root = FindVariable(u"#root")->GetNumber();
        };
    };
    const auto result = PlayOnSim(image, options);
    EXPECT_EQ(root, 4.0);
    const auto boxes = EventsOf(result.trace, "msgbox");
    ASSERT_EQ(boxes.size(), 1u);  // once per missing name, when the script loads
    EXPECT_EQ(boxes[0],
              "msgbox 0x0 \"Ovrix\" \"The plug-in function \\\"NoSuchDriverFunction\\\" does not exist!\\nPlease make "
              "sure you have installed the plug-in.\"");
    EXPECT_EQ(EventsOf(result.trace, "line step").at(1), "line step \"Step 2: Set #a = Call NoSuchDriverFunction(16)\"");
}

TEST(Driver, MissingTooNewOrInvalidMainStream) {
    // No main stream, or an empty image: nothing plays at all.
    const auto result = PlayOnSim(ImageBuilder().Setting(tag::kRepeat, 3).Build());
    ASSERT_EQ(result.trace.size(), 1u);
    EXPECT_EQ(result.trace[0], "0 end");
    EXPECT_EQ(PlayOnSim({}).trace.size(), 1u);

    // A stream too new or invalid plays empty passes.
    const auto tooNew = PlayOnSim(ImageBuilder().Main(OneStep(100), u"", 120).Setting(tag::kRepeat, 2).Build());
    EXPECT_EQ(EventsOf(tooNew.trace, "msgbox").size(), 1u);
    EXPECT_EQ(EventsOf(tooNew.trace, "line repeat").size(), 2u);
    EXPECT_TRUE(EventsOf(tooNew.trace, "line step").empty());
    const auto invalid = PlayOnSim(ImageBuilder().MainStream({1, 2, 3}).Build());
    EXPECT_TRUE(EventsOf(invalid.trace, "msgbox").empty());  // the main stream's load result is not shown
    EXPECT_EQ(EventsOf(invalid.trace, "line repeat").size(), 1u);
}

// What the progress window does with the settings shows in the trace: the
// stop key from the image with the default modifiers, the default pause key,
// and no showing for a window that starts hidden.
TEST(Driver, SettingsDefaultsReachTheProgressWindow) {
    const auto image = ImageBuilder().Main(OneStep(0)).Setting(tag::kStopKey, 0x7B).Setting(tag::kStartHidden, 1).Build();
    const auto trace = PlayOnSim(image).trace;
    EXPECT_EQ(EventsOf(trace, "line script"), (std::vector<std::string>{"line script \"Press Shift + F12 to Stop\""}));
    EXPECT_EQ(EventsOf(trace, "hotkey"), (std::vector<std::string>{"hotkey stop 0x4 123 1", "hotkey pause 0x2 80 1"}));
    EXPECT_EQ(EventsOf(trace, "progress"), (std::vector<std::string>{"progress move bottom-right"}));
}

TEST(Driver, BaseFolderComesFromTheRootPath) {
    struct Case {
        const char16_t* root;
        const char16_t* resolved;
    };
    const Case cases[] = {
        {u"C:\\Macros\\main.ovx", u"C:\\Macros\\sub\\a.ovx"},
        {u"main.ovx", u"\\sub\\a.ovx"},  // no backslash: the folder stays empty
        {u"\\main.ovx", u"\\sub\\a.ovx"},
        {u"", u"\\sub\\a.ovx"},
    };
    for (const auto& c : cases) {
        SimFixture f;
        const auto image = ImageBuilder().Root(c.root).Main(EventList{}).Build();
        RunPlaybackDriver(f.player, Region{image.data(), static_cast<uint32_t>(image.size())});
        EXPECT_EQ(ResolveScriptPath(f.player, u"sub\\a.ovx"), c.resolved);
        EXPECT_EQ(ResolveScriptPath(f.player, u"E:\\x.ovx"), u"E:\\x.ovx");
    }
}

}  // namespace
}  // namespace ovrix
