// ovrix-compile: compiles a macro source file to a script image, or straight
// into a copy of the player.
//
//   ovrix-compile SOURCE -o IMAGE
//   ovrix-compile SOURCE --player ovrix.exe -o MACRO.exe
//
// Errors go to stderr as FILE:LINE:COLUMN with the line and a caret; the
// exit status is then 2 and no output file is written.
#include <cstdio>
#include <string>
#include <vector>

#include "ImageFile.h"
#include "container/Text.h"
#include "source/ImageSource.h"

using namespace ovrix;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: ovrix-compile SOURCE -o IMAGE\n"
                 "       ovrix-compile SOURCE --player ovrix.exe -o MACRO.exe\n");
    return 2;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "ovrix-compile: %s\n", message.c_str());
    return 1;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv) {
    std::string source, out, player;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-o" && i + 1 < argc) {
            out = argv[++i];
        } else if (arg == "--player" && i + 1 < argc) {
            player = argv[++i];
        } else if (arg == "-h" || arg == "--help") {
            Usage();
            return 0;
        } else if (source.empty() && (arg.empty() || arg[0] != '-')) {
            source = arg;
        } else {
            return Usage();
        }
    }
    if (source.empty() || out.empty()) return Usage();

    const auto bytes = ReadWholeFile(source);
    if (!bytes) return Fail("cannot read " + source);
    const std::u16string text = FromUtf8(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
    SourceErrors errors;
    PictureFiles pictures(FolderOf(source));
    std::optional<std::vector<uint8_t>> image = CompileImageSource(text, errors, &pictures);
    if (!image) {
        const std::string report = errors.Format(source, text);
        std::fwrite(report.data(), 1, report.size(), stderr);
        return 2;
    }
    if (!player.empty()) {
        const auto exe = ReadWholeFile(player);
        if (!exe) return Fail("cannot read " + player);
        std::string error;
        image = PackImage(*exe, *image, error);
        if (!image) return Fail(player + ": " + error);
    }
    if (!WriteWholeFile(out, *image)) return Fail("cannot write " + out);
    return 0;
}
