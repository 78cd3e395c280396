// ovrix-sim: plays an image on the simulated desktop and prints the trace of
// everything the player would have done, without touching the desktop.
//
//   ovrix-sim [--screen WxH] [--max-ms N] IMAGE-or-EXE [script arguments...]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ImageFile.h"
#include "container/Text.h"
#include "platform/sim/SimPlay.h"

using namespace ovrix;

namespace {

int Usage() {
    std::fprintf(stderr, "usage: ovrix-sim [--screen WxH] [--max-ms N] IMAGE-or-EXE [script arguments...]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    SimPlayOptions options;
    std::string path;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--screen" && i + 1 < argc) {
            int w = 0, h = 0;
            if (std::sscanf(argv[++i], "%dx%d", &w, &h) != 2 || w <= 0 || h <= 0) return Usage();
            options.desktop.screen = {w, h};
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
