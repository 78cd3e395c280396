// Thresholds, scaling and the plain scans of the picture matcher. The plain
// scans follow the search as it is described, candidate by candidate and
// pixel by pixel, and are deliberately left that way: they are what the
// fast search in PictureScan.cpp is checked against.
#include "platform/PictureMatch.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/PictureGrid.h"

namespace ovrix {

int32_t ThresholdFromPercent(int64_t similarityPercent) {
    if (similarityPercent <= 0) return 255;
    if (similarityPercent > 100) return -1;
    // 255 - s / 100 x 255 in whole numbers: no rounding on the way.
    return static_cast<int32_t>(255 * (100 - similarityPercent) / 100);
}

int32_t ThresholdFromFraction(double similar) {
    if (std::isnan(similar)) similar = 0;
    double threshold = 255.0 - similar * 255.0;
    if (threshold >= 255.0) return 255;
    if (threshold <= -1.0) return -1;
    const double whole = std::round(threshold);
    if (std::fabs(threshold - whole) < 1e-6) threshold = whole;
    return static_cast<int32_t>(std::trunc(threshold));
}

int32_t SimilarityForDifference(int32_t difference) {
    for (int32_t percent = 100; percent > 0; --percent)
        if (ThresholdFromPercent(percent) >= difference) return percent;
    return 0;
}

ScreenRect ScaleToLogical(ScreenRect r, ScreenSize physical, ScreenSize logical) {
    if (physical.width <= 0 || physical.height <= 0 || logical.width <= 0 || logical.height <= 0)
        return r;
    // Whole-number products and quotients: the truncation of the exact
    // ratio, which a floating-point ratio can miss by one.
    auto scale = [](int32_t v, int32_t to, int32_t from) {
        return static_cast<int32_t>(int64_t{v} * to / from);
    };
    return {scale(r.left, logical.width, physical.width), scale(r.top, logical.height, physical.height),
            scale(r.right, logical.width, physical.width),
            scale(r.bottom, logical.height, physical.height)};
}

namespace {

bool PixelsMatch(const uint8_t* a, const uint8_t* b, int32_t compared, int32_t threshold) {
    for (int32_t i = 0; i < compared; ++i)
        if (std::abs(a[i] - b[i]) > threshold) return false;
    return true;
}

// How the plain scan tests one candidate: the top-left pixel first, then
// column by column, each column top to bottom. Returns whether it matched
// and, through `progress`, how many pixels matched before the first
// mismatch.
bool PlainCandidateMatches(const PicturePair& pair, int32_t threshold, int32_t x, int32_t y,
                           int64_t& progress) {
    const PixelGrid& s = pair.screen;
    const PixelGrid& p = pair.picture;
    progress = 0;
    if (!PixelsMatch(s.At(x, y), p.At(0, 0), pair.compared, threshold)) return false;
    for (int32_t px = 0; px < p.width; ++px) {
        for (int32_t py = 0; py < p.height; ++py) {
            if (int64_t{x} + px >= s.width || int64_t{y} + py >= s.height) return false;
            if (!PixelsMatch(s.At(x + px, y + py), p.At(px, py), pair.compared, threshold)) return false;
            ++progress;
        }
    }
    return true;
}

bool Fits(const PicturePair& pair, int32_t x, int32_t y) {
    return int64_t{x} + pair.picture.width <= pair.screen.width &&
           int64_t{y} + pair.picture.height <= pair.screen.height;
}

ScreenRect CandidateRect(const PicturePair& pair, int32_t x, int32_t y) {
    return {x, y, x + pair.picture.width, y + pair.picture.height};
}

bool AfterStartPoint(const ScreenRect& r, Point start) {
    const int64_t cx = (int64_t{r.left} + r.right) / 2, cy = (int64_t{r.top} + r.bottom) / 2;
    return cy > start.y || (cy == start.y && cx > start.x);
}

}  // namespace

PictureMatch MatchPicturePlain(const VBmp& screen, const VBmp& picture, int32_t threshold,
                               std::optional<ScreenRect> excluded, std::optional<ScreenRect> region,
                               std::optional<Point> startPoint) {
    PictureMatch result;
    PicturePair pair;
    if (!pair.Prepare(screen, picture, false)) return result;
    threshold = std::clamp(threshold, -1, 255);

    int64_t bestProgress = -1;
    for (int32_t y = region ? std::max(0, region->top) : 0; y < pair.screen.height; ++y) {
        if (region && y > region->bottom) break;
        for (int32_t x = 0; x < pair.screen.width; ++x) {
            int64_t progress = 0;
            const bool matched = PlainCandidateMatches(pair, threshold, x, y, progress);
            // Region and start point decide whether a candidate could have
            // been the answer, and so whether it may be named as the best.
            bool eligible = Fits(pair, x, y);
            if (eligible) {
                const ScreenRect rect = CandidateRect(pair, x, y);
                eligible = (!region || RectsOverlap(rect, *region)) &&
                           (!startPoint || AfterStartPoint(rect, *startPoint));
            }
            if (!matched) {
                if (eligible && progress > bestProgress) {
                    bestProgress = progress;
                    result.best = Point{x, y};
                }
                continue;
            }
            const ScreenRect rect = CandidateRect(pair, x, y);
            if (excluded && RectsOverlap(rect, *excluded)) {
                if (eligible && !result.hidden) result.hidden = rect;
                continue;
            }
            if (region && !RectsOverlap(rect, *region)) continue;
            if (startPoint && !AfterStartPoint(rect, *startPoint)) continue;
            return {true, rect, std::nullopt, std::nullopt, 0};
        }
    }
    if (result.hidden) result.best = Point{result.hidden->left, result.hidden->top};
    if (result.best)
        result.bestSimilarity = SimilarityForDifference(LargestDifference(pair, result.best->x, result.best->y));
    return result;
}

std::vector<ScreenRect> FindAllPicturesPlain(const VBmp& screen, const VBmp& picture, int32_t threshold,
                                             std::optional<ScreenRect> region, bool firstOnly) {
    std::vector<ScreenRect> found;
    PicturePair pair;
    if (!pair.Prepare(screen, picture, true)) return found;
    threshold = std::clamp(threshold, -1, 255);

    for (int32_t y = region ? std::max(0, region->top) : 0; y < pair.screen.height; ++y) {
        if (region && y > region->bottom) break;
        for (int32_t x = 0; x < pair.screen.width;) {
            int64_t progress = 0;
            if (PlainCandidateMatches(pair, threshold, x, y, progress)) {
                const ScreenRect rect = CandidateRect(pair, x, y);
                if (!region || RectsOverlap(rect, *region)) {
                    found.push_back(rect);
                    if (firstOnly) return found;
                    x += pair.picture.width;
                    continue;
                }
            }
            ++x;
        }
    }
    return found;
}

}  // namespace ovrix
