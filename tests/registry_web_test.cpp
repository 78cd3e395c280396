// The registry key texts, the clipboard's HTML format, and what the web and
// machine-id functions do where no macro can reach: a stop while a
// transfer runs, and machine ids on another processor, disk or user.
#include <gtest/gtest.h>

#include "builtins/RegistryKeyText.h"
#include "builtins_test_support.h"
#include "container/Text.h"
#include "platform/ClipboardHtml.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

std::u16string TextOf(const PExprItem& value) { return value ? AsText(value) : u"<none>"; }

TEST(RegistryKeyText, RootsArePrefixedFoundWithoutCaseAndNeedABackslash) {
    const std::optional<RegistryKey> key = ParseRegistryKey(u"hkey_Current_User\\Software\\X");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->root, 0x80000001u);
    EXPECT_EQ(key->path, u"Software\\X");
    EXPECT_EQ(key->Text(), u"HKEY_CURRENT_USER\\Software\\X");
    EXPECT_EQ(ParseRegistryKey(u"HKEY_LOCAL_MACHINE\\")->root, 0x80000002u);
    for (const char16_t* bad : {u"HKCU\\Software", u"HKEY_CURRENT_USER", u"HKEY_NOWHERE\\X", u"HKEY_\\X", u"HKEY"})
        EXPECT_FALSE(ParseRegistryKey(bad)) << ToUtf8(bad);
}

// A type with no readable form gives no text (REG_MULTI_SZ); the others are
// read by a macro with the registry described.
TEST(RegistryKeyText, MultiStringsHaveNoText) {
    EXPECT_FALSE(RegistryValueText({7, {'a', 0, 0, 0, 0, 0}}));
}

// Data no macro can put there: a fragment without its end, or the markers
// the wrong way round.
TEST(ClipboardHtml, FragmentWithoutBothMarkersHasNoText) {
    EXPECT_EQ(HtmlFragmentText(u"<!--StartFragment-->no end"), u"");
    EXPECT_EQ(HtmlFragmentText(u"<!--EndFragment-->x<!--StartFragment-->y"), u"");
}

// The header's offsets count bytes of the UTF-8 data and point where they say.
TEST(ClipboardHtml, HeaderOffsetsPointIntoTheUtf8Data) {
    const std::u16string markup = u"<b>Grüße — 漢字</b>";
    const std::string data = HtmlFormatData(markup);
    const auto offset = [&](const std::string& name) {
        const size_t at = data.find(name + ":");
        EXPECT_NE(at, std::string::npos) << name;
        return static_cast<size_t>(std::stoul(data.substr(at + name.size() + 1, 10)));
    };
    EXPECT_EQ(data.compare(offset("StartHTML"), 6, "<html>"), 0);
    EXPECT_EQ(offset("EndHTML"), data.size());
    EXPECT_EQ(data.substr(offset("StartFragment"), offset("EndFragment") - offset("StartFragment")), ToUtf8(markup));
    EXPECT_EQ(HtmlFragmentText(FromUtf8(data)), u"Grüße — 漢字");
}

class LiveSystemFunctions : public ::testing::Test {
protected:
    FakeBuiltinHost host;
};

// A stop ends a fetch or a download at once: no page, and no file.
TEST_F(LiveSystemFunctions, TransfersEndOnAStop) {
    host.sim.web.pages[u"http://example.com/a"] = "page";
    host.stopAfterMs = host.sim.ElapsedMs() + 60;
    EXPECT_FALSE(Call(u"HttpGet", {Text(u"http://example.com/a")}));
    host.stopAfterMs = host.sim.ElapsedMs() + 50;
    Call(u"UrlDownloadToFile", {Text(u"example.com/a"), Text(u"C:\\g.bin")});
    EXPECT_FALSE(host.sim.files.FileExists(u"C:\\g.bin"));
}

TEST_F(LiveSystemFunctions, MachineIdsComeFromTheProcessorDiskAndUser) {
    host.sim.cpuSignature = {0x000906EA, 0xBFEBFBFF};
    EXPECT_EQ(TextOf(Call(u"GetCPUID", {})), u"BFEBFBFF000906EA");
    const std::u16string id = TextOf(Call(u"GetHardwareID", {}));
    ASSERT_EQ(id.size(), 17u);
    EXPECT_EQ(id[8], u'-');
    host.sim.hardware.userName = u"PLAYER";
    EXPECT_EQ(TextOf(Call(u"GetHardwareID", {})), id);
    host.sim.hardware.userName = u"Other";
    EXPECT_EQ(TextOf(Call(u"GetHardwareID", {})).substr(0, 9), id.substr(0, 9));
    EXPECT_NE(TextOf(Call(u"GetHardwareID", {})), id);
    host.sim.hardware.driveBytes += 1;
    EXPECT_NE(TextOf(Call(u"GetHardwareID", {})).substr(0, 8), id.substr(0, 8));
}

}  // namespace
}  // namespace ovrix
