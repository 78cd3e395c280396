// The images family and the clipboard's pictures on the simulated desktop: what a script gets, and what
// the desktop is asked to do (the trace).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "builtins_test_support.h"
#include "expr/KindsObject.h"
#include "platform/ImageFiles.h"
#include "platform/PictureEdit.h"
#include "platform/sim/PictureCodec.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

// A picture whose every pixel tells its place: blue x, green y, red `tint`.
VBmp Pattern(int32_t width, int32_t height, uint8_t tint = 7) {
    VBmp p = *BlankPicture(width, height, 0xFF000000u);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* px = &p.pixels[(static_cast<size_t>(y) * width + x) * 4];
            px[0] = static_cast<uint8_t>(x);
            px[1] = static_cast<uint8_t>(y);
            px[2] = tint;
        }
    }
    return p;
}

uint32_t PixelAt(const VBmp& p, int32_t x, int32_t y) {
    const uint8_t* px = &p.pixels[(static_cast<size_t>(y) * p.width + x) * 4];
    return px[0] | (px[1] << 8) | (px[2] << 16) | (static_cast<uint32_t>(px[3]) << 24);
}

PExprItem ImageOf(VBmp picture) { return MakeItem<ExprItem_Image>(std::move(picture)); }
const VBmp& PictureOf(const PExprItem& value) { return ItemAs<ExprItem_Image>(value)->picture; }
PExprItem RectValue(int32_t x, int32_t y, int32_t w, int32_t h) { return MakeItem<ExprItem_Rect>(x, y, x + w, y + h); }

class ImageFunctions : public ::testing::Test {
protected:
    FakeBuiltinHost host;
};

TEST_F(ImageFunctions, CreateImageIsWhiteAndRefusesEmptySizes) {
    const PExprItem image = Call(u"CreateImage", {Num(3), Num(2)});
    ASSERT_TRUE(image);
    EXPECT_EQ(PictureOf(image).pixels, std::vector<uint8_t>(3 * 2 * 4, 0xFF));
    EXPECT_EQ(AsNumber(CallBare(u"GetImageWidth", {Call(u"CreateImage", {Num(5.9), Num(4)})})), 5);
    EXPECT_EQ(AsNumber(CallBare(u"GetImageHeight", {image})), 2);
    // Without area, or too large to be asked of memory.
    for (auto [w, h] : {std::pair{0.0, 10.0}, {10.0, -1.0}, {1e9, 1e9}})
        EXPECT_FALSE(Call(u"CreateImage", {Num(w), Num(h)}));
    EXPECT_FALSE(CallBare(u"GetImageWidth", {Num(3)}));
}

TEST_F(ImageFunctions, ImageValuesAreCopiedAndComparedByTheirPictures) {
    const PExprItem a = ImageOf(Pattern(4, 4));
    const PExprItem copy = a->Clone();
    EXPECT_TRUE(copy->IsEqual(*a.Item()));
    ItemAs<ExprItem_Image>(copy)->picture.pixels[0] ^= 1;
    EXPECT_FALSE(copy->IsEqual(*a.Item()));
    EXPECT_EQ(PixelAt(PictureOf(a), 0, 0), 0xFF070000u);  // the original is untouched
    EXPECT_FALSE(ImageOf(Pattern(4, 4))->IsEqual(*ImageOf(Pattern(4, 5)).Item()));
    EXPECT_FALSE(a->IsEqual(*MakeItem<ExprItem_Process>().Item()));
}

TEST_F(ImageFunctions, CopyImageCopiesOnlyASourceThatFits) {
    const PExprItem target = Call(u"CreateImage", {Num(100), Num(100)});
    const PExprItem source = ImageOf(Pattern(20, 20));
    const std::vector<uint8_t> white = PictureOf(target).pixels;
    EXPECT_FALSE(CallBare(u"CopyImage", {target, Num(90), Num(0), source}));
    CallBare(u"CopyImage", {target, Num(-1), Num(0), source});
    EXPECT_EQ(PictureOf(target).pixels, white);

    CallBare(u"CopyImage", {target, Num(80), Num(80), source});
    const VBmp& copied = PictureOf(target);
    EXPECT_EQ(PixelAt(copied, 80, 80), PixelAt(PictureOf(source), 0, 0));
    EXPECT_EQ(PixelAt(copied, 99, 99), PixelAt(PictureOf(source), 19, 19));
    EXPECT_EQ(PixelAt(copied, 79, 80), 0xFFFFFFFFu);
    EXPECT_EQ(PixelAt(copied, 80, 79), 0xFFFFFFFFu);
    // Not an image, or too few arguments: nothing happens.
    CallBare(u"CopyImage", {target, Num(0), Num(0), Num(1)});
    CallBare(u"CopyImage", {target, Num(0), Num(0)});
    EXPECT_EQ(PixelAt(PictureOf(target), 0, 0), 0xFFFFFFFFu);
}

TEST_F(ImageFunctions, GetSubImageCutsTheIntersectionWithTheImage) {
    const PExprItem image = ImageOf(Pattern(100, 100));
    const PExprItem corner = CallBare(u"GetSubImage", {image, Num(90), Num(90), Num(50), Num(50)});
    ASSERT_TRUE(corner);
    EXPECT_EQ(PictureOf(corner).width, 10);
    EXPECT_EQ(PixelAt(PictureOf(corner), 0, 0), PixelAt(PictureOf(image), 90, 90));
    EXPECT_EQ(PixelAt(PictureOf(corner), 9, 3), PixelAt(PictureOf(image), 99, 93));

    const PExprItem left = CallBare(u"GetSubImage", {image, Num(-5), Num(10), Num(8), Num(2)});
    ASSERT_TRUE(left);
    EXPECT_EQ(PictureOf(left).width, 3);
    EXPECT_EQ(PixelAt(PictureOf(left), 0, 1), PixelAt(PictureOf(image), 0, 11));

    // Off the image, no area, and far-away places that must not wrap around onto it.
    for (auto [x, w] : {std::pair{200.0, 50.0}, {10.0, 0.0}, {10.0, -5.0}, {4294967296.0 + 10, 5.0},
                        {2147483600.0, 1000.0}})
        EXPECT_FALSE(CallBare(u"GetSubImage", {image, Num(x), Num(10), Num(w), Num(5)})) << x << " " << w;
}

TEST_F(ImageFunctions, SavedImagesAreTracedWithTheEncoderTheirExtensionChose) {
    const PExprItem image = Call(u"CreateImage", {Num(6), Num(4)});
    for (const char16_t* name : {u"C:\\shots\\a.PNG", u"a.jpeg", u"a.Jpg", u"a.gif", u"a.xyz", u"C:\\x.png\\noext",
                                 u"a.tif"}) {
        CallBare(u"SaveImage", {image, Text(name)});
    }
    CallBare(u"SaveImage", {image, Text(u"")});
    CallBare(u"SaveImage", {Num(1), Text(u"b.png")});
    ASSERT_EQ(host.trace.size(), 7u);
    EXPECT_EQ(host.trace[0].substr(host.trace[0].find(' ') + 1), R"(image-save "C:\\shots\\a.PNG" image/png 6 4)");
    const char* const types[] = {"image/png", "image/jpeg", "image/jpeg", "image/gif", "image/bmp", "image/bmp",
                                 "image/tif"};
    for (size_t i = 0; i < host.trace.size(); ++i) EXPECT_NE(host.trace[i].find(types[i]), std::string::npos) << i;
    // A name no encoder answers to is no file; the others now exist.
    EXPECT_TRUE(host.sim.files.FileExists(u"a.xyz"));
    EXPECT_FALSE(host.sim.files.FileExists(u"a.tif"));
    // The encoder follows the last dot of the file name.
    EXPECT_EQ(EncodingForFile(u"a.b.PnG").mimeType, u"image/png");
    for (const char16_t* name : {u"a.png.bak", u"shots.png/a", u"a.", u"a.tiff"})
        EXPECT_EQ(EncodingForFile(name).mimeType, u"image/bmp");
}

TEST_F(ImageFunctions, CaptureScreenTakesTheScreenOrItsPartOfARegion) {
    host.sim.screenPictures = {{0, Pattern(300, 200)}};
    const PExprItem whole = Call(u"CaptureScreen", {});
    ASSERT_TRUE(whole);
    EXPECT_EQ(PictureOf(whole).height, 1080);
    EXPECT_EQ(PixelAt(PictureOf(whole), 299, 199), PixelAt(Pattern(300, 200), 299, 199));
    EXPECT_EQ(PixelAt(PictureOf(whole), 300, 10), 0xFF000000u);  // no picture there: black

    // Partly off the screen: only the part on it.
    const PExprItem part = CallBare(u"CaptureScreen", {RectValue(-10, 100, 30, 2000)});
    ASSERT_TRUE(part);
    EXPECT_EQ(PixelAt(PictureOf(part), 5, 0), PixelAt(Pattern(300, 200), 5, 100));
    // A region without area means the whole screen; one wholly off it, nothing.
    EXPECT_EQ(PictureOf(CallBare(u"CaptureScreen", {RectValue(5, 5, 0, 10)})).width, 1920);
    EXPECT_FALSE(CallBare(u"CaptureScreen", {RectValue(2000, 0, 10, 10)}));
    ASSERT_EQ(host.trace.size(), 3u);
    EXPECT_EQ(host.trace[0], "0 capture 1920 1080");
    EXPECT_EQ(host.trace[1], "0 capture 20 980");  // only the part on the screen
}

TEST_F(ImageFunctions, CaptureWindowTakesTheScreenUnderTheWindow) {
    host.sim.screenPictures = {{0, Pattern(300, 200)}};
    SimWindowSpec spec;
    spec.title = u"Editor";
    spec.rect = {250, 190, 290, 220};  // partly past the picture
    const WindowId window = host.sim.windows.Add(spec);
    const PExprItem shot = CallBare(u"CaptureWindow", {MakeItem<ExprItem_WindowHandle>(window)});
    ASSERT_TRUE(shot);
    EXPECT_EQ(PixelAt(PictureOf(shot), 0, 0), PixelAt(Pattern(300, 200), 250, 190));
    EXPECT_EQ(PixelAt(PictureOf(shot), 0, 15), 0xFF000000u);
    EXPECT_EQ(host.trace.back(), "0 capture-window 40 30");

    spec.minimized = true;
    EXPECT_FALSE(CallBare(u"CaptureWindow", {MakeItem<ExprItem_WindowHandle>(host.sim.windows.Add(spec))}));
    for (const PExprItem& notThere : {MakeItem<ExprItem_WindowHandle>(window + 100), ImageOf(Pattern(2, 2))})
        EXPECT_FALSE(CallBare(u"CaptureWindow", {notThere}));
}

TEST_F(ImageFunctions, TheScreenShowsEachPictureFromItsTimeOn) {
    host.sim.screenPictures = {{0, Pattern(50, 50, 1)}, {2000, Pattern(50, 50, 2)}};
    for (auto [sleep, tint] : {std::pair{0, 0xFF010000u}, {1999, 0xFF010000u}, {1, 0xFF020000u}}) {
        host.sim.Sleep(sleep);
        EXPECT_EQ(PixelAt(PictureOf(Call(u"CaptureScreen", {})), 0, 0), tint) << sleep;
    }
}

class FindScreenImages : public ImageFunctions {
protected:
    // A black screen with the 8 x 6 target at (100, 40) and (400, 40), and a copy one byte off at (30, 500).
    void SetUp() override {
        VBmp screen = *BlankPicture(640, 600, 0xFF000000u);
        CopyPicture(screen, 100, 40, target);
        CopyPicture(screen, 400, 40, target);
        VBmp near = target;
        near.pixels[4 * 9 + 1] += 3;  // one byte of one pixel, 3 over
        CopyPicture(screen, 30, 500, near);
        host.sim.screenPictures = {{0, screen}};
    }
    std::vector<std::vector<int32_t>> Found(double similar, bool firstOnly, PExprItem region = {}) {
        std::vector<PExprItem> args{ImageOf(target), Num(similar), MakeItem<ExprItem_Bool>(firstOnly)};
        if (region) args.push_back(region);
        const PExprItem found = CallBare(u"FindScreenImages", std::move(args));
        std::vector<std::vector<int32_t>> rects;
        if (const auto* array = ItemAs<AnyArray>(found)) {
            for (int64_t i = 0; i < array->Size(); ++i) {
                const auto* r = ItemAs<ExprItem_Rect>(array->Get(i));
                rects.push_back({r->left, r->top, r->right - r->left, r->bottom - r->top});
            }
        }
        return rects;
    }
    VBmp target = Pattern(8, 6, 200);
};

TEST_F(FindScreenImages, FindsEveryPlaceInReadingOrderOrOnlyTheFirst) {
    using Rects = std::vector<std::vector<int32_t>>;
    EXPECT_EQ(Found(0.95, false), (Rects{{100, 40, 8, 6}, {400, 40, 8, 6}, {30, 500, 8, 6}}));
    EXPECT_EQ(Found(0.95, true), (Rects{{100, 40, 8, 6}}));
    // Similar 1 takes exact pixels only; the near copy is 3 over, which 0.985 admits and 0.99 not.
    EXPECT_EQ(Found(1, false), (Rects{{100, 40, 8, 6}, {400, 40, 8, 6}}));
    EXPECT_EQ(Found(0.99, false).size(), 2u);
    EXPECT_EQ(Found(0.985, false).size(), 3u);
    EXPECT_EQ(Found(1, false, RectValue(300, 0, 200, 100)), (Rects{{400, 40, 8, 6}}));
    EXPECT_EQ(Found(1, false, MakeItem<ExprItem_Empty>()).size(), 2u);  // not a Rect: the whole screen
}

TEST_F(FindScreenImages, ATargetOver48PixelsOrNoneFoundGivesNoValue) {
    for (auto [w, h] : {std::pair{49, 10}, {10, 49}})
        EXPECT_FALSE(CallBare(u"FindScreenImages", {ImageOf(Pattern(w, h)), Num(0)}));
    EXPECT_TRUE(host.trace.empty());  // refused before the screen was captured
    EXPECT_TRUE(CallBare(u"FindScreenImages", {ImageOf(Pattern(48, 48)), Num(0)}));
    EXPECT_FALSE(CallBare(u"FindScreenImages", {ImageOf(Pattern(8, 6, 99)), Num(1)}));
    EXPECT_FALSE(CallBare(u"FindScreenImages", {Num(3), Num(1)}));
    EXPECT_EQ(host.trace.size(), 2u);
}

TEST_F(ImageFunctions, ClipboardPicturesReplaceTextAndComeBackEqual) {
    const PExprItem image = ImageOf(Pattern(5, 3));
    CallBare(u"SetClipboardImage", {image});
    const PExprItem back = Call(u"GetClipboardImage", {});
    ASSERT_TRUE(back);
    EXPECT_TRUE(back->IsEqual(*image.Item()));
    EXPECT_NE(back.Item(), image.Item());
    EXPECT_EQ(host.sim.GetClipboardText(), u"");
    EXPECT_EQ(host.trace.back(), "0 clipboard-image 5 3");

    host.sim.PutOnClipboard(u"text");
    EXPECT_FALSE(Call(u"GetClipboardImage", {}));
    host.sim.clipboardRefuses = true;
    CallBare(u"SetClipboardImage", {image});
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
    EXPECT_EQ(PictureOf(loaded), picture);
    for (const auto& name : {(dir / "text.png").u16string(), (dir / "missing.png").u16string(), std::u16string()})
        EXPECT_FALSE(Call(u"LoadImage", {Text(name)}));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ovrix
