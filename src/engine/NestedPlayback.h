// Playing other scripts from a step: a script file played like a subroutine,
// one file chosen at random by weight, and a recorded input stream.
#pragma once

#include <cstdint>

namespace ovrix {

struct StepRun;
class Desktop;

// Performs a nested-playback step; answers false for any other step.
bool PlayNestedStep(const StepRun& run);

// The program's 32-bit random number, built from the desktop's 15-bit draws.
uint32_t Random32(Desktop& desktop);

}  // namespace ovrix
