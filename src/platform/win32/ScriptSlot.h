// The script image slot of the player's executable.
#pragma once

#include "container/Container.h"

namespace ovrix::win32 {

// The image the editor wrote into this executable's slot; empty in an
// unfilled player (its marker reads as a length word beyond the slot).
Region ImageInSlot();

}  // namespace ovrix::win32
