// The keyboard steps: a key combination, a single key press or release, and
// a text to type. This file holds their fields, stored form and text forms;
// playing them is the business of the keyboard actions.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "script/Event.h"

namespace ovrix {

// Modifiers held around up to sixteen keys pressed together. The key count
// is kept as stored even when it is larger than the key array; only the
// first min(count, 16) keys are ever looked at.
class KeystrokeEvent : public EventOf<KeystrokeEvent, 15> {
public:
    static constexpr size_t kMaxKeys = 16;

    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;

    // The keys that count: the first keyCount, at most kMaxKeys.
    size_t UsedKeys() const { return keyCount < kMaxKeys ? keyCount : kMaxKeys; }
    auto Fields() const {
        return FieldList(ctrl, shift, alt, win, keyCount, LeadingField<uint8_t>{keys.data(), UsedKeys()});
    }

    uint8_t ctrl = 0;
    uint8_t shift = 0;
    uint8_t alt = 0;
    uint8_t win = 0;
    uint32_t keyCount = 0;
    std::array<uint8_t, kMaxKeys> keys{};  // virtual-key codes
};

// One key pressed (KeyDownEvent) or released (KeyUpEvent). The code is kept
// whole; only its low byte reaches the keyboard.
class KeyDownEvent : public EventOf<KeyDownEvent, 17> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(virtualKey); }

    uint32_t virtualKey = 0;
};

class KeyUpEvent : public EventOf<KeyUpEvent, 18> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(virtualKey); }

    uint32_t virtualKey = 0;
};

// A text typed key by key or pasted through the clipboard. Streams never
// yield one (the loader turns stored text-input steps into calls of the
// built-in "TypeText"); the factory still makes it.
class InputTextEvent : public EventOf<InputTextEvent, 16> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(text, paste); }

    std::u16string text;
    uint32_t paste = 1;
};

}  // namespace ovrix
