// The images family where a macro on the simulated desktop cannot reach: a
// clipboard that refuses a picture, and pictures loaded from the real disk.
// What a macro sees is played as golden traces.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "builtins_test_support.h"
#include "expr/KindsObject.h"
#include "platform/PictureEdit.h"
#include "platform/sim/PictureCodec.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

// A picture whose every pixel tells its place: blue x, green y.
VBmp Pattern(int32_t width, int32_t height) {
    VBmp p = *BlankPicture(width, height, 0xFF000000u);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* px = &p.pixels[(static_cast<size_t>(y) * width + x) * 4];
            px[0] = static_cast<uint8_t>(x);
            px[1] = static_cast<uint8_t>(y);
        }
    }
    return p;
}

class ImageFunctions : public ::testing::Test {
protected:
    FakeBuiltinHost host;
};

TEST_F(ImageFunctions, ARefusingClipboardKeepsItsText) {
    host.sim.PutOnClipboard(u"text");
    host.sim.clipboardRefuses = true;
    CallBare(u"SetClipboardImage", {MakeItem<ExprItem_Image>(Pattern(5, 3))});
    EXPECT_FALSE(Call(u"GetClipboardImage", {}));
    EXPECT_EQ(host.sim.GetClipboardText(), u"text");
}

TEST_F(ImageFunctions, LoadImageReadsPicturesAndRefusesOtherFiles) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "ovrix-image-functions";
    std::filesystem::create_directories(dir);
    const VBmp picture = Pattern(7, 5);
    const auto png = EncodePicture(picture, {u"image/png", true});
    ASSERT_TRUE(png);
    std::ofstream(dir / "p.png", std::ios::binary).write(reinterpret_cast<const char*>(png->data()), png->size());
    std::ofstream(dir / "text.png", std::ios::binary) << "not a picture at all";

    const PExprItem loaded = Call(u"LoadImage", {Text((dir / "p.png").u16string())});
    ASSERT_TRUE(loaded);
    EXPECT_EQ(ItemAs<ExprItem_Image>(loaded)->picture, picture);
    for (const auto& name : {(dir / "text.png").u16string(), (dir / "missing.png").u16string(), std::u16string()})
        EXPECT_FALSE(Call(u"LoadImage", {Text(name)}));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ovrix
