// What the simulated screen shows and the image files of the simulated
// desktop: captures are cut from the screen picture of the virtual moment,
// image files are read from the real disk, and saving only traces.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/PictureEdit.h"
#include "platform/sim/PictureCodec.h"
#include "platform/sim/SimPlatform.h"

namespace ovrix {

namespace {

// Where the screen shows no picture it is black, fully opaque.
constexpr uint8_t kOpaqueBlack[4] = {0, 0, 0, 0xFF};

void AppendBlack(std::vector<uint8_t>& pixels, size_t count) {
    const size_t from = pixels.size();
    pixels.resize(from + count * 4);
    for (size_t i = from; i < pixels.size(); i += 4) std::memcpy(&pixels[i], kOpaqueBlack, 4);
}

}  // namespace

VBmp SimPlatform::ScreenPart(const ScreenRect& area) const {
    VBmp part;
    DrawScreenPart(area, part);
    return part;
}

// Each byte of the part is written once, in order, into what `out` already
// holds, so a caller that captures again and again reuses its buffer.
void SimPlatform::DrawScreenPart(const ScreenRect& area, VBmp& out) const {
    out.pixels.clear();
    if (!PictureSizeAllowed(area.Width(), area.Height())) {
        out.width = out.height = 0;
        out.bitsPerPixel = 0;
        return;
    }
    out.width = area.Width();
    out.height = area.Height();
    out.bitsPerPixel = 32;
    const size_t width = static_cast<size_t>(out.width);
    out.pixels.reserve(width * static_cast<size_t>(out.height) * 4);
    // The latest picture whose time has come.
    const VBmp* shown = nullptr;
    for (const auto& [atMs, picture] : screenPictures) {
        if (atMs > ElapsedMs()) break;
        shown = &picture;
    }
    // Only what lies on the screen and on the picture is drawn.
    ScreenRect onScreen;
    if (shown != nullptr && !shown->Empty() && shown->PixelBytes() == 4) {
        const ScreenSize physical = PhysicalScreenSize();
        onScreen = ClipRect(area, std::min(physical.width, shown->width), std::min(physical.height, shown->height));
    }
    if (onScreen.Width() <= 0 || onScreen.Height() <= 0) {
        AppendBlack(out.pixels, width * static_cast<size_t>(out.height));
        return;
    }
    const auto row = [&](int32_t y) {
        return shown->pixels.begin() + (static_cast<ptrdiff_t>(y) * shown->width + onScreen.left) * 4;
    };
    // Whole rows of the picture, the usual full-screen capture: one block.
    if (onScreen.left == area.left && onScreen.top == area.top && onScreen.right == area.right &&
        onScreen.bottom == area.bottom && area.left == 0 && area.Width() == shown->width) {
        out.pixels.assign(row(area.top), row(area.bottom));
        return;
    }
    AppendBlack(out.pixels, static_cast<size_t>(onScreen.top - area.top) * width);
    for (int32_t y = onScreen.top; y < onScreen.bottom; ++y) {
        AppendBlack(out.pixels, static_cast<size_t>(onScreen.left - area.left));
        out.pixels.insert(out.pixels.end(), row(y), row(y) + static_cast<ptrdiff_t>(onScreen.Width()) * 4);
        AppendBlack(out.pixels, static_cast<size_t>(area.right - onScreen.right));
    }
    AppendBlack(out.pixels, static_cast<size_t>(area.bottom - onScreen.bottom) * width);
}

bool SimPlatform::DoCaptureScreen(ScreenCapture& out) {
    const ScreenSize physical = PhysicalScreenSize();
    DrawScreenPart({0, 0, physical.width, physical.height}, out.picture);
    out.logical = options_.screen;
    return !out.picture.Empty();
}

bool SimPlatform::DoCaptureArea(const ScreenRect& area, VBmp& out) {
    DrawScreenPart(area, out);
    return !out.Empty();
}

bool SimPlatform::DoCaptureWindow(uint32_t window, VBmp& out) {
    const std::optional<ScreenRect> rect = windows.GetWindowRect(window);
    if (!rect || windows.IsMinimized(window)) return false;
    DrawScreenPart(*rect, out);
    return !out.Empty();
}

std::optional<VBmp> SimPlatform::LoadImage(std::u16string_view path) { return DecodePictureFile(path); }

std::optional<VBmp> SimPlatform::DecodeImage(std::span<const uint8_t> bytes) { return DecodePicture(bytes); }

bool SimPlatform::DoSaveImage(const VBmp&, std::u16string_view path, const ImageEncoding& encoding) {
    if (encoding.mimeType == u"image/tif") return false;
    files.AddFile(path);
    return true;
}

}  // namespace ovrix
