// Playing other scripts from a step: a script file played like a subroutine
// and one file chosen at random by weight. The recorded input stream plays
// with the input actions.
#pragma once

#include <cstdint>

namespace ovrix {

class Desktop;
class StepKinds;

// The rows of the two steps above, and of the handler and thread steps.
void AddPlaybackSteps(StepKinds& kinds);

// The program's 32-bit random number, built from the desktop's 15-bit draws.
uint32_t Random32(Desktop& desktop);

}  // namespace ovrix
