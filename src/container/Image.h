// The script image: a tagged container that the editor writes into a 10 MiB
// slot of the player's executable, behind a u32 length word. The unfilled
// slot starts with a 16-byte marker by which the editor finds it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "container/Container.h"

namespace ovrix {

constexpr uint32_t kSlotSize = 10485760;
constexpr uint32_t kMaxImageSize = kSlotSize - 4;
constexpr std::array<uint8_t, 16> kSlotMarker = {0xee, 0xee, 0xde, 0x27, 0x3a, 0xab, 0x0b, 0xc2,
                                                 0x4e, 0x05, 0x7f, 0x25, 0x26, 0xbb, 0xee, 0xee};

// The image inside a slot: slot byte 4 on, as long as the length word says.
// A length word above kMaxImageSize (an executable the editor never filled)
// or one that does not fit the given bytes reads as an empty image.
Region ImageFromSlot(std::span<const uint8_t> slot);

// The stream of the embedded script whose name matches (without regard to
// case); nullopt when there is none.
std::optional<Region> LookupEmbeddedScript(Region image, std::u16string_view name);

}  // namespace ovrix
