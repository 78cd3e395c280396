// A picture in memory, as the screen gives it and the picture search and the
// image values hold it: its pixels in the layout of the display they came
// from, rows top to bottom.
//
// The buffer always holds width x height x 4 bytes. A pixel takes
// PixelBytes() of them, at (y x width + x) x PixelBytes(): at 24 and 32 bits
// per pixel four bytes, blue, green and red first (the fourth is not
// compared); at 16 bits two bytes; at 8 bits one. Bits per pixel 0 means no
// picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ovrix {

struct VBmp {
    std::vector<uint8_t> pixels;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t bitsPerPixel = 0;

    bool Empty() const { return bitsPerPixel == 0 || width <= 0 || height <= 0; }
    size_t PixelBytes() const { return bitsPerPixel == 16 ? 2 : bitsPerPixel == 8 ? 1 : 4; }
    bool operator==(const VBmp&) const = default;
};

}  // namespace ovrix
