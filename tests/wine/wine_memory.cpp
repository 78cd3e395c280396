// wine-memory: another program whose memory the player reads and writes by
// address. It writes "<value address> <read-only address> protect=0x<p>"
// (addresses in decimal, p the read-only page's protection) to the file
// named on its command line, then watches its two variables: the
// writable one starts at 1234, the read-only one (in a page the program may
// not write) at 1111. When the writable one changes, or after 60 s, it
// writes "value=<v> readonly=<r> protect=0x<p>" to the file named second
// and ends, p being the page's protection then.
#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace {

volatile int32_t gValue = 1234;
// The linker puts a const object in the read-only data section.
extern const volatile int32_t kReadOnly;
const volatile int32_t kReadOnly = 1111;

constexpr DWORD kGiveUpMs = 60000;

bool WriteLine(const wchar_t* path, const char* text) {
    FILE* file = _wfopen(path, L"wb");
    if (file == nullptr) return false;
    std::fputs(text, file);
    return std::fclose(file) == 0;
}

}  // namespace

unsigned long ReadOnlyProtection() {
    MEMORY_BASIC_INFORMATION page{};
    ::VirtualQuery(const_cast<int32_t*>(&kReadOnly), &page, sizeof page);
    return page.Protect;
}

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    char line[128];
    std::snprintf(line, sizeof line, "%llu %llu protect=0x%lx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(&gValue)),
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(&kReadOnly)), ReadOnlyProtection());
    if (!WriteLine(argv[1], line)) return 1;
    const DWORD start = ::GetTickCount();
    while (gValue == 1234 && ::GetTickCount() - start < kGiveUpMs) ::Sleep(50);
    std::snprintf(line, sizeof line, "value=%d readonly=%d protect=0x%lx", static_cast<int>(gValue),
                  static_cast<int>(kReadOnly), ReadOnlyProtection());
    return WriteLine(argv[2], line) ? 0 : 1;
}
