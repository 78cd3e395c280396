// Script functions, calls and jumps played by the engine on the simulated
// desktop: each test states a script and what it must leave behind (the
// program-wide variable "#log", which its steps append to, the trace lines
// and the playback flags).
#include <gtest/gtest.h>

#include "ScriptTestSupport.h"
#include "SimFixture.h"
#include "engine/Context.h"
#include "engine/FunctionSteps.h"
#include "engine/LinkPass.h"
#include "engine/Playback.h"
#include "engine/PlaybackSteps.h"
#include "engine/ScriptFunctions.h"

namespace ovrix {
namespace {

using scripttest::Block, scripttest::ClearLog, scripttest::Count, scripttest::If, scripttest::Log, scripttest::LogText,
    scripttest::Loop, scripttest::Num, scripttest::Op, scripttest::Return, scripttest::ScriptArg, scripttest::Set,
    scripttest::Step, scripttest::Stored, scripttest::Text, scripttest::Var;

PExprItem Call(std::u16string name, std::vector<PExprItem> args = {}) {
    auto node = MakeItem<ExprItem_DynFun>();
    auto* call = ItemAs<ExprItem_DynFun>(node);
    call->name = std::move(name);
    call->args = std::move(args);
    return node;
}

Ref<Event> CallStep(std::u16string name, std::vector<PExprItem> args = {}) {
    auto step = Step<CallFunEvent>();
    step->code = Stored(Call(std::move(name), std::move(args)));
    return step;
}

Ref<Event> Label(std::u16string name) {
    auto step = Step<LabelEvent>();
    step->name = std::move(name);
    return step;
}

Ref<Event> GoTo(std::u16string label, uint32_t delay = 0) {
    auto step = Step<GoToEvent>(delay);
    step->label = std::move(label);
    return step;
}

struct Param {
    std::u16string name;
    PExprItem fallback = {};
};

Ref<FunStartEvent> Function(std::u16string name, std::vector<Param> params, std::vector<Ref<Event>> body) {
    auto step = Block<FunStartEvent>(std::move(body));
    step->functionName = std::move(name);
    for (auto& p : params) {
        FunctionArg arg;
        arg.name = p.name;
        if (p.fallback) arg.defaultValue = Stored(p.fallback);
        step->args.push_back(arg);
    }
    return step;
}

struct FunctionsPlayTest : ::testing::Test {
    FunctionsPlayTest() { ClearLog(); }
    ~FunctionsPlayTest() override {
        SetFlag(StopRequest, 0);
        SetFlag(ResetRequest, 0);
    }

    void Load(std::vector<Ref<Event>> steps) {
        for (auto& s : steps) list.Append(s);
    }

    std::string Play(std::vector<Ref<Event>> steps, const ArgumentList* arguments = nullptr) {
        Load(std::move(steps));
        EXPECT_TRUE(PrepareScript(f.player, list, 0));
        return Replay(arguments);
    }

    std::string Replay(const ArgumentList* arguments = nullptr) {
        f.desktop.BeginTrace();
        RunEventList(f.player, list, arguments, 1);
        return LogText();
    }

    // A fresh start for a further script in the same test.
    void Restart() {
        SetFlag(StopRequest, 0);
        f.trace.clear();
        list.Clear();
        ClearLog();
    }

    std::vector<std::string> Errors() const { return f.Events("error"); }

    SimFixture f;
    EventList list;
};

TEST_F(FunctionsPlayTest, DefinitionIsPassedOverAndEachCallHasItsOwnLoopsAndArguments) {
    auto body = std::vector<Ref<Event>>{Count(2, {Log(Var(u"@CurLoopIndex"))}), Step<NextEvent>(), Log(Var(u"$a")),
                                        Set(u"$a", Text(u"changed"))};
    EXPECT_EQ(Play({Log(u"<"), Function(u"f", {{u"$a"}}, body), Step<FunEndEvent>(), CallStep(u"f", {Text(u"x")}),
                    CallStep(u"f", {Text(u"y")}), Set(u"$a", Text(u"main")), CallStep(u"f", {Var(u"$a")}),
                    Log(Var(u"$a")), Log(u">")}),
              "<12x12y12mainmain>");
    EXPECT_TRUE(Errors().empty());
    EXPECT_FALSE(IsSet(StopRequest));
}

TEST_F(FunctionsPlayTest, ReturnEndsTheInnermostRunWithItsValue) {
    // Return inside a loop inside the function ends the function at once.
    auto early = Function(u"early", {}, {Count(3, {Log(u"b"), Return(Num(7))}), Step<NextEvent>(), Log(u"late")});
    auto five = Function(u"five", {}, {Return(Num(5))});
    auto none = Function(u"none", {}, {Log(u"n")});
    auto twice = Function(u"twice", {{u"$v"}}, {Return(MakeItem<ExprItem_Operator2>(op::kProduct, Var(u"$v"), Num(2)))});
    EXPECT_EQ(Play({early, five, none, twice, Set(u"$r", Call(u"early")), Log(Var(u"$r")), Set(u"$r", Call(u"five")),
                    Set(u"$s", Call(u"none")), Log(u"["), Log(Var(u"$s")), Log(u"]"), Log(Var(u"$r")),
                    Log(Call(u"twice", {Num(21)})), Log(u";"), If(Num(1), {Return(), Log(u"after return")}),
                    Log(u"never")}),
              "b7n[]542;");
    EXPECT_FALSE(IsSet(StopRequest));
}

TEST_F(FunctionsPlayTest, UnknownFunctionsAndWrongCountsShowTheErrorDialogAndStop) {
    EXPECT_EQ(Play({Log(u"a"), CallStep(u"missing"), Log(u"b")}), "a");
    EXPECT_EQ(Errors(), (std::vector<std::string>{"error \"Error: Function missing does not eixst!\""}));
    EXPECT_TRUE(IsSet(StopRequest));
}

// Names are case-sensitive and a function body has no table of its own, so
// a function reaches neither another function nor itself.
TEST_F(FunctionsPlayTest, FunctionBodiesCannotCallFunctions) {
    auto inner = Function(u"inner", {}, {Log(u"i")});
    auto outer = Function(u"outer", {}, {Log(u"o"), CallStep(u"inner"), Log(u"never")});
    auto self = Function(u"self", {}, {CallStep(u"self")});
    EXPECT_EQ(Play({inner, outer, self, CallStep(u"Inner"), Log(u"x")}), "");
    EXPECT_EQ(Errors(), (std::vector<std::string>{"error \"Error: Function Inner does not eixst!\""}));
    Restart();
    EXPECT_EQ(Play({inner, outer, self, CallStep(u"outer"), Log(u"x")}), "o");
    EXPECT_EQ(Errors(), (std::vector<std::string>{"error \"Error: Function inner does not eixst!\""}));
    SetFlag(StopRequest, 0);
    f.trace.clear();
    EXPECT_EQ(Replay(), "oo");  // the call node is looked up again, with the same answer
    Restart();
    EXPECT_EQ(Play({self, CallStep(u"self"), Log(u"x")}), "");
    EXPECT_EQ(Errors(), (std::vector<std::string>{"error \"Error: Function self does not eixst!\""}));
}

TEST_F(FunctionsPlayTest, ArgumentCountsAndDefaults) {
    auto join = Function(u"join", {{u"$a"}, {u"$b", Text(u"d")}}, {Return(
                             MakeItem<ExprItem_Operator2>(op::kSum, Var(u"$a"), Var(u"$b")))});
    auto pair = Function(u"pair", {{u"$a"}, {u"$b"}}, {Log(u"pair")});
    EXPECT_EQ(Play({join, pair, Log(Call(u"join", {Text(u"x"), Text(u"y")})), Log(Call(u"join", {Text(u"x")})),
                    CallStep(u"pair", {Text(u"only")}), Log(u"never")}),
              "xyxd");
    EXPECT_EQ(Errors(), (std::vector<std::string>{"error \"Error: Function pair does not take 1 arguments!\""}));
    EXPECT_TRUE(IsSet(StopRequest));

    // The implementation entry itself demands the full count.
    SetFlag(StopRequest, 0);
    const Dyn_Function* function = list.functions->Find(u"pair");
    ASSERT_NE(function, nullptr);
    PExprItem result = Num(1);
    PExprItem one = Text(u"1");
    function->GetImpl()(&result, 1, &one, function->GetUserWord());
    EXPECT_FALSE(result.HasValue());
    EXPECT_EQ(LogText(), "xyxd");
}

TEST_F(FunctionsPlayTest, RedefinitionStopsTheLinkPass) {
    Load({Function(u"f", {}, {}), If(Num(1), {Function(u"f", {}, {})})});
    EXPECT_FALSE(PrepareScript(f.player, list, 0));
    EXPECT_EQ(f.Events("msgbox").size(), 1u);
    EXPECT_NE(f.Events("msgbox").front().find("\"Script Error: Function f redefinition!\""), std::string::npos);

    // A disabled definition is not entered; names differing in case are two names.
    EventList other;
    auto disabled = Function(u"f", {}, {});
    disabled->disabled = 1;
    other.Append(Function(u"f", {}, {}));
    other.Append(disabled);
    other.Append(Function(u"F", {}, {}));
    EXPECT_TRUE(PrepareScript(f.player, other, 0));
}

TEST_F(FunctionsPlayTest, CachedResolutionFollowsANewLinkPass) {
    auto definition = Function(u"f", {}, {Log(u"f")});
    EXPECT_EQ(Play({definition, CallStep(u"f")}), "f");
    definition->functionName = u"g";
    ASSERT_TRUE(PrepareScript(f.player, list, 0));  // the old descriptor is gone
    EXPECT_EQ(Replay(), "f");
    EXPECT_EQ(Errors(), (std::vector<std::string>{"error \"Error: Function f does not eixst!\""}));
}

TEST_F(FunctionsPlayTest, GotoJumpsIntoBlocksAndReportsMissingLabels) {
    EXPECT_EQ(Play({GoTo(u"in"), Log(u"skipped"),
                    If(Num(0), {Log(u"no"), Label(u"in"), Log(u"inside"), If(Num(1), {Label(u"last")})}),
                    Step<EndIfEvent>(), Log(u";"), GoTo(u"missing", 100), Log(u"next"), GoTo(u"end"), Log(u"no"),
                    Label(u"end")}),
              "inside;next");
    EXPECT_EQ(f.Events("line status \"Label"), (std::vector<std::string>{"line status \"Label not found\""}));

    // A jump to a label that ends a block goes on after the block.
    Restart();
    EXPECT_EQ(Play({GoTo(u"tail"), If(Num(0), {Log(u"no"), Label(u"tail")}), Log(u"after")}), "after");

    // A function body has no labels of its own and reaches none outside it.
    Restart();
    EXPECT_EQ(Play({Function(u"f", {}, {GoTo(u"here", 50), Log(u"f")}), CallStep(u"f"), Label(u"here"),
                    Log(u"main")}),
              "fmain");
    EXPECT_EQ(f.Events("line status \"Label not found\"").size(), 1u);
}

TEST_F(FunctionsPlayTest, StopEndsAllPlaybackAfterItsDelay) {
    auto f1 = Function(u"f", {}, {Log(u"f"), Step<StopScriptEvent>(100), Log(u"no")});
    EXPECT_EQ(Play({Log(u"a"), f1, CallStep(u"f"), Log(u"no")}), "af");
    EXPECT_TRUE(IsSet(StopRequest));
    EXPECT_EQ(f.Events("line status").back(), "line status \"Step Complete\"");
}

TEST_F(FunctionsPlayTest, GetScriptArgReadsTheRunsArgumentList) {
    const ArgumentList arguments{MakeItem<ExprItem_Text>(u"prog"), MakeItem<ExprItem_Text>(u"one")};
    EXPECT_EQ(Play({ScriptArg(u"$a", 1), Log(Var(u"$a")), ScriptArg(u"$b", 1.9), Log(Var(u"$b")),
                    ScriptArg(u"$c", 2), Log(u"["), Log(Var(u"$c")), Log(u"]"), ScriptArg(u"$d", -0.5),
                    Log(Var(u"$d")), Function(u"f", {}, {ScriptArg(u"$e", 0), Log(u"("), Log(Var(u"$e")), Log(u")")}),
                    CallStep(u"f")},
                   &arguments),
              "oneone[]prog()");
}

TEST_F(FunctionsPlayTest, CallsNestedTooDeeplyAreRefused) {
    Load({Function(u"f", {}, {Log(u"f")}), CallStep(u"f"), Log(u";")});
    ASSERT_TRUE(PrepareScript(f.player, list, 0));
    auto& stack = ThreadPlayerState().stack;
    // The main run is one more Context; the function's would be the limit + 1.
    while (stack.size() < kMaxCallDepth - 2) stack.push_back(std::make_unique<Context>(0, list, nullptr, nullptr));
    EXPECT_EQ(Replay(), "f;");
    EXPECT_TRUE(Errors().empty());
    stack.push_back(std::make_unique<Context>(0, list, nullptr, nullptr));
    EXPECT_EQ(Replay(), "f;");
    EXPECT_EQ(Errors(), (std::vector<std::string>{"error \"Error: Function f is nested more than 100 runs deep!\""}));
    EXPECT_TRUE(IsSet(StopRequest));
}

// Scripts played from steps: loaded once by the link pass from the image,
// each play a fresh run with the file name and the evaluated arguments.
struct NestedPlayTest : FunctionsPlayTest {
    static Ref<PlayScriptEvent> PlayStep(std::u16string file, std::vector<PExprItem> args = {},
                                         std::u16string result = {}, uint32_t delay = 0) {
        auto step = Step<PlayScriptEvent>(delay);
        step->file = std::move(file);
        for (auto& a : args) step->arguments.push_back(Stored(a));
        if (!result.empty()) step->result = Stored(Var(result));
        return step;
    }
};

TEST_F(NestedPlayTest, ArgumentsResultAndFreshLoopStatePerPlay) {
    f.EmbedScripts({{u"sub.ovx", {ScriptArg(u"$p", 0), Log(Var(u"$p")), ScriptArg(u"$n", 1),
                                      Count(2, {Log(u"+")}), Step<NextEvent>(),
                                      Return(Op(op::kSum, Var(u"$n"), Num(1)))}},
           {u"quiet.ovx", {Log(u"q")}}});
    EXPECT_EQ(Play({PlayStep(u"sub.ovx", {Num(41)}, u"$r"), Log(Var(u"$r")), PlayStep(u"sub.ovx", {Num(1)}),
                    Set(u"$q", Num(7)), PlayStep(u"quiet.ovx", {}, u"$q"), Log(u"["), Log(Var(u"$q")), Log(u"]")}),
              "sub.ovx++42sub.ovx++q[]");
    EXPECT_EQ(f.player.scriptCache.size(), 2u);  // sub.ovx once, though played twice
}

// A copy of a step shares its call node, so a list without the function
// still reaches it through a resolution cached by the main script, for as
// long as the playback lasts.
TEST_F(NestedPlayTest, CachedResolutionsLastForOnePlaybackAcrossNestedLoads) {
    f.EmbedScripts({{u"sub.ovx", {Log(u"s")}}});
    auto call = CallStep(u"f");
    f.Begin();
    EXPECT_EQ(Play({Function(u"f", {}, {Log(u"f")}), call}), "f");

    // A script linked while the playback runs, loading a script file of its own.
    EventList other = SimFixture::StepList({call->Clone(), PlayStep(u"sub.ovx")});
    ASSERT_TRUE(PrepareScript(f.player, other, 0));
    RunEventList(f.player, other, nullptr, 1);
    EXPECT_EQ(LogText(), "ffs");
    EXPECT_TRUE(Errors().empty());

    // The next playback looks the name up afresh, where it is unknown.
    EndPlayback(f.player);
    f.Begin();
    RunEventList(f.player, other, nullptr, 1);
    EXPECT_EQ(Errors(), (std::vector<std::string>{"error \"Error: Function f does not eixst!\""}));
    EndPlayback(f.player);
}

TEST_F(NestedPlayTest, DelayIsWaitedBeforeAndAfterThePlayedScript) {
    f.EmbedScripts({{u"sub.ovx", {Log(u"s")}}});
    Play({PlayStep(u"sub.ovx", {}, {}, 1000)});
    EXPECT_GE(f.sim.ElapsedMs(), 2000u);
    EXPECT_LT(f.sim.ElapsedMs(), 2100u);
}

// After the played script, the status shows what its last step left: the
// status text starts every step as "Step Complete", and a step that finishes
// with its own status keeps it there.
TEST_F(NestedPlayTest, AfterThePlayedScriptTheStatusIsWhatItsStepsLeft) {
    f.EmbedScripts({{u"lost.ovx", {Log(u"l"), GoTo(u"nowhere")}}, {u"quiet.ovx", {Log(u"q")}}});
    auto random = Step<PlayRandomEvent>(100);
    random->entries = {{u"lost.ovx", 1}};
    Play({PlayStep(u"lost.ovx", {}, {}, 100), PlayStep(u"quiet.ovx", {}, {}, 100), random});
    std::vector<std::string> shown;
    for (const std::string& line : f.Events("line status")) {
        if (line != "line status \"\"") shown.push_back(line);
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"line status \"Label not found\"", "line status \"Step Complete\"",
                                               "line status \"Play \\\"lost.ovx\\\"\"",
                                               "line status \"Label not found\""}));
}

TEST_F(NestedPlayTest, ScriptsPlayingEachOtherLoadOnceAndStopAtTheDepthLimit) {
    f.EmbedScripts({{u"a.ovx", {Log(u"a"), PlayStep(u"b.ovx")}},
           {u"b.ovx", {Log(u"b"), PlayStep(u"a.ovx")}}});
    const std::string log = Play({PlayStep(u"a.ovx")});
    EXPECT_EQ(f.player.scriptCache.size(), 2u);
    EXPECT_EQ(log.size(), kMaxCallDepth - 1);  // every run but the main one logs
    EXPECT_EQ(Errors(), (std::vector<std::string>{"error \"Error: Script b.ovx is nested more than 100 runs deep!\""}));
    EXPECT_TRUE(IsSet(StopRequest));
}

TEST_F(NestedPlayTest, AMissingScriptFileStopsTheLinkPass) {
    f.EmbedScripts({});
    Load({Log(u"x"), PlayStep(u"gone.ovx")});
    EXPECT_FALSE(PrepareScript(f.player, list, 0));
    EXPECT_EQ(f.Events("msgbox").size(), 1u);
    // A disabled step names no file that must load.
    list.Clear();
    auto disabled = PlayStep(u"gone.ovx");
    disabled->disabled = 1;
    Load({disabled});
    EXPECT_TRUE(PrepareScript(f.player, list, 0));
}

// Reset in a loop in a function in a played script ends every run after its step.
TEST_F(NestedPlayTest, ResetInsideAFunctionInsideAPlayedScriptEndsThePass) {
    auto body = Function(u"f", {}, {Log(u"f"), Count(3, {Step<ResetScriptEvent>(), Log(u"no")}), Step<NextEvent>(),
                                    Log(u"no")});
    f.EmbedScripts({{u"sub.ovx", {body, Log(u"s"), CallStep(u"f"), Log(u"no")}}});
    EXPECT_EQ(Play({Log(u"a"), PlayStep(u"sub.ovx"), Log(u"no")}), "asf");
    EXPECT_TRUE(IsSet(ResetRequest));
    EXPECT_FALSE(IsSet(StopRequest));
}

TEST_F(NestedPlayTest, RandomPlayFollowsTheWeights) {
    f.EmbedScripts({{u"one.ovx", {Log(u"1")}}, {u"three.ovx", {Log(u"3")}},
           {u"never.ovx", {Log(u"0")}}});
    auto pick = Step<PlayRandomEvent>();
    pick->entries = {{u"one.ovx", 1}, {u"never.ovx", 0}, {u"three.ovx", 3}};
    auto none = Step<PlayRandomEvent>(100);
    none->entries = {{u"never.ovx", 0}};
    Load({Count(400, {pick}), Step<NextEvent>(), none});
    const std::string log = Play({});
    EXPECT_EQ(log.size(), 400u);
    EXPECT_EQ(log.find('0'), std::string::npos);
    const auto threes = std::count(log.begin(), log.end(), '3');
    EXPECT_GT(threes, 260);
    EXPECT_LT(threes, 340);
    EXPECT_EQ(f.Events("line status").back(), "line status \"Nothing to play!\"");
}

TEST_F(NestedPlayTest, RecordedInputShiftsPositionsAndScalesItsPauses) {
    auto play = Step<PlayRecordEvent>();
    play->relative = 1;
    play->speed = 200;
    play->records = {{RecordedInput::kPause, 10, 10, 0, 0},
                     {RecordedInput::kKeyDown, 65, 0, 0, 100},
                     {RecordedInput::kMove, 100, 100, 0, 1000},
                     {RecordedInput::kLeftDown, 0, 0, 0, 0},
                     {RecordedInput::kWheel, -1, 7, 120, 300},
                     {RecordedInput::kKeyUp, 65, 0, 0, 0}};
    f.sim.PlaceCursor(300, 150);
    f.player.mouse.leftDown = 0x0008;  // swapped buttons
    Play({play});
    std::vector<std::string> events;
    for (const std::string& line : f.trace) {
        const std::string rest = line.substr(line.find(' ') + 1);
        if (rest.rfind("line", 0) != 0) events.push_back(line);
    }
    // The shift comes from the first positioned record (not a pause or a key);
    // the key is not shifted, the move is; the wheel stays at the cursor;
    // each pause takes half its recorded time.
    EXPECT_EQ(events, (std::vector<std::string>{"0 key 65 30 0x0", "50 cursor 300 150", "550 mouse 0x8 0 0 0",
                                                "550 cursor 300 150", "550 mouse 0x800 0 0 120",
                                                "700 key 65 30 0x2"}));
}

}  // namespace
}  // namespace ovrix
