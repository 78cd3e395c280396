// The images family: capturing the screen or a window, loading, making,
// copying, saving and measuring pictures, and searching the screen for
// them. An image value holds its picture (expr/KindsObject.h); the desktop
// captures, reads and writes them (Screen.h, ImageFiles.h).
//
// A call gives no value and does nothing when it has fewer arguments than
// it reads, when an image argument is not an image, or without a host;
// nothing here raises a script error.
#include <algorithm>
#include <limits>

#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "builtins/WindowCalls.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"
#include "platform/Desktop.h"
#include "platform/PictureEdit.h"
#include "platform/PictureMatch.h"

namespace ovrix {

namespace {

using namespace fnargs;

// The largest picture FindScreenImages looks for, in each direction.
constexpr int32_t kLargestTarget = 48;

ExprItem_Image* ImageArg(const PExprItem* args, int32_t count, int32_t i) {
    return i < count ? ItemAs<ExprItem_Image>(args[i]) : nullptr;
}

int64_t IntegerArg(const PExprItem* args, int32_t count, int32_t i) { return TruncateToInt64(Number(args, count, i)); }

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

PExprItem* ReturnImage(PExprItem* result, VBmp picture) {
    if (picture.Empty()) return None(result);
    return ReturnValue(result, MakeItem<ExprItem_Image>(std::move(picture)));
}

PExprItem* CaptureWindow(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const winfn::WindowCall call = winfn::ResolveWindow(count, args, 1);
    VBmp picture;
    if (!call || !call.desktop->screen.CaptureWindow(call.window, picture)) return None(result);
    return ReturnImage(result, std::move(picture));
}

// The whole screen, unless the region is a Rect of positive width and height:
// then its part on the screen.
PExprItem* CaptureScreen(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Desktop* desktop = winfn::DesktopFor(count, 0);
    if (desktop == nullptr) return None(result);
    const ScreenSize size = desktop->screen.GetScreenSize();
    ScreenRect area{0, 0, size.width, size.height};
    if (const auto* region = count > 0 ? ItemAs<ExprItem_Rect>(args[0]) : nullptr) {
        const int64_t width = int64_t{region->right} - region->left;
        const int64_t height = int64_t{region->bottom} - region->top;
        if (width > 0 && height > 0) {
            area = ClipRect({region->left, region->top, Clamp32(region->left + width), Clamp32(region->top + height)},
                            size.width, size.height);
        }
    }
    VBmp picture;
    if (!desktop->screen.CaptureArea(area, picture)) return None(result);
    return ReturnImage(result, std::move(picture));
}

PExprItem* LoadImage(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Desktop* desktop = winfn::DesktopFor(count, 1);
    const std::u16string path = Text(args, count, 0);
    if (desktop == nullptr || path.empty()) return None(result);
    return ReturnImage(result, desktop->images.LoadImage(path).value_or(VBmp{}));
}

// Every pixel white, all four bytes 255.
PExprItem* CreateImage(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 2) return None(result);
    return ReturnImage(result, BlankPicture(IntegerArg(args, count, 0), IntegerArg(args, count, 1), 0xFFFFFFFFu)
                                   .value_or(VBmp{}));
}

// The fourth argument is copied into the first, only when it fits whole.
PExprItem* CopyImage(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    ExprItem_Image* target = ImageArg(args, count, 0);
    const ExprItem_Image* source = ImageArg(args, count, 3);
    if (target != nullptr && source != nullptr) {
        CopyPicture(target->picture, IntegerArg(args, count, 1), IntegerArg(args, count, 2), source->picture);
    }
    return None(result);
}

PExprItem* SaveImage(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Desktop* desktop = winfn::DesktopFor(count, 2);
    const ExprItem_Image* image = ImageArg(args, count, 0);
    const std::u16string path = Text(args, count, 1);
    if (desktop != nullptr && image != nullptr && !path.empty()) desktop->images.SaveImage(image->picture, path);
    return None(result);
}

// Rect values of the places found, in reading order; no value when none.
PExprItem* FindScreenImages(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Desktop* desktop = winfn::DesktopFor(count, 1);
    const ExprItem_Image* target = ImageArg(args, count, 0);
    if (desktop == nullptr || target == nullptr || target->picture.Empty() ||
        target->picture.width > kLargestTarget || target->picture.height > kLargestTarget) {
        return None(result);
    }
    const int32_t threshold = ThresholdFromFraction(Number(args, count, 1));
    const bool firstOnly = count > 2 && AsTruth(args[2]);
    std::optional<ScreenRect> region;
    if (const auto* rect = count > 3 ? ItemAs<ExprItem_Rect>(args[3]) : nullptr) {
        region = ScreenRect{rect->left, rect->top, rect->right, rect->bottom};
    }
    ScreenCapture screen;
    if (!desktop->screen.CaptureScreen(screen)) return None(result);
    const ScreenSize physical{screen.picture.width, screen.picture.height};
    const std::vector<ScreenRect> found = FindAllPictures(screen.picture, target->picture, threshold, region, firstOnly);
    if (found.empty()) return None(result);
    auto array = MakeItem<AnyArray>();
    for (const ScreenRect& place : found) {
        const ScreenRect r = ScaleToLogical(place, physical, screen.logical);
        ItemAs<AnyArray>(array)->Push(MakeItem<ExprItem_Rect>(r.left, r.top, r.right, r.bottom));
    }
    return ReturnValue(result, array);
}

template <bool Width>
PExprItem* ImageSize(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const ExprItem_Image* image = ImageArg(args, count, 0);
    if (image == nullptr) return None(result);
    return ReturnNumber(result, Width ? image->picture.width : image->picture.height);
}

// The part inside X, Y, Width, Height and the image; no value when none is.
PExprItem* GetSubImage(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const ExprItem_Image* image = ImageArg(args, count, 0);
    if (image == nullptr || count < 5) return None(result);
    const int64_t x = IntegerArg(args, count, 1), y = IntegerArg(args, count, 2);
    const ScreenRect rect{Clamp32(x), Clamp32(y), Clamp32(x + Clamp32(IntegerArg(args, count, 3))),
                          Clamp32(y + Clamp32(IntegerArg(args, count, 4)))};
    return ReturnImage(result, SubPicture(image->picture, rect).value_or(VBmp{}));
}

const ArgSpec kImage{u"Image", fkind::kObject, {}, 0, u"Image Image"};

const FunctionSpec kImages[] = {
    {u"CaptureWindow", fkind::kObject, CaptureWindow,
     {{u"Window", fkind::kObject, {}, 0, u"WindowHandle Window"}}, u"Image",
     u"The window can be inactive but can not be minimized."},
    {u"CaptureScreen", fkind::kObject, CaptureScreen, {{u"Region", fkind::kObject, {}, 0, u"Rect Region"}}, u"Image"},
    {u"LoadImage", fkind::kObject, LoadImage, {{u"ImageFile", fkind::kText}}, u"Image"},
    {u"CreateImage", fkind::kObject, CreateImage, {{u"Width", fkind::kNumber}, {u"Height", fkind::kNumber}}, u"Image"},
    {u"CopyImage", fkind::kNothing, CopyImage, {kImage, {u"DestX", fkind::kNumber}, {u"DestY", fkind::kNumber}, kImage}},
    {u"SaveImage", fkind::kNothing, SaveImage, {kImage, {u"ImageFile", fkind::kText}}},
    {u"FindScreenImages", fkind::kObject, FindScreenImages,
     {{u"TargetImage", fkind::kObject, {}, 0, u"Image TargetImage"},
      {u"Similar", fkind::kNumber, DefNumber(0.95)},
      {u"FindFirstImageOnly", fkind::kBool, DefBool(true)},
      {u"SearchRegion", fkind::kObject, {}, 0, u"Rect SearchRegion"}},
     u"Array"},
    {u"GetImageWidth", fkind::kNumber, ImageSize<true>, {kImage}},
    {u"GetImageHeight", fkind::kNumber, ImageSize<false>, {kImage}},
    {u"GetSubImage", fkind::kObject, GetSubImage,
     {kImage, {u"X", fkind::kNumber}, {u"Y", fkind::kNumber}, {u"Width", fkind::kNumber},
      {u"Height", fkind::kNumber}},
     u"Image"},
};

}  // namespace

std::span<const FunctionSpec> ImageFunctions() { return kImages; }

}  // namespace ovrix
