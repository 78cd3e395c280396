// ovrix-sim: plays an image on the simulated desktop and prints the trace of
// everything the player would have done, without touching the desktop.
//
//   ovrix-sim [--desktop FILE.json] [--screen WxH] [--max-ms N] IMAGE-or-EXE [script arguments...]
//
// --desktop describes the desktop the image plays against (docs/desktop-file.md);
// --screen, when given too, wins over the description's screen.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "DesktopFile.h"
#include "ImageFile.h"
#include "container/Text.h"
#include "platform/sim/SimPlay.h"

using namespace ovrix;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: ovrix-sim [--desktop FILE.json] [--screen WxH] [--max-ms N] IMAGE-or-EXE "
                 "[script arguments...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    SimPlayOptions options;
    std::string path;
    std::optional<std::string> desktopPath;
    std::optional<ScreenSize> screen;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--screen" && i + 1 < argc) {
            int w = 0, h = 0;
            if (std::sscanf(argv[++i], "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0) return Usage();
            screen = ScreenSize{w, h};
        } else if (arg == "--desktop" && i + 1 < argc) {
            desktopPath = argv[++i];
        } else if (arg == "--max-ms" && i + 1 < argc) {
            char* end = nullptr;
            options.desktop.maxMs = std::strtoull(argv[++i], &end, 10);
            if (end == nullptr || *end != '\0') return Usage();
        } else if (arg.rfind("--", 0) == 0) {
            return Usage();
        } else {
            path = arg;
            ++i;
            break;
        }
    }
    if (path.empty()) return Usage();
    for (; i < argc; ++i) options.arguments.push_back(FromUtf8(argv[i]));

    if (desktopPath) {
        std::string error;
        auto description = ReadDesktopFile(*desktopPath, error);
        if (!description) {
            std::fprintf(stderr, "ovrix-sim: %s\n", error.c_str());
            return 2;
        }
        description->ApplyTo(options.desktop);
        options.setup = [description = std::move(*description)](SimPlatform& sim) { description.ApplyTo(sim); };
    }
    if (screen) options.desktop.screen = *screen;

    std::string error;
    auto image = LoadImageFile(path, error);
    if (!image) {
        std::fprintf(stderr, "ovrix-sim: %s\n", error.c_str());
        return 1;
    }
    options.echo = [](const std::string& line) { std::printf("%s\n", line.c_str()); };
    const SimPlayResult result = PlayOnSim(*image, options);
    std::fflush(stdout);
    if (result.timeLimitHit) {
        std::fprintf(stderr, "ovrix-sim: stopped the script after %llu ms of virtual time (--max-ms %llu)\n",
                     static_cast<unsigned long long>(options.desktop.maxMs),
                     static_cast<unsigned long long>(options.desktop.maxMs));
        return 3;
    }
    return 0;
}
