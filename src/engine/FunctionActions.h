// The actions of the function, call and jump steps: Goto, Reset, Stop,
// Return, the script-argument step, the call step and the function
// definition met in play.
#pragma once

#include <cstdint>

namespace ovrix {

struct StepRun;

// True for the step types performed by PlayFunctionStep.
bool IsFunctionStep(uint32_t type);

// Performs one of those steps; answers -1 when the run must end at once
// (Return), else 0.
int32_t PlayFunctionStep(const StepRun& run);

}  // namespace ovrix
