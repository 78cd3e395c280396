#include "platform/Files.h"

#include "platform/Trace.h"

namespace ovrix {

uint32_t Files::CopyFile(std::u16string_view source, std::u16string_view destination, FileCaller caller) {
    const uint32_t error = DoCopyFile(source, destination);
    if (caller == FileCaller::Step) {
        TraceEvent("copy", JsonString(source) + " " + JsonString(destination) + " " + std::to_string(error));
    } else {
        TraceEvent("file", "copy " + JsonString(source) + " " + JsonString(destination));
    }
    return error;
}

uint32_t Files::DeleteFile(std::u16string_view path, FileCaller caller) {
    const uint32_t error = DoDeleteFile(path);
    if (caller == FileCaller::Step) {
        TraceEvent("delete", JsonString(path) + " " + std::to_string(error));
    } else {
        TraceEvent("file", "delete " + JsonString(path));
    }
    return error;
}

uint32_t Files::WriteFile(std::u16string_view path, const std::vector<uint8_t>& bytes, bool append) {
    const uint32_t error = DoWriteFile(path, bytes, append);
    TraceEvent("file", std::string(append ? "append " : "write ") + JsonString(path) + " " +
                           std::to_string(bytes.size()));
    return error;
}

uint32_t Files::SetFileTime(std::u16string_view path, FileTime which, int64_t seconds) {
    const uint32_t error = DoSetFileTime(path, which, seconds);
    TraceEvent("file", std::string("time ") + JsonString(path) +
                           (which == FileTime::Creation ? " creation " : " modify ") + std::to_string(seconds));
    return error;
}

}  // namespace ovrix
