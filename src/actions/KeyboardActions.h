// Playing the keyboard steps, and the keyboard operations that other parts
// of the player share: the key-event primitive, pasting through the
// clipboard and typing a text key by key.
//
// Invariant: no sequence here can leave a key held down. Between a key's
// down and its up there is no early return and no wait that a stop request
// could cut short.
#pragma once

#include <cstdint>
#include <string_view>

namespace ovrix {

class Desktop;
class StepKinds;

// The keys whose events carry the extended-key flag: the navigation block,
// the right-hand Win, Ctrl and Alt keys, Applications, Sleep, the numeric
// pad's Divide and the browser, volume, media and launch keys.
bool IsExtendedKey(uint8_t vk);

// One key pressed or released through keybd_event, with the key's scan code.
void SendKey(Desktop& desktop, uint8_t vk, bool up);

// Puts the text on the clipboard as Unicode text; false when refused.
bool SetClipboardText(Desktop& desktop, std::u16string_view text);

// The text put on the clipboard and pasted with Ctrl+V. The keys are sent
// even when the clipboard refused the text.
void PasteText(Desktop& desktop, std::u16string_view text);

// Types the text key by key. A text of plain ASCII goes through keybd_event
// (letters as keys, anything else as Alt plus its numeric-pad code); any
// other text goes through SendInput, with the keyboard layout's key where it
// has one and as Unicode characters elsewhere.
void TypeTextKeys(Desktop& desktop, std::u16string_view text);

// The work of the "TypeText" built-in: an empty text does nothing; else the
// text is pasted or typed. The text ends at its first zero unit.
void TypeText(Desktop& desktop, std::u16string_view text, bool paste);

// The rows of the keyboard and text steps.
void AddKeyboardSteps(StepKinds& kinds);

}  // namespace ovrix
