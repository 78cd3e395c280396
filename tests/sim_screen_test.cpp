// What a capture of the simulated screen holds: each pixel of the area is
// the screen picture's where the area lies on both the screen and the
// picture, opaque black elsewhere, whatever the capture's buffer held before.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/PictureEdit.h"
#include "platform/sim/SimPlatform.h"

namespace ovrix {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;

VBmp Numbered(int32_t width, int32_t height) {
    VBmp p = *BlankPicture(width, height, 0);
    for (size_t i = 0; i < p.pixels.size(); ++i) p.pixels[i] = static_cast<uint8_t>(i * 7 + i / 1024);
    return p;
}

uint32_t PixelAt(const VBmp& p, int32_t x, int32_t y) {
    uint32_t v = 0;
    std::memcpy(&v, &p.pixels[(static_cast<size_t>(y) * p.width + x) * 4], 4);
    return v;
}

// The capture pixel by pixel, as the screen shows it.
VBmp Expected(const ScreenRect& area, ScreenSize physical, const VBmp& shown) {
    VBmp out = *BlankPicture(area.Width(), area.Height(), kBlack);
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            const bool visible = x >= 0 && y >= 0 && x < physical.width && y < physical.height && x < shown.width &&
                                 y < shown.height && shown.PixelBytes() == 4;
            const uint32_t v = visible ? PixelAt(shown, x, y) : kBlack;
            std::memcpy(&out.pixels[(static_cast<size_t>(y - area.top) * out.width + (x - area.left)) * 4], &v, 4);
        }
    }
    return out;
}

TEST(SimScreen, CapturesHoldThePictureOnTheScreenAndBlackElsewhere) {
    SimPlatform sim(SimOptions{.screen = {40, 30}});
    VBmp sixteenBits = Numbered(40, 30);
    sixteenBits.bitsPerPixel = 16;
    // Narrower and shorter than the screen, exactly the screen, larger than it,
    // and a picture the screen cannot show.
    const std::vector<VBmp> pictures = {Numbered(25, 18), Numbered(40, 30), Numbered(57, 44), sixteenBits};
    const std::vector<ScreenRect> areas = {
        {0, 0, 40, 30},    {0, 5, 40, 12},  {-6, -4, 50, 36}, {3, 2, 9, 28},
        {30, 20, 70, 60},  {-9, 10, 2, 11}, {45, 0, 60, 30},  {0, 0, 1, 1},
    };
    for (int32_t scale : {100, 150}) {
        sim.displayScalePercent = scale;
        const ScreenSize physical = sim.PhysicalScreenSize();
        for (const VBmp& shown : pictures) {
            sim.screenPictures = {{0, shown}};
            // One buffer through all areas, as a search keeps it: nothing of
            // an earlier capture may show through.
            ScreenCapture reused;
            reused.picture = Numbered(64, 64);
            for (const ScreenRect& area : areas) {
                const VBmp expected = Expected(area, physical, shown);
                sim.DrawScreenPart(area, reused.picture);
                EXPECT_EQ(reused.picture, expected) << scale << "% " << shown.width << "x" << shown.height
                                                    << " area " << area.left << "," << area.top << "," << area.right;
            }
            ASSERT_TRUE(sim.GetScreen().CaptureScreen(reused));
            EXPECT_EQ(reused.picture, Expected({0, 0, physical.width, physical.height}, physical, shown));
        }
    }
    // No area is no picture at all.
    VBmp none = Numbered(4, 4);
    sim.DrawScreenPart({5, 5, 5, 9}, none);
    EXPECT_EQ(none, VBmp{});
}

}  // namespace
}  // namespace ovrix
