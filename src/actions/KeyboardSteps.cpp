// Fields, stored form and text forms of the keyboard steps.
#include "actions/KeyboardSteps.h"

#include <algorithm>

#include "actions/KeyName.h"
#include "container/Tags.h"
#include "container/Text.h"

namespace ovrix {

namespace {

constexpr uint32_t kCtrlTag = MakeTag("CTRL");
constexpr uint32_t kShiftTag = MakeTag("SHFT");
constexpr uint32_t kAltTag = MakeTag("ALT");
constexpr uint32_t kWinTag = MakeTag("WIN");
constexpr uint32_t kKeyCountTag = MakeTag("NKEY");
constexpr uint32_t kKeyTag = MakeTag("KEY");
constexpr uint32_t kTextTag = MakeTag("TEXT");
constexpr uint32_t kPasteTag = MakeTag("PST");

}  // namespace

// --- KeystrokeEvent ---

std::u16string KeystrokeEvent::GetText() const {
    std::u16string combination;
    auto add = [&combination, first = true](std::u16string_view part) mutable {
        if (!first) combination += u" + ";
        combination += part;
        first = false;
    };
    if (ctrl) add(u"Ctrl");
    if (shift) add(u"Shift");
    if (alt) add(u"Alt");
    if (win) add(u"Win");
    for (size_t i = 0; i < UsedKeys(); ++i) add(KeyName(keys[i]));
    return u"Keystroke " + Quote(combination);
}

void KeystrokeEvent::Save(RecordBuffer& buffer) const {
    WriteU32(buffer, kCtrlTag, ctrl);
    WriteU32(buffer, kShiftTag, shift);
    WriteU32(buffer, kAltTag, alt);
    WriteU32(buffer, kWinTag, win);
    WriteU32(buffer, kKeyCountTag, keyCount);
    if (keyCount > 0) WriteRecord(buffer, kKeyTag, keys.data(), static_cast<uint32_t>(UsedKeys()));
}

void KeystrokeEvent::Load(Region data, EventList&) {
    ctrl = static_cast<uint8_t>(ReadU32(data, kCtrlTag, 0));
    shift = static_cast<uint8_t>(ReadU32(data, kShiftTag, 0));
    alt = static_cast<uint8_t>(ReadU32(data, kAltTag, 0));
    win = static_cast<uint8_t>(ReadU32(data, kWinTag, 0));
    keyCount = ReadU32(data, kKeyCountTag, 0);
    keys.fill(0);
    // A key record longer than the count, or one that would fill the whole
    // array, is not trusted: the keys then stay 0.
    if (auto record = FindRecord(data, kKeyTag); record && record->size <= keyCount && record->size < kMaxKeys) {
        std::copy_n(record->base, record->size, keys.begin());
    }
}

// --- KeyDownEvent, KeyUpEvent ---

std::u16string KeyDownEvent::GetText() const { return u"Key Down " + Quote(KeyName(virtualKey)); }
void KeyDownEvent::Save(RecordBuffer& buffer) const { WriteU32(buffer, kKeyTag, virtualKey); }
void KeyDownEvent::Load(Region data, EventList&) { virtualKey = ReadU32(data, kKeyTag, 0); }

std::u16string KeyUpEvent::GetText() const { return u"Key Up " + Quote(KeyName(virtualKey)); }
void KeyUpEvent::Save(RecordBuffer& buffer) const { WriteU32(buffer, kKeyTag, virtualKey); }
void KeyUpEvent::Load(Region data, EventList&) { virtualKey = ReadU32(data, kKeyTag, 0); }

// --- InputTextEvent ---

std::u16string InputTextEvent::GetText() const {
    // One line: line breaks of the text show as spaces.
    return ReplaceAll(u"Input " + Quote(text), u"\r\n", u" ");
}

void InputTextEvent::Save(RecordBuffer& buffer) const {
    WriteString(buffer, kTextTag, text);
    WriteU32(buffer, kPasteTag, paste);
}

void InputTextEvent::Load(Region data, EventList&) {
    text = ReadString(data, kTextTag, u"");
    paste = ReadU32(data, kPasteTag, 1);
}

}  // namespace ovrix
