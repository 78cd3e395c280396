// A list of steps: the main script, a block step's child list, or a loaded
// script file. The list owns its steps through counted references; a child
// list knows its parent list and the index of its owning block step there.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "container/Ref.h"

namespace ovrix {

class Event;
class FunctionTable;

// A position in the step tree: one index per nesting level.
using StepPath = std::vector<int32_t>;

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

    EventList* parent = nullptr;
    int32_t ownerIndex = -1;
    // Label name (exact) -> position; built by the link pass.
    std::map<std::u16string, StepPath> labels;
    // The script functions defined in this list; built by the link pass,
    // none for lists it did not prepare (copies, function bodies).
    std::shared_ptr<FunctionTable> functions;

private:
    std::vector<Ref<Event>> steps_;
};

}  // namespace ovrix
