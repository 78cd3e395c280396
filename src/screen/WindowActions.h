// Playing the window steps: close a window, switch to one, and wait for one
// to appear or disappear, the last also as a condition block.
#pragma once

namespace ovrix {

class StepKinds;

// The rows of the window steps.
void AddWindowSteps(StepKinds& kinds);

}  // namespace ovrix
