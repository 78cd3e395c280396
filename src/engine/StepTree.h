// Walking the step tree by StepPath: the step at a path, the next step in
// pre-order (a block's children follow the block step), and the first step.
#pragma once

#include <string>

#include "script/EventList.h"

namespace ovrix {

class Event;

Event* EventAt(const EventList& root, const StepPath& path);
void ResetPath(const EventList& root, StepPath& path);
void AdvancePath(const EventList& root, StepPath& path);
// The same when the step at the path is already at hand.
void AdvancePast(const EventList& root, StepPath& path, const Event& current);
// "Step 1.4.3" numbering: one-based at every level.
std::u16string StepNumberText(const StepPath& path);

}  // namespace ovrix
