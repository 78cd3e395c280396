// The names of virtual-key codes as the key steps' text forms show them.
// The table is fixed, not the platform's (it does not depend on the keyboard
// layout); codes without a name give the empty text.
#pragma once

#include <cstdint>
#include <string>

namespace ovrix {

std::u16string KeyName(uint32_t virtualKey);

}  // namespace ovrix
