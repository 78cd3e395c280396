// The real registry, through advapi32. Keys are opened for each call and
// closed at its end; the player keeps none open between calls.
#pragma once

#include "platform/Registry.h"

namespace ovrix::win32 {

class Win32Registry final : public Registry {
public:
    std::optional<RegistryValue> ReadValue(const RegistryKey& key, std::u16string_view name) override;

protected:
    bool DoWriteValue(const RegistryKey& key, std::u16string_view name, const RegistryValue& value) override;
    bool DoDeleteValue(const RegistryKey& key, std::u16string_view name) override;
    bool DoCreateKey(const RegistryKey& key) override;
    bool DoDeleteKey(const RegistryKey& key) override;
};

}  // namespace ovrix::win32
