#include "actions/InputActions.h"

#include "engine/ExecuteStep.h"

namespace ovrix {

bool PlayInputStep(const StepRun&) { return false; }

}  // namespace ovrix
