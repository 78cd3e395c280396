// Image files on the real desktop, through GDI+: any format it reads comes
// in as a 32-bit picture, and pictures go out through the installed encoder
// whose MIME type text the file's extension names. GDI+ is started for the
// life of the object (the starts are counted, so the player's own start
// does not clash).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/ImageFiles.h"

namespace ovrix::win32 {

class Win32ImageFiles : public ImageFiles {
public:
    Win32ImageFiles();
    ~Win32ImageFiles() override;
    Win32ImageFiles(const Win32ImageFiles&) = delete;
    Win32ImageFiles& operator=(const Win32ImageFiles&) = delete;

    std::optional<VBmp> LoadImage(std::u16string_view path) override;
    std::optional<VBmp> DecodeImage(std::span<const uint8_t> bytes) override;

protected:
    bool DoSaveImage(const VBmp& picture, std::u16string_view path, const ImageEncoding& encoding) override;

private:
    uintptr_t token_ = 0;
};

// The clipboard's device-independent bitmap (CF_DIB) read as a picture, and
// a picture as one (24 bits per pixel, rows bottom to top).
std::optional<VBmp> PictureFromDib(std::span<const uint8_t> dib, ImageFiles& files);
std::optional<std::vector<uint8_t>> DibFromPicture(const VBmp& picture);

}  // namespace ovrix::win32
