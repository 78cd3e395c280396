// Fuzzes the macro source compiler: any input is compiled (as UTF-8 text,
// with no picture files beside it). A text that compiles must write back to
// a source that compiles to the same bytes; no input may crash, hang or
// nest without bound.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "container/Text.h"
#include "source/ImageSource.h"

using namespace ovrix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 16)) return 0;
    const std::u16string text = FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
    SourceErrors errors;
    PictureFiles files;
    const auto image = CompileImageSource(text, errors, &files);
    (void)errors.Format("fuzz.ovs", text);
    if (!image) return 0;
    const Region region{image->data(), static_cast<uint32_t>(image->size())};
    PictureFiles written;
    const std::u16string again = WriteImageSource(region, &written);
    SourceErrors none;
    const auto recompiled = CompileImageSource(again, none, &written);
    if (!recompiled || *recompiled != *image) __builtin_trap();
    return 0;
}
