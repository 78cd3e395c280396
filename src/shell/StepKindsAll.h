// The player's whole table of step kinds, put together from every family.
// Whatever loads or plays steps (the driver, the tools, the tests) hands it
// to the runtime it installs.
#pragma once

#include "script/StepKinds.h"

namespace ovrix {

// Built on first use and never changed afterwards.
const StepKinds& PlayerStepKinds();

}  // namespace ovrix
