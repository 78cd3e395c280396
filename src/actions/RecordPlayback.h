// The Play Record step replays input, so it plays with the input actions.
#pragma once

namespace ovrix {

class StepKinds;

// The row of the Play Record step.
void AddRecordSteps(StepKinds& kinds);

}  // namespace ovrix
