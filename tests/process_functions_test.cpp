// The processes family where a macro cannot look: the process handles the
// functions open are all closed again, and a wait for a program ends when
// playback is stopped. What a macro sees is played as golden traces.
#include <gtest/gtest.h>

#include "builtins_test_support.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

PExprItem Truth(bool value) { return MakeItem<ExprItem_Bool>(value); }

SimProcessSpec Program(std::u16string name, std::optional<uint64_t> exitsAfterMs, uint32_t pid = 0) {
    SimProcessSpec spec;
    spec.name = std::move(name);
    spec.exitsAfterMs = exitsAfterMs;
    spec.pid = pid;
    return spec;
}

class ProcessFunctions : public ::testing::Test {
protected:
    SimProcesses& Processes() { return host.sim.processes; }
    FakeBuiltinHost host;
};

TEST_F(ProcessFunctions, WaitsAndKillsLeaveNoHandleOpen) {
    Processes().AddProgram(Program(u"notepad.exe", 250));
    CallWith(u"ExecuteFile", {Text(u"notepad.exe"), Text(u""), Num(5), Truth(true)});
    CallWith(u"Command", {Text(u"dir"), Num(0), Truth(true)});
    Processes().Add(Program(u"calc.exe", std::nullopt, 1204));
    Processes().Add(Program(u"calc.exe", std::nullopt, 1208));
    CallWith(u"TaskKill", {Text(u"calc.exe")});
    EXPECT_FALSE(Processes().IsRunning(1208));
    EXPECT_EQ(Processes().OpenHandles(), 0);
}

// A Process value holds its handle until the value goes, also once the
// process has ended.
TEST_F(ProcessFunctions, TheProcessIsClosedWithItsValue) {
    Processes().Add(Program(u"game.exe", std::nullopt, 1300));
    PExprItem process = CallWith(u"OpenProcess", {Text(u"game.exe")});
    ASSERT_TRUE(process);
    EXPECT_EQ(Processes().OpenHandles(), 1);
    CallWith(u"TaskKill", {Text(u"game.exe")});
    EXPECT_EQ(Processes().OpenHandles(), 1);
    process = {};
    EXPECT_EQ(Processes().OpenHandles(), 0);
}

TEST_F(ProcessFunctions, WaitingEndsWhenPlaybackIsStopped) {
    Processes().AddProgram(Program(u"cmd.exe", std::nullopt));
    host.stopAfterMs = 1000;
    CallWith(u"Command", {Text(u"pause"), Num(5), Truth(true)});
    EXPECT_EQ(host.sim.ElapsedMs(), 1000u);
    EXPECT_EQ(Processes().List().size(), 1u);
}

}  // namespace
}  // namespace ovrix
