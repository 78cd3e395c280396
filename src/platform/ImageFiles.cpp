#include "platform/ImageFiles.h"

#include <string>

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

}  // namespace

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
