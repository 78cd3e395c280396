// The pictures the Windows picture-search scenes hold (tests/wine/scenes)
// must be the patterns the test window paints (picture_pattern.h): if the
// two drift apart, the searches under Wine simply find nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/PictureRecord.h"
#include "platform/sim/PictureCodec.h"
#include "wine/picture_pattern.h"

namespace ovrix {
namespace {

std::vector<uint8_t> SceneFile(const std::string& name) {
    std::ifstream in(std::string(OVRIX_WINE_SCENES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

VBmp Pattern(uint32_t seed, uint32_t bitsPerPixel) {
    VBmp picture;
    picture.width = winetest::kPatternWidth;
    picture.height = winetest::kPatternHeight;
    picture.bitsPerPixel = bitsPerPixel;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t colour = winetest::PatternPixel(seed, x, y);
            picture.pixels.insert(picture.pixels.end(), {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
                                                         static_cast<uint8_t>(colour >> 16), 0});
        }
    }
    return picture;
}

TEST(WineScenePictures, AreThePaintedPatterns) {
    for (const auto& [name, seed] : {std::pair{"shown", winetest::kShownSeed}, {"absent", winetest::kAbsentSeed}}) {
        for (const uint32_t bits : {24u, 32u}) {
            RecordBuffer record;
            WritePictureRecord(record, Pattern(seed, bits));
            EXPECT_EQ(SceneFile(std::string(name) + "-" + std::to_string(bits) + ".pic"), record.ToVector())
                << name << " at " << bits << " bits";
        }
    }
    // The bitmap file LoadImage reads: the shown pattern, colour for colour.
    const std::optional<VBmp> file = DecodePicture(SceneFile("picture.bmp"));
    ASSERT_TRUE(file.has_value());
    const VBmp shown = Pattern(winetest::kShownSeed, 32);
    ASSERT_EQ(file->width, shown.width);
    ASSERT_EQ(file->height, shown.height);
    for (size_t i = 0; i < shown.pixels.size(); i += 4) {
        ASSERT_TRUE(std::equal(shown.pixels.begin() + i, shown.pixels.begin() + i + 3, file->pixels.begin() + i)) << i / 4;
    }
}

}  // namespace
}  // namespace ovrix
