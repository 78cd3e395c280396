// Files and folders: copying and deleting (traced), whether a path exists,
// and the process's current directory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Facet.h"

namespace ovrix {

class Files : public TracedFacet {
public:
    // Traced. 0 on success, else the platform's error code (2: not found).
    uint32_t CopyFile(std::u16string_view source, std::u16string_view destination);
    uint32_t DeleteFile(std::u16string_view path);

    // True when a file or folder exists at the path.
    virtual bool FileExists(std::u16string_view path) = 0;
    virtual std::u16string GetCurrentDirectory() = 0;
    virtual bool SetCurrentDirectory(std::u16string_view path) = 0;

protected:
    virtual uint32_t DoCopyFile(std::u16string_view source, std::u16string_view destination) = 0;
    virtual uint32_t DoDeleteFile(std::u16string_view path) = 0;
};

}  // namespace ovrix
