#include "platform/sim/SimDatabases.h"

#if !defined(_WIN32)
#include <dlfcn.h>
#endif

#include <algorithm>
#include <iterator>

namespace ovrix {

namespace {

// Windows-1252's bytes 0x80 to 0x9F; 0 where the code page has no character.
// Every other byte is the Unicode unit of the same number.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char AnsiByte(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
    const auto* found = std::find(std::begin(kHighControls), std::end(kHighControls), unit);
    if (unit != 0 && found != std::end(kHighControls)) return static_cast<char>(0x80 + (found - kHighControls));
    return '?';
}

#if !defined(_WIN32)
template <class F>
bool Take(void* library, const char* name, F& entry) {
    entry = reinterpret_cast<F>(dlsym(library, name));
    return entry != nullptr;
}
#endif

}  // namespace

std::string SimDatabases::ToAnsi(std::u16string_view text, bool) {
    std::string bytes;
    bytes.reserve(text.size());
    for (char16_t unit : text) bytes += AnsiByte(unit);
    return bytes;
}

std::u16string SimDatabases::FromAnsi(std::string_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const char16_t high = byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
        units += high != 0 ? high : char16_t{byte};
    }
    return units;
}

const SqliteEntries* SimDatabases::DoLoadSqlite() {
#if defined(_WIN32)
    // The Windows builds of the simulated desktop (its tests under Wine)
    // play a machine without SQLite; the real desktop's sqlite3.dll is
    // tested end to end.
    return nullptr;
#else
    if (library_ == nullptr) {
        void* library = dlopen(libraryName.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) return nullptr;
        SqliteEntries entries;
        if (!Take(library, "sqlite3_open", entries.open) || !Take(library, "sqlite3_close", entries.close) ||
            !Take(library, "sqlite3_exec", entries.exec)) {
            dlclose(library);
            return nullptr;
        }
        library_ = library;
        entries_ = entries;
    }
    return &entries_;
#endif
}

}  // namespace ovrix
