#include "platform/Files.h"

#include "platform/Trace.h"

namespace ovrix {

uint32_t Files::CopyFile(std::u16string_view source, std::u16string_view destination) {
    const uint32_t error = DoCopyFile(source, destination);
    TraceEvent("copy", JsonString(source) + " " + JsonString(destination) + " " + std::to_string(error));
    return error;
}

uint32_t Files::DeleteFile(std::u16string_view path) {
    const uint32_t error = DoDeleteFile(path);
    TraceEvent("delete", JsonString(path) + " " + std::to_string(error));
    return error;
}

}  // namespace ovrix
