// The simulated desktop's registry: keys under their roots, each holding
// named values, all found without regard to case as the system finds them.
// The roots themselves always exist. A desktop description fills it before
// playback (Put, untraced); the script's writes go through the traced calls.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/Registry.h"

namespace ovrix {

class SimRegistry : public Registry {
public:
    // Creates the key and those above it.
    void AddKey(const RegistryKey& key) { Create(key); }
    // Puts the value under the key, creating the key and those above it.
    void Put(const RegistryKey& key, std::u16string_view name, RegistryValue value);
    bool HasKey(const RegistryKey& key) const;

    std::optional<RegistryValue> ReadValue(const RegistryKey& key, std::u16string_view name) override;

protected:
    bool DoWriteValue(const RegistryKey& key, std::u16string_view name, const RegistryValue& value) override;
    bool DoDeleteValue(const RegistryKey& key, std::u16string_view name) override;
    bool DoCreateKey(const RegistryKey& key) override;
    bool DoDeleteKey(const RegistryKey& key) override;

private:
    // A key by its root and its path in folded case, without outer "\".
    using KeyPath = std::pair<uint32_t, std::u16string>;
    using Values = std::map<std::u16string, RegistryValue>;  // by folded name

    static KeyPath PathOf(const RegistryKey& key);
    Values* Find(const RegistryKey& key);
    Values& Create(const RegistryKey& key);

    std::map<KeyPath, Values> keys_;
};

}  // namespace ovrix
