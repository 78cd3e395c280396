// Image files: reading a picture from a file or from a file's bytes in
// memory, and writing one to a file in the format its extension names.
// Pictures read are always 32 bits per pixel, blue, green, red and alpha.
//
// Writing is traced as
//   image-save "<path>" <mime type> <width> <height>
// with the encoder the extension chose; the real desktop writes the file, the
// simulated one only says so.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/Facet.h"
#include "platform/Picture.h"

namespace ovrix {

// The encoder a file name asks for: looked up among the installed encoders
// by its MIME type text, and whether it gets the picture's four bytes per
// pixel (PNG, TIFF) or a copy cut down to three (every other format).
struct ImageEncoding {
    std::u16string_view mimeType;
    bool withAlpha = false;
};

// By the text after the file name's last "." (case aside): png, tif, bmp,
// jpg and jpeg, gif; anything else, and no extension, writes a bitmap file.
ImageEncoding EncodingForFile(std::u16string_view path);

// False for the bytes of a bitmap file that do not hold the whole pixel
// array its header promises, or whose header is cut short; true for any
// other bytes. Image libraries read such a file as a picture padded with
// black; both desktops refuse it before their library sees it.
bool BitmapFileHoldsItsPixels(std::span<const uint8_t> bytes);

class ImageFiles : public TracedFacet {
public:
    // Traced. False when the picture is empty, no encoder has the type, or
    // the file could not be written (a failed write leaves no file).
    bool SaveImage(const VBmp& picture, std::u16string_view path);

    // Any format the platform's image library reads; nullopt when the file
    // cannot be read or is not an image.
    virtual std::optional<VBmp> LoadImage(std::u16string_view path) = 0;
    // The same for the bytes of an image file held in memory.
    virtual std::optional<VBmp> DecodeImage(std::span<const uint8_t> bytes) = 0;

protected:
    virtual bool DoSaveImage(const VBmp& picture, std::u16string_view path, const ImageEncoding& encoding) = 0;
};

}  // namespace ovrix
