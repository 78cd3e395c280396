// Depth rules, 32-bit reading and the candidate area of the picture matcher.
#include "platform/PictureGrid.h"

#include <algorithm>
#include <cstdlib>

#include "platform/PictureMatch.h"

namespace ovrix {

bool PictureIntact(const VBmp& bmp) {
    if (bmp.Empty()) return false;
    // width x height x 4 <= size, asked without a product that could wrap.
    const uint64_t quads = bmp.pixels.size() / 4;
    return static_cast<uint64_t>(bmp.width) <= quads / static_cast<uint64_t>(bmp.height);
}

namespace {

void PutThirtyTwo(uint8_t* out, uint8_t blue, uint8_t green, uint8_t red) {
    out[0] = blue;
    out[1] = green;
    out[2] = red;
    out[3] = 0;
}

}  // namespace

VBmp ToThirtyTwoBits(const VBmp& bmp) {
    VBmp out;
    if (!PictureIntact(bmp)) return out;
    const size_t count = static_cast<size_t>(bmp.width) * static_cast<size_t>(bmp.height);
    out.width = bmp.width;
    out.height = bmp.height;
    out.bitsPerPixel = 32;
    if (bmp.PixelBytes() == 4) {
        out.pixels.assign(bmp.pixels.begin(), bmp.pixels.begin() + static_cast<ptrdiff_t>(count * 4));
        return out;
    }
    out.pixels.resize(count * 4);
    const uint8_t* in = bmp.pixels.data();
    uint8_t* to = out.pixels.data();
    if (bmp.PixelBytes() == 2) {
        for (size_t i = 0; i < count; ++i) {
            const unsigned word = in[2 * i] | (in[2 * i + 1] << 8);
            const unsigned red = (word >> 11) & 31, green = (word >> 5) & 63, blue = word & 31;
            PutThirtyTwo(to + 4 * i, static_cast<uint8_t>((blue << 3) | (blue >> 2)),
                         static_cast<uint8_t>((green << 2) | (green >> 4)),
                         static_cast<uint8_t>((red << 3) | (red >> 2)));
        }
    } else {
        for (size_t i = 0; i < count; ++i) PutThirtyTwo(to + 4 * i, in[i], in[i], in[i]);
    }
    return out;
}

bool PicturePair::Prepare(const VBmp& screenBmp, const VBmp& pictureBmp, bool thirtyTwoBits) {
    if (!PictureIntact(screenBmp) || !PictureIntact(pictureBmp)) return false;
    const VBmp* s = &screenBmp;
    const VBmp* p = &pictureBmp;
    if (thirtyTwoBits || screenBmp.bitsPerPixel != pictureBmp.bitsPerPixel) {
        // Pictures of 4-byte pixels already are 32-bit pictures: read in place.
        if (s->PixelBytes() != 4) s = &(screenCopy_ = ToThirtyTwoBits(*s));
        if (p->PixelBytes() != 4) p = &(pictureCopy_ = ToThirtyTwoBits(*p));
        compared = 3;
    } else {
        compared = s->PixelBytes() == 4 ? 3 : static_cast<int32_t>(s->PixelBytes());
    }
    screen = {s->pixels.data(), s->width, s->height, static_cast<int32_t>(s->PixelBytes())};
    picture = {p->pixels.data(), p->width, p->height, static_cast<int32_t>(p->PixelBytes())};
    return true;
}

int32_t LargestDifference(const PicturePair& pair, int32_t x, int32_t y) {
    int32_t largest = 0;
    for (int32_t py = 0; py < pair.picture.height; ++py) {
        const uint8_t* s = pair.screen.At(x, y + py);
        const uint8_t* p = pair.picture.At(0, py);
        for (int32_t px = 0; px < pair.picture.width; ++px) {
            for (int32_t b = 0; b < pair.compared; ++b) largest = std::max(largest, std::abs(s[b] - p[b]));
            s += pair.screen.bytes;
            p += pair.picture.bytes;
        }
    }
    return largest;
}

bool RectsOverlap(const ScreenRect& a, const ScreenRect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

namespace {

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

CandidateArea::CandidateArea(const PicturePair& pair, std::optional<ScreenRect> region,
                             std::optional<Point> startPoint) {
    const int64_t w = pair.picture.width, h = pair.picture.height;
    // Candidates that would reach past the right or bottom edge fail.
    int64_t firstRow = 0, endRow = int64_t{pair.screen.height} - h + 1;
    int64_t begin = 0, end = int64_t{pair.screen.width} - w + 1;
    if (region) {
        // Rows above the top are not scanned; below them, a candidate must
        // overlap the region: start above its bottom, and reach into it
        // from the left without starting past its right.
        firstRow = std::max<int64_t>(firstRow, region->top);
        endRow = std::min<int64_t>(endRow, region->bottom);
        begin = std::max<int64_t>(begin, int64_t{region->left} - w + 1);
        end = std::min<int64_t>(end, region->right);
        if (region->left >= region->right) end = begin;
    }
    int64_t startRow = -1, startRowBegin = begin;
    if (startPoint) {
        // The centre of a candidate at (x, y) is (x + w / 2, y + h / 2).
        const int64_t row = int64_t{startPoint->y} - h / 2;
        if (row >= firstRow) {
            startRow = row;
            startRowBegin = std::max<int64_t>(begin, int64_t{startPoint->x} - w / 2 + 1);
            firstRow = row;
        }
    }
    firstRow_ = Clamp32(firstRow);
    endRow_ = Clamp32(std::max(endRow, firstRow));
    begin_ = Clamp32(begin);
    end_ = Clamp32(std::max(end, begin));
    startRow_ = Clamp32(startRow);
    startRowBegin_ = Clamp32(std::min(startRowBegin, std::max(end, begin)));
}

std::optional<Point> CandidateArea::First() const {
    for (int32_t y = firstRow_; y < endRow_ && y <= firstRow_ + 1; ++y)
        if (RowBegin(y) < end_) return Point{RowBegin(y), y};
    return std::nullopt;
}

bool CandidateArea::Empty() const { return !First().has_value(); }

}  // namespace ovrix
