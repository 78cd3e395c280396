// One Search Picture step played on the simulated desktop, everything a
// search costs the player: the step's stored picture read, the whole screen
// captured, the search, the trace lines (collected in memory) and, when the
// picture is absent, the closest-miss report. A 1920 x 1080 screen of random
// pixels and a 48 x 48 picture at similarity 95, timeout 0 (one search):
//   S1 the picture is absent ("continue" on timeout);
//   S3 the picture is near the bottom-right corner ("move click").
// Compare with the matcher alone in picture_bench.cpp.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "engine/Playback.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "platform/PictureEdit.h"
#include "platform/PictureRecord.h"
#include "platform/sim/SimPlatform.h"
#include "screen/PictureSteps.h"
#include "shell/StepKindsAll.h"

namespace ovrix {
namespace {

constexpr int32_t kScreenWidth = 1920, kScreenHeight = 1080, kSide = 48;

VBmp Random(int32_t width, int32_t height, uint32_t seed) {
    VBmp b = *BlankPicture(width, height, 0);
    std::mt19937 rng(seed);
    for (uint8_t& v : b.pixels) v = static_cast<uint8_t>(rng());
    return b;
}

Ref<SearchPicEvent> SearchStep(const VBmp& picture, std::u16string found) {
    auto step = MakeRef<SearchPicEvent>();
    step->delay = 0;
    RecordBuffer record;
    WritePictureRecord(record, picture);
    step->picture = {record.ToVector(), 95, u""};
    step->foundAction = std::move(found);
    step->timeoutAction = u"continue";
    step->timeout = 0;
    step->timeoutUnit = u"ms";
    return step;
}

void PlayOneSearch(benchmark::State& state, VBmp screen, const VBmp& picture, std::u16string found,
                   const std::string& expectLine) {
    std::vector<std::string> lines;
    SimPlatform sim(SimOptions{.screen = {kScreenWidth, kScreenHeight}});
    sim.screenPictures = {{0, std::move(screen)}};
    Desktop desktop(sim, Trace([&lines](const std::string& line) { lines.push_back(line); }));
    Player player(desktop, &PlayerStepKinds());
    const RuntimeScope runtime(player.runtime);
    EventList list;
    list.Append(SearchStep(picture, std::move(found)));
    desktop.BeginTrace();
    bool answered = true;
    for (auto _ : state) {
        lines.clear();
        SetFlag(StopRequest, 0);
        RunEventList(player, list, nullptr, 1);
        bool seen = false;
        for (const std::string& line : lines) seen = seen || line.find(expectLine) != std::string::npos;
        answered = answered && seen;
    }
    if (!answered) state.SkipWithError("the trace does not hold the expected picture line");
}

void BM_PictureStepS1Absent(benchmark::State& state) {
    PlayOneSearch(state, Random(kScreenWidth, kScreenHeight, 1), Random(kSide, kSide, 2), u"move click",
                  "picture missed 1 best ");
}

void BM_PictureStepS3BottomRight(benchmark::State& state) {
    VBmp screen = Random(kScreenWidth, kScreenHeight, 3);
    const int32_t x = kScreenWidth - kSide - 7, y = kScreenHeight - kSide - 3;
    const VBmp picture = *SubPicture(screen, {x, y, x + kSide, y + kSide});
    PlayOneSearch(state, std::move(screen), picture, u"move click",
                  "picture found 1 " + std::to_string(x) + " " + std::to_string(y) + " ");
}

BENCHMARK(BM_PictureStepS1Absent)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_PictureStepS3BottomRight)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace ovrix
