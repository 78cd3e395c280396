#include "platform/sim/PictureCodec.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>

#include "platform/PictureEdit.h"

namespace ovrix {

namespace {

struct LibraryPixels {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

// The library gives red, green, blue, alpha; pictures hold blue first.
void SwapRedAndBlue(std::vector<uint8_t>& pixels) {
    for (size_t i = 0; i + 3 < pixels.size(); i += 4) std::swap(pixels[i], pixels[i + 2]);
}

void Append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::optional<VBmp> DecodePicture(std::span<const uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max())) return std::nullopt;
    if (!BitmapFileHoldsItsPixels(bytes)) return std::nullopt;
    const int length = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    // The library tells a bitmap file's height with its sign (below 0: rows
    // top to bottom) until the file is read.
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels) ||
        !PictureSizeAllowed(width, height < 0 ? -int64_t{height} : height)) {
        return std::nullopt;
    }
    std::unique_ptr<stbi_uc, LibraryPixels> decoded(
        stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4));
    if (!decoded || !PictureSizeAllowed(width, height)) return std::nullopt;
    VBmp picture;
    picture.width = width;
    picture.height = height;
    picture.bitsPerPixel = 32;
    picture.pixels.assign(decoded.get(), decoded.get() + static_cast<size_t>(width) * height * 4);
    SwapRedAndBlue(picture.pixels);
    return picture;
}

std::optional<VBmp> DecodePictureFile(std::u16string_view path) {
    if (path.empty()) return std::nullopt;
    std::ifstream in(std::filesystem::path(std::u16string(path)), std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    // No image the library reads is larger than this in its file.
    if (size <= 0 || size > std::streamoff{1} << 30) return std::nullopt;
    in.seekg(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
    return DecodePicture(bytes);
}

std::optional<std::vector<uint8_t>> EncodePicture(const VBmp& picture, const ImageEncoding& encoding) {
    if (picture.Empty() || picture.PixelBytes() != 4 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height * 4) {
        return std::nullopt;
    }
    const std::u16string_view type = encoding.mimeType;
    const bool png = type == u"image/png", bmp = type == u"image/bmp", jpeg = type == u"image/jpeg";
    if (!png && !bmp && !jpeg) return std::nullopt;
    // Red first for the library; without alpha, three bytes a pixel.
    const int channels = encoding.withAlpha ? 4 : 3;
    std::vector<uint8_t> rgb(static_cast<size_t>(picture.width) * picture.height * channels);
    for (size_t from = 0, to = 0; from < picture.pixels.size(); from += 4, to += channels) {
        rgb[to] = picture.pixels[from + 2];
        rgb[to + 1] = picture.pixels[from + 1];
        rgb[to + 2] = picture.pixels[from];
        if (channels == 4) rgb[to + 3] = picture.pixels[from + 3];
    }
    std::vector<uint8_t> out;
    int written = 0;
    if (png) {
        written = stbi_write_png_to_func(Append, &out, picture.width, picture.height, channels, rgb.data(),
                                         picture.width * channels);
    } else if (bmp) {
        written = stbi_write_bmp_to_func(Append, &out, picture.width, picture.height, channels, rgb.data());
    } else {
        constexpr int kQuality = 90;
        written = stbi_write_jpg_to_func(Append, &out, picture.width, picture.height, channels, rgb.data(), kQuality);
    }
    if (written == 0) return std::nullopt;
    return out;
}

}  // namespace ovrix
