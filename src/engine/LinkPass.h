// The link pass over a loaded script, run once before it plays.
#pragma once

#include <cstdint>

#include "engine/EventList.h"

namespace ovrix {

struct Player;

// Builds the label table. Answers false when the script must not play.
bool PrepareScript(Player& player, EventList& list, uint32_t loaderWord);

}  // namespace ovrix
