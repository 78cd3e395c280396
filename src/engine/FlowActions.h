// The actions of the block-structure steps: If, If-file-exists, Else and
// End If; the loops with Next, Continue and Exit For; Switch with its Case
// and Default blocks and End Switch. Blocks are never matched by scanning:
// the closing step is the block step's next sibling, and loop and condition
// state lives in the engine variables of the Context that plays the list.
#pragma once

#include "script/EventList.h"

namespace ovrix {

class Context;
class StepKinds;

// The rows of the steps above.
void AddFlowSteps(StepKinds& kinds);

// Rebuilds the case table of the switch at `path` of the Context's list.
void RebuildCaseTable(Context& context, const StepPath& path);

// The state a run needs before its first step: every loop's counter at 1
// with its time variables, and every switch's case table.
void PrepareRun(Context& context);

}  // namespace ovrix
