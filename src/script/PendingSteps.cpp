// TEMPORARY: placeholders until the step families land; each family's file
// replaces its function here.
#include "script/StepFactory.h"
#include "script/TextInputConversion.h"

namespace ovrix {
void RegisterInputSteps(StepCreatorTable&) {}
void RegisterFlowSteps(StepCreatorTable&) {}
void RegisterPlaybackSteps(StepCreatorTable&) {}
void RegisterScreenSteps(StepCreatorTable&) {}
void RegisterVariableSteps(StepCreatorTable&) {}
Ref<Event> ConvertTextInputRecord(Region) { return nullptr; }
}  // namespace ovrix
