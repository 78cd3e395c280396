// The fast picture search. It answers exactly what the plain scan answers
// (see PictureMatch.h) and gets there by three liberties the plain scan's
// answer does not depend on:
//
// - Candidates are filtered by "anchors": picture pixels that every
//   candidate of a block of 16 bytes is tested against at once. The first
//   anchor is the picture's top-left pixel; a pixel that keeps rejecting the
//   candidates the anchors let through becomes an anchor itself, and the one
//   the quiet stretches are skipped with.
// - The candidates the anchors let through are compared pixel by pixel,
//   starting with the pixel that rejected the last one (a candidate that
//   fails does so wherever it is looked at first).
// - Rows are searched in chunks, the chunks over threads; the first chunk
//   in reading order that holds a match gives the answer. Each chunk starts
//   from the same state, so what a chunk reports (and the closest miss) does
//   not depend on how many threads there were.
#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <climits>
#include <thread>

#include "platform/PictureGrid.h"
#include "platform/PictureMatch.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__SSE2__) && defined(__x86_64__) && defined(__GNUC__)
// Quiet stretches are skipped 32 bytes at a time where the processor can.
#define OVRIX_PICTURE_AVX2 1
#include <immintrin.h>
#endif

namespace ovrix {
namespace {

constexpr int32_t kChunkRows = 64;
constexpr size_t kMaxAnchors = 4;
// Candidates rejected one after another by the same pixel before that pixel
// becomes an anchor.
constexpr int32_t kPromoteAfter = 32;
constexpr int32_t kStop = INT32_MAX;

// Per picture pixel, the screen bytes it admits and where it lies from a
// candidate's corner. A byte v is admitted when (v - low) mod 256 <= span;
// bytes not compared admit everything.
struct PictureBounds {
    PictureBounds(const PicturePair& pair, int32_t threshold) {
        const PixelGrid& p = pair.picture;
        const size_t count = static_cast<size_t>(p.width) * static_cast<size_t>(p.height);
        low.resize(count * static_cast<size_t>(p.bytes));
        span.resize(low.size());
        offset.resize(count);
        columnOrder.reserve(count);
        for (int32_t py = 0; py < p.height; ++py) {
            for (int32_t px = 0; px < p.width; ++px) {
                const size_t k = static_cast<size_t>(py) * static_cast<size_t>(p.width) + static_cast<size_t>(px);
                offset[k] = static_cast<size_t>(pair.screen.At(px, py) - pair.screen.At(0, 0));
                const uint8_t* pixel = p.At(px, py);
                for (int32_t b = 0; b < p.bytes; ++b) {
                    const size_t i = k * static_cast<size_t>(p.bytes) + static_cast<size_t>(b);
                    const int32_t lo = b < pair.compared ? std::max(0, pixel[b] - threshold) : 0;
                    const int32_t hi = b < pair.compared ? std::min(255, pixel[b] + threshold) : 255;
                    low[i] = static_cast<uint8_t>(lo);
                    span[i] = static_cast<uint8_t>(hi - lo);
                }
            }
        }
        for (int32_t px = 0; px < p.width; ++px)
            for (int32_t py = 0; py < p.height; ++py) columnOrder.push_back(py * p.width + px);
    }

    std::vector<uint8_t> low, span;
    std::vector<size_t> offset;
    std::vector<int32_t> columnOrder;
};

inline int32_t LowestBit(uint32_t mask) { return std::countr_zero(mask); }

// One anchor: a picture pixel with its bounds repeated across 16 bytes.
struct Anchor {
    int32_t pixel = 0;
    size_t offset = 0;
    uint8_t low[16];
    uint8_t span[16];
};

// Searches candidate rows for pixel-exact matches. One per chunk.
template <int P>
class RowScanner {
public:
    static constexpr int32_t kLanes = 16 / P;  // candidates per block

    RowScanner(const PicturePair& pair, const PictureBounds& bounds)
        : screen_(pair.screen), bounds_(bounds), order_(bounds.columnOrder) {
        AddAnchor(0);
    }

    // Calls onMatch(x) for each candidate in [x, end) of row y whose pixels
    // all match, left to right; onMatch answers the column to go on from
    // (kStop to end the row).
    template <class OnMatch>
    void ScanRow(int32_t y, int32_t x, int32_t end, OnMatch&& onMatch) {
        const uint8_t* corner = screen_.At(0, y);
        while (x < end) {
            uint32_t mask;
            int32_t blockEnd;
            if (end - x >= kLanes) {
                x = SkipQuiet(corner, x, end - kLanes);
                if (x > end - kLanes) continue;
                mask = BlockMask(corner, x);
                blockEnd = x + kLanes;
            } else {
                mask = ScalarMask(corner, x, end - x);
                blockEnd = end;
            }
            int32_t next = blockEnd;
            while (mask != 0) {
                const int32_t cx = x + LowestBit(mask);
                mask &= mask - 1;
                if (!Verify(corner + static_cast<size_t>(cx) * P, cx, y)) continue;
                const int32_t resume = onMatch(cx);
                if (resume >= blockEnd) {
                    next = resume;
                    break;
                }
                mask &= ~((1u << (resume - x)) - 1);
            }
            x = next;
        }
    }

    // The candidate the scan got furthest with before a mismatch, and how
    // far; -1 when no candidate passed the anchors.
    int64_t bestProgress = -1;
    Point best;

private:
    bool Admits(const uint8_t* s, int32_t pixel) const {
        const uint8_t* low = &bounds_.low[static_cast<size_t>(pixel) * P];
        const uint8_t* span = &bounds_.span[static_cast<size_t>(pixel) * P];
        bool in = true;
        for (int32_t b = 0; b < P; ++b) in &= static_cast<uint8_t>(s[b] - low[b]) <= span[b];
        return in;
    }

    void AddAnchor(int32_t pixel) {
        Anchor a;
        a.pixel = pixel;
        a.offset = bounds_.offset[static_cast<size_t>(pixel)];
        for (int32_t i = 0; i < 16; ++i) {
            a.low[i] = bounds_.low[static_cast<size_t>(pixel) * P + static_cast<size_t>(i % P)];
            a.span[i] = bounds_.span[static_cast<size_t>(pixel) * P + static_cast<size_t>(i % P)];
        }
        // The newest anchor rejected what the others let through: it leads.
        anchors_.insert(anchors_.begin(), a);
    }

    // Compares all the candidate's pixels, the one that rejected the last
    // candidate first. The anchors' pixels are among them: a block's mask
    // may predate the newest anchor.
    bool Verify(const uint8_t* candidate, int32_t x, int32_t y) {
        const size_t count = order_.size();
        for (size_t i = 0; i < count; ++i) {
            const int32_t pixel = order_[i];
            if (Admits(candidate + bounds_.offset[static_cast<size_t>(pixel)], pixel)) continue;
            const int64_t progress = static_cast<int64_t>(anchors_.size() + i);
            if (progress > bestProgress) {
                bestProgress = progress;
                best = {x, y};
            }
            Rejected(i);
            return false;
        }
        return true;
    }

    void Rejected(size_t at) {
        if (at > 0) {
            std::rotate(order_.begin(), order_.begin() + static_cast<ptrdiff_t>(at),
                        order_.begin() + static_cast<ptrdiff_t>(at) + 1);
            streak_ = 1;
            return;
        }
        if (++streak_ < kPromoteAfter || anchors_.size() >= kMaxAnchors) return;
        const int32_t pixel = order_[0];
        for (const Anchor& a : anchors_)
            if (a.pixel == pixel) return;
        AddAnchor(pixel);
        streak_ = 0;
    }

    uint32_t ScalarMask(const uint8_t* corner, int32_t x, int32_t count) const {
        uint32_t mask = 0;
        for (int32_t j = 0; j < count; ++j) {
            const uint8_t* c = corner + static_cast<size_t>(x + j) * P;
            bool in = true;
            for (const Anchor& a : anchors_) {
                if (!Admits(c + a.offset, a.pixel)) {
                    in = false;
                    break;
                }
            }
            if (in) mask |= 1u << j;
        }
        return mask;
    }

#if defined(__SSE2__)
    // Per candidate of the block at x, whether the anchor admits it: the
    // block's bytes all within bounds, pixel by pixel.
    static __m128i Inside(const uint8_t* corner, int32_t x, const Anchor& a) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(corner + a.offset + static_cast<size_t>(x) * P));
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a.low));
        const __m128i span = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a.span));
        const __m128i out = _mm_subs_epu8(_mm_sub_epi8(s, low), span);
        const __m128i zero = _mm_setzero_si128();
        if constexpr (P == 4) return _mm_cmpeq_epi32(out, zero);
        if constexpr (P == 2) return _mm_cmpeq_epi16(out, zero);
        return _mm_cmpeq_epi8(out, zero);
    }

    static uint32_t Bits(__m128i inside) {
        if constexpr (P == 4) return static_cast<uint32_t>(_mm_movemask_ps(_mm_castsi128_ps(inside)));
        if constexpr (P == 2) return static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(inside, _mm_setzero_si128())));
        return static_cast<uint32_t>(_mm_movemask_epi8(inside));
    }

    uint32_t BlockMask(const uint8_t* corner, int32_t x) const {
        uint32_t mask = kAll;
        for (const Anchor& a : anchors_) {
            mask &= Bits(Inside(corner, x, a));
            if (mask == 0) break;
        }
        return mask;
    }

    // The first block start from x (up to last) that the leading anchor
    // lets any candidate through, or a start past last.
    int32_t SkipQuiet(const uint8_t* corner, int32_t x, int32_t last) const {
        const Anchor& a = anchors_.front();
#if defined(OVRIX_PICTURE_AVX2)
        static const bool wide = __builtin_cpu_supports("avx2");
        if (wide) x = SkipQuietWide(corner + a.offset, a, x, last);
#endif
        for (; x + 3 * kLanes <= last; x += 4 * kLanes) {
            const __m128i any = _mm_or_si128(
                _mm_or_si128(Inside(corner, x, a), Inside(corner, x + kLanes, a)),
                _mm_or_si128(Inside(corner, x + 2 * kLanes, a), Inside(corner, x + 3 * kLanes, a)));
            if (_mm_movemask_epi8(any) != 0) break;
        }
        for (; x <= last; x += kLanes)
            if (_mm_movemask_epi8(Inside(corner, x, a)) != 0) break;
        return x;
    }
#if defined(OVRIX_PICTURE_AVX2)
    __attribute__((target("avx2"))) static __m256i InsideWide(const uint8_t* at, __m256i low, __m256i span) {
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
        const __m256i out = _mm256_subs_epu8(_mm256_sub_epi8(s, low), span);
        if constexpr (P == 4) return _mm256_cmpeq_epi32(out, _mm256_setzero_si256());
        if constexpr (P == 2) return _mm256_cmpeq_epi16(out, _mm256_setzero_si256());
        return _mm256_cmpeq_epi8(out, _mm256_setzero_si256());
    }

    // SkipQuiet's loop, four blocks of 16 bytes twice over per round.
    __attribute__((target("avx2"))) static int32_t SkipQuietWide(const uint8_t* base, const Anchor& a, int32_t x,
                                                               int32_t last) {
        const __m256i low = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a.low)));
        const __m256i span = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a.span)));
        for (; x + 7 * kLanes <= last; x += 8 * kLanes) {
            const uint8_t* at = base + static_cast<size_t>(x) * P;
            const __m256i any = _mm256_or_si256(_mm256_or_si256(InsideWide(at, low, span), InsideWide(at + 32, low, span)),
                                                _mm256_or_si256(InsideWide(at + 64, low, span), InsideWide(at + 96, low, span)));
            if (_mm256_movemask_epi8(any) != 0) break;
        }
        return x;
    }
#endif
#else
    uint32_t BlockMask(const uint8_t* corner, int32_t x) const { return ScalarMask(corner, x, kLanes); }

    int32_t SkipQuiet(const uint8_t* corner, int32_t x, int32_t last) const {
        const Anchor& a = anchors_.front();
        for (; x <= last; ++x)
            if (Admits(corner + static_cast<size_t>(x) * P + a.offset, a.pixel)) break;
        return x;
    }
#endif

    static constexpr uint32_t kAll = (1u << kLanes) - 1;

    PixelGrid screen_;
    const PictureBounds& bounds_;
    std::vector<int32_t> order_;
    std::vector<Anchor> anchors_;
    int32_t streak_ = 0;
};

// Runs chunk(c) for c = 0 .. count - 1, taken in order of c, and starts no
// chunk past `stopAfter` (which a chunk lowers to its own index when it has
// found what ends the search). Helpers join when the chunks left look like
// taking longer than the pace allows, judged by the ones done so far.
template <class Chunk>
void RunChunks(int32_t count, const SearchPace& pace, std::atomic<int32_t>& stopAfter, Chunk&& chunk) {
    std::atomic<int32_t> next{0};
    auto work = [&](bool helper) {
        for (;;) {
            const int32_t c = next.fetch_add(1);
            if (c >= count || c > stopAfter.load()) return;
            chunk(c);
            if (!helper) return;
        }
    };
    std::vector<std::thread> helpers;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t done = 0; next.load() < count && next.load() <= stopAfter.load(); ++done) {
        const bool slow = pace.helpWhenLeft.count() == 0 ||
                          (done > 0 && (std::chrono::steady_clock::now() - start) * (count - done) / done >= pace.helpWhenLeft);
        if (helpers.empty() && pace.helpers > 0 && slow) {
            for (int32_t i = 0; i < std::min(pace.helpers, count - 1); ++i) {
                try {
                    helpers.emplace_back(work, true);
                } catch (...) {
                    break;  // no thread to be had: fewer hands, same answer
                }
            }
        }
        work(false);
    }
    for (std::thread& t : helpers) t.join();
}

void LowerTo(std::atomic<int32_t>& stopAfter, int32_t c) {
    int32_t now = stopAfter.load();
    while (c < now && !stopAfter.compare_exchange_weak(now, c)) {
    }
}

struct Chunks {
    explicit Chunks(const CandidateArea& area)
        : first(area.FirstRow()), count((area.EndRow() - area.FirstRow() + kChunkRows - 1) / kChunkRows) {}
    int32_t Begin(int32_t c) const { return first + c * kChunkRows; }
    int32_t End(const CandidateArea& area, int32_t c) const { return std::min(area.EndRow(), Begin(c) + kChunkRows); }
    int32_t first, count;
};

struct MatchChunk {
    bool found = false;
    ScreenRect rect;
    std::optional<ScreenRect> hidden;
    int64_t bestProgress = -1;
    Point best;
};

// Returns the first chunk that found the picture, or the chunk count.
template <int P>
int32_t SearchChunks(const PicturePair& pair, const PictureBounds& bounds, const CandidateArea& area,
                     std::optional<ScreenRect> excluded, const SearchPace& pace, std::vector<MatchChunk>& out) {
    const Chunks chunks(area);
    out.assign(static_cast<size_t>(chunks.count), {});
    std::atomic<int32_t> stopAfter{chunks.count};
    const int32_t w = pair.picture.width, h = pair.picture.height;
    RunChunks(chunks.count, pace, stopAfter, [&](int32_t c) {
        MatchChunk& result = out[static_cast<size_t>(c)];
        RowScanner<P> scanner(pair, bounds);
        for (int32_t y = chunks.Begin(c); y < chunks.End(area, c) && !result.found; ++y) {
            if (stopAfter.load() < c) return;
            scanner.ScanRow(y, area.RowBegin(y), area.RowEnd(), [&](int32_t x) {
                const ScreenRect rect{x, y, x + w, y + h};
                if (excluded && RectsOverlap(rect, *excluded)) {
                    if (!result.hidden) result.hidden = rect;
                    return x + 1;
                }
                result.found = true;
                result.rect = rect;
                return kStop;
            });
        }
        if (result.found) LowerTo(stopAfter, c);
        result.bestProgress = scanner.bestProgress;
        result.best = scanner.best;
    });
    return stopAfter.load();
}

template <int P>
void FindChunks(const PicturePair& pair, const PictureBounds& bounds, const CandidateArea& area, bool firstOnly,
                const SearchPace& pace, std::vector<std::vector<ScreenRect>>& out) {
    const Chunks chunks(area);
    out.assign(static_cast<size_t>(chunks.count), {});
    std::atomic<int32_t> stopAfter{chunks.count};
    const int32_t w = pair.picture.width, h = pair.picture.height;
    RunChunks(chunks.count, pace, stopAfter, [&](int32_t c) {
        std::vector<ScreenRect>& found = out[static_cast<size_t>(c)];
        RowScanner<P> scanner(pair, bounds);
        for (int32_t y = chunks.Begin(c); y < chunks.End(area, c); ++y) {
            if (stopAfter.load() < c || (firstOnly && !found.empty())) break;
            scanner.ScanRow(y, area.RowBegin(y), area.RowEnd(), [&](int32_t x) {
                found.push_back({x, y, x + w, y + h});
                return firstOnly ? kStop : x + w;
            });
        }
        if (firstOnly && !found.empty()) LowerTo(stopAfter, c);
    });
}

PictureMatch Closest(const PicturePair& pair, const CandidateArea& area, const std::vector<MatchChunk>& chunks) {
    PictureMatch result;
    int64_t bestProgress = -1;
    for (const MatchChunk& c : chunks) {
        if (c.hidden && !result.hidden) result.hidden = c.hidden;
        if (c.bestProgress > bestProgress) {
            bestProgress = c.bestProgress;
            result.best = c.best;
        }
    }
    if (result.hidden) result.best = Point{result.hidden->left, result.hidden->top};
    if (!result.best) result.best = area.First();
    if (result.best)
        result.bestSimilarity = SimilarityForDifference(LargestDifference(pair, result.best->x, result.best->y));
    return result;
}

}  // namespace

SearchPace DefaultSearchPace() {
    // Threads pay off on searches of a millisecond or more. A whole
    // 1920 x 1080 screen usually takes a fraction of that, over before a
    // thread would be running, more so on a busy machine.
    const unsigned cores = std::thread::hardware_concurrency();
    return {cores > 1 ? static_cast<int32_t>(cores) - 1 : 0, std::chrono::milliseconds(1)};
}

PictureMatch MatchPicture(const VBmp& screen, const VBmp& picture, int32_t threshold,
                          std::optional<ScreenRect> excluded, std::optional<ScreenRect> region,
                          std::optional<Point> startPoint) {
    return MatchPicturePaced(DefaultSearchPace(), screen, picture, threshold, excluded, region, startPoint);
}

std::vector<ScreenRect> FindAllPictures(const VBmp& screen, const VBmp& picture, int32_t threshold,
                                        std::optional<ScreenRect> region, bool firstOnly) {
    return FindAllPicturesPaced(DefaultSearchPace(), screen, picture, threshold, region, firstOnly);
}

PictureMatch MatchPicturePaced(const SearchPace& pace, const VBmp& screen, const VBmp& picture, int32_t threshold,
                               std::optional<ScreenRect> excluded, std::optional<ScreenRect> region,
                               std::optional<Point> startPoint) {
    PicturePair pair;
    if (!pair.Prepare(screen, picture, false)) return {};
    const CandidateArea area(pair, region, startPoint);
    std::vector<MatchChunk> chunks;
    if (threshold >= 0 && !area.Empty()) {
        const PictureBounds bounds(pair, std::min(threshold, 255));
        int32_t found = 0;
        switch (pair.screen.bytes) {
            case 1: found = SearchChunks<1>(pair, bounds, area, excluded, pace, chunks); break;
            case 2: found = SearchChunks<2>(pair, bounds, area, excluded, pace, chunks); break;
            default: found = SearchChunks<4>(pair, bounds, area, excluded, pace, chunks); break;
        }
        if (found < static_cast<int32_t>(chunks.size()))
            return {true, chunks[static_cast<size_t>(found)].rect, std::nullopt, std::nullopt, 0};
    }
    return Closest(pair, area, chunks);
}

std::vector<ScreenRect> FindAllPicturesPaced(const SearchPace& pace, const VBmp& screen, const VBmp& picture,
                                             int32_t threshold, std::optional<ScreenRect> region, bool firstOnly) {
    PicturePair pair;
    if (!pair.Prepare(screen, picture, true) || threshold < 0) return {};
    const CandidateArea area(pair, region, std::nullopt);
    if (area.Empty()) return {};
    const PictureBounds bounds(pair, std::min(threshold, 255));
    std::vector<std::vector<ScreenRect>> chunks;
    FindChunks<4>(pair, bounds, area, firstOnly, pace, chunks);
    std::vector<ScreenRect> found;
    for (const auto& c : chunks) {
        found.insert(found.end(), c.begin(), c.end());
        if (firstOnly && !found.empty()) {
            found.resize(1);
            break;
        }
    }
    return found;
}

}  // namespace ovrix
