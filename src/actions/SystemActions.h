// Playing the system and file steps: open a file or address, copy and
// delete a file, a message box, shut down, wait and comment.
#pragma once

namespace ovrix {

struct StepRun;

// Performs a system or file step; answers false for any other step.
bool PlaySystemStep(const StepRun& run);

}  // namespace ovrix
