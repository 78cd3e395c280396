// The picture matcher's common ground (used by PictureMatch.cpp and
// PictureScan.cpp, and by the tests; not meant for callers): a screen and a
// picture made ready for comparison under the depth rules, the rules that
// say which candidate corners may be accepted at all, and the fast search
// with its use of threads chosen.
//
// A PicturePair is only ever made from intact buffers, so every pixel of
// either grid can be read without further checks.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Picture.h"
#include "platform/PictureMatch.h"
#include "platform/Screen.h"

namespace ovrix {

// Pixels read in place: `bytes` per pixel, rows without padding.
struct PixelGrid {
    const uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t bytes = 4;

    const uint8_t* At(int32_t x, int32_t y) const {
        return pixels + (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) *
                            static_cast<size_t>(bytes);
    }
};

// A screen and a picture ready to compare. Holds the 32-bit copies when the
// depth rules ask for them, so it is not copied.
class PicturePair {
public:
    // False when either buffer is not intact. `thirtyTwoBits` reads both as
    // 32-bit pixels whatever their depths (the rule of FindAllPictures).
    bool Prepare(const VBmp& screen, const VBmp& picture, bool thirtyTwoBits);

    PixelGrid screen;
    PixelGrid picture;
    int32_t compared = 3;  // bytes compared per pixel, from the first

private:
    VBmp screenCopy_;
    VBmp pictureCopy_;
};

// True when the buffer holds width x height x 4 bytes or more and the
// picture is not empty.
bool PictureIntact(const VBmp& bmp);

// The largest difference of a compared byte between the picture and the
// screen under it with its top-left corner at (x, y), which must fit.
int32_t LargestDifference(const PicturePair& pair, int32_t x, int32_t y);

// Non-empty intersection, as the desktop's rectangles have it.
bool RectsOverlap(const ScreenRect& a, const ScreenRect& b);

// Where a search may accept a candidate, apart from the excluded rectangle:
// the rows to scan and, per row, the columns whose candidates fit on the
// screen, overlap the region and lie after the start point.
class CandidateArea {
public:
    CandidateArea(const PicturePair& pair, std::optional<ScreenRect> region,
                  std::optional<Point> startPoint);

    int32_t FirstRow() const { return firstRow_; }
    int32_t EndRow() const { return endRow_; }  // just past the last row
    // Columns [begin, end) of row y; empty when begin >= end.
    int32_t RowBegin(int32_t y) const { return y == startRow_ ? startRowBegin_ : begin_; }
    int32_t RowEnd() const { return end_; }
    bool Empty() const;
    // How many candidates there are, about (the start row counted whole).
    int64_t Count() const { return int64_t{endRow_ - firstRow_} * (end_ - begin_); }
    // The first candidate in reading order, if any.
    std::optional<Point> First() const;

private:
    int32_t firstRow_ = 0, endRow_ = 0;
    int32_t begin_ = 0, end_ = 0;
    int32_t startRow_ = -1, startRowBegin_ = 0;
};

// How the fast search spreads over threads: up to `helpers` more threads
// join a search whose rows left look like taking `helpWhenLeft` or more (0:
// from the start). The answers do not depend on it.
struct SearchPace {
    int32_t helpers = 0;
    std::chrono::microseconds helpWhenLeft{0};
};
SearchPace DefaultSearchPace();

PictureMatch MatchPicturePaced(const SearchPace& pace, const VBmp& screen, const VBmp& picture, int32_t threshold,
                               std::optional<ScreenRect> excluded, std::optional<ScreenRect> region,
                               std::optional<Point> startPoint);
std::vector<ScreenRect> FindAllPicturesPaced(const SearchPace& pace, const VBmp& screen, const VBmp& picture,
                                             int32_t threshold, std::optional<ScreenRect> region, bool firstOnly);

}  // namespace ovrix
