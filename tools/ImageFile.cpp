#include "ImageFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "container/Container.h"
#include "container/Image.h"

namespace ovrix {

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string temp = path + ".partial";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

std::vector<size_t> FindMarkers(const std::vector<uint8_t>& file) {
    std::vector<size_t> hits;
    auto it = file.begin();
    while (true) {
        it = std::search(it, file.end(), kSlotMarker.begin(), kSlotMarker.end());
        if (it == file.end()) break;
        hits.push_back(static_cast<size_t>(it - file.begin()));
        ++it;
    }
    return hits;
}

std::optional<size_t> SlotFromSections(const std::vector<uint8_t>& file) {
    auto u16 = [&](size_t at) -> uint32_t { return file[at] | (file[at + 1] << 8); };
    if (file.size() < 0x40 || file[0] != 'M' || file[1] != 'Z') return std::nullopt;
    const size_t pe = LoadU32(&file[0x3C]);
    if (pe > file.size() || file.size() - pe < 24 || std::memcmp(&file[pe], "PE\0\0", 4) != 0) return std::nullopt;
    const uint32_t sections = u16(pe + 6);
    const size_t table = pe + 24 + u16(pe + 20);
    for (uint32_t i = 0; i < sections; ++i) {
        const size_t at = table + 40 * static_cast<size_t>(i);
        if (at + 40 > file.size()) return std::nullopt;
        if (std::memcmp(&file[at], ".ovrix\0\0", 8) != 0) continue;
        const uint64_t rawSize = LoadU32(&file[at + 16]);
        const uint64_t rawOffset = LoadU32(&file[at + 20]);
        if (rawSize < kSlotSize || rawOffset + kSlotSize > file.size()) return std::nullopt;
        return static_cast<size_t>(rawOffset);
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> PackImage(const std::vector<uint8_t>& player, const std::vector<uint8_t>& image,
                                              std::string& error) {
    if (image.size() > kMaxImageSize) {
        error = "the image is " + std::to_string(image.size()) + " bytes; an image holds at most " +
                std::to_string(kMaxImageSize) + " bytes";
        return std::nullopt;
    }
    const auto markers = FindMarkers(player);
    if (markers.empty()) {
        error = "no script slot marker found (is it an unfilled player?)";
        return std::nullopt;
    }
    if (markers.size() > 1) {
        error = "the slot marker occurs " + std::to_string(markers.size()) + " times; cannot tell which is the slot";
        return std::nullopt;
    }
    const size_t slot = markers[0];
    if (slot + kSlotSize > player.size()) {
        error = "the slot is cut short";
        return std::nullopt;
    }
    std::vector<uint8_t> out = player;
    auto at = out.begin() + static_cast<std::ptrdiff_t>(slot);
    std::fill(at, at + kSlotSize, 0);
    const auto length = static_cast<uint32_t>(image.size());
    for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(length >> (8 * i));
    std::copy(image.begin(), image.end(), at + 4);
    return out;
}

std::optional<std::vector<uint8_t>> LoadImageFile(const std::string& path, std::string& error) {
    auto file = ReadWholeFile(path);
    if (!file) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    if (file->size() < 2 || (*file)[0] != 'M' || (*file)[1] != 'Z') return file;  // a raw image

    std::optional<size_t> slot = SlotFromSections(*file);
    if (!slot) {
        const auto markers = FindMarkers(*file);
        if (markers.size() == 1) slot = markers[0];
    }
    if (!slot || *slot + kSlotSize > file->size()) {
        error = path + ": no script slot found in this executable";
        return std::nullopt;
    }
    const uint32_t length = LoadU32(&(*file)[*slot]);
    if (std::equal(kSlotMarker.begin(), kSlotMarker.end(), file->begin() + static_cast<std::ptrdiff_t>(*slot))) {
        return std::vector<uint8_t>{};  // an unfilled player: no image
    }
    if (length > kMaxImageSize) {
        error = path + ": the slot's length word " + std::to_string(length) + " exceeds the slot";
        return std::nullopt;
    }
    const auto begin = file->begin() + static_cast<std::ptrdiff_t>(*slot + 4);
    return std::vector<uint8_t>(begin, begin + length);
}

}  // namespace ovrix
