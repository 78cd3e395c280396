// ovrix-pack: writes a script image into a copy of the player, or reads the
// image back out of a packed player.
//
//   ovrix-pack PLAYER.exe IMAGE -o OUT.exe
//   ovrix-pack --extract EXE -o IMAGE
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "ImageFile.h"
#include "container/Image.h"

using namespace ovrix;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: ovrix-pack PLAYER.exe IMAGE -o OUT.exe\n"
                 "       ovrix-pack --extract EXE -o IMAGE\n");
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "ovrix-pack: %s\n", message.c_str());
    return 1;
}

int Pack(const std::string& playerPath, const std::string& imagePath, const std::string& outPath) {
    auto player = ReadWholeFile(playerPath);
    if (!player) return Fail("cannot read " + playerPath);
    auto image = ReadWholeFile(imagePath);
    if (!image) return Fail("cannot read " + imagePath);
    if (image->size() > kMaxImageSize) {
        return Fail(imagePath + " is " + std::to_string(image->size()) + " bytes; an image holds at most " +
                    std::to_string(kMaxImageSize) + " bytes");
    }
    std::string error;
    auto packed = PackImage(*player, *image, error);
    if (!packed) return Fail(playerPath + ": " + error);
    if (!WriteWholeFile(outPath, *packed)) return Fail("cannot write " + outPath);
    return 0;
}

int Extract(const std::string& exePath, const std::string& outPath) {
    std::string error;
    auto image = LoadImageFile(exePath, error);
    if (!image) return Fail(error);
    if (!WriteWholeFile(outPath, *image)) return Fail("cannot write " + outPath);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string out;
    std::vector<std::string> positional;
    bool extract = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) {
            out = args[++i];
        } else if (args[i] == "--extract") {
            extract = true;
        } else if (args[i] == "-h" || args[i] == "--help") {
            Usage();
            return 0;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (out.empty()) return Usage();
    if (extract) return positional.size() == 1 ? Extract(positional[0], out) : Usage();
    return positional.size() == 2 ? Pack(positional[0], positional[1], out) : Usage();
}
