// wine-image: writes the script image that the Windows end-to-end test packs
// into the player. Its steps take long enough (about 3 s in all) for the test
// to look at the desktop while the player runs, and they never block on a
// dialog: mouse moves with their delays, played twice.
//
//   wine-image -o IMAGE
#include <cstdio>
#include <string>

#include "ImageFile.h"
#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "engine/EventList.h"
#include "script/StepFactory.h"

namespace {

constexpr uint32_t kMoveMouseType = 4;
constexpr int kSteps = 6;
constexpr uint32_t kStepDelayMs = 250;

}  // namespace

int main(int argc, char** argv) {
    using namespace ovrix;
    if (argc != 3 || std::string(argv[1]) != "-o") {
        std::fprintf(stderr, "usage: wine-image -o IMAGE\n");
        return 2;
    }
    EventList steps;
    for (int i = 1; i <= kSteps; ++i) {
        Ref<Event> step = CreateEvent(kMoveMouseType);
        if (!step) {
            std::fprintf(stderr, "wine-image: the step factory has no step of type %u\n", kMoveMouseType);
            return 1;
        }
        step->name = u"Move " + std::u16string(1, static_cast<char16_t>(u'0' + i));
        step->delay = kStepDelayMs;
        steps.Append(step);
    }
    const auto image = ImageBuilder()
                           .Root(u"C:\\Tests\\wine.ovx")
                           .Main(steps)
                           .Setting(tag::kRepeat, 2)
                           .Setting(tag::kNoPauseKey, 1)
                           .Build();
    if (!WriteWholeFile(argv[2], image)) {
        std::fprintf(stderr, "wine-image: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
