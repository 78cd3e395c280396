#include "container/Image.h"

#include <string>

#include "container/Tags.h"
#include "container/Text.h"

namespace ovrix {

Region ImageFromSlot(std::span<const uint8_t> slot) {
    if (slot.size() < 4) return {};
    const uint32_t length = LoadU32(slot.data());
    if (length > kMaxImageSize || length > slot.size() - 4) return {};
    return Region{slot.data() + 4, length};
}

std::optional<Region> LookupEmbeddedScript(Region image, std::u16string_view name) {
    if (name.empty()) return std::nullopt;
    for (uint32_t n = 0; n <= 0xFFFFFF; ++n) {
        const std::u16string stored = ReadString(image, tag::ScriptName(n), u"");
        if (stored.empty() && n > 0) return std::nullopt;
        if (EqualsNoCase(stored, name)) return FindRecord(image, tag::Stream(n));
    }
    return std::nullopt;
}

}  // namespace ovrix
