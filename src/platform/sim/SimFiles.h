// The simulated desktop's disk: Windows paths mapped into one real folder,
// so that a dry run never touches the user's files. `X:\dir\name` lives at
// `<root>/X/dir/name`. Names are found without regard to case, as Windows
// finds them, by walking the real folders; a name not there yet keeps the
// spelling the script gave. The current folder starts as `C:\` and relative
// paths count from it. A `..` that would climb above a drive's folder (and
// so out of the root) is refused as access denied, a UNC path as a bad
// network path, and a name with a character Windows forbids as invalid.
//
// The root is a folder a desktop description names, or a fresh temporary
// folder holding only an empty drive C, made at first use and removed with
// this object; a drive without its folder is missing (path not found). What the
// player writes is stamped with the virtual clock; creation times, which the
// real disk cannot be told, are kept here.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace ovrix {

class SimFiles final : public Files {
public:
    // `now` tells the virtual wall clock in seconds since 1970.
    explicit SimFiles(std::function<int64_t()> now);
    ~SimFiles() override;
    SimFiles(const SimFiles&) = delete;
    SimFiles& operator=(const SimFiles&) = delete;

    // Lives in this folder from now on (it is not removed afterwards).
    void UseFolder(std::filesystem::path folder);
    // The real folder of the simulated disk.
    const std::filesystem::path& Root();

    // Puts a file or a folder (with the folders above it) on the simulated
    // disk, as if it had always been there: nothing is traced, and a file's
    // times are the virtual clock's now. False when the path is refused.
    bool AddFile(std::u16string_view path, std::string_view content = {});
    bool AddFolder(std::u16string_view path);
    // Where a path lives in the real folder, or the error a Windows call
    // would give for it.
    struct Location {
        std::filesystem::path real;
        bool exists = false;
        bool isFolder = false;
        bool parentExists = false;
        uint32_t error = 0;  // set when the path itself is refused
    };
    Location Locate(std::u16string_view path, bool wildcards = false);

    // Copies, deletes, writes and time changes fail with this error when it
    // is not 0.
    uint32_t fileError = 0;

    bool FileExists(std::u16string_view path) override { return Locate(path).exists; }
    std::optional<FoundFile> FileInfo(std::u16string_view path) override;
    uint32_t ReadFile(std::u16string_view path, uint64_t maxBytes, std::vector<uint8_t>& out) override;
    std::unique_ptr<FileSearch> NewSearch() override;
    std::u16string GetCurrentDirectory() override { return cwd_; }
    // Only to a folder that exists; the path is kept as given, made whole.
    bool SetCurrentDirectory(std::u16string_view path) override;

    // The match of a real entry, as a search or a query answers it.
    FoundFile Describe(const std::filesystem::path& real);

protected:
    uint32_t DoCopyFile(std::u16string_view source, std::u16string_view destination) override;
    uint32_t DoDeleteFile(std::u16string_view path) override;
    uint32_t DoWriteFile(std::u16string_view path, const std::vector<uint8_t>& bytes, bool append) override;
    uint32_t DoSetFileTime(std::u16string_view path, FileTime which, int64_t seconds) override;

private:
    // The path made whole against the current folder: the drive letter
    // (upper case) and the names below it; 0 or the error.
    uint32_t Split(std::u16string_view path, bool wildcards, std::vector<std::u16string>& parts) const;
    // The error for a path that is not there: not found when its folder is.
    static uint32_t Missing(const Location& at);
    void Stamp(const std::filesystem::path& real, bool created);

    std::function<int64_t()> now_;
    std::filesystem::path root_;
    bool ownsRoot_ = false;
    std::u16string cwd_ = u"C:\\";
    std::map<std::filesystem::path, int64_t> creation_;
};

// Whether a name matches a pattern of * and ?, without regard to case; "*.*"
// matches every name, as Windows has it.
bool WildcardMatch(std::u16string_view pattern, std::u16string_view name);

}  // namespace ovrix
