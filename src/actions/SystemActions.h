// Playing the system and file steps: open a file or address, copy and
// delete a file, a message box, shut down, wait and comment.
#pragma once

namespace ovrix {

class StepKinds;

// The rows of the steps above.
void AddSystemSteps(StepKinds& kinds);

}  // namespace ovrix
