// The picture search step on what the desktop description cannot set: a
// system with swapped mouse buttons, a scaled display, and a stop request
// during a long wait.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimFixture.h"
#include "ScriptTestSupport.h"
#include "platform/PictureEdit.h"
#include "platform/PictureRecord.h"
#include "screen/PictureSteps.h"

namespace ovrix {
namespace {

using scripttest::ClearLog;
using scripttest::Log;
using scripttest::LogText;
using scripttest::Step;
using Lines = std::vector<std::string>;

constexpr uint32_t kBlack = 0xFF000000u;

// An 8 x 6 picture of colours without black, which nothing on a black
// screen resembles.
VBmp Icon() {
    VBmp p = *BlankPicture(8, 6, kBlack);
    for (size_t i = 0; i < p.pixels.size(); ++i) {
        if (i % 4 != 3) p.pixels[i] = static_cast<uint8_t>(40 + (i * 37) % 200);
    }
    return p;
}

struct PictureSearchPlay : ::testing::Test {
    PictureSearchPlay() : f(SimOptions{.screen = {400, 300}}) { ClearLog(); }

    Ref<SearchPicEvent> Search(std::u16string found, std::u16string onTimeout, uint32_t timeout = 0,
                               uint32_t delay = 0) {
        RecordBuffer record;
        WritePictureRecord(record, icon);
        auto step = Step<SearchPicEvent>(delay);
        step->picture = {record.ToVector(), 95, u""};
        step->foundAction = std::move(found);
        step->timeoutAction = std::move(onTimeout);
        step->timeout = timeout;
        step->timeoutUnit = u"ms";
        return step;
    }
    void Play(std::vector<Ref<Event>> steps) {
        SetFlag(StopRequest, 0);
        f.PlaySteps(std::move(steps));
    }
    // A black screen of w x h with the icon at (x, y).
    void ShowIconAt(int32_t x, int32_t y, int32_t w = 400, int32_t h = 300) {
        VBmp screen = *BlankPicture(w, h, kBlack);
        CopyPicture(screen, x, y, icon);
        f.sim.screenPictures = {{0, screen}};
    }

    SimFixture f;
    const VBmp icon = Icon();
};

// The left button is the system's right one when the buttons are swapped.
TEST_F(PictureSearchPlay, AClickOnSwappedButtonsPressesTheSystemsRightButton) {
    ShowIconAt(100, 50);
    f.sim.buttonsSwapped = true;
    f.Begin();  // where the player reads the system's button order
    Play({Search(u"move click", u"continue")});
    EXPECT_EQ(f.Events("mouse"), (Lines{"mouse 0x8 0 0 0", "mouse 0x10 0 0 0"}));
}

// On a display scaled to 150 %, the picture is found in the display's pixels
// and reported, remembered and moved to in the screen's logical ones.
TEST_F(PictureSearchPlay, AScaledDisplayReportsLogicalPlaces) {
    f.sim.displayScalePercent = 150;
    ShowIconAt(150, 75, 600, 450);
    Play({Search(u"move", u"continue")});
    EXPECT_EQ(f.Events("picture"), (Lines{"picture found 1 100 50 105 54"}));
    EXPECT_EQ(f.Events("cursor"), (Lines{"cursor 102 52"}));
    EXPECT_EQ(f.player.runtime.lastPictureRect.right, 105);
}

// Stopped during its wait, the step ends within a slice: it neither reports
// a miss nor waits its delay, and nothing after it plays.
TEST_F(PictureSearchPlay, StopEndsALongWaitWithinASlice) {
    f.sim.onPump = [](SimPlatform& s) { SetFlag(StopRequest, s.ElapsedMs() >= 2500 ? 1 : 0); };
    const uint64_t start = f.sim.ElapsedMs();
    Play({Search(u"report", u"continue", 60000, 1000), Log(u"after")});
    EXPECT_LT(f.sim.ElapsedMs() - start, 2600u);
    EXPECT_EQ(LogText(), "");
    EXPECT_TRUE(f.Events("picture").empty());
}

}  // namespace
}  // namespace ovrix
