// Performing one step: the step's kind is looked up in the current table
// and its play function is handed the run. An action asks for a jump by writing a
// position into `jump` (empty means "go on in tree order"; the single
// element -1 ends the run); to skip a block it jumps to its own next
// sibling, to enter one it asks for no jump.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/Playback.h"
#include "script/Event.h"
#include "script/EventList.h"
#include "expr/ExprHandle.h"

namespace ovrix {

struct Player;
class Context;
class StoredExpr;
struct StepKind;

inline constexpr std::u16string_view kStepComplete = u"Step Complete";

struct StepRun {
    Player& player;
    Context& context;
    Event& step;
    StepPath& jump;
    uint32_t pauseArgument;

    // Shows the status (by default the status text) while the step's delay
    // is waited (FinishStep). Inline for the usual step without a status of
    // its own or a delay, which has nothing to do.
    void Finish(std::optional<std::u16string_view> status = std::nullopt) const {
        if (status || step.delay != 0) FinishStep(player, step, status, pauseArgument);
    }
    // Waits through PlaybackWait with this step's pause argument.
    void Wait(uint32_t ms) const;
    // For a condition block: records whether its condition held, which an
    // Else after it reads.
    void SetConditionHeld(bool held) const;
    // Jumps past this block to its next sibling (an Else there plays).
    void SkipBlock() const;
};

// Performs the Context's current step; answers 0, or -1 when the run must
// end at once.
int32_t ExecuteStep(Player& player, StepPath& jump, uint32_t pauseArgument, Context& context);
// The same for the run loop, which has already found the step and its kind
// (none for an unknown id).
int32_t PlayStep(Player& player, Event& step, const StepKind* kind, StepPath& jump, uint32_t pauseArgument,
                 Context& context);

// The play function of kinds whose action is not built yet: the step only
// finishes, waiting its delay.
int32_t WaitDelayOnly(const StepRun& run);

// The value of a stored expression; no value when it is absent.
PExprItem EvaluateStored(const StoredExpr& expression);
// The truth of a stored condition; false when it is absent.
bool ConditionHolds(const StoredExpr& expression);

}  // namespace ovrix
