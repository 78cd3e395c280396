// The stop and pause hotkeys: which key and modifiers a hotkey name stands
// for, the modifiers in the form RegisterHotKey takes, and the name a user
// reads ("Ctrl + Alt + F12"), built from the platform's own key names so that
// it follows the keyboard layout.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Input.h"
#include "platform/ProgressWindow.h"

namespace ovrix {

// Modifier bits as the image stores them.
constexpr uint32_t kHotkeyShift = 1;
constexpr uint32_t kHotkeyCtrl = 2;
constexpr uint32_t kHotkeyAlt = 4;
constexpr uint32_t kHotkeyExtended = 8;

// RegisterHotKey's modifier flags.
constexpr uint32_t kModAlt = 1;
constexpr uint32_t kModControl = 2;
constexpr uint32_t kModShift = 4;

struct Hotkey {
    uint32_t key = 0;
    uint32_t modifiers = 0;  // stored bits
};

// "HK_StopRun" and "HK_PauseRun" name the image's two hotkeys; any other
// name answers the defaults.
Hotkey GetHotkey(const ProgressWindowSettings& settings, std::u16string_view name, Hotkey defaults);

// The stored bits as RegisterHotKey flags; the extended bit has no flag.
uint32_t HotkeyModifierFlags(uint32_t modifiers);

// "Ctrl + Shift + Alt + <key>" with the modifiers present, in that order,
// each named by the platform; empty for key 0 without modifiers.
std::u16string HotkeyDisplayName(Input& input, Hotkey hotkey);

}  // namespace ovrix
