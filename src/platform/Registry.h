// The system registry: values read with their type and bytes, values and
// keys written, created and deleted. A key is named by its root's handle
// number (0x80000001 for the current user's root) and the sub-key path under
// it; the root's name is carried only so that traces name the key in full.
// Traced as
//   registry write "<key>" "<name>"
//   registry delete "<key>" "<name>"
//   registry create "<key>"
//   registry delete-key "<key>"
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Facet.h"

namespace ovrix {

// The value types the player reads and writes, by their system numbers.
namespace regtype {
constexpr uint32_t kString = 1;        // REG_SZ
constexpr uint32_t kExpandString = 2;  // REG_EXPAND_SZ
constexpr uint32_t kBinary = 3;        // REG_BINARY
constexpr uint32_t kDword = 4;         // REG_DWORD
constexpr uint32_t kQword = 11;        // REG_QWORD
}  // namespace regtype

struct RegistryKey {
    uint32_t root = 0;
    std::u16string rootName;  // upper case, without "HKEY_": "CURRENT_USER"
    std::u16string path;      // the sub-key path, without a leading "\"

    // "HKEY_CURRENT_USER\Software\X"
    std::u16string Text() const;
};

// A value as the registry stores it: texts are UTF-16LE with their
// terminating zero, numbers little-endian.
struct RegistryValue {
    uint32_t type = 0;
    std::vector<uint8_t> bytes;

    static RegistryValue FromText(uint32_t type, std::u16string_view text);
    static RegistryValue FromDword(uint32_t value);
};

class Registry : public TracedFacet {
public:
    // Traced. Writing needs the key to exist; false when the key cannot be
    // opened or the value not written.
    bool WriteValue(const RegistryKey& key, std::u16string_view name, const RegistryValue& value);
    bool DeleteValue(const RegistryKey& key, std::u16string_view name);
    // Creates the key and the keys above it that are missing.
    bool CreateKey(const RegistryKey& key);
    // Refused for a key that has sub-keys.
    bool DeleteKey(const RegistryKey& key);

    // nullopt when the key cannot be opened or holds no such value.
    virtual std::optional<RegistryValue> ReadValue(const RegistryKey& key, std::u16string_view name) = 0;

protected:
    virtual bool DoWriteValue(const RegistryKey& key, std::u16string_view name, const RegistryValue& value) = 0;
    virtual bool DoDeleteValue(const RegistryKey& key, std::u16string_view name) = 0;
    virtual bool DoCreateKey(const RegistryKey& key) = 0;
    virtual bool DoDeleteKey(const RegistryKey& key) = 0;
};

}  // namespace ovrix
