// The registry, web and sound functions played by the engine on the
// simulated desktop: what the script gets, and the trace in order, with the
// progress window's status lines written while the player waits.
#include <gtest/gtest.h>

#include "ScriptTestSupport.h"
#include "SimFixture.h"
#include "builtins/RegistryKeyText.h"
#include "builtins_test_support.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using scripttest::Log, scripttest::LogText, scripttest::ClearLog, scripttest::Num, scripttest::Set, scripttest::Text;
using testing_builtins::LoadCall;

Ref<Event> Do(std::u16string_view key, std::vector<PExprItem> args) { return Set(u"$done", LoadCall(key, args)); }

struct LiveSystemPlay : ::testing::Test {
    void Play(std::vector<Ref<Event>> steps) {
        ClearLog();
        f.PlaySteps(std::move(steps), true);
    }
    void TearDown() override { EndPlayback(f.player); }
    // The lines of the live system and the status line, without their time field.
    Lines Actions() const { return f.Events({"registry ", "web ", "line status", "beep ", "sound "}); }
    SimFixture f;
    PlayerBuiltinHost host{f.player};
};

TEST_F(LiveSystemPlay, AScriptReadsTheDescribedRegistryFetchesDownloadsAndSounds) {
    f.sim.registry.Put(*ParseRegistryKey(u"HKEY_CURRENT_USER\\Software\\App"), u"Home", RegistryValue::FromText(1, u"example.com/"));
    f.sim.web.pages[u"http://example.com/"] = "<p>hi</p>";
    const PExprItem key = Text(u"HKEY_CURRENT_USER\\Software\\App");
    Play({Set(u"$home", LoadCall(u"Reg_GetValue", {key, Text(u"home")})),
          Log(LoadCall(u"HttpGet", {scripttest::Var(u"$home")})),
          Do(u"UrlDownloadToFile", {scripttest::Var(u"$home"), Text(u"C:\\page.html")}),
          Do(u"Reg_SetDWORDValue", {key, Text(u"Fetched"), Num(1)}),
          Log(LoadCall(u"Reg_GetValue", {key, Text(u"Fetched")})),
          Do(u"PlaySound", {Text(u"C:\\done.wav")}), Do(u"Beep", {})});
    EXPECT_EQ(LogText(), "<p>hi</p>0x1");
    EXPECT_TRUE(f.sim.files.FileExists(u"C:\\page.html"));
    EXPECT_EQ(Actions(), (std::vector<std::string>{
                             R"(web get "http://example.com/")",
                             R"(web download "http://example.com/" "C:\\page.html")",
                             R"(line status "Downloaded 0%")",
                             R"(line status "Downloaded 50%")",
                             R"(line status "")",  // the next step clears it
                             R"(registry write "HKEY_CURRENT_USER\\Software\\App" "Fetched")",
                             R"(line status "Playing...")",
                             R"(sound "C:\\done.wav")",
                             "beep 500 150",
                         }));
}

}  // namespace
}  // namespace ovrix
