#include "platform/ImageFiles.h"

#include <string>

#include "platform/PictureEdit.h"

#include "platform/Trace.h"

namespace ovrix {

namespace {

bool SameLetters(std::u16string_view a, std::u16string_view lower) {
    if (a.size() != lower.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char16_t c = a[i] >= u'A' && a[i] <= u'Z' ? static_cast<char16_t>(a[i] - u'A' + u'a') : a[i];
        if (c != lower[i]) return false;
    }
    return true;
}

std::string Ascii(std::u16string_view text) { return std::string(text.begin(), text.end()); }

uint32_t Le16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

constexpr size_t kFileHeaderSize = 14;

}  // namespace

bool BitmapFileHoldsItsPixels(std::span<const uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') return true;
    if (bytes.size() < kFileHeaderSize + 4) return false;
    const uint8_t* p = bytes.data();
    const uint32_t offset = Le32(p + 10);
    const uint32_t infoSize = Le32(p + 14);
    int64_t width = 0, height = 0;
    uint32_t bitCount = 0, compression = 0;
    if (infoSize == 12) {  // the oldest header: 16-bit sizes
        if (bytes.size() < kFileHeaderSize + 12) return false;
        width = Le16(p + 18);
        height = Le16(p + 20);
        bitCount = Le16(p + 24);
    } else {
        if (infoSize < 40 || bytes.size() < kFileHeaderSize + 40) return false;
        width = static_cast<int32_t>(Le32(p + 18));
        height = static_cast<int32_t>(Le32(p + 22));  // below 0: rows top to bottom
        bitCount = Le16(p + 28);
        compression = Le32(p + 30);
    }
    if (height < 0) height = -height;
    if (!PictureSizeAllowed(width, height)) return false;
    // Compressed pixels have no size to check; the library reads none of them.
    constexpr uint32_t kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields) return true;
    if (bitCount == 0 || bitCount > 32) return false;
    const uint64_t rowBytes = (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4;
    return offset >= kFileHeaderSize + infoSize && uint64_t{offset} + rowBytes * static_cast<uint64_t>(height) <= bytes.size();
}

ImageEncoding EncodingForFile(std::u16string_view path) {
    const size_t nameStart = path.find_last_of(u"\\/");
    const std::u16string_view name = nameStart == std::u16string_view::npos ? path : path.substr(nameStart + 1);
    const size_t dot = name.rfind(u'.');
    const std::u16string_view extension = dot == std::u16string_view::npos ? std::u16string_view{} : name.substr(dot + 1);
    if (SameLetters(extension, u"png")) return {u"image/png", true};
    // The installed TIFF encoder calls itself "image/tiff", so this finds
    // none and nothing is written: the player has always behaved so.
    if (SameLetters(extension, u"tif")) return {u"image/tif", true};
    if (SameLetters(extension, u"jpg") || SameLetters(extension, u"jpeg")) return {u"image/jpeg", false};
    if (SameLetters(extension, u"gif")) return {u"image/gif", false};
    return {u"image/bmp", false};
}

bool ImageFiles::SaveImage(const VBmp& picture, std::u16string_view path) {
    if (picture.Empty()) return false;
    const ImageEncoding encoding = EncodingForFile(path);
    TraceEvent("image-save", JsonString(path) + " " + Ascii(encoding.mimeType) + " " + std::to_string(picture.width) +
                                 " " + std::to_string(picture.height));
    return DoSaveImage(picture, path, encoding);
}

}  // namespace ovrix
