#include "engine/FunctionActions.h"

#include <cmath>

#include "engine/Context.h"
#include "engine/ExecuteStep.h"
#include "engine/FunctionSteps.h"
#include "engine/PlaybackFlags.h"
#include "engine/ScriptFunctions.h"
#include "expr/ExprItem.h"
#include "expr/KindsValue.h"
#include "expr/VariableName.h"
#include "expr/Variables.h"

namespace ovrix {

namespace {

constexpr std::u16string_view kLabelNotFound = u"Label not found";

// Labels are looked up only in the list this run plays: a function body
// has no label table, so a Goto there finds nothing.
void PlayGoTo(const StepRun& run) {
    const auto& step = static_cast<const GoToEvent&>(run.step);
    const auto& labels = run.context.list->labels;
    const auto found = labels.find(step.label);
    if (found == labels.end()) {
        run.Finish(kLabelNotFound);
        return;
    }
    run.jump = found->second;
    run.Finish();
}

int32_t PlayReturn(const StepRun& run) {
    const auto& step = static_cast<const ExitScriptEvent&>(run.step);
    ScriptReturnValue() = EvaluateStored(step.code);
    run.Finish();
    return -1;
}

// The argument index truncates toward zero; outside the list (or without
// one) the variable is bound to no value.
void PlayGetScriptArg(const StepRun& run) {
    const auto& step = static_cast<const GetScriptArgEvent&>(run.step);
    const double n = std::trunc(AsNumber(EvaluateStored(step.index)));
    const auto* arguments = run.context.arguments;
    PExprItem value;
    if (arguments != nullptr && n >= 0 && n < static_cast<double>(arguments->size())) {
        value = (*arguments)[static_cast<size_t>(n)];
    }
    StoreVariable(CanonicalVariableName(step.variable), value);
    run.Finish();
}

}  // namespace

bool IsFunctionStep(uint32_t type) {
    switch (type) {
        case GoToEvent::kTypeId:
        case ResetScriptEvent::kTypeId:
        case StopScriptEvent::kTypeId:
        case ExitScriptEvent::kTypeId:
        case GetScriptArgEvent::kTypeId:
        case CallFunEvent::kTypeId:
        case FunStartEvent::kTypeId:
            return true;
        default:
            return false;
    }
}

int32_t PlayFunctionStep(const StepRun& run) {
    switch (run.step.TypeId()) {
        case GoToEvent::kTypeId:
            PlayGoTo(run);
            return 0;
        case ResetScriptEvent::kTypeId:
            SetFlag(ResetRequest);
            run.Finish();
            return 0;
        case StopScriptEvent::kTypeId:
            run.Finish();
            SetFlag(StopRequest);
            return 0;
        case ExitScriptEvent::kTypeId:
            return PlayReturn(run);
        case GetScriptArgEvent::kTypeId:
            PlayGetScriptArg(run);
            return 0;
        case CallFunEvent::kTypeId:
            EvaluateStored(static_cast<const CallFunEvent&>(run.step).code);
            run.Finish();
            return 0;
        case FunStartEvent::kTypeId: {  // a definition is passed over as a whole
            StepPath next = run.context.path;
            ++next.back();
            run.jump = next;
            return 0;
        }
        default:
            return 0;
    }
}

}  // namespace ovrix
