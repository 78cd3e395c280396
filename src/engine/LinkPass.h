// The link pass over a loaded script, run once before it plays.
#pragma once

#include <cstdint>

#include "script/EventList.h"

namespace ovrix {

struct Player;

// Builds the label and function tables and loads the script files the steps
// play. Answers false when the script must not play (a function defined
// twice, or a script file that cannot be loaded, after its message).
bool PrepareScript(Player& player, EventList& list, uint32_t loaderWord);

}  // namespace ovrix
