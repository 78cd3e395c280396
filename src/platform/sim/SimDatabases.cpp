#include "platform/sim/SimDatabases.h"

#if !defined(_WIN32)
#include <dlfcn.h>
#endif


namespace ovrix {

namespace {

#if !defined(_WIN32)
template <class F>
bool Take(void* library, const char* name, F& entry) {
    entry = reinterpret_cast<F>(dlsym(library, name));
    return entry != nullptr;
}
#endif

}  // namespace


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
