// Walking the step tree by StepPath: the step at a path, the next step in
// pre-order (a block's children follow the block step), and the first step.
#pragma once

#include <string>
#include <vector>

#include "script/Event.h"
#include "script/EventList.h"

namespace ovrix {


Event* EventAt(const EventList& root, const StepPath& path);
void ResetPath(const EventList& root, StepPath& path);
void AdvancePath(const EventList& root, StepPath& path);
// The same when the step at the path is already at hand.
void AdvancePast(const EventList& root, StepPath& path, const Event& current);
// The run loop's position: a path together with the list at each of its
// levels, so that finding the step and moving past it do not walk the tree
// from the root again. A list remembered for a level holds as long as the
// indices above that level stay as they were; the tree itself must not
// change while the cursor is in use (playback never edits the list it
// plays). Moves give exactly what the functions above give.
class StepCursor {
public:
    StepCursor(const EventList& root, StepPath& path);

    // The step at the path; when the path points past the end of a list (a
    // jump to after a block's last step), the path first moves to the step
    // after the enclosing block. Null, with the path empty, when nothing is
    // left.
    Event* Current() {
        if (!path_.empty() && known_ == path_.size()) {
            const EventList* list = lists_[known_ - 1];
            const int32_t i = path_.back();
            if (i >= 0 && static_cast<size_t>(i) < list->Count()) return list->At(static_cast<size_t>(i));
        }
        return Find();
    }
    // AdvancePast for the step Current() answered. Inline only for the usual
    // move, to the next sibling of a step without a body in a list whose
    // levels are all known.
    void AdvancePast(const Event& current) {
        const EventList* children = current.GetChildList();
        if (known_ == path_.size() && (children == nullptr || children->Empty())) {
            const size_t last = known_ - 1;
            const int32_t next = path_[last] + 1;
            if (next >= 0 && static_cast<size_t>(next) < lists_[last]->Count()) {
                path_[last] = next;
                return;
            }
        }
        AdvanceOtherwise(children);
    }
    // Continues at another position of the same tree.
    void JumpTo(const StepPath& target);

private:
    Event* Find();
    // AdvancePast for every other move: into a body, up a level, or with
    // levels not known.
    void AdvanceOtherwise(const EventList* children);
    // AdvancePast when the lists of the path's levels are not all known.
    void AdvanceFromUnknown(const EventList* children);
    // Moves past the path's step without entering it (LeaveStep).
    void Leave();
    // The list that the path's index at `level` counts in, or null.
    const EventList* ListOf(size_t level);
    // Forgets the lists below the path's current depth; the root's stays.
    void Trim() {
        if (known_ > path_.size()) known_ = path_.empty() ? 1 : path_.size();
    }
    void Enter(const EventList* children) {
        if (lists_.size() == known_) lists_.push_back(children);
        else lists_[known_] = children;
        ++known_;
        path_.push_back(0);
    }

    StepPath& path_;
    std::vector<const EventList*> lists_;  // lists_[k]: the list of path_[k]
    size_t known_ = 1;                     // how many of lists_ are current
};

// "Step 1.4.3" numbering: one-based at every level.
std::u16string StepNumberText(const StepPath& path);

}  // namespace ovrix
