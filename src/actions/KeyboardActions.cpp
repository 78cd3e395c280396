#include "actions/KeyboardActions.h"

#include <string>
#include <utility>
#include <vector>

#include "actions/KeyboardSteps.h"
#include "engine/ExecuteStep.h"
#include "engine/Player.h"
#include "engine/TextInputConversion.h"
#include "platform/Desktop.h"
#include "script/Event.h"
#include "script/StepKinds.h"

namespace ovrix {

namespace {

constexpr uint8_t kVkEnter = 13;
constexpr uint8_t kVkShift = 16;
constexpr uint8_t kVkCtrl = 17;
constexpr uint8_t kVkAlt = 18;
constexpr uint8_t kVkLeftWin = 91;
constexpr uint8_t kVkNumpad0 = 96;
constexpr uint8_t kVkV = 86;
constexpr uint32_t kKeystrokeHold = 50;  // ms the keys of a keystroke stay down

// The text up to its first zero unit: what the system's text calls see.
std::u16string_view UpToZero(std::u16string_view text) { return text.substr(0, text.find(u'\0')); }

// A key event of the ASCII typing path: never flagged as extended.
void SendPlainKey(Desktop& desktop, uint8_t vk, bool up) {
    desktop.input.KeybdEvent(vk, static_cast<uint8_t>(desktop.input.MapVirtualKey(vk)), up ? kKeyUp : 0);
}

void TapPlainKey(Desktop& desktop, uint8_t vk) {
    SendPlainKey(desktop, vk, false);
    SendPlainKey(desktop, vk, true);
}

// A character code typed on the numeric pad while Alt is held, its decimal
// digits without leading zeros.
void TypeAltCode(Desktop& desktop, uint32_t code) {
    SendPlainKey(desktop, kVkAlt, false);
    for (const char digit : std::to_string(code)) TapPlainKey(desktop, static_cast<uint8_t>(kVkNumpad0 + digit - '0'));
    SendPlainKey(desktop, kVkAlt, true);
}

// Every unit is at most 127, so the ANSI form has the same bytes whatever
// the code page.
void TypeAsciiText(Desktop& desktop, std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<uint8_t>(text[i]);
        if (byte == '\n') {
            TapPlainKey(desktop, kVkEnter);
        } else if (byte == '\r') {
            continue;
        } else if (byte >= 'A' && byte <= 'Z') {
            SendPlainKey(desktop, kVkShift, false);
            TapPlainKey(desktop, byte);
            SendPlainKey(desktop, kVkShift, true);
        } else if (byte >= 'a' && byte <= 'z') {
            TapPlainKey(desktop, static_cast<uint8_t>(byte - 'a' + 'A'));
        } else if (byte < 127) {
            TypeAltCode(desktop, byte);
        } else {
            // A lead byte takes the next one with it as one double-byte
            // character; at the end of the text that is the terminating zero.
            const uint32_t trail = i + 1 < text.size() ? static_cast<uint8_t>(text[++i]) : 0;
            TypeAltCode(desktop, byte * 256u + trail);
        }
    }
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// One unit as a character record pair, for units the layout has no key for.
void SendUnicodeUnit(Desktop& desktop, char16_t c) {
    desktop.input.SendInput({{0, c, kKeyUnicode}, {0, c, kKeyUnicode | kKeyUp}});
}

// The layout's key for the unit, with Shift around it when the layout (or
// Caps Lock for a letter) needs it; false when the layout has no key.
bool SendLayoutKey(Desktop& desktop, char16_t c) {
    const int16_t answer = desktop.input.VkKeyScan(c);
    if (static_cast<uint16_t>(answer) == 0xFFFF) return false;
    const auto vk = static_cast<uint16_t>(answer & 0xFF);
    // A negative answer is negated before its Shift bit is read.
    const int32_t shiftState = answer < 0 ? -int32_t{answer} : answer;
    bool shift = (shiftState & 0x100) != 0;
    if (IsAsciiLetter(c) && desktop.input.CapsLockOn()) shift = !shift;
    std::vector<KeyInput> records;
    if (shift) records.push_back({kVkShift, 0, 0});
    records.push_back({vk, 0, 0});
    records.push_back({vk, 0, kKeyUp});
    if (shift) records.push_back({kVkShift, 0, kKeyUp});
    desktop.input.SendInput(records);
    return true;
}

void TypeUnicodeText(Desktop& desktop, std::u16string_view text) {
    for (const char16_t c : text) {
        if (c == u'\r') continue;
        if (c < 256 && SendLayoutKey(desktop, c)) continue;
        SendUnicodeUnit(desktop, c);
    }
}

void PlayKeystroke(const StepRun& run, const KeystrokeEvent& step) {
    Desktop& desktop = run.player.desktop;
    const std::pair<uint8_t, uint8_t> modifiers[] = {
        {step.ctrl, kVkCtrl}, {step.shift, kVkShift}, {step.alt, kVkAlt}, {step.win, kVkLeftWin}};
    for (const auto& [set, vk] : modifiers) {
        if (set != 0) SendKey(desktop, vk, false);
    }
    for (size_t i = 0; i < step.UsedKeys(); ++i) SendKey(desktop, step.keys[i], false);
    // A plain sleep: a stop request must not cut the keys' hold short.
    desktop.clock.PumpMessages();
    desktop.clock.Sleep(kKeystrokeHold);
    for (size_t i = 0; i < step.UsedKeys(); ++i) SendKey(desktop, step.keys[i], true);
    for (const auto& [set, vk] : modifiers) {
        if (set != 0) SendKey(desktop, vk, true);
    }
    run.Finish();
}

}  // namespace

bool IsExtendedKey(uint8_t vk) {
    switch (vk) {
        case 45:   // Insert
        case 46:   // Delete
        case 91:   // left Win
        case 92:   // right Win
        case 93:   // Applications
        case 95:   // Sleep
        case 111:  // numeric-pad Divide
        case 163:  // right Ctrl
        case 165:  // right Alt
            return true;
        default:
            return (vk >= 33 && vk <= 40)      // Page Up to Down arrow
                   || (vk >= 166 && vk <= 183);  // browser, volume, media and launch keys
    }
}

void SendKey(Desktop& desktop, uint8_t vk, bool up) {
    const uint32_t flags = (up ? kKeyUp : 0) | (IsExtendedKey(vk) ? kKeyExtended : 0);
    desktop.input.KeybdEvent(vk, static_cast<uint8_t>(desktop.input.MapVirtualKey(vk)), flags);
}

bool SetClipboardText(Desktop& desktop, std::u16string_view text) { return desktop.clipboard.SetClipboardText(text); }

void PasteText(Desktop& desktop, std::u16string_view text) {
    SetClipboardText(desktop, text);
    SendKey(desktop, kVkCtrl, false);
    SendKey(desktop, kVkV, false);
    SendKey(desktop, kVkV, true);
    SendKey(desktop, kVkCtrl, true);
}

void TypeTextKeys(Desktop& desktop, std::u16string_view text) {
    text = UpToZero(text);
    for (const char16_t c : text) {
        if (c > 127) {
            TypeUnicodeText(desktop, text);
            return;
        }
    }
    TypeAsciiText(desktop, text);
}

void TypeText(Desktop& desktop, std::u16string_view text, bool paste) {
    text = UpToZero(text);
    if (text.empty()) return;
    if (paste) {
        PasteText(desktop, text);
    } else {
        TypeTextKeys(desktop, text);
    }
}

namespace {

// A single key and a text show no status while their delay is waited.
template <class T, void (*Act)(Desktop&, const T&)>
int32_t ThenWait(const StepRun& run) {
    Act(run.player.desktop, static_cast<const T&>(run.step));
    run.Wait(run.step.delay);
    return 0;
}

void PressKey(Desktop& desktop, const KeyDownEvent& step) {
    SendKey(desktop, static_cast<uint8_t>(step.virtualKey), false);
}

void ReleaseKey(Desktop& desktop, const KeyUpEvent& step) {
    SendKey(desktop, static_cast<uint8_t>(step.virtualKey), true);
}

void TypeStepText(Desktop& desktop, const InputTextEvent& step) { TypeText(desktop, step.text, step.paste != 0); }

int32_t PlayKeystrokeStep(const StepRun& run) {
    PlayKeystroke(run, static_cast<const KeystrokeEvent&>(run.step));
    return 0;
}

}  // namespace

void AddKeyboardSteps(StepKinds& kinds) {
    kinds.Add(Kind<KeystrokeEvent>(PlayKeystrokeStep));
    kinds.Add(Kind<KeyDownEvent>(ThenWait<KeyDownEvent, PressKey>));
    kinds.Add(Kind<KeyUpEvent>(ThenWait<KeyUpEvent, ReleaseKey>));
    // Streams keep this kind in an older form, which loads as a call of the
    // TypeText built-in.
    StepKind text = Kind<InputTextEvent>(ThenWait<InputTextEvent, TypeStepText>);
    text.convert = ConvertTextInputRecord;
    kinds.Add(text);
}

}  // namespace ovrix
