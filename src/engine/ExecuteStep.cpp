#include "engine/ExecuteStep.h"

#include "engine/Context.h"
#include "engine/Playback.h"
#include "engine/StepTree.h"
#include "expr/ExprItem.h"
#include "expr/Operators.h"
#include "script/StepKinds.h"
#include "script/StoredExpr.h"

namespace ovrix {

void StepRun::Wait(uint32_t ms) const { PlaybackWait(player, ms, pauseArgument, kWaitSlice); }

void StepRun::SetConditionHeld(bool held) const { SetBlockFlag(context, context.path, kIfBlockKind, held ? 1 : 0); }

void StepRun::SkipBlock() const {
    jump = context.path;
    if (!jump.empty()) jump.back() += 1;
}

int32_t WaitDelayOnly(const StepRun& run) {
    run.Finish();
    return 0;
}

PExprItem EvaluateStored(const StoredExpr& expression) {
    const PExprItem& node = expression.Node();
    return node ? node->Evaluate() : PExprItem();
}

bool ConditionHolds(const StoredExpr& expression) { return EvaluateTruth(expression.Node()); }

int32_t ExecuteStep(Player& player, StepPath& jump, uint32_t pauseArgument, Context& context) {
    jump.clear();
    Event* step = EventAt(*context.list, context.path);
    if (step == nullptr) return 0;
    return PlayStep(player, *step, CurrentStepKinds().Find(step->TypeId()), jump, pauseArgument, context);
}

}  // namespace ovrix
