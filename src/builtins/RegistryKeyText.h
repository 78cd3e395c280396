// How scripts name registry keys and read registry values as text.
//
// A key text is "HKEY_" (in any case), a root name from the library's root
// table (in any case: "CURRENT_USER", "LOCAL_MACHINE", ...), "\" and the
// sub-key path: "HKEY_current_user\Software\X". Anything else names no key.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace ovrix {

std::optional<RegistryKey> ParseRegistryKey(std::u16string_view text);

// A value as Reg_GetValue shows it: texts as stored (not expanded),
// binary data as "0x" and two upper-case hex digits per byte, DWORD and
// QWORD numbers as "0x%X"; nullopt for any other type.
std::optional<std::u16string> RegistryValueText(const RegistryValue& value);

}  // namespace ovrix
