#include "platform/Registry.h"

#include "platform/Trace.h"

namespace ovrix {

std::u16string RegistryKey::Text() const { return u"HKEY_" + rootName + u"\\" + path; }

RegistryValue RegistryValue::FromText(uint32_t type, std::u16string_view text) {
    RegistryValue value{type, {}};
    value.bytes.reserve((text.size() + 1) * 2);
    for (char16_t unit : text) {
        value.bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        value.bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    value.bytes.insert(value.bytes.end(), {0, 0});
    return value;
}

RegistryValue RegistryValue::FromDword(uint32_t number) {
    return {regtype::kDword,
            {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number >> 16),
             static_cast<uint8_t>(number >> 24)}};
}

bool Registry::WriteValue(const RegistryKey& key, std::u16string_view name, const RegistryValue& value) {
    TraceEvent("registry", "write " + JsonString(key.Text()) + " " + JsonString(name));
    return DoWriteValue(key, name, value);
}

bool Registry::DeleteValue(const RegistryKey& key, std::u16string_view name) {
    TraceEvent("registry", "delete " + JsonString(key.Text()) + " " + JsonString(name));
    return DoDeleteValue(key, name);
}

bool Registry::CreateKey(const RegistryKey& key) {
    TraceEvent("registry", "create " + JsonString(key.Text()));
    return DoCreateKey(key);
}

bool Registry::DeleteKey(const RegistryKey& key) {
    TraceEvent("registry", "delete-key " + JsonString(key.Text()));
    return DoDeleteKey(key);
}

}  // namespace ovrix
