// The image files of the simulated desktop and of the tools that describe
// it: PNG, BMP, JPEG and GIF read from files and memory into 32-bit
// pictures, and PNG, BMP and JPEG written, through the image library the
// build machine's distribution packages (the Windows desktop uses its own).
//
// Every file is untrusted. A bitmap file must hold the whole pixel array
// its header promises (a truncated or lying one is no image, rather than a
// picture padded with black), and no picture larger than kMaxPicturePixels
// is made.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "platform/ImageFiles.h"
#include "platform/Picture.h"

namespace ovrix {

std::optional<VBmp> DecodePicture(std::span<const uint8_t> bytes);
std::optional<VBmp> DecodePictureFile(std::u16string_view path);

// The file's bytes for the encoding; nullopt when the library has no
// encoder of that type (GIF, TIFF) or the picture has no 4-byte pixels.
std::optional<std::vector<uint8_t>> EncodePicture(const VBmp& picture, const ImageEncoding& encoding);

}  // namespace ovrix
