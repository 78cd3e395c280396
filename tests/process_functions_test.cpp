// The processes family played on the simulated desktop: starting programs
// and waiting for them in virtual time, ending processes by name, and a
// process's memory read and written through a Process value.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "builtins_test_support.h"
#include "expr/KindsObject.h"
#include "expr/NumberFormat.h"

namespace ovrix {
namespace {

using namespace testing_builtins;
using Lines = std::vector<std::string>;

PExprItem Truth(bool value) { return MakeItem<ExprItem_Bool>(value); }

class ProcessFunctions : public ::testing::Test {
protected:
    // The process lines traced since the last look, without their time.
    Lines Traced() { return EventsSince(host.trace, seen_, {"process "}); }

    SimProcesses& Processes() { return host.sim.processes; }

    FakeBuiltinHost host;

private:
    size_t seen_ = 0;
};

SimProcessSpec Program(std::u16string name, std::optional<uint64_t> exitsAfterMs, uint32_t pid = 0) {
    SimProcessSpec spec;
    spec.name = std::move(name);
    spec.exitsAfterMs = exitsAfterMs;
    spec.pid = pid;
    return spec;
}

TEST_F(ProcessFunctions, StartedProgramsAreTracedAndWaitedForInVirtualTime) {
    Processes().AddProgram(Program(u"NOTEPAD.exe", 250));
    CallWith(u"ExecuteFile", {Text(u"%windir%\\notepad.exe"), Text(u"a.txt"), Num(3), Truth(true)});
    EXPECT_EQ(Traced(), Lines{R"(process start "C:\\Windows\\notepad.exe" "a.txt")"});
    // Looked at every 100 ms until it ended at 250.
    EXPECT_EQ(host.waits, (std::vector<uint32_t>{100, 100, 100}));
    EXPECT_EQ(host.sim.ElapsedMs(), 300u);

    // Without waiting the program is left running; an empty file starts nothing.
    CallWith(u"ExecuteFile", {Text(u"notepad"), Text(u"")});
    CallWith(u"ExecuteFile", {Text(u""), Text(u"x"), Num(5), Truth(true)});
    EXPECT_EQ(Traced(), Lines{R"(process start "notepad" "")"});
    EXPECT_EQ(host.waits.size(), 3u);
    EXPECT_EQ(Processes().List().size(), 1u);

    // A command runs its lines one after another; one nobody described ends
    // at once, so the wait looks once.
    CallWith(u"Command", {Text(u"cd \\\r\ndir"), Num(0), Truth(true)});
    EXPECT_EQ(Traced(), Lines{R"(process start "cmd" "/c cd \\&dir")"});
    EXPECT_EQ(host.waits.size(), 3u);
    EXPECT_EQ(Processes().OpenHandles(), 0);
}

TEST_F(ProcessFunctions, WaitingEndsWhenPlaybackIsStopped) {
    Processes().AddProgram(Program(u"cmd.exe", std::nullopt));
    host.stopAfterMs = 1000;
    CallWith(u"Command", {Text(u"pause"), Num(5), Truth(true)});
    EXPECT_EQ(host.sim.ElapsedMs(), 1000u);
    EXPECT_EQ(Processes().List().size(), 1u);
}

TEST_F(ProcessFunctions, TaskKillEndsEveryProcessOfTheName) {
    Processes().Add(Program(u"notepad.exe", std::nullopt, 1200));
    Processes().Add(Program(u"calc.exe", std::nullopt, 1204));
    Processes().Add(Program(u"NOTEPAD.EXE", std::nullopt, 1208));
    Processes().Add(Program(u"notepad.exe", 0, 1212));  // already gone
    CallWith(u"TaskKill", {Text(u"Notepad.exe")});
    EXPECT_EQ(Traced(), (Lines{"process kill 1200", "process kill 1208"}));
    EXPECT_FALSE(Processes().IsRunning(1200));
    EXPECT_FALSE(Processes().IsRunning(1208));
    EXPECT_TRUE(Processes().IsRunning(1204));
    EXPECT_EQ(Processes().OpenHandles(), 0);
    EXPECT_FALSE(CallWith(u"OpenProcess", {Text(u"notepad.exe")}));
}

class ProcessMemory : public ProcessFunctions {
protected:
    static constexpr uint64_t kData = 0x401000;

    void SetUp() override {
        SimProcessSpec game = Program(u"game.exe", std::nullopt, 1300);
        game.modules = {{u"game.exe", 0x400000}, {u"KERNEL32.dll", 0x76000000}};
        std::vector<uint8_t> data = {0x2A, 0, 0, 0,  0, 0, 0xC0, 0x3F,  0xFF, 0xFF, 0x80, 'h', 'i', 0, 'o', 0, 'k', 0, 0, 0};
        game.memory = {{kData, data}};
        Processes().Add(Program(u"other.exe", std::nullopt));
        Processes().Add(game);
        process = CallWith(u"OpenProcess", {Text(u"GAME.EXE")});
    }

    PExprItem Read(std::u16string_view key, uint64_t offset, std::vector<PExprItem> rest = {}) {
        rest.insert(rest.begin(), {process, Num(static_cast<double>(kData + offset))});
        return CallWith(key, rest);
    }
    void Write(std::u16string_view key, uint64_t offset, PExprItem value, std::vector<PExprItem> rest = {}) {
        rest.insert(rest.begin(), {process, Num(static_cast<double>(kData + offset)), value});
        CallWith(key, rest);
    }
    std::vector<uint8_t> Bytes(uint64_t offset, size_t size) { return *Processes().Peek(1300, kData + offset, size); }

    PExprItem process;
};

TEST_F(ProcessMemory, ReadsGiveIntegersWithTheIntegerFlagAndTextsUpToTheirNul) {
    ASSERT_TRUE(ItemAs<ExprItem_Process>(process));
    EXPECT_EQ(ItemAs<ExprItem_Process>(process)->processId, 1300u);
    EXPECT_EQ(AsNumber(CallWith(u"GetModuleBaseAddress", {process, Text(u"kernel32.DLL")})), 0x76000000);
    EXPECT_FALSE(CallWith(u"GetModuleBaseAddress", {process, Text(u"user32.dll")}));

    const PExprItem integer = Read(u"ReadProcessMemoryInt", 0);
    EXPECT_EQ(integer->GetDisplayText(), u"0x2A");
    EXPECT_EQ(ItemAs<ExprItem_Num>(Read(u"ReadProcessMemoryFloat", 4))->flags, 0u);
    EXPECT_EQ(AsNumber(Read(u"ReadProcessMemoryFloat", 4)), 1.5);
    EXPECT_EQ(AsNumber(Read(u"ReadProcessMemoryShort", 8)), -1);
    EXPECT_EQ(AsNumber(Read(u"ReadProcessMemoryByte", 10)), 0x80);
    EXPECT_EQ(ItemAs<ExprItem_Num>(Read(u"ReadProcessMemoryByte", 10))->flags, numflag::kHex);
    EXPECT_EQ(AsText(Read(u"ReadProcessMemoryString", 11)), u"hi");
    EXPECT_EQ(AsText(Read(u"ReadProcessMemoryString", 14, {Truth(true)})), u"ok");
    // Reads reaching past the process's memory give no value.
    EXPECT_FALSE(Read(u"ReadProcessMemoryDouble", 16));
    EXPECT_FALSE(Read(u"ReadProcessMemoryByte", 0x10000));
    EXPECT_FALSE(CallWith(u"ReadProcessMemoryInt", {Num(1300), Num(kData)}));  // no Process value
}

TEST_F(ProcessMemory, WritesAreTracedAndLandWhereTheyAreMeant) {
    Write(u"WriteProcessMemoryInt", 0, Num(-2));
    Write(u"WriteProcessMemoryShort", 8, Num(0x1234));
    Write(u"WriteProcessMemoryString", 11, Text(u"ab"));
    EXPECT_EQ(Traced(), (Lines{"process write 1300 4198400 FEFFFFFF", "process write 1300 4198408 3412",
                               "process write 1300 4198411 616200"}));
    EXPECT_EQ(Bytes(0, 4), (std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Bytes(8, 2), (std::vector<uint8_t>{0x34, 0x12}));
    EXPECT_EQ(AsText(Read(u"ReadProcessMemoryString", 11)), u"ab");

    // A write reaching past the memory is traced but changes nothing.
    Write(u"WriteProcessMemoryDouble", 16, Num(1));
    EXPECT_EQ(Traced(), Lines{"process write 1300 4198416 000000000000F03F"});
    EXPECT_EQ(Bytes(16, 4), (std::vector<uint8_t>{'k', 0, 0, 0}));
}

TEST_F(ProcessMemory, TheProcessIsClosedWithItsValueAndGoneOnceEnded) {
    EXPECT_EQ(Processes().OpenHandles(), 1);
    CallWith(u"TaskKill", {Text(u"game.exe")});
    EXPECT_FALSE(Read(u"ReadProcessMemoryInt", 0));
    EXPECT_FALSE(CallWith(u"GetModuleBaseAddress", {process, Text(u"game.exe")}));
    process = {};
    EXPECT_EQ(Processes().OpenHandles(), 0);
}

}  // namespace
}  // namespace ovrix
