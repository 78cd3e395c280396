// What the simulated screen shows and the image files of the simulated
// desktop: captures are cut from the screen picture of the virtual moment,
// image files are read from the real disk, and saving only traces.
#include <algorithm>
#include <cstring>

#include "platform/PictureEdit.h"
#include "platform/sim/PictureCodec.h"
#include "platform/sim/SimPlatform.h"

namespace ovrix {

namespace {

constexpr uint32_t kOpaqueBlack = 0xFF000000u;

}  // namespace

VBmp SimPlatform::ScreenPart(const ScreenRect& area) const {
    VBmp part = BlankPicture(area.Width(), area.Height(), kOpaqueBlack).value_or(VBmp{});
    if (part.Empty()) return part;
    // The latest picture whose time has come.
    const VBmp* shown = nullptr;
    for (const auto& [atMs, picture] : screenPictures) {
        if (atMs > ElapsedMs()) break;
        shown = &picture;
    }
    if (shown == nullptr || shown->Empty() || shown->PixelBytes() != 4) return part;
    // Only what lies on the screen and on the picture is drawn.
    const ScreenSize physical = PhysicalScreenSize();
    const ScreenRect onScreen =
        ClipRect(area, std::min(physical.width, shown->width), std::min(physical.height, shown->height));
    for (int32_t y = onScreen.top; y < onScreen.bottom; ++y) {
        if (onScreen.right <= onScreen.left) break;
        const size_t from = (static_cast<size_t>(y) * shown->width + onScreen.left) * 4;
        const size_t to = (static_cast<size_t>(y - area.top) * part.width + (onScreen.left - area.left)) * 4;
        std::memcpy(&part.pixels[to], &shown->pixels[from], static_cast<size_t>(onScreen.Width()) * 4);
    }
    return part;
}

bool SimPlatform::DoCaptureScreen(ScreenCapture& out) {
    const ScreenSize physical = PhysicalScreenSize();
    out.picture = ScreenPart({0, 0, physical.width, physical.height});
    out.logical = options_.screen;
    return !out.picture.Empty();
}

bool SimPlatform::DoCaptureArea(const ScreenRect& area, VBmp& out) {
    out = ScreenPart(area);
    return !out.Empty();
}

bool SimPlatform::DoCaptureWindow(uint32_t window, VBmp& out) {
    const std::optional<ScreenRect> rect = windows.GetWindowRect(window);
    if (!rect || windows.IsMinimized(window)) return false;
    out = ScreenPart(*rect);
    return !out.Empty();
}

std::optional<VBmp> SimPlatform::LoadImage(std::u16string_view path) { return DecodePictureFile(path); }

std::optional<VBmp> SimPlatform::DecodeImage(std::span<const uint8_t> bytes) { return DecodePicture(bytes); }

bool SimPlatform::DoSaveImage(const VBmp&, std::u16string_view path, const ImageEncoding& encoding) {
    if (encoding.mimeType == u"image/tif") return false;
    existingFiles.emplace(path);
    return true;
}

}  // namespace ovrix
