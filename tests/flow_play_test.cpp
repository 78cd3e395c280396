// The block-structure steps played by the engine on the simulated desktop:
// each test states a script and what it must leave behind (the program-wide
// variable "#log", which its steps append to, or the trace lines).
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
    scripttest::Loop, scripttest::Num, scripttest::Op, scripttest::Set, scripttest::Step, scripttest::Stored,
    scripttest::Text, scripttest::Var;

Ref<Event> LogIndex() { return Log(Var(u"@CurLoopIndex")); }

Ref<Event> Wait(uint32_t delay) {
    auto w = Step<WaitEvent>(delay);
    w->milliseconds = 0;
    return w;
}

Ref<ForLoopEvent> Range(uint32_t kind, std::u16string variable, double from, double to,
                        std::vector<Ref<Event>> body) {
    auto step = Loop(kind, std::move(body));
    step->variable = std::move(variable);
    step->start = Stored(Num(from));
    step->end = Stored(Num(to));
    return step;
}

template <class V>
Ref<CaseValue> Value(decltype(V::value) v) {
    auto value = MakeRef<V>();
    value->value = v;
    return value;
}
Ref<CaseValue> StrValue(std::u16string text) {
    auto value = MakeRef<CaseValueStr>();
    value->text = std::move(text);
    return value;
}

Ref<ElseEvent> Else(std::vector<Ref<Event>> body, uint32_t delay = 0) { return Block<ElseEvent>(std::move(body), delay); }
Ref<SwitchDefaultEvent> Default(std::vector<Ref<Event>> body) { return Block<SwitchDefaultEvent>(std::move(body)); }

Ref<SwitchCaseEvent> Case(std::vector<Ref<CaseValue>> values, std::vector<Ref<Event>> body) {
    auto step = Block<SwitchCaseEvent>(std::move(body));
    step->values = std::move(values);
    return step;
}

Ref<SwitchEvent> Switch(PExprItem key, std::vector<Ref<Event>> cases) {
    auto step = Block<SwitchEvent>(std::move(cases));
    step->expression = Stored(key);
    return step;
}

struct FlowPlayTest : ::testing::Test {
    FlowPlayTest() { ClearLog(); }

    std::string Play(std::vector<Ref<Event>> steps) {
        for (auto& s : steps) list.Append(s);
        f.desktop.BeginTrace();
        RunEventList(f.player, list, nullptr, 1);
        return LogText();
    }

    std::vector<std::string> Messages() const { return f.Events("msgbox"); }

    SimFixture f;
    EventList list;
};

TEST_F(FlowPlayTest, ElseFollowsTheConditionJustBeforeIt) {
    const auto truth = [](bool v) { return MakeItem<ExprItem_Bool>(v); };
    auto disabled = If(Num(0), {Log(u"then")});
    disabled->disabled = 1;
    EXPECT_EQ(Play({If(truth(false), {Log(u"then")}), Else({Log(u"else")}), Step<EndIfEvent>(), Log(u";"),
                    If(truth(true), {Log(u"then")}), Else({Log(u"else")}), Step<EndIfEvent>(), Log(u";"),
                    // An Else with no condition before it plays its body.
                    Log(u"x"), Else({Log(u"orphan")}), Step<EndIfEvent>(), Log(u";"),
                    // A disabled condition is passed over: both bodies play.
                    disabled, Else({Log(u"else")}), Step<EndIfEvent>(), Log(u";"),
                    // Passing over an empty Else skips nothing after it, and waits nothing.
                    If(Num(1), {Log(u"a")}), Else({}, 1000), Log(u"b"), Step<EndIfEvent>()}),
              "else;then;xorphan;thenelse;ab");
    EXPECT_TRUE(Messages().empty());
    EXPECT_LT(f.sim.ElapsedMs(), 100u);
}

// A condition played again in a loop leaves its newest result; one step
// object placed at two positions keeps a flag for each.
TEST_F(FlowPlayTest, ElseReadsTheLatestResultOfItsOwnPosition) {
    const auto odd = Op(op::kRemainder, Var(u"@CurLoopIndex"), Num(2));
    auto shared = If(Var(u"$c"), {Log(u"t")});
    EXPECT_EQ(Play({Count(4, {If(odd, {Log(u"o")}), Else({Log(u"e")}), Step<EndIfEvent>()}), Step<NextEvent>(),
                    Log(u";"), Set(u"$c", Num(0)), shared, Else({Log(u"e")}), Step<EndIfEvent>(), Set(u"$c", Num(1)),
                    shared, Else({Log(u"e")}), Step<EndIfEvent>()}),
              "oeoe;et");
}

TEST_F(FlowPlayTest, FalseConditionShowsItsStatusAndAPassedElseTakesNoDelay) {
    // If false (1000 ms) then Else (1000 ms) plays its body; If true then
    // Else (1000 ms) is passed over at once.
    Play({If(Op(op::kEqual, Num(1), Num(2)), {Wait(100)}, 1000), Else({Wait(100)}, 1000), Step<EndIfEvent>(0),
          If(Op(op::kEqual, Num(2), Num(2)), {Wait(100)}, 1000), Else({Wait(100)}, 1000),
          Step<EndIfEvent>(500)});
    EXPECT_EQ(f.Events("line status").front(), "line status \"The condition is false\"");
    EXPECT_EQ(f.Events("line step"), (std::vector<std::string>{
                                         "line step \"Step 1: If 1 == 2, Then\"",
                                         "line step \"Step 2: Else\"",
                                         "line step \"Step 2.1: Delay 0 ms\"",
                                         "line step \"Step 3: End If\"",
                                         "line step \"Step 4: If 2 == 2, Then\"",
                                         "line step \"Step 4.1: Delay 0 ms\"",
                                         "line step \"Step 5: Else\"",
                                         "line step \"Step 6: End If\"",
                                     }));
    // 1000 + 1000 + 100 + (0) + 1000 + 100 + (0 for the passed Else) + 500.
    EXPECT_GE(f.sim.ElapsedMs(), 3700u);
    EXPECT_LT(f.sim.ElapsedMs(), 3800u);
}

TEST_F(FlowPlayTest, FileConditionAsksTheDesktop) {
    f.sim.files.AddFile(u"C:\\data\\in.txt");
    auto present = Step<IfFileExistEvent>();
    present->fileName = Stored(Text(u"C:\\data\\in.txt"));
    present->children.Append(Log(u"yes"));
    auto missing = Step<IfFileExistEvent>(100);
    missing->fileName = Stored(Text(u"C:\\data\\out.txt"));
    missing->children.Append(Log(u"no"));
    EXPECT_EQ(Play({present, Else({Log(u"else1")}), Step<EndIfEvent>(), missing, Else({Log(u"else2")}),
                    Step<EndIfEvent>()}),
              "yeselse2");
    EXPECT_EQ(f.Events("line status").front(), "line status \"The file is not exist\"");
}

TEST_F(FlowPlayTest, CountLoopsRunTheirCountAndStartAgainAtOne) {
    // The inner loop's index is 1, 2, 3 in the body and 4 at its final test;
    // played twice by the outer loop, it starts again at 1.
    EXPECT_EQ(Play({Count(2, {Count(3, {LogIndex()}), Step<NextEvent>(), LogIndex(), Log(u";")}),
                    Step<NextEvent>(), Count(0, {Log(u"never")}), Step<NextEvent>(), LogIndex()}),
              "1234;1234;1");
}

TEST_F(FlowPlayTest, VariableLoopsSetTheirVariableAndTestTheEndEveryTime) {
    EXPECT_EQ(Play({Range(kLoopRange, u"$i", 5, 3, {Log(u"never")}), Step<NextEvent>(), Log(Var(u"$i")),
                    Log(u";"), Range(kLoopRangeExclusive, u"$j", 1, 3, {Log(Var(u"$j"))}), Step<NextEvent>(),
                    Log(u";"),
                    // The body may move the variable: 1, then 1 + 2 + 1 = 4.
                    Range(kLoopRange, u"$k", 1, 5, {Log(Var(u"$k")), Set(u"$k", Op(op::kSum, Var(u"$k"), Num(2)))}),
                    Step<NextEvent>()}),
              "5;12;14");
}

TEST_F(FlowPlayTest, WhileLoopTestsItsConditionAtEveryArrival) {
    auto loop = Loop(kLoopWhile, {Log(Var(u"$n")), Set(u"$n", Op(op::kSum, Var(u"$n"), Num(1)))});
    loop->condition = Stored(Op(op::kLess, Var(u"$n"), Num(3)));
    loop->delay = 100;
    EXPECT_EQ(Play({Set(u"$n", Num(0)), loop, Step<NextEvent>()}), "012");
    const auto status = f.Events("line status \"While");
    EXPECT_EQ(status, (std::vector<std::string>{"line status \"While Loop 1\"", "line status \"While Loop 2\"",
                                                "line status \"While Loop 3\""}));
}

TEST_F(FlowPlayTest, TimeLoopsCountWholeSeconds) {
    auto fiveSeconds = Loop(kLoopTime, {Log(u"."), Wait(1000)});
    fiveSeconds->duration = u"5 second";
    fiveSeconds->delay = 1;
    auto halfSecond = Loop(kLoopTime, {Log(u"+")});
    halfSecond->duration = u"500 ms";
    auto noUnit = Loop(kLoopTime, {Log(u"-")});
    noUnit->duration = u"5";
    // Arrivals at 0, 1, 2, 3, 4 s play the body; the one at 5 s leaves.
    EXPECT_EQ(Play({fiveSeconds, Step<NextEvent>(), halfSecond, Step<NextEvent>(), noUnit, Step<NextEvent>()}),
              ".....+-");
    EXPECT_EQ(f.Events("line status \"For Loop 1").front(), "line status \"For Loop 1, started at 00:00:00\"");
}

TEST_F(FlowPlayTest, MinutesOfLoopedWaitsTakeMillisecondsOfRealTime) {
    auto loop = Loop(kLoopTime, {Wait(1000), Log(u".")});
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

TEST_F(FlowPlayTest, ExitForAndContinueActOnTheInnermostLoop) {
    const auto atTwo = [] { return Op(op::kEqual, Var(u"@CurLoopIndex"), Num(2)); };
    EXPECT_EQ(Play({Count(2, {Log(u"o"), Count(5, {LogIndex(), If(atTwo(), {Step<ExitForEvent>()}),
                                                   Step<EndIfEvent>()}),
                              Step<NextEvent>()}),
                    Step<NextEvent>(), Log(u";"),
                    Count(2, {Log(u"o"), Count(3, {If(atTwo(), {Step<ContinueEvent>()}), Step<EndIfEvent>(),
                                                   LogIndex()}),
                              Step<NextEvent>()}),
                    Step<NextEvent>(), Log(u";"),
                    // An endless loop that is the last thing in a block goes on after the block,
                    // and one that is the last in the run ends it.
                    If(Num(1), {Loop(99, {Log(u"a"), Step<ExitForEvent>(), Log(u"never")}), Step<NextEvent>()}),
                    Log(u"b"), Loop(99, {Log(u"c"), Step<ExitForEvent>()}), Step<NextEvent>()}),
              "o12o12;o13o13;abc");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FlowPlayTest, SwitchMatchesKeysByText) {
    EXPECT_EQ(Play({
                  // 10 matches the hexadecimal case 0xA: both keys are "10".
                  Switch(Num(10), {Case({Value<CaseValueInt>(9)}, {Log(u"nine")}),
                                   Case({Value<CaseValueInt>(3), Value<CaseValueHex>(0xA)}, {Log(u"ten")}),
                                   Default({Log(u"default")})}),
                  Step<EndSwitchEvent>(), Log(u";"),
                  // An empty text goes to the Default even when a case lists it.
                  Switch(Text(u""), {Case({StrValue(u"")}, {Log(u"empty")}), Default({Log(u"default")})}),
                  Step<EndSwitchEvent>(), Log(u";"),
                  // The later of two cases with the same key is played; no fall-through.
                  Switch(Text(u"k"), {Case({StrValue(u"k")}, {Log(u"first")}), Case({StrValue(u"k")}, {Log(u"second")}),
                                      Case({StrValue(u"z")}, {Log(u"z")}), Default({Log(u"default")})}),
                  Step<EndSwitchEvent>(), Log(u";"),
                  // An empty case body and an empty default leave the switch.
                  Switch(Text(u"e"), {Case({StrValue(u"e")}, {}), Case({StrValue(u"f")}, {Log(u"f")}), Default({})}),
                  Step<EndSwitchEvent>(), Log(u";"),
                  Switch(Text(u"none"), {Case({StrValue(u"a")}, {Log(u"a")}), Default({})}),
                  Step<EndSwitchEvent>(), Log(u";"),
                  // Without a Default, no match enters the block and the first case leaves it.
                  Switch(Text(u"none"), {Case({StrValue(u"a")}, {Log(u"a")}), Case({StrValue(u"b")}, {Log(u"b")})}),
                  Step<EndSwitchEvent>(), Log(u"end"),
              }),
              "ten;default;second;;;end");
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FlowPlayTest, BrokenStructuresAreReportedAndPlayGoesOnWithoutTheDelay) {
    Play({Step<ContinueEvent>(1000), Step<ExitForEvent>(1000), Step<NextEvent>(1000),
          Case({StrValue(u"a")}, {}), Default({}), Log(u"on")});
    const std::vector<std::string> expected = {
        "Action Script Error: Invalid Continue For statement.",
        "Action Script Error: Invalid Exit For statement.",
        "Action Script Error: Invalid Next statement.",
        "Action Script Error: Invalid Switch Case Command.",
        "Action Script Error: Invalid Switch Defalult Command.",
    };
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NE(messages[i].find("\"Ovrix\" \"" + expected[i] + "\""), std::string::npos) << messages[i];
    }
    EXPECT_EQ(AsText(GetVariable(u"#log")), u"on");
    EXPECT_LT(f.sim.ElapsedMs(), 500u);
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
