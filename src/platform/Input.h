// Mouse and keyboard: the events sent (traced), the cursor, and what the
// keyboard layout and the system say about keys and buttons.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Facet.h"
#include "platform/Screen.h"

namespace ovrix {

// One keyboard record of SendInput (type 1). Unicode records carry the
// character in scan and have vk 0.
struct KeyInput {
    uint16_t vk = 0;
    uint16_t scan = 0;
    uint32_t flags = 0;
};

// Key event flags.
constexpr uint32_t kKeyExtended = 0x1;
constexpr uint32_t kKeyUp = 0x2;
constexpr uint32_t kKeyUnicode = 0x4;

class Input : public TracedFacet {
public:
    // Traced.
    void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data);
    void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags);
    void SetCursorPos(int32_t x, int32_t y);
    // Sends the records as one SendInput call; answers false when the
    // platform has no such call or refused it.
    bool SendInput(const std::vector<KeyInput>& records);

    virtual Point GetCursorPos() = 0;
    virtual bool ButtonsSwapped() = 0;
    // MapVirtualKeyW (code, 0): the scan code of a virtual key.
    virtual uint32_t MapVirtualKey(uint32_t code) = 0;
    // VkKeyScanW: key in the low byte, shift state in the high byte; -1 for none.
    virtual int16_t VkKeyScan(char16_t c) = 0;
    // GetKeyNameTextW: the key's name for a key-message lParam (scan code in
    // bits 16 to 23, bit 24 for an extended key); empty when it has none.
    virtual std::u16string KeyNameText(uint32_t lParam) = 0;
    virtual bool CapsLockOn() = 0;
    // Whether the key is held down now (GetAsyncKeyState's high bit).
    virtual bool IsKeyDown(uint8_t vk) = 0;

protected:
    virtual void DoMouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data) = 0;
    virtual void DoKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) = 0;
    virtual void DoSetCursorPos(int32_t x, int32_t y) = 0;
    virtual bool DoSendInput(const std::vector<KeyInput>& records) = 0;
};

}  // namespace ovrix
