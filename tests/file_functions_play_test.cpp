// The files family where the answer is no value at all, which a script
// cannot tell from an empty text, or where the disk needs a file too large
// to describe. Writing, reading, times, finders, copies and deletions play
// as source in tests/golden (files_*).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SimFixture.h"
#include "ScriptTestSupport.h"
#include "builtins_test_support.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using scripttest::Text;
using testing_builtins::Call;

TEST(FileFunctions, MissingRefusedAndHugeFilesGiveNoValue) {
    SimFixture f;
    PlayerBuiltinHost host{f.player};
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

}  // namespace
}  // namespace ovrix
