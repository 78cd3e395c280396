// What the block steps' scripts (played as source beside their traces in
// tests/golden) cannot show: one step object at two places, the real time a
// long simulated loop takes, and the frame a run keeps on the thread's stack.
#include <gtest/gtest.h>

#include <chrono>

#include "ScriptTestSupport.h"
#include "SimFixture.h"
#include "actions/SystemSteps.h"
#include "engine/Context.h"
#include "engine/Playback.h"

namespace ovrix {
namespace {

using scripttest::Block, scripttest::ClearLog, scripttest::Count, scripttest::If, scripttest::Log, scripttest::LogText,
    scripttest::Loop, scripttest::Num, scripttest::Op, scripttest::Set, scripttest::Step, scripttest::Text, scripttest::Var,
    scripttest::Wait;

struct FlowPlayTest : ::testing::Test {
    FlowPlayTest() { ClearLog(); }

    std::string Play(std::vector<Ref<Event>> steps) {
        for (auto& s : steps) list.Append(s);
        f.desktop.BeginTrace();
        RunEventList(f.player, list, nullptr, 1);
        return LogText();
    }

    SimFixture f;
    EventList list;
};

// A condition played again in a loop leaves its newest result; one step
// object placed at two positions keeps a flag for each.
TEST_F(FlowPlayTest, ElseReadsTheLatestResultOfItsOwnPosition) {
    const auto odd = Op(op::kRemainder, Var(u"@CurLoopIndex"), Num(2));
    const auto otherwise = [](std::u16string text) { return Block<ElseEvent>({Log(text)}); };
    auto shared = If(Var(u"$c"), {Log(u"t")});
    EXPECT_EQ(Play({Count(4, {If(odd, {Log(u"o")}), otherwise(u"e"), Step<EndIfEvent>()}), Step<NextEvent>(),
                    Log(u";"), Set(u"$c", Num(0)), shared, otherwise(u"e"), Step<EndIfEvent>(), Set(u"$c", Num(1)),
                    shared, otherwise(u"e"), Step<EndIfEvent>()}),
              "oeoe;et");
}

TEST_F(FlowPlayTest, MinutesOfLoopedWaitsTakeMillisecondsOfRealTime) {
    auto loop = Loop(kLoopTime, {Wait(0, 1000), Log(u".")});
    loop->duration = u"3 minute";
    const auto begin = std::chrono::steady_clock::now();
    const std::string log = Play({loop, Step<NextEvent>()});
    const auto real = std::chrono::steady_clock::now() - begin;
    // A second of delay per pass, plus the breathers after zero-delay displays.
    EXPECT_GE(log.size(), 170u);
    EXPECT_LE(log.size(), 180u);
    EXPECT_GE(f.sim.ElapsedMs(), 180000u);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(real).count(), 3000);
}

// A list changed between two runs of one playback plays as it is now: a
// switch put into a block's body, then the whole list replaced by another
// whose switch sits at a position where the first had none.
TEST_F(FlowPlayTest, ASwitchAddedOrMovedBetweenRunsFindsItsCase) {
    const auto matching = [](std::u16string key) {
        auto value = MakeRef<CaseValueStr>();
        value->text = key;
        auto step = Block<SwitchCaseEvent>({Log(key)});
        step->values.push_back(value);
        return step;
    };
    const auto choice = [&](std::u16string key) {
        auto step = Block<SwitchEvent>({matching(u"j"), matching(u"k")});
        step->expression = scripttest::Stored(Text(key));
        return step;
    };
    auto block = If(Num(1), {Log(u"a")});
    EXPECT_EQ(Play({block, Step<EndIfEvent>()}), "a");
    block->children.Append(choice(u"k"));
    block->children.Append(Step<EndSwitchEvent>());
    EXPECT_EQ(Play({}), "aak");

    EventList other;
    other.Append(Log(u";"));
    other.Append(choice(u"k"));
    other.Append(Step<EndSwitchEvent>());
    list = std::move(other);
    EXPECT_EQ(Play({}), "aak;k");
}

TEST_F(FlowPlayTest, ARunHasItsOwnFrameOnTheThreadStack) {
    int32_t seenDepth = -1;
    bool seenCaller = true;
    const Context::Control control = [&](Context& c) {
        seenDepth = c.depth;
        seenCaller = c.caller != nullptr;
    };
    list.Append(Set(u"$local", Num(1)));
    RunEventList(f.player, list, nullptr, 1, &control);
    EXPECT_EQ(seenDepth, 0);
    EXPECT_FALSE(seenCaller);
    EXPECT_TRUE(ThreadPlayerState().stack.empty());
    EXPECT_FALSE(GetVariable(u"$local").HasValue());  // the run's variables died with it
}

}  // namespace
}  // namespace ovrix
