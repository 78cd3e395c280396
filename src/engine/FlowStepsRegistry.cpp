// Factory slots of the control-flow family: conditions, loops, switch,
// script functions, calls and jumps.
#include "engine/FlowSteps.h"
#include "engine/FunctionSteps.h"
#include "script/StepFactory.h"

namespace ovrix {

void RegisterFlowSteps(StepCreatorTable& table) {
    table[ElseEvent::kTypeId] = &CreateStep<ElseEvent>;
    table[EndIfEvent::kTypeId] = &CreateStep<EndIfEvent>;
    table[ForLoopEvent::kTypeId] = &CreateStep<ForLoopEvent>;
    table[NextEvent::kTypeId] = &CreateStep<NextEvent>;
    table[ContinueEvent::kTypeId] = &CreateStep<ContinueEvent>;
    table[ExitForEvent::kTypeId] = &CreateStep<ExitForEvent>;
    table[IfVarEvent::kTypeId] = &CreateStep<IfVarEvent>;
    table[IfFileExistEvent::kTypeId] = &CreateStep<IfFileExistEvent>;
    table[SwitchEvent::kTypeId] = &CreateStep<SwitchEvent>;
    table[EndSwitchEvent::kTypeId] = &CreateStep<EndSwitchEvent>;
    table[SwitchCaseEvent::kTypeId] = &CreateStep<SwitchCaseEvent>;
    table[SwitchDefaultEvent::kTypeId] = &CreateStep<SwitchDefaultEvent>;

    table[LabelEvent::kTypeId] = &CreateStep<LabelEvent>;
    table[GoToEvent::kTypeId] = &CreateStep<GoToEvent>;
    table[ResetScriptEvent::kTypeId] = &CreateStep<ResetScriptEvent>;
    table[CallFunEvent::kTypeId] = &CreateStep<CallFunEvent>;
    table[StopScriptEvent::kTypeId] = &CreateStep<StopScriptEvent>;
    table[ExitScriptEvent::kTypeId] = &CreateStep<ExitScriptEvent>;
    table[CustomFunEvent::kTypeId] = &CreateStep<CustomFunEvent>;
    table[FunStartEvent::kTypeId] = &CreateStep<FunStartEvent>;
    table[FunEndEvent::kTypeId] = &CreateStep<FunEndEvent>;
    table[GetScriptArgEvent::kTypeId] = &CreateStep<GetScriptArgEvent>;
}

}  // namespace ovrix
