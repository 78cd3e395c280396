// The real disk through the wide-character file calls, so that paths with
// any characters work. Times cross as FILETIME (100 ns since 1601, UTC).
#pragma once

#include "platform/Files.h"

namespace ovrix::win32 {

class Win32Files final : public Files {
public:
    bool FileExists(std::u16string_view path) override;
    std::optional<FoundFile> FileInfo(std::u16string_view path) override;
    uint32_t ReadFile(std::u16string_view path, uint64_t maxBytes, std::vector<uint8_t>& out) override;
    std::unique_ptr<FileSearch> NewSearch() override;
    std::u16string GetCurrentDirectory() override;
    bool SetCurrentDirectory(std::u16string_view path) override;
    // The system's ANSI code page (CP_ACP).

protected:
    uint32_t DoCopyFile(std::u16string_view source, std::u16string_view destination) override;
    uint32_t DoDeleteFile(std::u16string_view path) override;
    uint32_t DoWriteFile(std::u16string_view path, const std::vector<uint8_t>& bytes, bool append) override;
    uint32_t DoSetFileTime(std::u16string_view path, FileTime which, int64_t seconds) override;
};

}  // namespace ovrix::win32
