// Factory slots of the variable steps.
#include "expr/VariableSteps.h"

#include "script/StepFactory.h"

namespace ovrix {

void RegisterVariableSteps(StepCreatorTable& table) {
    table[SetVarEvent::kTypeId] = &CreateStep<SetVarEvent>;
    table[AddValueEvent::kTypeId] = &CreateStep<AddValueEvent>;
    table[RemoveVarEvent::kTypeId] = &CreateStep<RemoveVarEvent>;
    table[AliasEvent::kTypeId] = &CreateStep<AliasEvent>;
}

}  // namespace ovrix
