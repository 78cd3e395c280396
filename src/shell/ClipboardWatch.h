// Waiting for the clipboard to change, through the progress window's place
// in the clipboard-viewer chain.
#pragma once

#include <cstdint>
#include <string>

namespace ovrix {

struct Player;

// Waits until another text (or anything else) is put on the clipboard, in
// playback waits that honour pause and stop, for at most timeoutMs when that
// is above 0. Answers the clipboard's text after a change, else the empty
// text; also empty when there is no progress window to watch with.
std::u16string WaitClipboardChange(Player& player, uint32_t timeoutMs);

}  // namespace ovrix
