// The files family played on the simulated desktop: text written, added to
// and read back in each encoding, binary reads, times, finders, copies and
// deletions, and what missing or refused files give.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "ScriptTestSupport.h"
#include "builtins_test_support.h"
#include "engine/FunctionSteps.h"
#include "expr/KindsObject.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;
using scripttest::Num;
using scripttest::Text;
using testing_builtins::Call;
using testing_builtins::LoadCall;

constexpr int64_t kStart = 1767225600;  // the simulated wall clock at virtual time 0

PExprItem Date(int64_t seconds) { return MakeItem<ExprItem_DateTime>(seconds); }
int64_t AsDateTime(const PExprItem& value) {
    const auto* date = ItemAs<ExprItem_DateTime>(value);
    return date != nullptr ? date->seconds : -1;
}

struct FileFunctions : ::testing::Test {
    Bytes OnDisk(std::u16string_view path) {
        Bytes bytes;
        EXPECT_EQ(f.sim.files.ReadFile(path, 1 << 20, bytes), 0u);
        return bytes;
    }

    SimFixture f;
    PlayerBuiltinHost host{f.player};
};

TEST_F(FileFunctions, TextIsWrittenAddedToAndReadBackInTheFilesEncoding) {
    ASSERT_TRUE(f.sim.files.AddFolder(u"C:\\Out"));
    Call(u"SaveTextToFile", {Text(u"C:\\out\\u.txt"), Text(u"H\u00E9")});  // UnicodeText defaults to true
    Call(u"AppendTextToFile", {Text(u"c:\\OUT\\U.TXT"), Text(u"\u20AC")});
    EXPECT_EQ(OnDisk(u"C:\\Out\\u.txt"), (Bytes{0xFF, 0xFE, 'H', 0, 0xE9, 0, 0xAC, 0x20}));

    Call(u"SaveTextToFile", {Text(u"C:\\Out\\a.txt"), Text(u"\u00E9\u20AC"), Num(0)});
    Call(u"AppendTextToFile", {Text(u"C:\\Out\\a.txt"), Text(u"x")});
    EXPECT_EQ(OnDisk(u"C:\\Out\\a.txt"), (Bytes{0xE9, 0x80, 'x'}));

    ASSERT_TRUE(f.sim.files.AddFile(u"C:\\Out\\8.txt", "\xEF\xBB\xBF" "a"));
    Call(u"AppendTextToFile", {Text(u"C:\\Out\\8.txt"), Text(u"\u00E9")});
    Call(u"AppendTextToFile", {Text(u"C:\\Out\\new.txt"), Text(u"n")});  // made as SaveTextToFile makes it
    EXPECT_EQ(OnDisk(u"C:\\Out\\new.txt"), (Bytes{0xFF, 0xFE, 'n', 0}));

    const std::pair<const char16_t*, std::u16string> loads[] = {
        {u"C:\\Out\\u.txt", u"H\u00E9\u20AC"}, {u"C:\\Out\\a.txt", u"\u00E9\u20ACx"}, {u"C:\\Out\\8.txt", u"a\u00E9"}};
    for (const auto& [path, text] : loads) EXPECT_EQ(AsText(Call(u"LoadTextFile", {Text(path)})), text);

    // Each change is traced with its size and error; a missing folder refuses the write.
    Call(u"SaveTextToFile", {Text(u"C:\\Nowhere\\x.txt"), Text(u"x")});
    EXPECT_EQ(f.Events("file"), (Lines{"file write \"C:\\\\out\\\\u.txt\" 6", "file append \"c:\\\\OUT\\\\U.TXT\" 2",
                                       "file write \"C:\\\\Out\\\\a.txt\" 2", "file append \"C:\\\\Out\\\\a.txt\" 1",
                                       "file append \"C:\\\\Out\\\\8.txt\" 2",
                                       "file append \"C:\\\\Out\\\\new.txt\" 4",
                                       "file write \"C:\\\\Nowhere\\\\x.txt\" 4"}));
    EXPECT_FALSE(f.sim.files.FileExists(u"C:\\Nowhere\\x.txt"));
}

TEST_F(FileFunctions, MissingRefusedAndHugeFilesGiveNoValue) {
    ASSERT_TRUE(f.sim.files.AddFile(u"C:\\bin.dat", std::string("\x00\x01\xFF", 3)));
    const PExprItem bytes = Call(u"LoadBinaryFile", {Text(u"C:\\BIN.dat")});
    ASSERT_NE(ItemAs<ExprItem_Hex>(bytes), nullptr);
    EXPECT_EQ(ItemAs<ExprItem_Hex>(bytes)->bytes, (Bytes{0, 1, 0xFF}));

    ASSERT_TRUE(f.sim.files.AddFile(u"C:\\huge.txt"));
    std::filesystem::resize_file(f.sim.files.Locate(u"C:\\huge.txt").real, (256u << 20) + 1);  // sparse
    // Nothing to load: missing, no path, outside the disk, past the bound, a folder.
    for (const char16_t* path : {u"C:\\missing.txt", u"", u"C:\\..\\..\\etc\\passwd", u"C:\\huge.txt", u"C:\\"}) {
        EXPECT_FALSE(Call(u"LoadTextFile", {Text(path)})) << testing::PrintToString(std::u16string(path));
        EXPECT_FALSE(Call(u"LoadBinaryFile", {Text(path)})) << testing::PrintToString(std::u16string(path));
    }
    EXPECT_TRUE(AsTruth(Call(u"IsFileExist", {Text(u"C:\\huge.txt")})));
    EXPECT_FALSE(AsTruth(Call(u"IsFileExist", {Text(u"C:\\..\\..\\etc\\passwd")})));
    EXPECT_FALSE(Call(u"GetFileCreationTime", {Text(u"C:\\missing.txt")}));
    EXPECT_FALSE(Call(u"IsFileExist", {Text(u"")}));  // an empty path is no path
    EXPECT_FALSE(testing_builtins::CallBare(u"SaveTextToFile", {Text(u"C:\\one-argument.txt")}));
    EXPECT_FALSE(f.sim.files.FileExists(u"C:\\one-argument.txt"));
}

TEST_F(FileFunctions, TimesAreStampedReadAndSet) {
    f.sim.Sleep(5000);
    Call(u"SaveTextToFile", {Text(u"C:\\t.txt"), Text(u"x")});
    EXPECT_EQ(AsDateTime(Call(u"GetFileCreationTime", {Text(u"C:\\T.TXT")})), kStart + 5);
    EXPECT_EQ(AsDateTime(Call(u"GetFileLastModifyTime", {Text(u"C:\\t.txt")})), kStart + 5);

    Call(u"SetFileLastModifyTime", {Text(u"C:\\t.txt"), Date(1000000000)});
    Call(u"SetFileCreationTime", {Text(u"C:\\t.txt"), Date(900000000)});
    Call(u"SetFileCreationTime", {Text(u"C:\\t.txt"), Num(5)});  // not a date: nothing happens
    Call(u"SetFileCreationTime", {Text(u"C:\\gone.txt"), Date(5)});
    EXPECT_EQ(AsDateTime(Call(u"GetFileLastModifyTime", {Text(u"C:\\t.txt")})), 1000000000);
    EXPECT_EQ(AsDateTime(Call(u"GetFileCreationTime", {Text(u"C:\\t.txt")})), 900000000);
    EXPECT_EQ(f.Events("file time"), (Lines{"file time \"C:\\\\t.txt\" modify 1000000000",
                                            "file time \"C:\\\\t.txt\" creation 900000000",
                                            "file time \"C:\\\\gone.txt\" creation 5"}));

    // A copy keeps the source's last-write time and is created now.
    f.sim.Sleep(2000);
    Call(u"CopyFile", {Text(u"C:\\t.txt"), Text(u"C:\\copy.txt")});
    EXPECT_EQ(AsDateTime(Call(u"GetFileLastModifyTime", {Text(u"C:\\copy.txt")})), 1000000000);
    EXPECT_EQ(AsDateTime(Call(u"GetFileCreationTime", {Text(u"C:\\copy.txt")})), kStart + 7);
}

TEST_F(FileFunctions, FindersCopiesAndDeletionsInAPlayedScript) {
    for (const char16_t* path : {u"C:\\Dir\\b.TXT", u"C:\\Dir\\a.txt", u"C:\\Dir\\c.log"}) f.sim.files.AddFile(path, "12");
    f.sim.files.AddFolder(u"C:\\Dir\\sub.txt");
    auto call = [](std::u16string key, std::vector<PExprItem> args) {
        auto step = scripttest::Step<CallFunEvent>();
        step->code = scripttest::Stored(LoadCall(key, args));
        return Ref<Event>(step);
    };
    auto log = [](std::u16string key, std::vector<PExprItem> args) { return scripttest::Log(LoadCall(key, args)); };
    const PExprItem next = LoadCall(u"FindNextFile", {scripttest::Var(u"$f")});
    scripttest::ClearLog();
    f.PlaySteps({
        scripttest::Set(u"$f", LoadCall(u"CreateFileFinder", {Text(u"c:\\dir\\*.TXT")})),
        scripttest::Set(u"$n", next), scripttest::Log(LoadCall(u"NamedData_Get", {scripttest::Var(u"$n"), Text(u"FullPath")})),
        scripttest::Log(u";"),
        scripttest::Set(u"$n", next), scripttest::Log(LoadCall(u"NamedData_Get", {scripttest::Var(u"$n"), Text(u"FileName")})),
        scripttest::Log(u";"),
        scripttest::Set(u"$n", next), scripttest::Log(LoadCall(u"NamedData_Get", {scripttest::Var(u"$n"), Text(u"IsFolder")})),
        scripttest::Log(u";"),
        scripttest::Set(u"$n", next), scripttest::Log(LoadCall(u"IsFileExist", {Text(u"C:\\Dir\\c.log")})),
        call(u"CopyFile", {Text(u"C:\\dir\\C.LOG"), Text(u"C:\\Dir\\d.log")}),
        call(u"CopyFile", {Text(u"C:\\dir\\none"), Text(u"C:\\Dir\\e.log")}),
        call(u"DeleteFile", {Text(u"C:\\dir\\c.log")}),
        call(u"DeleteFile", {Text(u"C:\\dir\\sub.txt")}),
        scripttest::Log(u";"), log(u"IsFileExist", {Text(u"C:\\Dir\\c.log")}),
        scripttest::Log(u";"), log(u"LoadTextFile", {Text(u"C:\\Dir\\D.log")}),
        scripttest::Log(u";"), log(u"GetCurrentDirectory", {}),
        // The failed copy made nothing; the folder was not deleted.
        scripttest::Log(u";"), log(u"IsFileExist", {Text(u"C:\\Dir\\e.log")}),
        scripttest::Log(u";"), log(u"IsFileExist", {Text(u"C:\\Dir\\sub.txt")}),
    });
    // Found by name without regard to case, in name order; the folder matches too.
    EXPECT_EQ(scripttest::LogText(), "c:\\dir\\a.txt;b.TXT;True;True;False;12;C:\\;False;True");
    EXPECT_EQ(f.Events("file copy"), (Lines{"file copy \"C:\\\\dir\\\\C.LOG\" \"C:\\\\Dir\\\\d.log\"",
                                            "file copy \"C:\\\\dir\\\\none\" \"C:\\\\Dir\\\\e.log\""}));
    EXPECT_EQ(f.Events("file delete"),
              (Lines{"file delete \"C:\\\\dir\\\\c.log\"", "file delete \"C:\\\\dir\\\\sub.txt\""}));
}

}  // namespace
}  // namespace ovrix
