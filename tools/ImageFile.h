// Reading and writing the files the tools work on: raw images, and player
// executables that carry an image in their slot. The slot is found by its
// marker in an unfilled executable, and by the executable's ".ovrix" section
// in a filled one (the marker is overwritten when an image is packed).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ovrix {

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path);
// Writes to a temporary file beside `path` and renames it, so a failure
// leaves no partial output behind.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Offsets of every occurrence of the slot marker.
std::vector<size_t> FindMarkers(const std::vector<uint8_t>& file);
// File offset of the slot through the PE section table; nullopt when the
// file is no PE executable or has no ".ovrix" section.
std::optional<size_t> SlotFromSections(const std::vector<uint8_t>& file);

// A copy of an unfilled player with `image` written into its slot; on
// failure answers nullopt and sets `error`.
std::optional<std::vector<uint8_t>> PackImage(const std::vector<uint8_t>& player, const std::vector<uint8_t>& image,
                                              std::string& error);

// The image in a file: an executable's slot content, or the file itself.
// On failure answers nullopt and sets `error`.
std::optional<std::vector<uint8_t>> LoadImageFile(const std::string& path, std::string& error);

}  // namespace ovrix
