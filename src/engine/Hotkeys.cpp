#include "engine/Hotkeys.h"

namespace ovrix {

namespace {

constexpr uint32_t kExtendedKeyBit = 1u << 24;

// The platform names keys by scan code, so the same key reads the same in
// every layout's own words.
std::u16string KeyName(Input& input, uint32_t key, bool extended) {
    uint32_t lParam = (input.MapVirtualKey(key) & 0xFF) << 16;
    if (extended) lParam |= kExtendedKeyBit;
    return input.KeyNameText(lParam);
}

}  // namespace

Hotkey GetHotkey(const ProgressWindowSettings& settings, std::u16string_view name, Hotkey defaults) {
    if (name == u"HK_StopRun") return {settings.stopKey, settings.stopModifiers};
    if (name == u"HK_PauseRun") return {settings.pauseKey, settings.pauseModifiers};
    return defaults;
}

uint32_t HotkeyModifierFlags(uint32_t modifiers) {
    uint32_t flags = 0;
    if (modifiers & kHotkeyShift) flags |= kModShift;
    if (modifiers & kHotkeyCtrl) flags |= kModControl;
    if (modifiers & kHotkeyAlt) flags |= kModAlt;
    return flags;
}

std::u16string HotkeyDisplayName(Input& input, Hotkey hotkey) {
    if (hotkey.key == 0 && hotkey.modifiers == 0) return {};
    // The modifiers' own keys, named like any other key.
    static constexpr struct {
        uint32_t bit, key;
    } kModifierKeys[] = {{kHotkeyCtrl, 17}, {kHotkeyShift, 16}, {kHotkeyAlt, 18}};
    std::u16string name;
    for (const auto& modifier : kModifierKeys) {
        if (hotkey.modifiers & modifier.bit) name += KeyName(input, modifier.key, false) + u" + ";
    }
    return name + KeyName(input, hotkey.key, (hotkey.modifiers & kHotkeyExtended) != 0);
}

}  // namespace ovrix
