// ovrix-list: shows what an image holds: the playback settings with their
// values (or defaults) and every script as an indented step tree.
//
//   ovrix-list IMAGE-or-EXE          settings and step trees
//   ovrix-list --tsv IMAGE-or-EXE    one line per step, tab-separated
//   ovrix-list --source IMAGE-or-EXE [-o FOLDER]
//                                    the source form (stdout, or FOLDER/NAME.ovs
//                                    with the pictures beside it)
#include <cstdio>
#include <string>
#include <vector>

#include "ImageFile.h"
#include "ListFormat.h"
#include "container/Text.h"
#include "source/ImageSource.h"

using namespace ovrix;

namespace {

constexpr const char* kUsage = "usage: ovrix-list [--tsv | --source [-o FOLDER]] IMAGE-or-EXE\n";

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name.empty() ? "image" : name;
}

bool WriteText(const std::string& path, std::string_view text) {
    return WriteWholeFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

int ListSource(const std::vector<uint8_t>& image, const std::string& path, const std::string& folder) {
    const Region region{image.data(), static_cast<uint32_t>(image.size())};
    if (folder.empty()) {
        const std::string text = ToUtf8(WriteImageSource(region, nullptr));
        std::fwrite(text.data(), 1, text.size(), stdout);
        return 0;
    }
    const std::string name = BaseName(path);
    PictureFiles pictures;
    pictures.SetPrefix(FromUtf8(name));
    const std::string text = ToUtf8(WriteImageSource(region, &pictures));
    for (const auto& [file, bytes] : pictures.Files()) {
        if (!WriteWholeFile(folder + "/" + ToUtf8(file), bytes)) {
            std::fprintf(stderr, "ovrix-list: cannot write %s/%s\n", folder.c_str(), ToUtf8(file).c_str());
            return 1;
        }
    }
    if (!WriteText(folder + "/" + name + ".ovs", text)) {
        std::fprintf(stderr, "ovrix-list: cannot write %s/%s.ovs\n", folder.c_str(), name.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool tsv = false;
    bool source = false;
    std::string path;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--tsv") {
            tsv = true;
        } else if (arg == "--source") {
            source = true;
        } else if (arg == "-o" && i + 1 < argc) {
            folder = argv[++i];
        } else if (path.empty() && arg.rfind("-", 0) != 0) {
            path = arg;
        } else {
            std::fprintf(stderr, "%s", kUsage);
            return 2;
        }
    }
    if (path.empty() || (tsv && source) || (!folder.empty() && !source)) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    std::string error;
    auto image = LoadImageFile(path, error);
    if (!image) {
        std::fprintf(stderr, "ovrix-list: %s\n", error.c_str());
        return 1;
    }
    if (source) return ListSource(*image, path, folder);
    const std::string text = tsv ? ListImageTsv(*image) : ListImage(*image);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}
