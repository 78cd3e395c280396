// Fuzzes the macro source compiler: any input is compiled (as UTF-8 text,
// with no picture files beside it). A text that compiles must write back to
// a source that compiles to the same bytes; no input may crash, hang or
// nest without bound. The input taken as an image must list and compile
// back to itself.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "container/Text.h"
#include "source/ImageSource.h"

using namespace ovrix;

namespace {

// Source, then compile again: the same bytes.
void RoundTrip(const std::vector<uint8_t>& image) {
    const Region region{image.data(), static_cast<uint32_t>(image.size())};
    PictureFiles written;
    const std::u16string source = WriteImageSource(region, &written);
    SourceErrors errors;
    const auto again = CompileImageSource(source, errors, &written);
    if (!again || *again != image) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16)) return 0;
    RoundTrip(std::vector<uint8_t>(data, data + size));
    const std::u16string text = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    SourceErrors errors;
    PictureFiles files;
    const auto image = CompileImageSource(text, errors, &files);
    (void)errors.Format("fuzz.ovs", text);
    if (image) RoundTrip(*image);
    return 0;
}
