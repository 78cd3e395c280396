// ovrix-demo-image: writes the default demo image, the one the README plays.
#include <cstdio>
#include <string>

#include "ImageFile.h"
#include "builder/DemoImage.h"

int main(int argc, char** argv) {
    if (argc != 3 || std::string(argv[1]) != "-o") {
        std::fprintf(stderr, "usage: ovrix-demo-image -o IMAGE\n");
        return 2;
    }
    if (!ovrix::WriteWholeFile(argv[2], ovrix::BuildDemoImage())) {
        std::fprintf(stderr, "ovrix-demo-image: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
