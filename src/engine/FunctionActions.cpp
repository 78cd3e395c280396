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
#include "script/StepKinds.h"

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

void PlayReset(const StepRun& run) {
    SetFlag(ResetRequest);
    run.Finish();
}

// The step's status shows before the stop takes effect.
void PlayStop(const StepRun& run) {
    run.Finish();
    SetFlag(StopRequest);
}

void PlayCall(const StepRun& run) {
    EvaluateStored(static_cast<const CallFunEvent&>(run.step).code);
    run.Finish();
}

// A definition met in play is passed over as a whole.
void PassOverDefinition(const StepRun& run) {
    StepPath next = run.context.path;
    ++next.back();
    run.jump = next;
}

}  // namespace

void AddFunctionSteps(StepKinds& kinds) {
    kinds.Add(Kind<LabelEvent>(nullptr));
    kinds.Add(Kind<GoToEvent>(Plays<PlayGoTo>));
    kinds.Add(Kind<ResetScriptEvent>(Plays<PlayReset>));
    kinds.Add(Kind<StopScriptEvent>(Plays<PlayStop>));
    kinds.Add(Kind<ExitScriptEvent>(PlayReturn));
    kinds.Add(Kind<GetScriptArgEvent>(Plays<PlayGetScriptArg>));
    kinds.Add(Kind<CallFunEvent>(Plays<PlayCall>));
    kinds.Add(Kind<CustomFunEvent>(nullptr));
    kinds.Add(Kind<FunStartEvent>(Plays<PassOverDefinition>));
    StepKind end = Kind<FunEndEvent>(nullptr);
    end.unseen = true;
    kinds.Add(end);
}

}  // namespace ovrix
