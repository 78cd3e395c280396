// Script functions, calls and jumps played by the engine on the simulated
// desktop, where a script as source beside its trace (tests/golden) cannot
// say it: replays, link passes, the script cache, the call depth and the
// playback flags. Each test states a script and what it must leave behind
// (the program-wide variable "#log", which its steps append to).
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

// The implementation entry of a script function demands the full count
// itself. (Calls with defaults and wrong counts play as source in
// tests/golden.)
TEST_F(FunctionsPlayTest, TheImplementationEntryDemandsTheFullCount) {
    Load({Function(u"pair", {{u"$a"}, {u"$b"}}, {Log(u"pair")})});
    ASSERT_TRUE(PrepareScript(f.player, list, 0));
    const Dyn_Function* function = list.functions->Find(u"pair");
    ASSERT_NE(function, nullptr);
    PExprItem result = Num(1);
    PExprItem one = Text(u"1");
    function->GetImpl()(&result, 1, &one, function->GetUserWord());
    EXPECT_FALSE(result.HasValue());
    EXPECT_EQ(LogText(), "");
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
