// The actions of the function, call and jump steps: Goto, Reset, Stop,
// Return, the script-argument step, the call step and the function
// definition met in play.
#pragma once

namespace ovrix {

class StepKinds;

// The rows of the steps above, with the labels, custom functions and
// function ends, which play nothing.
void AddFunctionSteps(StepKinds& kinds);

}  // namespace ovrix
