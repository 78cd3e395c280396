#include "platform/PictureEdit.h"

#include <algorithm>
#include <cstring>

namespace ovrix {

bool PictureSizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= static_cast<int64_t>(kMaxPicturePixels) &&
           height <= static_cast<int64_t>(kMaxPicturePixels) &&
           static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= kMaxPicturePixels;
}

std::optional<VBmp> BlankPicture(int64_t width, int64_t height, uint32_t fill) {
    if (!PictureSizeAllowed(width, height)) return std::nullopt;
    VBmp picture;
    picture.width = static_cast<int32_t>(width);
    picture.height = static_cast<int32_t>(height);
    picture.bitsPerPixel = 32;
    picture.pixels.resize(static_cast<size_t>(width * height * 4));
    const uint8_t bytes[4] = {static_cast<uint8_t>(fill), static_cast<uint8_t>(fill >> 8),
                              static_cast<uint8_t>(fill >> 16), static_cast<uint8_t>(fill >> 24)};
    for (size_t i = 0; i < picture.pixels.size(); i += 4) std::memcpy(&picture.pixels[i], bytes, 4);
    return picture;
}

namespace {

// Whole pictures only: a buffer that does not hold its size is not copied from.
bool Whole(const VBmp& picture) {
    return !picture.Empty() &&
           picture.pixels.size() == static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) * 4;
}

}  // namespace

bool CopyPicture(VBmp& target, int64_t x, int64_t y, const VBmp& source) {
    if (!Whole(target) || !Whole(source) || target.PixelBytes() != source.PixelBytes()) return false;
    if (x < 0 || y < 0 || x + source.width > target.width || y + source.height > target.height) return false;
    const size_t pixel = target.PixelBytes();
    const size_t rowBytes = static_cast<size_t>(source.width) * pixel;
    for (int32_t row = 0; row < source.height; ++row) {
        const size_t from = static_cast<size_t>(row) * source.width * pixel;
        const size_t to = (static_cast<size_t>(y + row) * target.width + static_cast<size_t>(x)) * pixel;
        std::memcpy(&target.pixels[to], &source.pixels[from], rowBytes);
    }
    return true;
}

ScreenRect ClipRect(const ScreenRect& rect, int32_t width, int32_t height) {
    return {std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width), std::min(rect.bottom, height)};
}

std::optional<VBmp> SubPicture(const VBmp& picture, const ScreenRect& rect) {
    if (!Whole(picture)) return std::nullopt;
    const ScreenRect part = ClipRect(rect, picture.width, picture.height);
    if (part.right <= part.left || part.bottom <= part.top) return std::nullopt;
    VBmp cut;
    cut.width = part.Width();
    cut.height = part.Height();
    cut.bitsPerPixel = picture.bitsPerPixel;
    const size_t pixel = picture.PixelBytes();
    cut.pixels.resize(static_cast<size_t>(cut.width) * cut.height * 4);
    for (int32_t row = 0; row < cut.height; ++row) {
        const size_t from = (static_cast<size_t>(part.top + row) * picture.width + part.left) * pixel;
        std::memcpy(&cut.pixels[static_cast<size_t>(row) * cut.width * pixel], &picture.pixels[from],
                    static_cast<size_t>(cut.width) * pixel);
    }
    return cut;
}

}  // namespace ovrix
