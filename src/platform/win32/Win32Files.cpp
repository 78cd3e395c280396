#include "platform/win32/Win32Files.h"

#include <algorithm>

#include "platform/win32/Handles.h"
#include "platform/win32/Wide.h"

namespace ovrix::win32 {

namespace {

// CreateFileW answers INVALID_HANDLE_VALUE, not null, when it fails.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};
using UniqueFile = UniqueResource<FileHandleTraits>;

struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindClose(h); }
};
using UniqueFind = UniqueResource<FindHandleTraits>;

// Seconds between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 11644473600;
constexpr int64_t kTicksPerSecond = 10000000;

int64_t SecondsOf(const FILETIME& time) {
    const int64_t ticks = (static_cast<int64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return ticks / kTicksPerSecond - kEpochDifference;
}

FILETIME FileTimeOf(int64_t seconds) {
    const uint64_t ticks = static_cast<uint64_t>((seconds + kEpochDifference) * kTicksPerSecond);
    return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
}

// What a search and an attribute query both tell of a file.
template <class Data>
void TakeAttributes(const Data& data, FoundFile& found) {
    found.attributes = data.dwFileAttributes;
    found.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    found.creationTime = SecondsOf(data.ftCreationTime);
    found.lastAccessTime = SecondsOf(data.ftLastAccessTime);
    found.lastWriteTime = SecondsOf(data.ftLastWriteTime);
}

FoundFile Found(const WIN32_FIND_DATAW& data) {
    FoundFile found;
    found.name = FromWide(data.cFileName);
    TakeAttributes(data, found);
    return found;
}

class Win32FileSearch final : public FileSearch {
public:
    bool First(std::u16string_view pattern, FoundFile& found) override {
        const std::wstring wide = ToWide(pattern);
        WIN32_FIND_DATAW data{};
        find_.Reset(::FindFirstFileW(wide.c_str(), &data));
        if (!find_) return false;
        found = Found(data);
        return true;
    }

    bool Next(FoundFile& found) override {
        WIN32_FIND_DATAW data{};
        if (!find_ || !::FindNextFileW(find_.Get(), &data)) return false;
        found = Found(data);
        return true;
    }

private:
    UniqueFind find_;
};

UniqueFile Open(std::u16string_view path, DWORD access, DWORD disposition) {
    const std::wstring wide = ToWide(path);
    return UniqueFile(::CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

// Any attributes at all mean something exists there, a file or a folder.
bool Win32Files::FileExists(std::u16string_view path) {
    const std::wstring wide = ToWide(path);
    return ::GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<FoundFile> Win32Files::FileInfo(std::u16string_view path) {
    const std::wstring wide = ToWide(path);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    FoundFile found;
    const size_t cut = path.find_last_of(u"\\/");
    found.name = std::u16string(cut == std::u16string_view::npos ? path : path.substr(cut + 1));
    TakeAttributes(data, found);
    return found;
}

uint32_t Win32Files::ReadFile(std::u16string_view path, uint64_t maxBytes, std::vector<uint8_t>& out) {
    out.clear();
    const UniqueFile file = Open(path, GENERIC_READ, OPEN_EXISTING);
    if (!file) return ::GetLastError();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) return ::GetLastError();
    const uint64_t wanted = std::min<uint64_t>(static_cast<uint64_t>(size.QuadPart), maxBytes);
    if (wanted > SIZE_MAX / 2) return ERROR_NOT_ENOUGH_MEMORY;
    out.resize(static_cast<size_t>(wanted));
    size_t done = 0;
    while (done < out.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(out.size() - done, 1u << 24));
        DWORD read = 0;
        if (!::ReadFile(file.Get(), out.data() + done, chunk, &read, nullptr)) return ::GetLastError();
        if (read == 0) break;
        done += read;
    }
    out.resize(done);
    return 0;
}

std::unique_ptr<FileSearch> Win32Files::NewSearch() { return std::make_unique<Win32FileSearch>(); }

std::u16string Win32Files::GetCurrentDirectory() {
    const DWORD needed = ::GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return {};
    std::wstring buffer(needed, L'\0');
    const DWORD length = ::GetCurrentDirectoryW(needed, buffer.data());
    buffer.resize(length < needed ? length : 0);
    return FromWide(buffer);
}

bool Win32Files::SetCurrentDirectory(std::u16string_view path) {
    const std::wstring wide = ToWide(path);
    return ::SetCurrentDirectoryW(wide.c_str()) != FALSE;
}

uint32_t Win32Files::DoCopyFile(std::u16string_view source, std::u16string_view destination) {
    const std::wstring from = ToWide(source);
    const std::wstring to = ToWide(destination);
    return ::CopyFileW(from.c_str(), to.c_str(), FALSE) ? 0 : ::GetLastError();
}

uint32_t Win32Files::DoDeleteFile(std::u16string_view path) {
    const std::wstring wide = ToWide(path);
    return ::DeleteFileW(wide.c_str()) ? 0 : ::GetLastError();
}

uint32_t Win32Files::DoWriteFile(std::u16string_view path, const std::vector<uint8_t>& bytes, bool append) {
    const UniqueFile file = append ? Open(path, FILE_APPEND_DATA, OPEN_ALWAYS) : Open(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (!file) return ::GetLastError();
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        DWORD written = 0;
        if (!::WriteFile(file.Get(), bytes.data() + done, chunk, &written, nullptr)) return ::GetLastError();
        done += written;
    }
    return 0;
}

uint32_t Win32Files::DoSetFileTime(std::u16string_view path, FileTime which, int64_t seconds) {
    const UniqueFile file = Open(path, FILE_WRITE_ATTRIBUTES, OPEN_EXISTING);
    if (!file) return ::GetLastError();
    const FILETIME time = FileTimeOf(seconds);
    const BOOL done = which == FileTime::Creation ? ::SetFileTime(file.Get(), &time, nullptr, nullptr)
                                                   : ::SetFileTime(file.Get(), nullptr, nullptr, &time);
    return done ? 0 : ::GetLastError();
}

}  // namespace ovrix::win32
