// The decisions of the processes family that need no desktop of their own:
// the command line a command runs as, environment expansion of the file to
// start, the bytes numbers and texts are written as, and how far a text is
// read in another process's memory.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "builtins/ProcessMemory.h"
#include "container/Text.h"
#include "platform/Windows1252.h"
#include "platform/sim/SimProcesses.h"

namespace ovrix {
namespace {

std::string HexOf(const std::vector<uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

struct Desk {
    uint64_t now = 0;
    SimProcesses processes{[this] { return now; }, [this](uint64_t ms) { now += ms; }};
    Windows1252CodePage codePage;
};

TEST(ProcessDecisions, CommandLinesRunEachLineInTurn) {
    EXPECT_EQ(CommandParameters(u"cd \\temp\r\ndir"), u"/c cd \\temp&dir");
    // Only the pair is a line break; a lone LF or CR is passed on.
    EXPECT_EQ(CommandParameters(u"a\nb\rc\r\n\r\nd"), u"/c a\nb\rc&&d");
    EXPECT_EQ(CommandParameters(u""), u"/c ");
}

TEST(ProcessDecisions, FilesExpandTheirEnvironmentVariables) {
    Desk desk;
    desk.processes.environment[u"A"] = u"x";
    const struct {
        std::u16string in, out;
    } cases[] = {
        {u"%SystemRoot%\\notepad.exe", u"C:\\Windows\\notepad.exe"},
        {u"%systemroot%\\%WINDIR%", u"C:\\Windows\\C:\\Windows"},  // names without regard to case
        {u"%NOPE%\\a.exe", u"%NOPE%\\a.exe"},                     // unknown names stay
        {u"100%", u"100%"},
        {u"%%A%", u"%%A%"},  // an empty name is no name; scanning resumes after it
        {u"%NOPE%A%", u"%NOPE%A%"},
        {u"%A%%A%", u"xx"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExpandFileName(desk.processes, c.in), c.out) << ToUtf8(c.in);
    desk.processes.environment[u"LONG"] = std::u16string(600, u'l');
    EXPECT_EQ(ExpandFileName(desk.processes, u"%LONG%").size(), kMaxExpandedFile);
}

TEST(ProcessDecisions, NumbersPackAndUnpackAsTheirKinds) {
    const struct {
        MemoryKind kind;
        double value;
        const char* bytes;
        double readBack;
    } cases[] = {
        {MemoryKind::Int, 42, "2A000000", 42},
        {MemoryKind::Int, -2, "FEFFFFFF", -2},
        {MemoryKind::Int, 4294967295.0, "FFFFFFFF", -1},  // unsigned texts keep their bits
        {MemoryKind::Int, 7.9, "07000000", 7},             // truncated toward zero
        {MemoryKind::Short, 70000, "7011", 4464},          // the low 16 bits
        {MemoryKind::Short, -1, "FFFF", -1},
        {MemoryKind::Byte, 300, "2C", 44},
        {MemoryKind::Byte, -1, "FF", 255},  // bytes read back unsigned
        {MemoryKind::Float, 1.5, "0000C03F", 1.5},
        {MemoryKind::Float, 0.1, "CDCCCC3D", static_cast<float>(0.1)},
        {MemoryKind::Double, -2.5, "00000000000004C0", -2.5},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> bytes = PackNumber(c.kind, c.value);
        EXPECT_EQ(HexOf(bytes), c.bytes) << c.value;
        ASSERT_EQ(bytes.size(), SizeOf(c.kind));
        EXPECT_EQ(UnpackNumber(c.kind, bytes.data()), c.readBack) << c.value;
    }
}

TEST(ProcessDecisions, TextsAreWrittenWithTheirNul) {
    Desk desk;
    EXPECT_EQ(HexOf(PackText(desk.codePage, u"a\u00e9", true)), "6100E9000000");
    // The simulated desktop's code page holds the euro sign; a character it
    // lacks becomes '?'.
    EXPECT_EQ(HexOf(PackText(desk.codePage, u"a\u00e9\u20ac\u4e2d", false)), "61E9803F00");
    EXPECT_EQ(HexOf(PackText(desk.codePage, u"", false)), "00");
}

// Texts are read up to their NUL, but never past readable memory or the
// bound, and wherever they sit in a page.
TEST(ProcessDecisions, TextsAreReadUpToTheirNulWithinReadableMemory) {
    Desk desk;
    SimProcessSpec spec;
    spec.name = u"t.exe";
    std::vector<uint8_t> page(8192, 'x');
    page[4200] = 0;  // a text from 4000 crosses a page boundary to here
    page[8190] = 'y';
    page[8191] = 'z';  // memory ends without a NUL
    spec.memory = {{0x10000, page}, {0x20000, {'h', 0, 'i', 0, 0, 0, 0}}, {0x30000, std::vector<uint8_t>(70000, 'b')}};
    const uint32_t pid = desk.processes.Add(spec);
    auto process = desk.processes.Open(pid);
    ASSERT_NE(process, nullptr);
    const auto read = [&](uint64_t address, bool unicode) { return ReadText(desk.processes, desk.codePage, *process, address, unicode); };

    EXPECT_EQ(read(0x10000 + 4000, false), std::u16string(200, u'x'));
    EXPECT_EQ(read(0x10000 + 8189, false), u"xyz");
    EXPECT_EQ(read(0x20000, true), u"hi");
    EXPECT_EQ(read(0x20000, false), u"h");
    EXPECT_EQ(read(0x20001, true), std::u16string(1, u'\u6900'));  // units count from the address
    EXPECT_EQ(read(0x20004, true), u"");  // the NUL first: an empty text
    EXPECT_EQ(read(0x20006, true), std::nullopt);  // not even one whole unit
    EXPECT_EQ(read(0x5000, false), std::nullopt);
    EXPECT_EQ(read(0x30000, false)->size(), kMaxTextBytes);
    EXPECT_EQ(read(0x30000, true)->size(), kMaxTextBytes / 2);
}

}  // namespace
}  // namespace ovrix
