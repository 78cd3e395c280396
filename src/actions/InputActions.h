// Playing the mouse and keyboard steps.
#pragma once

namespace ovrix {

struct StepRun;

// Performs a mouse or keyboard step; answers false for any other step.
bool PlayInputStep(const StepRun& run);

}  // namespace ovrix
