#include "platform/win32/TraceFile.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace ovrix::win32 {

Trace TraceFromEnvironment() {
    const wchar_t* path = _wgetenv(L"OVRIX_TRACE");
    if (path == nullptr || *path == L'\0') return Trace();
    std::shared_ptr<FILE> file(_wfopen(path, L"ab"), [](FILE* f) {
        if (f != nullptr) std::fclose(f);
    });
    if (!file) return Trace();
    return Trace([file](const std::string& line) {
        std::fwrite(line.data(), 1, line.size(), file.get());
        std::fputc('\n', file.get());
        std::fflush(file.get());
    });
}

}  // namespace ovrix::win32
