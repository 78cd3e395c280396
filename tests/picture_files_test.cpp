// Pictures in files and in scripts: the simulated desktop's image files
// (read back equal after writing, bitmap files of every row order and
// depth, broken files refused without reading past them) and the stored
// forms of the picture search step's pictures.
#include <gtest/gtest.h>

#include <cstring>

#include "container/RecordBuffer.h"
#include "platform/PictureEdit.h"
#include "platform/PictureRecord.h"
#include "platform/sim/PictureCodec.h"
#include "platform/sim/SimPlatform.h"

namespace ovrix {
namespace {

// Every pixel different: blue x, green y, red x + y, alpha as given.
VBmp Pattern(int32_t width, int32_t height, uint8_t alpha = 255) {
    VBmp p = *BlankPicture(width, height, 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* px = &p.pixels[(static_cast<size_t>(y) * width + x) * 4];
            px[0] = static_cast<uint8_t>(x * 9);
            px[1] = static_cast<uint8_t>(y * 13);
            px[2] = static_cast<uint8_t>(x + y);
            px[3] = alpha;
        }
    }
    return p;
}

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(i < 4 ? static_cast<uint8_t>(value >> (8 * i)) : 0);
}

// A bitmap file as other programs write them: 24 or 32 bits per pixel,
// rows bottom to top (the usual order) or top to bottom (negative height).
std::vector<uint8_t> BitmapFile(const VBmp& p, int bits, bool topDown) {
    const uint32_t rowBytes = (p.width * bits / 8 + 3) / 4 * 4;
    std::vector<uint8_t> out;
    const uint32_t height = static_cast<uint32_t>(topDown ? -p.height : p.height);
    for (auto [value, bytes] : {std::pair<uint32_t, int>{'B' | ('M' << 8), 2}, {54 + rowBytes * p.height, 4}, {0, 4},
                                {54, 4}, {40, 4}, {p.width, 4}, {height, 4}, {1, 2}, {bits, 2}, {0, 24}})
        Put(out, value, bytes);
    for (int32_t row = 0; row < p.height; ++row) {
        const int32_t y = topDown ? row : p.height - 1 - row;
        for (int32_t x = 0; x < p.width; ++x) {
            const uint8_t* px = &p.pixels[(static_cast<size_t>(y) * p.width + x) * 4];
            out.insert(out.end(), px, px + bits / 8);
        }
        out.resize(out.size() + rowBytes - p.width * bits / 8, 0);
    }
    return out;
}

TEST(PictureFiles, BitmapFilesOfBothDepthsAndRowOrdersReadBackEqual) {
    const VBmp picture = Pattern(13, 7);  // 13 x 3 bytes: rows need padding
    for (int bits : {24, 32}) {
        for (bool topDown : {false, true}) {
            const std::optional<VBmp> read = DecodePicture(BitmapFile(picture, bits, topDown));
            ASSERT_TRUE(read) << bits << " " << topDown;
            EXPECT_EQ(*read, picture) << bits << " " << topDown;
        }
    }
    // A 32-bit file whose fourth bytes carry alpha keeps it.
    const VBmp translucent = Pattern(4, 4, 90);
    EXPECT_EQ(DecodePicture(BitmapFile(translucent, 32, false)), translucent);
}

TEST(PictureFiles, WrittenFilesReadBackEqual) {
    const VBmp opaque = Pattern(17, 9);
    const VBmp translucent = Pattern(17, 9, 128);
    // PNG keeps all four bytes; a bitmap file three, read back opaque.
    EXPECT_EQ(DecodePicture(*EncodePicture(translucent, EncodingForFile(u"a.png"))), translucent);
    EXPECT_EQ(DecodePicture(*EncodePicture(translucent, EncodingForFile(u"a.bmp"))), opaque);
    const auto jpeg = EncodePicture(opaque, EncodingForFile(u"a.jpg"));
    ASSERT_TRUE(jpeg);
    const auto lossy = DecodePicture(*jpeg);
    ASSERT_TRUE(lossy);
    EXPECT_EQ(std::pair(lossy->width, lossy->height), std::pair(17, 9));
    // No encoder for these, and no picture: nothing is made.
    for (const char16_t* name : {u"a.gif", u"a.tif"}) EXPECT_FALSE(EncodePicture(opaque, EncodingForFile(name)));
    EXPECT_FALSE(EncodePicture(VBmp{}, EncodingForFile(u"a.png")));
}

TEST(PictureFiles, BrokenFilesAreNoPictures) {
    const std::vector<uint8_t> good = BitmapFile(Pattern(10, 10), 24, false);
    EXPECT_FALSE(DecodePicture(std::vector<uint8_t>{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}));
    EXPECT_FALSE(DecodePicture(std::vector<uint8_t>{}));
    // Cut short anywhere, header or pixels: nothing, never a padded picture.
    for (size_t size = 1; size < good.size(); ++size) {
        EXPECT_FALSE(DecodePicture(std::span<const uint8_t>(good.data(), size))) << size;
    }
    // Headers that promise more than the file holds: height 11 on 10 rows, a width about 2^31,
    // pixels said to start 256 bytes further on.
    for (auto [at, value] : {std::pair<size_t, uint8_t>{22, 11}, {21, 0x7F}, {11, 1}}) {
        std::vector<uint8_t> promising = good;
        promising[at] = value;
        EXPECT_FALSE(DecodePicture(promising)) << at;
    }

    const std::vector<uint8_t> png = *EncodePicture(Pattern(10, 10), EncodingForFile(u"a.png"));
    for (size_t size = 1; size < png.size(); size += 7) {
        EXPECT_FALSE(DecodePicture(std::span<const uint8_t>(png.data(), size))) << size;
    }
    std::vector<uint8_t> wider = png;
    wider[19] = 200;  // the header's width, past what the data holds
    EXPECT_FALSE(DecodePicture(wider));
}

std::vector<uint8_t> Stored(uint32_t width, uint32_t height, uint32_t bits, size_t pixelBytes) {
    RecordBuffer b;
    WriteU32(b, 0x57, width);
    WriteU32(b, 0x48, height);
    WriteU32(b, 0x4250, bits);
    const std::vector<uint8_t> pixels(pixelBytes, 0x5A);
    WriteRecord(b, 0x504958, pixels.data(), static_cast<uint32_t>(pixels.size()));
    return b.ToVector();
}

TEST(StoredPictures, TheContainerFormHoldsExactlyItsPixels) {
    SimPlatform sim;
    const VBmp picture = Pattern(6, 3);
    RecordBuffer written;
    WritePictureRecord(written, picture);
    EXPECT_EQ(ReadStoredPicture(written.ToVector(), false, sim), picture);

    const std::optional<VBmp> sixteen = ReadStoredPicture(Stored(4, 2, 16, 32), false, sim);
    ASSERT_TRUE(sixteen);
    EXPECT_EQ(sixteen->bitsPerPixel, 16u);
    // Pixels only when they are width x height x 4 bytes, sizes and depth set; 2^31 x 2 x 4 wraps to 0
    // in 32 bits, and the check must not.
    std::vector<uint8_t> cut = Stored(4, 2, 32, 32);
    cut.pop_back();  // a record cut inside the pixels
    for (const auto& bad : {Stored(4, 2, 32, 31), Stored(4, 2, 32, 33), Stored(0, 2, 32, 0), Stored(4, 2, 0, 32),
                            Stored(0x80000000u, 2, 32, 0), Stored(0x40000000u, 4, 32, 0), cut})
        EXPECT_FALSE(ReadStoredPicture(bad, false, sim));
    RecordBuffer empty;
    WritePictureRecord(empty, VBmp{});
    EXPECT_TRUE(empty.ToVector().empty());
}

TEST(StoredPictures, OlderScriptsHoldBitmapFiles) {
    SimPlatform sim;
    const VBmp picture = Pattern(5, 4);
    std::vector<uint8_t> file = BitmapFile(picture, 24, false);
    EXPECT_EQ(ReadStoredPicture(file, true, sim), picture);
    EXPECT_FALSE(ReadStoredPicture(file, false, sim));  // the same bytes in the wrong form
    file.resize(file.size() - 4);
    EXPECT_FALSE(ReadStoredPicture(file, true, sim));
    EXPECT_FALSE(ReadStoredPicture({}, true, sim));
}

}  // namespace
}  // namespace ovrix
