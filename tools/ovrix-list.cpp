// ovrix-list: shows what an image holds: the playback settings with their
// values (or defaults) and every script as an indented step tree.
//
//   ovrix-list IMAGE-or-EXE          settings and step trees
//   ovrix-list --tsv IMAGE-or-EXE    one line per step, tab-separated
#include <cstdio>
#include <string>
#include <vector>

#include "ImageFile.h"
#include "ListFormat.h"

using namespace ovrix;

int main(int argc, char** argv) {
    bool tsv = false;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--tsv") {
            tsv = true;
        } else if (path.empty() && arg.rfind("-", 0) != 0) {
            path = arg;
        } else {
            std::fprintf(stderr, "usage: ovrix-list [--tsv] IMAGE-or-EXE\n");
            return 2;
        }
    }
    if (path.empty()) {
        std::fprintf(stderr, "usage: ovrix-list [--tsv] IMAGE-or-EXE\n");
        return 2;
    }
    std::string error;
    auto image = LoadImageFile(path, error);
    if (!image) {
        std::fprintf(stderr, "ovrix-list: %s\n", error.c_str());
        return 1;
    }
    const std::string text = tsv ? ListImageTsv(*image) : ListImage(*image);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
