// The registry, web, system and clipboard-HTML functions: the key texts and
// value texts, the HTML fragment rules, and what scripts get and the
// desktop is asked to do on the simulated desktop (the trace).
#include <gtest/gtest.h>

#include <algorithm>

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

TEST(RegistryKeyText, ValuesReadAsTheirTypeShowsThem) {
    const struct {
        RegistryValue value;
        const char16_t* text;  // null: no value
    } cases[] = {
        {{regtype::kBinary, {1, 171}}, u"0x01AB"},
        {{regtype::kBinary, {}}, u"0x"},
        {RegistryValue::FromDword(255), u"0xFF"},
        {{regtype::kQword, {0, 0, 0, 0, 1, 0, 0, 0}}, u"0x100000000"},
        {RegistryValue::FromText(regtype::kExpandString, u"%TEMP%\\x"), u"%TEMP%\\x"},
        {{regtype::kString, {'a', 0, 0, 0, 'b', 0}}, u"a"},  // up to the first zero
        {{7, {'a', 0, 0, 0, 0, 0}}, nullptr},                // REG_MULTI_SZ
    };
    for (const auto& c : cases) {
        const std::optional<std::u16string> text = RegistryValueText(c.value);
        if (c.text == nullptr) {
            EXPECT_FALSE(text);
        } else {
            EXPECT_EQ(text.value_or(u"<none>"), c.text);
        }
    }
}

TEST(ClipboardHtml, FragmentTextDropsTagsAndBreaksLinesAtBrAndDiv) {
    const auto wrap = [](std::u16string_view fragment) {
        return u"Version:0.9\r\n<html><body><!--StartFragment-->" + std::u16string(fragment) +
               u"<!--EndFragment--></body></html>";
    };
    EXPECT_EQ(HtmlFragmentText(wrap(u"a<br />b<div class=x>c</div>")), u"a\r\nb\r\nc");
    EXPECT_EQ(HtmlFragmentText(wrap(u"<b>x</b>")), u"x");
    EXPECT_EQ(HtmlFragmentText(wrap(u"a<br>b<BR >c")), u"ab\r\nc");
    EXPECT_EQ(HtmlFragmentText(wrap(u"<div id=1>a &amp; b")), u"a &amp; b");
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
    const RegistryKey appKey = *ParseRegistryKey(u"HKEY_CURRENT_USER\\Software\\App");
};

TEST_F(LiveSystemFunctions, RegistryValuesAreWrittenReadAndDeleted) {
    const PExprItem key = Text(u"HKEY_current_user\\Software\\App\\Sub");
    CallBare(u"Reg_SetStringValue", {key, Text(u"Name"), Text(u"early")});  // the key is not there yet
    CallBare(u"Reg_CreateKey", {key});
    CallBare(u"Reg_SetStringValue", {key, Text(u"Name"), Text(u"Alice")});
    CallBare(u"Reg_SetDWORDValue", {key, Text(u"Count"), Num(-1)});
    CallBare(u"Reg_SetExpandStringValue", {key, Text(u"Path"), Text(u"%TEMP%")});
    EXPECT_EQ(TextOf(CallBare(u"Reg_GetValue", {key, Text(u"NAME")})), u"Alice");
    EXPECT_EQ(TextOf(CallBare(u"Reg_GetValue", {key, Text(u"Count")})), u"0xFFFFFFFF");
    EXPECT_EQ(TextOf(CallBare(u"Reg_GetValue", {key, Text(u"Path")})), u"%TEMP%");
    CallBare(u"Reg_DeleteValue", {key, Text(u"Name")});
    EXPECT_FALSE(CallBare(u"Reg_GetValue", {key, Text(u"Name")}));
    // A key with sub-keys stays; a key text without a root does nothing.
    CallBare(u"Reg_DeleteKey", {Text(u"HKEY_CURRENT_USER\\Software\\App")});
    EXPECT_TRUE(host.sim.registry.HasKey(appKey));
    CallBare(u"Reg_DeleteKey", {Text(u"HKCU\\Software\\App\\Sub")});
    CallBare(u"Reg_DeleteKey", {key});
    EXPECT_FALSE(CallBare(u"Reg_GetValue", {key, Text(u"Count")}));
    EXPECT_EQ(Untimed(host.trace), (std::vector<std::string>{
                                      R"(registry write "HKEY_CURRENT_USER\\Software\\App\\Sub" "Name")",
                                      R"(registry create "HKEY_CURRENT_USER\\Software\\App\\Sub")",
                                      R"(registry write "HKEY_CURRENT_USER\\Software\\App\\Sub" "Name")",
                                      R"(registry write "HKEY_CURRENT_USER\\Software\\App\\Sub" "Count")",
                                      R"(registry write "HKEY_CURRENT_USER\\Software\\App\\Sub" "Path")",
                                      R"(registry delete "HKEY_CURRENT_USER\\Software\\App\\Sub" "Name")",
                                      R"(registry delete-key "HKEY_CURRENT_USER\\Software\\App")",
                                      R"(registry delete-key "HKEY_CURRENT_USER\\Software\\App\\Sub")",
                                  }));
}

TEST_F(LiveSystemFunctions, HttpGetAnswersListedPagesWithinItsTimeAndStop) {
    host.sim.web.pages[u"http://example.com/a"] = "Grüße";
    EXPECT_EQ(TextOf(Call(u"HttpGet", {Text(u"example.com/a")})), u"Grüße");
    EXPECT_FALSE(Call(u"HttpGet", {Text(u"https://example.com/a")}));
    EXPECT_FALSE(Call(u"HttpGet", {Text(u"http://example.com/a"), Num(SimWeb::kTransferMs / 2)}));
    host.stopAfterMs = host.sim.ElapsedMs() + 60;
    EXPECT_FALSE(Call(u"HttpGet", {Text(u"http://example.com/a")}));
    EXPECT_EQ(Untimed(host.trace).front(), R"(web get "http://example.com/a")");
    EXPECT_EQ(host.trace.size(), 4u);
}

TEST_F(LiveSystemFunctions, DownloadsShowTheirShareAndLeaveAFileOnlyWhenDone) {
    host.sim.web.pages[u"http://example.com/f"] = "bytes";
    Call(u"UrlDownloadToFile", {Text(u"example.com/f"), Text(u"C:\\f.bin")});
    EXPECT_EQ(host.statusLines, (std::vector<std::u16string>{u"Downloaded 0%", u"Downloaded 50%"}));
    EXPECT_TRUE(host.sim.files.FileExists(u"C:\\f.bin"));
    host.stopAfterMs = host.sim.ElapsedMs() + 50;
    Call(u"UrlDownloadToFile", {Text(u"example.com/f"), Text(u"C:\\g.bin")});
    EXPECT_FALSE(host.sim.files.FileExists(u"C:\\g.bin"));
    Call(u"UrlDownloadToFile", {Text(u"example.com/missing"), Text(u"C:\\h.bin")});
    EXPECT_FALSE(host.sim.files.FileExists(u"C:\\h.bin"));
    EXPECT_EQ(Untimed(host.trace).front(), R"(web download "http://example.com/f" "C:\\f.bin")");
}

TEST_F(LiveSystemFunctions, ClipboardHtmlComesBackAsTextAndGoesWithOtherFormats) {
    Call(u"SetClipboardHtml", {Text(u"a<br />b")});
    EXPECT_EQ(TextOf(Call(u"GetClipboardHtml", {})), u"a\r\nb");
    EXPECT_EQ(TextOf(Call(u"GetClipboardText", {})), u"a<br />b");
    Call(u"SetClipboardText", {Text(u"plain")});
    EXPECT_EQ(TextOf(Call(u"GetClipboardHtml", {})), u"");
    EXPECT_EQ(Untimed(host.trace).front(), R"(clipboard-html "a<br />b")");
}

TEST_F(LiveSystemFunctions, SoundsAreTracedAndBeepsTakeTheirTime) {
    const uint64_t before = host.sim.ElapsedMs();
    Call(u"Beep", {});
    EXPECT_EQ(host.sim.ElapsedMs() - before, 150u);
    Call(u"Beep", {Num(880.7), Num(-5)});
    Call(u"PlaySound", {Text(u"C:\\ding.wav")});
    EXPECT_EQ(host.statusLines, std::vector<std::u16string>{u"Playing..."});
    EXPECT_EQ(Untimed(host.trace), (std::vector<std::string>{"beep 500 150", "beep 880 0", R"(sound "C:\\ding.wav")"}));
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
