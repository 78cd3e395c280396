// A list of steps: the main script, a block step's child list, or a loaded
// script file. The list owns its steps through counted references; a child
// list knows its parent list and the index of its owning block step there.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "container/Ref.h"

namespace ovrix {

class Event;
class FunctionTable;

// A position in the step tree: one index per nesting level.
using StepPath = std::vector<int32_t>;

// A step of a tree and its position there.
struct PlacedStep {
    const Event* step;
    StepPath path;
};

class EventList {
public:
    EventList();
    // Copies clone every step; the copy has no parent.
    EventList(const EventList& other);
    EventList& operator=(const EventList& other);
    EventList(EventList&&) noexcept;
    EventList& operator=(EventList&&) noexcept;
    ~EventList();

    size_t Count() const { return steps_.size(); }
    bool Empty() const { return steps_.empty(); }
    Event* At(size_t i) const { return steps_[i].Get(); }
    const std::vector<Ref<Event>>& Steps() const { return steps_; }
    void Append(Ref<Event> step);

    // Releases every step and forgets the parent.
    void Clear();

    // Step by step IsEqual of two lists.
    bool IsEqual(const EventList& other) const;

    // The steps of the given types in this list's tree, in tree order (a
    // block before its body). One walk of the tree finds them; a later call
    // with the same types and key answers from that walk while none of the
    // tree's lists has changed, which it checks at one compare per list of
    // the tree (per block, not per step). The key is the caller's: a new key
    // walks again, which covers what no list's change shows (a step whose
    // body is switched on or off in place). Like the tree itself, the answer
    // belongs to the thread that plays.
    const std::vector<PlacedStep>& StepsOfTypes(std::span<const uint32_t> types, uint64_t key) const;

    EventList* parent = nullptr;
    int32_t ownerIndex = -1;
    // Label name (exact) -> position; built by the link pass.
    std::map<std::u16string, StepPath> labels;
    // The script functions defined in this list; built by the link pass,
    // none for lists it did not prepare (copies, function bodies).
    std::shared_ptr<FunctionTable> functions;

private:
    struct Outline;
    // Every change of the steps passes here: what was found by a walk of
    // this list no longer holds.
    void Changed();

    std::vector<Ref<Event>> steps_;
    uint64_t revision_ = 0;  // counts the changes of steps_; never goes back
    mutable std::unique_ptr<Outline> outline_;
};

}  // namespace ovrix
