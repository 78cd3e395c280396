#include "actions/SystemActions.h"

#include "engine/ExecuteStep.h"

namespace ovrix {

bool PlaySystemStep(const StepRun&) { return false; }

}  // namespace ovrix
