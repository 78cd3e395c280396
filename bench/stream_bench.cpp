// Loading scripts: the image scan and the stream loader on a large script.
#include <benchmark/benchmark.h>

#include "actions/SystemSteps.h"
#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "engine/FlowSteps.h"
#include "engine/Runtime.h"
#include "shell/StepKindsAll.h"
#include "container/Image.h"
#include "container/Text.h"
#include "script/ScriptStream.h"
#include "engine/PlaybackSettings.h"

namespace ovrix {
namespace {

// A script of `count` steps, every tenth a block holding three steps.
EventList BigScript(int count) {
    EventList list;
    for (int i = 0; i < count; ++i) {
        if (i % 10 == 0) {
            auto block = MakeRef<IfVarEvent>();
            block->condition = VariableExpr(u"$ready");
            for (int k = 0; k < 3; ++k) block->children.Append(MakeRef<WaitEvent>());
            list.Append(block);
        } else {
            auto note = MakeRef<CommentEvent>();
            note->comment = u"step comment";
            list.Append(note);
        }
    }
    return list;
}

void BM_LoadStream(benchmark::State& state) {
    Runtime runtime(&PlayerStepKinds());
    const RuntimeScope installed(runtime);
    const auto bytes = SaveStream(BigScript(static_cast<int>(state.range(0))));
    const Region region{bytes.data(), static_cast<uint32_t>(bytes.size())};
    for (auto _ : state) {
        EventList list;
        LoadSteps(region, list);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadStream)->Arg(100)->Arg(10000);

// The image lookups a start-up does: settings and an embedded script by name.
void BM_ImageLookups(benchmark::State& state) {
    ImageBuilder builder;
    const EventList script = BigScript(50);
    builder.Main(script);
    for (int i = 0; i < 100; ++i) builder.Script(u"C:\\Scripts\\part" + Widen(std::to_string(i)) + u".ovx", script);
    builder.Setting(tag::kRepeat, 3);
    const auto image = builder.Build();
    const Region region{image.data(), static_cast<uint32_t>(image.size())};
    for (auto _ : state) {
        benchmark::DoNotOptimize(PlaybackSettings::Read(region));
        benchmark::DoNotOptimize(LookupEmbeddedScript(region, u"c:\\scripts\\PART99.ovx"));
    }
}
BENCHMARK(BM_ImageLookups);

}  // namespace
}  // namespace ovrix
