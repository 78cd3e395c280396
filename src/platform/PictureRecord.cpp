#include "platform/PictureRecord.h"

#include <limits>

#include "container/Tags.h"
#include "platform/ImageFiles.h"

namespace ovrix {

namespace {

constexpr uint32_t kWidth = MakeTag("W");
constexpr uint32_t kHeight = MakeTag("H");
constexpr uint32_t kBitsPerPixel = MakeTag("BP");
constexpr uint32_t kPixels = MakeTag("PIX");
static_assert(kWidth == 0x57 && kHeight == 0x48 && kBitsPerPixel == 0x4250 && kPixels == 0x504958);

constexpr uint32_t kLargestSide = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());

}  // namespace

std::optional<VBmp> ReadPictureRecord(Region data) {
    VBmp picture;
    const uint32_t width = ReadU32(data, kWidth, 0);
    const uint32_t height = ReadU32(data, kHeight, 0);
    picture.bitsPerPixel = ReadU32(data, kBitsPerPixel, 0);
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide || picture.bitsPerPixel == 0) {
        return std::nullopt;
    }
    const std::optional<Region> pixels = FindRecord(data, kPixels);
    if (!pixels || uint64_t{pixels->size} != uint64_t{width} * height * 4) return std::nullopt;
    picture.width = static_cast<int32_t>(width);
    picture.height = static_cast<int32_t>(height);
    picture.pixels.assign(pixels->base, pixels->base + pixels->size);
    return picture;
}

void WritePictureRecord(RecordBuffer& buffer, const VBmp& picture) {
    if (picture.bitsPerPixel == 0) return;
    WriteU32(buffer, kWidth, static_cast<uint32_t>(picture.width));
    WriteU32(buffer, kHeight, static_cast<uint32_t>(picture.height));
    WriteU32(buffer, kBitsPerPixel, picture.bitsPerPixel);
    WriteRecord(buffer, kPixels, picture.pixels.data(), static_cast<uint32_t>(picture.pixels.size()));
}

std::optional<VBmp> ReadStoredPicture(std::span<const uint8_t> bytes, bool bitmapFile, ImageFiles& files) {
    if (bytes.empty()) return std::nullopt;
    if (bitmapFile) return files.DecodeImage(bytes);
    if (bytes.size() > std::numeric_limits<uint32_t>::max()) return std::nullopt;
    return ReadPictureRecord(Region{bytes.data(), static_cast<uint32_t>(bytes.size())});
}

}  // namespace ovrix
