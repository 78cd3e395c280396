// The simulated disk: Windows paths in a real folder, found without regard
// to case, counted from the current folder, and never leaving the folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/sim/SimFiles.h"

namespace ovrix {
namespace {

namespace fs = std::filesystem;

struct SimFilesTest : ::testing::Test {
    SimFiles files{[] { return int64_t{1767225600}; }};
};

TEST_F(SimFilesTest, PathsMapIntoTheRootAndAreFoundWithoutRegardToCase) {
    ASSERT_TRUE(files.AddFile(u"C:\\Data\\R\u00E9port.TXT", "x"));
    const fs::path real = files.Root() / "C" / "Data" / u"R\u00E9port.TXT";
    EXPECT_TRUE(fs::exists(real));
    const SimFiles::Location at = files.Locate(u"c:/DATA/r\u00C9PORT.txt");
    EXPECT_TRUE(at.exists);
    EXPECT_EQ(at.real, real);
    // A new name below a found folder keeps the folder's spelling and its own.
    EXPECT_EQ(files.Locate(u"C:\\data\\New.txt").real, files.Root() / "C" / "Data" / "New.txt");

    ASSERT_TRUE(files.SetCurrentDirectory(u"c:\\data\\"));
    EXPECT_EQ(files.GetCurrentDirectory(), u"C:\\data");
    for (const char16_t* path : {u"r\u00E9port.txt", u".\\R\u00C9PORT.txt.", u"..\\Data\\r\u00E9port.txt", u"\\data\\r\u00E9port.txt",
                                 u"C:r\u00E9port.txt"}) {
        EXPECT_TRUE(files.FileExists(path)) << fs::path(path);  // Windows drops trailing dots too
    }
    EXPECT_FALSE(files.SetCurrentDirectory(u"C:\\Data\\R\u00E9port.txt"));
    EXPECT_FALSE(files.SetCurrentDirectory(u"D:\\"));
    EXPECT_EQ(files.GetCurrentDirectory(), u"C:\\data");
}

TEST_F(SimFilesTest, PathsThatWouldLeaveTheRootOrAreMalformedAreRefused) {
    files.AddFolder(u"C:\\a");
    files.SetCurrentDirectory(u"C:\\a");
    const struct {
        const char16_t* path;
        bool wildcards;
        uint32_t error;
    } cases[] = {
        {u"C:\\..", false, 5},        {u"..\\..\\etc\\passwd", false, 5}, {u"C:\\a\\..\\..\\x", false, 5},
        {u"\\..\\x", false, 5},       {u"\\\\server\\share\\x", false, 53}, {u"C:\\a\\b<c", false, 123},
        {u"C:\\a\\*.txt", false, 123}, {u"C:\\a\\*.txt", true, 0},          {u"C:\\*\\x.txt", true, 123},
        {u"", false, 3},               {u"C:\\a\\..\\a\\.\\x", false, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(files.Locate(c.path, c.wildcards).error, c.error) << fs::path(c.path);

    // What a refused or missing path gives the calls that use it.
    std::vector<uint8_t> bytes;
    EXPECT_EQ(files.ReadFile(u"..\\..\\x", 10, bytes), 5u);
    EXPECT_EQ(files.ReadFile(u"C:\\a\\none.txt", 10, bytes), 2u);
    EXPECT_EQ(files.ReadFile(u"C:\\none\\x.txt", 10, bytes), 3u);
    EXPECT_EQ(files.ReadFile(u"C:\\a", 10, bytes), 5u);
    EXPECT_FALSE(files.AddFile(u"C:\\..\\outside.txt"));
    EXPECT_FALSE(fs::exists(files.Root() / "outside.txt"));
}

TEST_F(SimFilesTest, TheRootIsANamedFolderOrATemporaryOneRemovedAtTheEnd) {
    fs::path temporary;
    {
        SimFiles own{[] { return int64_t{0}; }};
        temporary = own.Root();
        EXPECT_TRUE(fs::is_empty(temporary / "C"));
        own.AddFile(u"C:\\x.txt");
    }
    EXPECT_FALSE(fs::exists(temporary));

    const fs::path named = files.Root() / "named";
    fs::create_directories(named / "D");
    std::ofstream(named / "D" / "Given.txt") << "abc";
    {
        SimFiles own{[] { return int64_t{0}; }};
        own.UseFolder(named);
        std::vector<uint8_t> bytes;
        EXPECT_EQ(own.ReadFile(u"d:\\given.TXT", 2, bytes), 0u);
        EXPECT_EQ(bytes, (std::vector<uint8_t>{'a', 'b'}));
    }
    EXPECT_TRUE(fs::exists(named / "D" / "Given.txt"));
}

TEST(WildcardMatch, StarsAndQuestionMarksWithoutRegardToCase) {
    const struct {
        const char16_t* pattern;
        const char16_t* name;
        bool matches;
    } cases[] = {
        {u"*.txt", u"A.TXT", true},   {u"*.txt", u"a.txt.bak", false}, {u"a?c", u"abc", true},
        {u"a?c", u"ac", false},       {u"*", u"", true},               {u"*.*", u"noext", true},
        {u"*a*b", u"xaxxab", true},   {u"*a*b", u"xaxxa", false},      {u"\u00C9*", u"\u00E9t\u00E9", true},
    };
    for (const auto& c : cases) EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches) << fs::path(c.pattern);
}

}  // namespace
}  // namespace ovrix
