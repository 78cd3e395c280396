// The picture matcher: the fast search against the plain scan on many
// generated screens, and the rules of the search a user would notice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "platform/PictureGrid.h"
#include "platform/PictureMatch.h"

namespace ovrix {
namespace {

VBmp Blank(int32_t width, int32_t height, uint32_t bitsPerPixel = 32) {
    VBmp b;
    b.width = width;
    b.height = height;
    b.bitsPerPixel = bitsPerPixel;
    b.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    return b;
}

// The bytes of pixel (x, y), writable when `b` is.
template <class Bmp>
auto PixelAt(Bmp& b, int32_t x, int32_t y) {
    return &b.pixels[(static_cast<size_t>(y) * static_cast<size_t>(b.width) + static_cast<size_t>(x)) * b.PixelBytes()];
}

void Fill(VBmp& b, uint8_t value) { std::fill(b.pixels.begin(), b.pixels.end(), value); }

VBmp Cut(const VBmp& b, int32_t x, int32_t y, int32_t width, int32_t height) {
    VBmp out = Blank(width, height, b.bitsPerPixel);
    for (int32_t py = 0; py < height; ++py)
        for (int32_t px = 0; px < width; ++px)
            std::copy_n(PixelAt(b, x + px, y + py), b.PixelBytes(), PixelAt(out, px, py));
    return out;
}

void Paste(VBmp& onto, const VBmp& picture, int32_t x, int32_t y) {
    for (int32_t py = 0; py < picture.height; ++py)
        for (int32_t px = 0; px < picture.width; ++px)
            std::copy_n(PixelAt(picture, px, py), picture.PixelBytes(), PixelAt(onto, x + px, y + py));
}

// The highest percent at which the candidate at (x, y) alone matches: the
// screen cut down to that one candidate, searched at every percent.
int32_t SimilarityAt(const VBmp& screen, const VBmp& picture, Point at) {
    const VBmp one = Cut(screen, at.x, at.y, picture.width, picture.height);
    for (int32_t percent = 100; percent >= 0; --percent)
        if (MatchPicturePlain(one, picture, ThresholdFromPercent(percent)).found) return percent;
    return -1;
}

std::string Describe(const std::optional<ScreenRect>& r) {
    using std::to_string;
    return r ? to_string(r->left) + "," + to_string(r->top) + "," + to_string(r->right) + "," + to_string(r->bottom)
             : "none";
}

struct Case {
    VBmp screen, picture;
    int32_t threshold = 12;
    std::optional<ScreenRect> excluded, region;
    std::optional<Point> start;

    std::string Text() const {
        const auto size = [](const VBmp& b) {
            return Describe(ScreenRect{b.width, b.height, 0, static_cast<int32_t>(b.bitsPerPixel)});
        };
        return size(screen) + " " + size(picture) + " t " + std::to_string(threshold) + " x " + Describe(excluded) +
               " r " + Describe(region) + " s " + (start ? Describe(ScreenRect{start->x, start->y, 0, 0}) : "none");
    }
};

// Threads from the start, so that chunks of rows race each other.
const SearchPace kEager{2, std::chrono::microseconds(0)};

void ExpectSameAnswers(const Case& c, const SearchPace& pace = DefaultSearchPace()) {
    SCOPED_TRACE(c.Text());
    const PictureMatch fast = MatchPicturePaced(pace, c.screen, c.picture, c.threshold, c.excluded, c.region, c.start);
    const PictureMatch plain = MatchPicturePlain(c.screen, c.picture, c.threshold, c.excluded, c.region, c.start);
    ASSERT_EQ(fast.found, plain.found);
    if (fast.found) {
        EXPECT_EQ(Describe(fast.rect), Describe(plain.rect));
    } else {
        EXPECT_EQ(Describe(fast.hidden), Describe(plain.hidden));
        ASSERT_EQ(fast.best.has_value(), plain.best.has_value());
        // The closest miss may differ between the two, but each must name
        // a candidate and how close it truly came.
        for (const PictureMatch* m : {&fast, &plain}) {
            if (m->hidden) { EXPECT_EQ(m->best->x, m->hidden->left); }
            if (m->best) { EXPECT_EQ(m->bestSimilarity, SimilarityAt(c.screen, c.picture, *m->best)); }
        }
    }
    for (bool firstOnly : {false, true}) {
        const auto fastAll = FindAllPicturesPaced(pace, c.screen, c.picture, c.threshold, c.region, firstOnly);
        const auto plainAll = FindAllPicturesPlain(c.screen, c.picture, c.threshold, c.region, firstOnly);
        ASSERT_EQ(fastAll.size(), plainAll.size()) << "first only " << firstOnly;
        for (size_t i = 0; i < fastAll.size(); ++i) EXPECT_EQ(Describe(fastAll[i]), Describe(plainAll[i]));
    }
}

class Generator {
public:
    explicit Generator(uint32_t seed) : rng_(seed) {}

    int32_t Int(int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng_); }
    bool Chance(int percent) { return Int(0, 99) < percent; }

    void Paint(VBmp& b, int kind) {
        const int32_t tileW = Int(1, 5), tileH = Int(1, 3);
        const auto byte = [&] { return static_cast<uint8_t>(Int(0, 255)); };
        const uint8_t palette[3] = {byte(), byte(), byte()};
        std::vector<uint8_t> tile(static_cast<size_t>(tileW * tileH) * 4);
        for (uint8_t& v : tile) v = byte();
        for (int32_t y = 0; y < b.height; ++y)
            for (int32_t x = 0; x < b.width; ++x)
                for (size_t i = 0; i < b.PixelBytes(); ++i) {
                    const size_t inTile = static_cast<size_t>((y % tileH) * tileW + x % tileW) * 4 + i;
                    PixelAt(b, x, y)[i] = kind == 0   ? byte()
                                          : kind == 1 ? palette[0]
                                          : kind == 2 ? tile[inTile]
                                                      : palette[Int(0, 2)];
                }
    }

    std::optional<ScreenRect> MaybeRect(const VBmp& s, int percent) {
        if (!Chance(percent)) return std::nullopt;
        return ScreenRect{Int(-4, s.width + 2), Int(-4, s.height + 2), Int(-4, s.width + 4), Int(-4, s.height + 4)};
    }

    Case Next(int32_t maxWidth, int32_t maxHeight) {
        static const uint32_t kDepths[] = {32, 24, 16, 8};
        Case c;
        const uint32_t depth = kDepths[Int(0, 3)];
        c.screen = Blank(Int(1, maxWidth), Int(1, maxHeight), depth);
        const int kind = Int(0, 3);
        Paint(c.screen, kind);
        const int32_t w = Int(1, 6), h = Int(1, 6);
        const int32_t thresholds[] = {0, 1, 12, 40, 255, Int(0, 255), -1};
        c.threshold = thresholds[Int(0, Chance(3) ? 6 : 5)];
        if (w <= c.screen.width && h <= c.screen.height && Chance(75)) {
            // Cut the picture from the screen, often at an edge, and maybe
            // spoil one byte just past the threshold.
            const int32_t x = Chance(30) ? c.screen.width - w : Chance(20) ? 0 : Int(0, c.screen.width - w);
            const int32_t y = Chance(30) ? c.screen.height - h : Int(0, c.screen.height - h);
            c.picture = Cut(c.screen, x, y, w, h);
            if (Chance(40) && c.threshold >= 0 && c.threshold < 255) {
                const int32_t compared = depth == 16 ? 2 : depth == 8 ? 1 : 3;
                uint8_t& v = PixelAt(c.picture, Int(0, w - 1), Int(0, h - 1))[Int(0, compared - 1)];
                v = static_cast<uint8_t>(v + c.threshold + 1 <= 255 ? v + c.threshold + 1
                                         : v >= c.threshold + 1  ? v - c.threshold - 1
                                                                 : v);
            }
            for (int copies = Chance(30) ? Int(1, 3) : 0; copies > 0; --copies)
                Paste(c.screen, c.picture, Int(0, c.screen.width - w), Int(0, c.screen.height - h));
            // The near neighbour of this depth that is read through 32 bits.
            if (Chance(25)) c.picture.bitsPerPixel = depth == 32 ? 24 : depth == 24 ? 32 : depth;
        } else {
            c.picture = Blank(w, h, Chance(85) ? depth : kDepths[Int(0, 3)]);
            Paint(c.picture, Int(0, 3));
        }
        c.excluded = MaybeRect(c.screen, 35);
        c.region = MaybeRect(c.screen, 35);
        if (Chance(35)) c.start = Point{Int(-3, c.screen.width + 3), Int(-3, c.screen.height + 3)};
        return c;
    }

private:
    std::mt19937 rng_;
};

TEST(PictureMatch, FastSearchAnswersAsThePlainScanOnGeneratedScreens) {
    Generator g(20261206);
    for (int i = 0; i < 4000; ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        // Wide, tall (several chunks of rows) and small screens in turn.
        static const int32_t kSizes[4][2] = {{70, 12}, {12, 160}, {24, 24}, {24, 24}};
        ExpectSameAnswers(g.Next(kSizes[i % 4][0], kSizes[i % 4][1]), i % 4 == 1 ? kEager : DefaultSearchPace());
        if (HasFatalFailure()) return;
    }
}

TEST(PictureMatch, FastSearchAnswersAsThePlainScanOnLargeScreens) {
    // Searched on several threads: the answer in a late chunk, in none, and rejected where it first appears.
    Generator g(7);
    Case random;
    random.screen = Blank(700, 420);
    g.Paint(random.screen, 0);
    random.picture = Cut(random.screen, 650, 400, 16, 16);
    random.excluded = ScreenRect{600, 380, 680, 420};
    Paste(random.screen, random.picture, 690 - 16, 419 - 16);
    ExpectSameAnswers(random, kEager);
    random.excluded = std::nullopt;
    ExpectSameAnswers(random, kEager);
    // At the end of the first chunk of rows and the start of the second, which another thread reaches first.
    Paste(random.screen, random.picture, 300, 60);
    Paste(random.screen, random.picture, 100, 64);
    ExpectSameAnswers(random, kEager);

    Case uniform;  // every candidate passes the top-left pixel, none the middle
    uniform.screen = Blank(700, 420, 16);
    Fill(uniform.screen, 90);
    uniform.picture = Blank(12, 12, 16);
    Fill(uniform.picture, 90);
    for (int32_t y = 0; y < 12; ++y) PixelAt(uniform.picture, 6, y)[1] = 200;
    ExpectSameAnswers(uniform, kEager);
    PixelAt(uniform.screen, 600, 300)[1] = 200;  // still one pixel short
    ExpectSameAnswers(uniform, kEager);
}

TEST(PictureMatch, Thresholds) {
    EXPECT_EQ(ThresholdFromPercent(95), 12);
    EXPECT_EQ(ThresholdFromPercent(0), 255);
    EXPECT_EQ(ThresholdFromPercent(101), -1);
    EXPECT_EQ(ThresholdFromFraction(0.95), 12);
    EXPECT_EQ(ThresholdFromFraction(0.2), 204);  // 0.2 x 255 is a hair over 51 in binary
    EXPECT_EQ(ThresholdFromFraction(std::nan("")), 255);
    EXPECT_EQ(ThresholdFromFraction(1.5), -1);
    // The similarity named for a difference is the highest whose threshold still admits it.
    for (int32_t d = 0; d <= 255; ++d) {
        const int32_t s = SimilarityForDifference(d);
        EXPECT_GE(ThresholdFromPercent(s), d);
        if (s < 100) { EXPECT_LT(ThresholdFromPercent(s + 1), d); }
    }
}

class PictureRules : public ::testing::Test {
protected:
    void SetUp() override {
        Generator g(3);
        screen = Blank(60, 40);
        g.Paint(screen, 0);
        picture = Cut(screen, 20, 10, 8, 6);
    }
    PictureMatch Find(std::optional<ScreenRect> excluded, std::optional<ScreenRect> region,
                      std::optional<Point> start, int32_t threshold = 12) {
        const PictureMatch m = MatchPicture(screen, picture, threshold, excluded, region, start);
        EXPECT_EQ(m.found, MatchPicturePlain(screen, picture, threshold, excluded, region, start).found);
        return m;
    }
    VBmp screen, picture;
};

TEST_F(PictureRules, SimilarityHundredIsExactAndZeroTakesTheFirstPlaceThatFits) {
    EXPECT_EQ(Describe(Find({}, {}, {}, 0).rect), "20,10,28,16");
    PixelAt(screen, 23, 12)[2] ^= 1;
    EXPECT_FALSE(Find({}, {}, {}, ThresholdFromPercent(100)).found);
    EXPECT_TRUE(Find({}, {}, {}, ThresholdFromPercent(99)).found);
    EXPECT_EQ(Describe(Find({}, {}, {}, ThresholdFromPercent(0)).rect), "0,0,8,6");
    // At 0 the first place is still subject to the start point.
    EXPECT_EQ(Describe(Find({}, {}, Point{50, 3}, 255).rect), "47,0,55,6");
    EXPECT_EQ(Describe(Find({}, {}, Point{56, 3}, 255).rect), "0,1,8,7");
}

TEST_F(PictureRules, StartPointWantsTheCentreAfterItAndRegionSkipsRowsAboveAndNeedsOverlap) {
    // The picture's centre is (24, 13).
    EXPECT_TRUE(Find({}, {}, Point{0, 13}).found);
    EXPECT_FALSE(Find({}, {}, Point{30, 14}).found);  // centre above the cursor row
    EXPECT_FALSE(Find({}, {}, Point{24, 13}).found);  // on the row, not right of it
    EXPECT_FALSE(Find({}, {}, Point{30, 13}).found);  // on the row, left of the cursor
    EXPECT_TRUE(Find({}, {}, Point{23, 13}).found);
    EXPECT_FALSE(Find({}, ScreenRect{0, 0, 60, 9}, {}).found);   // starts below the bottom
    EXPECT_TRUE(Find({}, ScreenRect{0, 0, 60, 11}, {}).found);   // its top row is the last
    EXPECT_TRUE(Find({}, ScreenRect{18, 8, 22, 12}, {}).found);  // reaches past the right edge
    EXPECT_FALSE(Find({}, ScreenRect{18, 11, 60, 40}, {}).found);  // rows above the top not scanned
    EXPECT_FALSE(Find({}, ScreenRect{28, 10, 40, 20}, {}).found);  // touches, does not overlap
    EXPECT_FALSE(Find({}, ScreenRect{40, 0, 10, 40}, {}).found);   // inverted
}

TEST_F(PictureRules, ExcludedRectangleHidesAPlaceAndTheMissSaysWhere) {
    const PictureMatch covered = Find(ScreenRect{26, 14, 40, 20}, {}, {});
    ASSERT_FALSE(covered.found);
    EXPECT_EQ(Describe(covered.hidden), "20,10,28,16");
    EXPECT_EQ(covered.bestSimilarity, 100);
    EXPECT_TRUE(Find(ScreenRect{28, 16, 40, 20}, {}, {}).found);  // only touches
    Paste(screen, picture, 50, 30);
    EXPECT_EQ(Describe(Find(ScreenRect{26, 14, 40, 20}, {}, {}).rect), "50,30,58,36");
}

TEST_F(PictureRules, AMissNamesTheClosestPlace) {
    uint8_t& v = PixelAt(screen, 24, 13)[1];
    v = static_cast<uint8_t>(v < 128 ? v + 20 : v - 20);
    for (const PictureMatch& m : {MatchPicture(screen, picture, 12), MatchPicturePlain(screen, picture, 12)}) {
        ASSERT_FALSE(m.found);
        ASSERT_TRUE(m.best.has_value());
        EXPECT_EQ(Describe(ScreenRect{m.best->x, m.best->y, 0, 0}), "20,10,0,0");
        EXPECT_EQ(m.bestSimilarity, 92);  // a difference of 20 passes at 92%, not 93%
    }
}

TEST(PictureMatch, DepthsCompareTheirOwnBytesOrThirtyTwoBits) {
    // 16-bit: both bytes compared raw, so a low-byte difference counts.
    VBmp screen = Blank(10, 4, 16), picture = Blank(2, 2, 16);
    Fill(screen, 0x10);
    Fill(picture, 0x10);
    PixelAt(screen, 3, 1)[0] = 0x80;
    PixelAt(picture, 0, 0)[0] = 0x80;
    EXPECT_EQ(Describe(MatchPicture(screen, picture, 0).rect), "3,1,5,3");
    // A 32-bit picture on a 16-bit screen: 5-6-5 pixels read as 8-bit channels. 0xF800 is pure red.
    VBmp red = Blank(1, 1, 32);
    PixelAt(red, 0, 0)[2] = 255;
    PixelAt(screen, 7, 2)[0] = 0x00;
    PixelAt(screen, 7, 2)[1] = 0xF8;
    EXPECT_EQ(Describe(MatchPicture(screen, red, 0).rect), "7,2,8,3");
    // FindAllPictures always reads 32 bits: an 8-bit grey 100 is (100, 100, 100).
    VBmp grey = Blank(3, 1, 8);
    Fill(grey, 100);
    VBmp grey32 = Blank(1, 1, 32);
    std::fill_n(PixelAt(grey32, 0, 0), 3, uint8_t{100});
    EXPECT_EQ(FindAllPictures(grey, grey32, 0).size(), 3u);
}

TEST(PictureMatch, FindAllDoesNotOverlapWithinARow) {
    VBmp screen = Blank(10, 3), picture = Blank(3, 2);
    const auto all = FindAllPictures(screen, picture, 0);
    ASSERT_EQ(all.size(), 6u);  // x = 0, 3, 6 on rows 0 and 1
    EXPECT_EQ(Describe(all[1]), "3,0,6,2");
    EXPECT_EQ(Describe(all[3]), "0,1,3,3");
    const auto first = FindAllPictures(screen, picture, 0, ScreenRect{4, 1, 10, 3}, true);
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(Describe(first[0]), "2,1,5,3");
}

TEST(PictureMatch, ScalingTruncatesEachSide) {
    EXPECT_EQ(Describe(ScaleToLogical({100, 200, 148, 248}, {1920, 1080}, {1536, 864})), "80,160,118,198");
    EXPECT_EQ(Describe(ScaleToLogical({7, 7, 8, 8}, {3, 3}, {1, 2})), "2,4,2,5");
    EXPECT_EQ(Describe(ScaleToLogical({5, 6, 7, 8}, {0, 10}, {5, 5})), "5,6,7,8");
}

TEST(PictureMatch, BadInputFindsNothing) {
    const VBmp good = Blank(20, 10), small = Blank(2, 2);
    VBmp bads[4] = {good, small, small, small};
    bads[0].pixels.pop_back();  // a buffer one byte short
    bads[1].width = bads[1].height = 1 << 30;
    bads[2].width = -2;
    bads[3].bitsPerPixel = 0;
    for (const VBmp& bad : bads) {
        EXPECT_FALSE(MatchPicture(bad, small, 255).found);
        EXPECT_FALSE(MatchPicture(good, bad, 255).best.has_value());
        EXPECT_TRUE(FindAllPictures(bad, small, 255).empty());
        EXPECT_TRUE(FindAllPictures(good, bad, 255).empty());
        EXPECT_TRUE(ToThirtyTwoBits(bad).Empty());
    }
    EXPECT_FALSE(MatchPicture(small, good, 255).found);  // larger than the screen
    EXPECT_FALSE(MatchPicture(small, good, 255).best.has_value());
    EXPECT_FALSE(MatchPicture(good, small, 255, std::nullopt, ScreenRect{0, 0, 20, 10}, Point{INT32_MAX, INT32_MAX}).found);
}

}  // namespace
}  // namespace ovrix
