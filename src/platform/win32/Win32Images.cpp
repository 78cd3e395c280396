#include "platform/win32/Win32Images.h"

#include "platform/win32/WinApi.h"

#include <objidl.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/PictureEdit.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"

namespace ovrix::win32 {

namespace {

// Another program may hold the clipboard for a moment.
constexpr int kClipboardTries = 10;
constexpr DWORD kClipboardPauseMs = 20;

// Larger files are no picture the player could hold.
constexpr std::streamoff kLargestFile = std::streamoff{1} << 30;

struct StreamReleaser {
    void operator()(IStream* stream) const { stream->Release(); }
};

std::optional<VBmp> PictureFromBitmap(Gdiplus::Bitmap& bitmap) {
    if (bitmap.GetLastStatus() != Gdiplus::Ok) return std::nullopt;
    const UINT width = bitmap.GetWidth(), height = bitmap.GetHeight();
    std::optional<VBmp> picture = BlankPicture(width, height, 0);
    if (!picture) return std::nullopt;
    Gdiplus::BitmapData data{};
    data.Width = width;
    data.Height = height;
    data.Stride = static_cast<INT>(width * 4);
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = picture->pixels.data();
    Gdiplus::Rect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    // Read into the picture's own buffer: blue, green, red, alpha.
    if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppARGB,
                        &data) != Gdiplus::Ok) {
        return std::nullopt;
    }
    bitmap.UnlockBits(&data);
    return picture;
}

std::optional<CLSID> EncoderFor(std::u16string_view mimeType) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return std::nullopt;
    std::vector<uint8_t> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return std::nullopt;
    const std::wstring wanted = ToWide(mimeType);
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType != nullptr && wanted == codecs[i].MimeType) return codecs[i].Clsid;
    }
    return std::nullopt;
}

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

void PutLe32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

Win32ImageFiles::Win32ImageFiles() {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) token_ = token;
}

Win32ImageFiles::~Win32ImageFiles() {
    if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

std::optional<VBmp> Win32ImageFiles::LoadImage(std::u16string_view path) {
    // Read whole, so a file is checked as the bytes of a stored picture are.
    std::ifstream in(std::filesystem::path(ToWide(path)), std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size <= 0 || size > kLargestFile) return std::nullopt;
    in.seekg(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
    return DecodeImage(bytes);
}

std::optional<VBmp> Win32ImageFiles::DecodeImage(std::span<const uint8_t> bytes) {
    if (token_ == 0 || bytes.empty() || bytes.size() > static_cast<size_t>(kLargestFile) ||
        !BitmapFileHoldsItsPixels(bytes)) {
        return std::nullopt;
    }
    std::unique_ptr<IStream, StreamReleaser> stream(::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
    if (!stream) return std::nullopt;
    Gdiplus::Bitmap bitmap(stream.get());
    return PictureFromBitmap(bitmap);
}

bool Win32ImageFiles::DoSaveImage(const VBmp& picture, std::u16string_view path, const ImageEncoding& encoding) {
    if (token_ == 0 || picture.PixelBytes() != 4 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height * 4) {
        return false;
    }
    const std::optional<CLSID> encoder = EncoderFor(encoding.mimeType);
    if (!encoder) return false;
    // GDI+ only reads the pixels, but takes them through a mutable pointer.
    std::vector<uint8_t> pixels = picture.pixels;
    Gdiplus::Bitmap source(picture.width, picture.height, picture.width * 4,
                           encoding.withAlpha ? PixelFormat32bppARGB : PixelFormat32bppRGB, pixels.data());
    std::unique_ptr<Gdiplus::Bitmap> narrowed;
    Gdiplus::Bitmap* written = &source;
    if (!encoding.withAlpha) {
        narrowed.reset(source.Clone(0, 0, picture.width, picture.height, PixelFormat24bppRGB));
        if (!narrowed || narrowed->GetLastStatus() != Gdiplus::Ok) return false;
        written = narrowed.get();
    }
    const std::wstring widePath = ToWide(path);
    if (written->Save(widePath.c_str(), &*encoder, nullptr) == Gdiplus::Ok) return true;
    ::DeleteFileW(widePath.c_str());  // a failed save leaves no file
    return false;
}

std::optional<VBmp> PictureFromDib(std::span<const uint8_t> dib, ImageFiles& files) {
    constexpr size_t kFileHeaderSize = 14, kInfoHeaderSize = 40;
    if (dib.size() < kInfoHeaderSize) return std::nullopt;
    const uint32_t infoSize = Le32(dib.data());
    const uint32_t bitCount = dib[14] | (dib[15] << 8);
    const uint32_t compression = Le32(dib.data() + 16);
    const uint32_t used = Le32(dib.data() + 32);
    if (infoSize < kInfoHeaderSize || infoSize > dib.size() || bitCount == 0 || bitCount > 32) return std::nullopt;
    // The colour masks of a bit-fields bitmap follow a plain header.
    const uint64_t masks = compression == BI_BITFIELDS && infoSize == kInfoHeaderSize ? 12 : 0;
    const uint64_t colours = used != 0 ? used : bitCount <= 8 ? (1u << bitCount) : 0;
    const uint64_t offset = kFileHeaderSize + infoSize + masks + colours * 4;
    if (offset > kFileHeaderSize + dib.size()) return std::nullopt;
    // A bitmap file is the clipboard's bitmap behind a file header.
    std::vector<uint8_t> file(kFileHeaderSize + dib.size());
    file[0] = 'B';
    file[1] = 'M';
    PutLe32(file, 2, static_cast<uint32_t>(file.size()));
    PutLe32(file, 10, static_cast<uint32_t>(offset));
    std::memcpy(file.data() + kFileHeaderSize, dib.data(), dib.size());
    return files.DecodeImage(file);
}

std::optional<std::vector<uint8_t>> DibFromPicture(const VBmp& picture) {
    if (picture.Empty() || picture.PixelBytes() != 4 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height * 4) {
        return std::nullopt;
    }
    const size_t rowBytes = (static_cast<size_t>(picture.width) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> dib(40 + rowBytes * picture.height);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = picture.width;
    header.biHeight = picture.height;  // rows bottom to top
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(rowBytes * picture.height);
    std::memcpy(dib.data(), &header, sizeof(header));
    for (int32_t y = 0; y < picture.height; ++y) {
        uint8_t* row = dib.data() + 40 + rowBytes * (picture.height - 1 - y);
        const uint8_t* from = picture.pixels.data() + static_cast<size_t>(y) * picture.width * 4;
        for (int32_t x = 0; x < picture.width; ++x) std::memcpy(row + x * 3, from + x * 4, 3);
    }
    return dib;
}

std::optional<VBmp> Win32Platform::GetClipboardImage() {
    ClipboardSession clipboard(nullptr, kClipboardTries, kClipboardPauseMs);
    if (!clipboard.IsOpen()) return std::nullopt;
    const HANDLE data = ::GetClipboardData(CF_DIB);
    if (data == nullptr) return std::nullopt;
    const auto* bytes = static_cast<const uint8_t*>(::GlobalLock(data));
    if (bytes == nullptr) return std::nullopt;
    std::optional<VBmp> picture = PictureFromDib(std::span<const uint8_t>(bytes, ::GlobalSize(data)), images_);
    ::GlobalUnlock(data);
    return picture;
}

bool Win32Platform::DoSetClipboardImage(const VBmp& picture) {
    const std::optional<std::vector<uint8_t>> dib = DibFromPicture(picture);
    if (!dib) return false;
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, dib->size()));
    if (!memory) return false;
    void* target = ::GlobalLock(memory.Get());
    if (target == nullptr) return false;
    std::memcpy(target, dib->data(), dib->size());
    ::GlobalUnlock(memory.Get());

    ClipboardSession clipboard(nullptr, kClipboardTries, kClipboardPauseMs);
    if (!clipboard.IsOpen() || !::EmptyClipboard()) return false;
    if (::SetClipboardData(CF_DIB, memory.Get()) == nullptr) return false;
    memory.Release();  // the clipboard owns it now
    return true;
}

}  // namespace ovrix::win32
