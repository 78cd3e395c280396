// The picture matcher: finds a picture on a captured screen, both held as
// VBmp pixel buffers. It is pure code over the two buffers; capturing the
// screen, scaling to logical coordinates and reporting are the caller's.
//
// Main invariant: every search answers exactly what a plain scan of the
// candidate top-left corners in reading order answers (rows from the top,
// each row from the left; the first candidate that matches and is not
// rejected wins). Acceptance of one candidate depends on that candidate
// alone, so the search may test a candidate's pixels in any order, skip
// candidates that cannot pass and split the rows over threads; only the
// order in which candidates win is fixed. MatchPicturePlain and
// FindAllPicturesPlain are that plain scan, kept to check the others.
//
// Two pixels match when each compared byte differs by at most the threshold
// (0 = exact, 255 = anything). Compared bytes: at 16 bits per pixel both
// bytes of a 2-byte pixel, at 8 bits the one byte, at any other depth the
// first 3 of a 4-byte pixel. When picture and screen differ in depth, both
// are read as 32-bit pixels (see ToThirtyTwoBits) and 3 bytes are compared.
//
// Bad input (no pixels, a buffer shorter than width x height x 4, sizes out
// of range, a picture larger than the screen) is never read outside its
// buffer; it simply finds nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Picture.h"
#include "platform/Screen.h"

namespace ovrix {

// The threshold for a similarity in percent: 255 - s / 100 x 255, truncated
// (95 gives 12, 100 gives 0, 0 gives 255). Above 100 the threshold is
// negative and nothing matches; it never goes below -1.
int32_t ThresholdFromPercent(int64_t similarityPercent);

// The threshold for a similarity given as a fraction: 255 - similar x 255,
// truncated toward zero (0.95 gives 12, 1 gives 0). The fraction a user
// writes is decimal, so a product that binary floating point leaves a hair
// short of a whole number counts as that whole number (0.2 gives 204).
// Kept within -1 .. 255; not a number counts as 0.
int32_t ThresholdFromFraction(double similar);

// The highest whole percent whose threshold admits a largest byte
// difference of `difference` (0 gives 100, 255 gives 0).
int32_t SimilarityForDifference(int32_t difference);

struct PictureMatch {
    bool found = false;
    // The picture's place in screen pixels when found:
    // (x, y, x + picture width, y + picture height).
    ScreenRect rect;

    // A place where the picture matched and was rejected only because it
    // overlaps the excluded rectangle (the first in reading order), when
    // nothing was found. The caller may move what covers it and search
    // again.
    std::optional<ScreenRect> hidden;

    // When nothing was found: the candidate that came closest (the one the
    // search got furthest with before its first mismatch; `hidden` when
    // there is one) and the highest whole percent at which it would have
    // matched. None when the picture fits nowhere it may be looked for.
    std::optional<Point> best;
    int32_t bestSimilarity = 0;
};

// One search of `picture` on `screen`. A candidate is rejected when it
// overlaps `excluded`; with a region, rows above the region's top are not
// scanned, the scan ends after its bottom row, and a candidate must overlap
// the region; with a start point (cx, cy) the candidate's centre
// ((left + right) / 2, (top + bottom) / 2) must come after it in reading
// order (centre y > cy, or centre y = cy and centre x > cx). Rectangles
// overlap when their intersection is not empty, so an inverted region
// finds nothing and an inverted excluded rectangle excludes nothing.
PictureMatch MatchPicture(const VBmp& screen, const VBmp& picture, int32_t threshold,
                          std::optional<ScreenRect> excluded = std::nullopt,
                          std::optional<ScreenRect> region = std::nullopt,
                          std::optional<Point> startPoint = std::nullopt);

// Every place the picture matches, in reading order, comparing 3 bytes of
// 32-bit pixels whatever the depths (both are read through
// ToThirtyTwoBits). Region as for MatchPicture. Within a row the scan goes
// on at x + picture width after a match, so matches in one row do not
// overlap; rows go on one by one. With `firstOnly` at most one rectangle.
std::vector<ScreenRect> FindAllPictures(const VBmp& screen, const VBmp& picture, int32_t threshold,
                                        std::optional<ScreenRect> region = std::nullopt,
                                        bool firstOnly = false);

// The plain scans: the same answers, found candidate by candidate.
PictureMatch MatchPicturePlain(const VBmp& screen, const VBmp& picture, int32_t threshold,
                               std::optional<ScreenRect> excluded = std::nullopt,
                               std::optional<ScreenRect> region = std::nullopt,
                               std::optional<Point> startPoint = std::nullopt);
std::vector<ScreenRect> FindAllPicturesPlain(const VBmp& screen, const VBmp& picture,
                                             int32_t threshold,
                                             std::optional<ScreenRect> region = std::nullopt,
                                             bool firstOnly = false);

// A rectangle found in physical screen pixels, in logical pixels when the
// display is scaled: left and right times logical / physical width, top and
// bottom times logical / physical height, each truncated. Unchanged when a
// size is not positive.
ScreenRect ScaleToLogical(ScreenRect physicalRect, ScreenSize physical, ScreenSize logical);

// `bmp` as a 32-bit picture (4-byte pixels, blue, green, red, then 0).
// 4-byte pixels are kept as they are. A 16-bit pixel is read as 5-6-5 red,
// green, blue (the little-endian word's top 5 bits red), each channel
// widened by repeating its top bits; an 8-bit pixel, which carries no
// palette here, as a grey level. Empty or short buffers give an empty VBmp.
VBmp ToThirtyTwoBits(const VBmp& bmp);

}  // namespace ovrix
