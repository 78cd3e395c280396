// The real desktop's image files and clipboard bitmaps.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/PictureEdit.h"
#include "platform/win32/Win32Images.h"

namespace ovrix::win32 {
namespace {

VBmp Pattern(int32_t width, int32_t height, uint8_t alpha) {
    VBmp p = *BlankPicture(width, height, 0);
    for (size_t i = 0; i < p.pixels.size(); i += 4) {
        p.pixels[i] = static_cast<uint8_t>(i * 7);
        p.pixels[i + 1] = static_cast<uint8_t>(i / 4);
        p.pixels[i + 2] = static_cast<uint8_t>(255 - i);
        p.pixels[i + 3] = alpha;
    }
    return p;
}

TEST(Win32ImageFiles, SavedFilesReadBackAndUnknownEncodersWriteNothing) {
    Win32ImageFiles files;
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "ovrix-win32-images";
    std::filesystem::create_directories(dir);
    const VBmp opaque = Pattern(13, 5, 255);
    const VBmp translucent = Pattern(13, 5, 128);

    const auto at = [&](const char* name) { return (dir / name).u16string(); };
    ASSERT_TRUE(files.SaveImage(translucent, at("a.PNG")));
    EXPECT_EQ(files.LoadImage(at("a.PNG")), translucent);
    ASSERT_TRUE(files.SaveImage(translucent, at("b.xyz")));  // a bitmap file of 3 bytes a pixel
    EXPECT_EQ(files.LoadImage(at("b.xyz")), opaque);
    EXPECT_FALSE(files.SaveImage(opaque, at("c.tif")));
    EXPECT_FALSE(std::filesystem::exists(dir / "c.tif"));

    std::ifstream in(dir / "b.xyz", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 60u);
    EXPECT_TRUE(files.DecodeImage(bytes));
    bytes.resize(bytes.size() - 3);
    EXPECT_FALSE(files.DecodeImage(bytes));
    EXPECT_FALSE(files.LoadImage(at("missing.png")));
    in.close();
    std::filesystem::remove_all(dir);
}

TEST(Win32ImageFiles, ClipboardBitmapsCarryAPictureBothWays) {
    Win32ImageFiles files;
    const VBmp picture = Pattern(7, 3, 255);  // 7 x 3 bytes: rows padded
    const std::optional<std::vector<uint8_t>> dib = DibFromPicture(picture);
    ASSERT_TRUE(dib);
    EXPECT_EQ(PictureFromDib(*dib, files), picture);
    EXPECT_FALSE(PictureFromDib(std::span<const uint8_t>(dib->data(), 39), files));
    EXPECT_FALSE(PictureFromDib(std::span<const uint8_t>(dib->data(), dib->size() - 4), files));
}

}  // namespace
}  // namespace ovrix::win32
