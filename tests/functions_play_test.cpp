// Script functions and played scripts where a script as source beside its
// trace (tests/golden) cannot say it: replays and link passes of one list,
// the script cache, the call depth, weighted random plays and the
// implementation entry. Each test states a script and what it must leave
// behind (the program-wide variable "#log", which its steps append to).
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

using scripttest::Block, scripttest::ClearLog, scripttest::Count, scripttest::Log, scripttest::LogText, scripttest::Num,
    scripttest::Step, scripttest::Stored, scripttest::Text;

// Call name(), a script-function call without arguments.
Ref<Event> CallStep(std::u16string name) {
    auto node = MakeItem<ExprItem_DynFun>();
    ItemAs<ExprItem_DynFun>(node)->name = std::move(name);
    auto step = Step<CallFunEvent>();
    step->code = Stored(node);
    return step;
}

Ref<FunStartEvent> Function(std::u16string name, std::vector<std::u16string> params, std::vector<Ref<Event>> body) {
    auto step = Block<FunStartEvent>(std::move(body));
    step->functionName = std::move(name);
    for (auto& p : params) {
        FunctionArg arg;
        arg.name = std::move(p);
        step->args.push_back(arg);
    }
    return step;
}

struct FunctionsPlayTest : ::testing::Test {
    FunctionsPlayTest() { ClearLog(); }
    ~FunctionsPlayTest() override { SetFlag(StopRequest, 0); }

    void Load(std::vector<Ref<Event>> steps) {
        for (auto& s : steps) list.Append(s);
    }

    std::string Play(std::vector<Ref<Event>> steps) {
        Load(std::move(steps));
        EXPECT_TRUE(PrepareScript(f.player, list, 0));
        return Replay();
    }

    std::string Replay() {
        f.desktop.BeginTrace();
        RunEventList(f.player, list, nullptr, 1);
        return LogText();
    }

    std::vector<std::string> Errors() const { return f.Events("error"); }

    SimFixture f;
    EventList list;
};

// A call its function's body could not resolve is looked up again when the
// list is played again, with the same answer.
TEST_F(FunctionsPlayTest, AFailedCallIsLookedUpAgainOnReplay) {
    auto inner = Function(u"inner", {}, {Log(u"i")});
    auto outer = Function(u"outer", {}, {Log(u"o"), CallStep(u"inner"), Log(u"never")});
    EXPECT_EQ(Play({inner, outer, CallStep(u"outer"), Log(u"x")}), "o");
    SetFlag(StopRequest, 0);
    f.trace.clear();
    EXPECT_EQ(Replay(), "oo");
    EXPECT_EQ(Errors(), (std::vector<std::string>{"error \"Error: Function inner does not eixst!\""}));
}

// The implementation entry of a script function demands the full count
// itself. (Calls with defaults and wrong counts play as source in
// tests/golden.)
TEST_F(FunctionsPlayTest, TheImplementationEntryDemandsTheFullCount) {
    Load({Function(u"pair", {u"$a", u"$b"}, {Log(u"pair")})});
    ASSERT_TRUE(PrepareScript(f.player, list, 0));
    const Dyn_Function* function = list.functions->Find(u"pair");
    ASSERT_NE(function, nullptr);
    PExprItem result = Num(1);
    PExprItem one = Text(u"1");
    function->GetImpl()(&result, 1, &one, function->GetUserWord());
    EXPECT_FALSE(result.HasValue());
    EXPECT_EQ(LogText(), "");
}

TEST_F(FunctionsPlayTest, CachedResolutionFollowsANewLinkPass) {
    auto definition = Function(u"f", {}, {Log(u"f")});
    EXPECT_EQ(Play({definition, CallStep(u"f")}), "f");
    definition->functionName = u"g";
    ASSERT_TRUE(PrepareScript(f.player, list, 0));  // the old descriptor is gone
    EXPECT_EQ(Replay(), "f");
    EXPECT_EQ(Errors(), (std::vector<std::string>{"error \"Error: Function f does not eixst!\""}));
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

// Scripts played from steps, loaded by the link pass from the image.
struct NestedPlayTest : FunctionsPlayTest {
    static Ref<PlayScriptEvent> PlayStep(std::u16string file) {
        auto step = Step<PlayScriptEvent>();
        step->file = std::move(file);
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

}  // namespace
}  // namespace ovrix
