// Making and cutting pictures: a blank picture, copying one into another,
// and the part of a picture inside a rectangle. Pure operations on VBmp
// (Picture.h), shared by the image values and both desktops' captures.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Picture.h"
#include "platform/Screen.h"

namespace ovrix {

// The largest picture made or read: 2^28 bytes of pixels (an 8192 x 8192
// screen), so a size read from a file or a script never asks for more.
inline constexpr uint64_t kMaxPicturePixels = uint64_t{1} << 26;
bool PictureSizeAllowed(int64_t width, int64_t height);

// A 32-bit picture whose every pixel is `fill` (blue in the lowest byte);
// nullopt for a size of 0 or below, or past kMaxPicturePixels.
std::optional<VBmp> BlankPicture(int64_t width, int64_t height, uint32_t fill);

// Copies all of `source` into `target` with its top-left corner at (x, y),
// only when it fits whole and both pictures have the same pixel size;
// false (nothing copied) otherwise.
bool CopyPicture(VBmp& target, int64_t x, int64_t y, const VBmp& source);

// The part of the picture inside the rectangle, clipped to the picture;
// nullopt when nothing of the rectangle lies on it.
std::optional<VBmp> SubPicture(const VBmp& picture, const ScreenRect& rect);

// The rectangle's part that lies on a width x height area at (0, 0); empty
// (right <= left or bottom <= top) when none does.
ScreenRect ClipRect(const ScreenRect& rect, int32_t width, int32_t height);

}  // namespace ovrix
