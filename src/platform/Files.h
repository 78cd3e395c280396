// Files and folders: what exists, finding by pattern, reading whole files,
// and the calls that change the disk (copy, delete, write, append, setting
// a time), which are traced. Paths are the script's Windows paths; relative
// ones count from the process's current folder.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Facet.h"

namespace ovrix {

// The platform's attribute bit that marks a folder.
constexpr uint32_t kFolderAttribute = 0x10;

// Error codes the desktops answer (the platform's own numbers).
namespace fileerror {
constexpr uint32_t kNotFound = 2;
constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kNotEnoughMemory = 8;
constexpr uint32_t kInvalidName = 123;
}  // namespace fileerror

// One file or folder as a search or a query sees it. Times are seconds since
// 1970-01-01 00:00 UTC.
struct FoundFile {
    std::u16string name;  // the name alone, without its folder
    uint32_t attributes = 0;
    uint64_t size = 0;
    int64_t creationTime = 0;
    int64_t lastAccessTime = 0;
    int64_t lastWriteTime = 0;
};

// A directory enumeration. First starts a search for the pattern (a path
// whose last part may hold the wildcards * and ?) and answers its first
// match; Next answers the following match. Both answer false when there is
// no (further) match. Neither is called again after one answered false.
class FileSearch {
public:
    virtual ~FileSearch() = default;
    virtual bool First(std::u16string_view pattern, FoundFile& found) = 0;
    virtual bool Next(FoundFile& found) = 0;
};

enum class FileTime { Creation, LastWrite };

// Who copies or deletes: the file steps trace their own lines ("copy",
// "delete", with the error code their status shows); the file functions
// trace theirs in the "file" family with the other changes they make.
enum class FileCaller { Step, Function };

class Files : public TracedFacet {
public:
    // Traced. 0 on success, else the platform's error code (2: not found).
    uint32_t CopyFile(std::u16string_view source, std::u16string_view destination,
                      FileCaller caller = FileCaller::Step);
    uint32_t DeleteFile(std::u16string_view path, FileCaller caller = FileCaller::Step);
    // Traced: replaces the file's content, or adds to its end (making the
    // file when it is missing).
    uint32_t WriteFile(std::u16string_view path, const std::vector<uint8_t>& bytes, bool append);
    // Traced: sets one of the file's times (seconds since 1970, UTC).
    uint32_t SetFileTime(std::u16string_view path, FileTime which, int64_t seconds);

    // True when a file or folder exists at the path.
    virtual bool FileExists(std::u16string_view path) = 0;
    // The file or folder at the path, its name as the disk spells it.
    virtual std::optional<FoundFile> FileInfo(std::u16string_view path) = 0;
    // The file's first `maxBytes` bytes (all of a smaller one); 0 or the
    // error code.
    virtual uint32_t ReadFile(std::u16string_view path, uint64_t maxBytes, std::vector<uint8_t>& out) = 0;
    // A new search, not yet started.
    virtual std::unique_ptr<FileSearch> NewSearch() = 0;
    virtual std::u16string GetCurrentDirectory() = 0;
    virtual bool SetCurrentDirectory(std::u16string_view path) = 0;

protected:
    virtual uint32_t DoCopyFile(std::u16string_view source, std::u16string_view destination) = 0;
    virtual uint32_t DoDeleteFile(std::u16string_view path) = 0;
    virtual uint32_t DoWriteFile(std::u16string_view path, const std::vector<uint8_t>& bytes, bool append) = 0;
    virtual uint32_t DoSetFileTime(std::u16string_view path, FileTime which, int64_t seconds) = 0;
};

}  // namespace ovrix
