// The variable steps play by evaluating their assignment-like node.
#include "engine/VariableSteps.h"

#include "engine/ExecuteStep.h"
#include "script/StepKinds.h"

namespace ovrix {

namespace {

template <class T>
int32_t PlayCode(const StepRun& run) {
    EvaluateStored(static_cast<const T&>(run.step).code);
    run.Finish();
    return 0;
}

template <class T>
StepKind CodeKind() {
    return Kind<T>(PlayCode<T>);
}

}  // namespace

void AddVariableSteps(StepKinds& kinds) {
    kinds.Add(CodeKind<SetVarEvent>());
    kinds.Add(CodeKind<AddValueEvent>());
    kinds.Add(CodeKind<RemoveVarEvent>());
    kinds.Add(CodeKind<AliasEvent>());
}

}  // namespace ovrix
