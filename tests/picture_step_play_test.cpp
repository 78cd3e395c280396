// The picture search step played on the simulated desktop's screen: what it
// does with a picture found, each timeout action, the "If" form with Else,
// the region and from-cursor searches, the progress window stepping aside,
// the cursor taken away during long waits, and what the trace says of a miss.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "SimFixture.h"
#include "ScriptTestSupport.h"
#include "engine/FlowSteps.h"
#include "platform/PictureEdit.h"
#include "platform/PictureRecord.h"
#include "screen/PictureSteps.h"

namespace ovrix {
namespace {

using scripttest::Block;
using scripttest::ClearLog;
using scripttest::Log;
using scripttest::LogText;
using scripttest::Step;
using Lines = std::vector<std::string>;

constexpr uint32_t kBlack = 0xFF000000u;

// A picture of w x h of random colours without black, different for each
// seed, so that nothing on the screen resembles it by chance.
VBmp Pattern(int32_t w, int32_t h, uint32_t seed) {
    VBmp p = *BlankPicture(w, h, kBlack);
    uint32_t state = seed * 2654435761u + 1;
    for (size_t i = 0; i < p.pixels.size(); ++i) {
        state = state * 1664525u + 1013904223u;
        if (i % 4 != 3) p.pixels[i] = static_cast<uint8_t>(40 + (state >> 24) % 200);
    }
    return p;
}

// A black screen of the fixture's size with pictures drawn at places.
VBmp Screen(std::vector<std::pair<Point, const VBmp*>> drawn) {
    VBmp screen = *BlankPicture(400, 300, kBlack);
    for (const auto& [at, picture] : drawn) CopyPicture(screen, at.x, at.y, *picture);
    return screen;
}

StoredPicture Stored(const VBmp& picture, uint32_t similarity = 95) {
    RecordBuffer record;
    WritePictureRecord(record, picture);
    return {record.ToVector(), similarity, u""};
}

struct PictureSearchPlay : ::testing::Test {
    PictureSearchPlay() : f(SimOptions{.screen = {400, 300}}) { ClearLog(); }

    Ref<SearchPicEvent> Search(const VBmp& picture, std::u16string found, std::u16string onTimeout,
                               uint32_t timeout = 0, uint32_t delay = 0) {
        auto step = Step<SearchPicEvent>(delay);
        step->picture = Stored(picture);
        step->foundAction = std::move(found);
        step->timeoutAction = std::move(onTimeout);
        step->timeout = timeout;
        step->timeoutUnit = u"ms";
        return step;
    }

    uint64_t Play(std::vector<Ref<Event>> steps) {
        SetFlag(StopRequest, 0);
        return f.PlaySteps(std::move(steps));
    }

    Lines Of(const std::string& event) const { return f.Events(event); }
    // The cursor and button lines, in order.
    Lines Pointer() const { return f.Events({"cursor", "mouse"}); }

    SimFixture f;
    const VBmp icon = Pattern(8, 6, 1);
    const VBmp other = Pattern(8, 6, 2);
};

TEST_F(PictureSearchPlay, FoundPicturesAreMovedToClickedOrOnlyReported) {
    f.sim.screenPictures = {{0, Screen({{{100, 50}, &icon}})}};
    f.sim.PlaceCursor(7, 9);
    Play({Search(icon, u"move click", u"continue")});
    EXPECT_EQ(Of("picture"), (Lines{"picture found 1 100 50 108 56"}));
    EXPECT_EQ(Pointer(), (Lines{"cursor 100 50", "cursor 104 53", "mouse 0x2 0 0 0", "mouse 0x4 0 0 0"}));
    const ScreenRect last = f.player.runtime.lastPictureRect;
    EXPECT_EQ((std::vector<int32_t>{last.left, last.top, last.right, last.bottom}),
              (std::vector<int32_t>{100, 50, 108, 56}));

    Play({Search(icon, u"move", u"continue")});
    EXPECT_EQ(Pointer(), (Lines{"cursor 104 53"}));
    f.sim.PlaceCursor(7, 9);
    Play({Search(icon, u"click no move", u"continue")});
    EXPECT_EQ(Pointer(), (Lines{"cursor 100 50", "cursor 104 53", "mouse 0x2 0 0 0", "mouse 0x4 0 0 0", "cursor 7 9"}));
    Play({Search(icon, u"report", u"continue")});
    EXPECT_TRUE(Pointer().empty());

    // Swapped buttons: the left button is the system's right one.
    f.sim.buttonsSwapped = true;
    f.Begin();
    Play({Search(icon, u"move click", u"continue")});
    EXPECT_EQ(Of("mouse"), (Lines{"mouse 0x8 0 0 0", "mouse 0x10 0 0 0"}));
}

// On a display scaled to 150 %, the picture is found in the display's pixels
// and reported, remembered and clicked in the screen's logical ones.
TEST_F(PictureSearchPlay, AScaledDisplayReportsLogicalPlaces) {
    f.sim.displayScalePercent = 150;
    VBmp screen = *BlankPicture(600, 450, kBlack);
    CopyPicture(screen, 150, 75, icon);
    f.sim.screenPictures = {{0, screen}};
    Play({Search(icon, u"move", u"continue")});
    EXPECT_EQ(Of("picture"), (Lines{"picture found 1 100 50 105 54"}));
    EXPECT_EQ(Pointer(), (Lines{"cursor 102 52"}));
    EXPECT_EQ(f.player.runtime.lastPictureRect.right, 105);
}

TEST_F(PictureSearchPlay, FurtherPicturesAreTriedInOrderWhenTheMainOneIsAbsent) {
    const VBmp third = Pattern(5, 5, 3);
    f.sim.screenPictures = {{0, Screen({{{10, 10}, &other}, {{200, 100}, &third}})}};
    auto step = Search(icon, u"move", u"continue");
    step->morePictures = {Stored(third), Stored(other)};
    Play({step});
    EXPECT_EQ(Of("picture"), (Lines{"picture found 2 200 100 205 105"}));
}

TEST_F(PictureSearchPlay, EachTimeoutActionAndWhatTheMissLooksLike) {
    // Almost the icon: one byte off by 40 (of 255) in one pixel.
    VBmp near = icon;
    near.pixels[4 * 9] = static_cast<uint8_t>(near.pixels[4 * 9] > 127 ? near.pixels[4 * 9] - 40 : near.pixels[4 * 9] + 40);
    f.sim.screenPictures = {{0, Screen({{{30, 40}, &near}})}};

    EXPECT_GE(Play({Search(icon, u"move", u"continue", 0, 300), Log(u"next")}), 300u);
    EXPECT_EQ(LogText(), "next");
    EXPECT_EQ(Of("picture"), (Lines{"picture missed 1 best 30 40 84"}));
    EXPECT_EQ(Of("line status")[0], "line status \"Search the picture timeout\"");

    ClearLog();
    const uint64_t waited = Play({Search(icon, u"move", u"stop no tip", 0, 300), Log(u"next")});
    EXPECT_GE(waited, 300u);
    EXPECT_EQ(LogText(), "");
    // Stopped at once, the delay not waited; any other text stops the same way.
    for (const char16_t* action : {u"stop tip", u"whatever"}) {
        EXPECT_LT(Play({Search(icon, u"move", action, 0, 300), Log(u"next")}), 50u);
        EXPECT_EQ(LogText(), "");
        EXPECT_EQ(Of("line status").back(), "line status \"Search the picture timeout\"");
    }
}

TEST_F(PictureSearchPlay, TheIfFormEntersItsStepsOrLeavesThemToElse) {
    f.sim.screenPictures = {{0, Screen({{{100, 50}, &icon}})}};
    auto form = [&](const VBmp& picture) {
        auto step = Search(picture, u"report", u"stop tip");
        step->ifForm = 1;
        step->children.Append(Log(u"then"));
        return step;
    };
    Play({form(icon), Block<ElseEvent>({Log(u"else")}), Step<EndIfEvent>(), Log(u";"),
          form(other), Block<ElseEvent>({Log(u"else")}), Step<EndIfEvent>(), Log(u";")});
    EXPECT_EQ(LogText(), "then;else;");  // a timeout in the If form never stops playback
}

TEST_F(PictureSearchPlay, RegionAndCursorSearchesLimitWhereAPictureCounts) {
    f.sim.screenPictures = {{0, Screen({{{100, 50}, &icon}, {{300, 200}, &icon}})}};
    auto from = [&](std::u16string where, ScreenRect region = {}) {
        auto step = Search(icon, u"report", u"continue");
        step->where = std::move(where);
        step->regionLeft = region.left, step->regionTop = region.top;
        step->regionRight = region.right, step->regionBottom = region.bottom;
        return step;
    };
    // Centres at (104, 53) and (304, 203): the cursor row itself counts only to its right.
    f.sim.PlaceCursor(103, 53);
    Play({from(u"cur")});
    EXPECT_EQ(Of("picture"), (Lines{"picture found 1 100 50 108 56"}));
    f.sim.PlaceCursor(104, 53);
    Play({from(u"cur")});
    EXPECT_EQ(Of("picture"), (Lines{"picture found 1 300 200 308 206"}));
    f.sim.PlaceCursor(0, 204);
    Play({from(u"cur")});
    EXPECT_EQ(Of("picture").front().rfind("picture missed 1", 0), 0u);

    // A picture that starts inside the region counts though it reaches past
    // it; one whose top row lies below the region's bottom does not.
    Play({from(u"rg", {0, 0, 102, 52})});
    EXPECT_EQ(Of("picture"), (Lines{"picture found 1 100 50 108 56"}));
    Play({from(u"rg", {150, 0, 400, 199})});
    EXPECT_EQ(Of("picture").front().rfind("picture missed 1", 0), 0u);
}

TEST_F(PictureSearchPlay, APictureThatComesMidWaitIsFoundWithinALook) {
    f.sim.screenPictures = {{0, Screen({})}, {1200, Screen({{{60, 70}, &icon}})}};
    const uint64_t took = Play({Search(icon, u"report", u"stop tip", 10000)});
    EXPECT_GE(took, 1200u);
    EXPECT_LT(took, 1320u);
    EXPECT_EQ(Of("line status").front(), "line status \"Waiting for the picture appear\"");
}

TEST_F(PictureSearchPlay, TheProgressWindowStepsAsideFromAPictureUnderIt) {
    f.Begin();
    const std::optional<ScreenRect> frame = f.desktop.progress.ShownFrame();
    ASSERT_TRUE(frame);
    // Under the window's right end, where it will not be once it sits at the left.
    f.sim.screenPictures = {{0, Screen({{{frame->right - 12, frame->top + 10}, &icon}})}};
    const uint64_t took = Play({Search(icon, u"report", u"stop tip", 2000)});
    EXPECT_LT(took, 250u);
    EXPECT_EQ(Of("progress"), (Lines{"progress move bottom-left"}));
    EXPECT_EQ(Of("picture").size(), 1u);
    EXPECT_EQ(Of("picture").front().rfind("picture found 1 ", 0), 0u);
}

TEST_F(PictureSearchPlay, LongWaitsTakeTheCursorAwayAndStopEndsThemWithinASlice) {
    f.sim.PlaceCursor(50, 60);
    Play({Search(icon, u"report", u"continue", 7000)});
    EXPECT_EQ(Of("cursor"), (Lines{"cursor 0 0", "cursor 50 60"}));
    auto still = Search(icon, u"report", u"continue", 7000);
    still->moveMouseAway = 0;
    Play({still});
    EXPECT_TRUE(Of("cursor").empty());

    f.sim.onPump = [](SimPlatform& s) { SetFlag(StopRequest, s.ElapsedMs() >= 2500 ? 1 : 0); };
    const uint64_t start = f.sim.ElapsedMs();
    Play({Search(icon, u"report", u"continue", 60000, 1000), Log(u"after")});
    EXPECT_LT(f.sim.ElapsedMs() - start, 2600u);
    EXPECT_EQ(LogText(), "");
    EXPECT_TRUE(Of("picture").empty());  // stopped, not missed
}

}  // namespace
}  // namespace ovrix
