// The playback driver: what the hidden main dialog does when its one posted
// message arrives. It publishes the image, loads and links the main script,
// reads the settings, plays the passes the repeat rule asks for and ends
// playback. The caller then closes the dialog, which ends the process.
#pragma once

#include <string>
#include <string_view>

#include "container/Container.h"

namespace ovrix {

struct Player;

void RunPlaybackDriver(Player& player, Region image);

// The top line of the progress window for a pass.
std::u16string RepeatLineText(Player& player, int64_t startTime);

}  // namespace ovrix
