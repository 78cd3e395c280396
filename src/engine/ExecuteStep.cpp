#include "engine/ExecuteStep.h"

#include <algorithm>
#include <iterator>

#include "actions/InputActions.h"
#include "actions/SystemActions.h"
#include "engine/Context.h"
#include "engine/FlowActions.h"
#include "engine/FunctionActions.h"
#include "engine/NestedPlayback.h"
#include "engine/Playback.h"
#include "engine/StepTree.h"
#include "expr/ExprItem.h"
#include "expr/VariableSteps.h"
#include "script/StoredExpr.h"

namespace ovrix {

namespace {

// Steps whose actions belong to step families not built yet (picture search,
// windows, handlers and the thread step). Until their actions are
// dispatched here, such a step only waits its delay.
constexpr uint32_t kActionPending[] = {
    2,           // SearchPic
    27, 28, 29,  // windows
    54, 55, 57,  // handlers and the thread step
};

bool IsActionPending(uint32_t type) {
    return std::find(std::begin(kActionPending), std::end(kActionPending), type) != std::end(kActionPending);
}

bool IsFlowStep(uint32_t type) {
    return (type >= 6 && type <= 11) || type == 36 || type == 40 || (type >= 50 && type <= 53);
}

// The variable steps wrap one assignment-like node; evaluating it is the action.
const StoredExpr* VariableStepCode(const Event& step) {
    switch (step.TypeId()) {
        case SetVarEvent::kTypeId: return &static_cast<const SetVarEvent&>(step).code;
        case AddValueEvent::kTypeId: return &static_cast<const AddValueEvent&>(step).code;
        case RemoveVarEvent::kTypeId: return &static_cast<const RemoveVarEvent&>(step).code;
        case AliasEvent::kTypeId: return &static_cast<const AliasEvent&>(step).code;
        default: return nullptr;
    }
}

}  // namespace

void StepRun::Finish(std::optional<std::u16string_view> status) const {
    FinishStep(player, step, status, pauseArgument);
}

void StepRun::Wait(uint32_t ms) const { PlaybackWait(player, ms, pauseArgument, kWaitSlice); }

PExprItem EvaluateStored(const StoredExpr& expression) {
    const PExprItem& node = expression.Node();
    return node ? node->Evaluate() : PExprItem();
}

int32_t ExecuteStep(Player& player, StepPath& jump, uint32_t pauseArgument, Context& context) {
    jump.clear();
    Event* step = EventAt(*context.list, context.path);
    if (step == nullptr || step->disabled != 0) return 0;
    StatusText() = kStepComplete;
    const StepRun run{player, context, *step, jump, pauseArgument};
    const uint32_t type = step->TypeId();
    if (IsFlowStep(type)) {
        PlayFlowStep(run);
    } else if (IsFunctionStep(type)) {
        return PlayFunctionStep(run);
    } else if (const StoredExpr* code = VariableStepCode(*step)) {
        EvaluateStored(*code);
        run.Finish();
    } else if (PlayInputStep(run) || PlaySystemStep(run) || PlayNestedStep(run)) {
        // Done by the step's own family.
    } else if (IsActionPending(type)) {
        run.Finish();
    }
    // Labels, comments, custom function steps, function ends and unknown
    // ids do nothing and take no delay.
    return 0;
}

}  // namespace ovrix
