#include "actions/InputActions.h"

#include "actions/KeyboardActions.h"
#include "actions/MouseActions.h"

namespace ovrix {

bool PlayInputStep(const StepRun& run) { return PlayMouseStep(run) || PlayKeyboardStep(run); }

}  // namespace ovrix
