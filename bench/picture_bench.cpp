// The picture search on a 1920 x 1080 screen with a 48 x 48 picture at
// similarity 95, the fast search against the plain scan:
//   S1 the picture is absent from a screen of random pixels;
//   S2 a uniform screen, and a picture of the same colour but for its
//      middle column: every candidate passes the top-left pixel and fails
//      late;
//   S3 the picture is on the random screen near the bottom-right corner.
// And S1 on a 3840 x 2160 screen, where helper threads may join, against
// the same search kept to one thread.
// Wall-clock time, since the fast search may use more than one thread.
#include <benchmark/benchmark.h>

#include <random>

#include "platform/PictureGrid.h"
#include "platform/PictureMatch.h"

namespace ovrix {
namespace {

constexpr int32_t kScreenWidth = 1920, kScreenHeight = 1080, kSide = 48;

VBmp Blank(int32_t width, int32_t height) {
    VBmp b;
    b.width = width;
    b.height = height;
    b.bitsPerPixel = 32;
    b.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    return b;
}

VBmp Random(int32_t width, int32_t height, uint32_t seed) {
    VBmp b = Blank(width, height);
    std::mt19937 rng(seed);
    for (uint8_t& v : b.pixels) v = static_cast<uint8_t>(rng());
    return b;
}

VBmp Cut(const VBmp& from, int32_t x, int32_t y) {
    VBmp out = Blank(kSide, kSide);
    for (int32_t row = 0; row < kSide; ++row) {
        const auto start = from.pixels.begin() + (static_cast<ptrdiff_t>(y + row) * from.width + x) * 4;
        std::copy(start, start + kSide * 4, out.pixels.begin() + row * kSide * 4);
    }
    return out;
}

struct Scenario {
    VBmp screen, picture;
};

const Scenario& Absent() {
    static const Scenario s{Random(kScreenWidth, kScreenHeight, 1), Random(kSide, kSide, 2)};
    return s;
}

const Scenario& FailsLate() {
    static const Scenario s = [] {
        Scenario u{Blank(kScreenWidth, kScreenHeight), Blank(kSide, kSide)};
        std::fill(u.screen.pixels.begin(), u.screen.pixels.end(), uint8_t{0x80});
        std::fill(u.picture.pixels.begin(), u.picture.pixels.end(), uint8_t{0x80});
        for (int32_t row = 0; row < kSide; ++row) u.picture.pixels[(row * kSide + kSide / 2) * 4 + 1] = 0xC0;
        return u;
    }();
    return s;
}

const Scenario& NearBottomRight() {
    static const Scenario s = [] {
        Scenario p{Random(kScreenWidth, kScreenHeight, 3), {}};
        p.picture = Cut(p.screen, kScreenWidth - kSide - 7, kScreenHeight - kSide - 3);
        return p;
    }();
    return s;
}

template <class Search>
void Run(benchmark::State& state, const Scenario& s, bool expectFound, Search search) {
    const int32_t threshold = ThresholdFromPercent(95);
    for (auto _ : state) {
        const PictureMatch m = search(s.screen, s.picture, threshold);
        if (m.found != expectFound) state.SkipWithError("wrong answer");
        benchmark::DoNotOptimize(m);
    }
}

auto Fast = [](const VBmp& screen, const VBmp& picture, int32_t t) { return MatchPicture(screen, picture, t); };
auto Plain = [](const VBmp& screen, const VBmp& picture, int32_t t) {
    return MatchPicturePlain(screen, picture, t);
};

void BM_PictureS1AbsentFast(benchmark::State& state) { Run(state, Absent(), false, Fast); }
void BM_PictureS1AbsentPlain(benchmark::State& state) { Run(state, Absent(), false, Plain); }
void BM_PictureS2FailsLateFast(benchmark::State& state) { Run(state, FailsLate(), false, Fast); }
void BM_PictureS2FailsLatePlain(benchmark::State& state) { Run(state, FailsLate(), false, Plain); }
void BM_PictureS3BottomRightFast(benchmark::State& state) { Run(state, NearBottomRight(), true, Fast); }
void BM_PictureS3BottomRightPlain(benchmark::State& state) { Run(state, NearBottomRight(), true, Plain); }

const Scenario& AbsentLarge() {
    static const Scenario s{Random(2 * kScreenWidth, 2 * kScreenHeight, 4), Random(kSide, kSide, 5)};
    return s;
}

void BM_PictureS1Absent4kFast(benchmark::State& state) { Run(state, AbsentLarge(), false, Fast); }
void BM_PictureS1Absent4kOneThread(benchmark::State& state) {
    Run(state, AbsentLarge(), false, [](const VBmp& screen, const VBmp& picture, int32_t t) {
        return MatchPicturePaced(SearchPace{}, screen, picture, t, std::nullopt, std::nullopt, std::nullopt);
    });
}

BENCHMARK(BM_PictureS1AbsentFast)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PictureS1AbsentPlain)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PictureS2FailsLateFast)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PictureS2FailsLatePlain)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_PictureS3BottomRightFast)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PictureS3BottomRightPlain)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PictureS1Absent4kFast)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PictureS1Absent4kOneThread)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace ovrix
