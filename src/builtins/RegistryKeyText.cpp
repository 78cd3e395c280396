#include "builtins/RegistryKeyText.h"

#include <cstdio>

#include "builtins/Registry.h"
#include "container/Text.h"

namespace ovrix {

namespace {

constexpr std::u16string_view kPrefix = u"HKEY_";

std::u16string UpperCase(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& ch : upper) {
        if (ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - 32);
    }
    return upper;
}

uint64_t LittleEndian(const std::vector<uint8_t>& bytes, size_t size) {
    uint64_t number = 0;
    for (size_t i = size; i-- > 0;) number = (number << 8) | (i < bytes.size() ? bytes[i] : 0);
    return number;
}

std::u16string TextOf(const std::vector<uint8_t>& bytes) {
    std::u16string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        text += unit;
    }
    return text;
}

}  // namespace

std::optional<RegistryKey> ParseRegistryKey(std::u16string_view text) {
    if (text.size() < kPrefix.size() || !EqualsNoCase(text.substr(0, kPrefix.size()), kPrefix)) return std::nullopt;
    const size_t slash = text.find(u'\\', kPrefix.size());
    if (slash == std::u16string_view::npos) return std::nullopt;
    RegistryKey key;
    key.rootName = UpperCase(text.substr(kPrefix.size(), slash - kPrefix.size()));
    if (!FindRegistryRoot(key.rootName, key.root)) return std::nullopt;
    key.path.assign(text.substr(slash + 1));
    return key;
}

std::optional<std::u16string> RegistryValueText(const RegistryValue& value) {
    char digits[24];
    switch (value.type) {
        case regtype::kString:
        case regtype::kExpandString: return TextOf(value.bytes);
        case regtype::kBinary: {
            static constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
            std::u16string text = u"0x";
            for (uint8_t byte : value.bytes) {
                text += kHexDigits[byte >> 4];
                text += kHexDigits[byte & 0xF];
            }
            return text;
        }
        case regtype::kDword:
            std::snprintf(digits, sizeof digits, "0x%X", static_cast<uint32_t>(LittleEndian(value.bytes, 4)));
            return Widen(digits);
        case regtype::kQword:
            std::snprintf(digits, sizeof digits, "0x%llX",
                          static_cast<unsigned long long>(LittleEndian(value.bytes, 8)));
            return Widen(digits);
        default: return std::nullopt;
    }
}

}  // namespace ovrix
