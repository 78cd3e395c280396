#include "script/EventList.h"

#include "script/Event.h"

namespace ovrix {

EventList::EventList(const EventList& other) : labels(other.labels) {
    steps_.reserve(other.steps_.size());
    for (const auto& s : other.steps_) steps_.push_back(s->Clone());
}

EventList& EventList::operator=(const EventList& other) {
    if (this != &other) {
        EventList copy(other);
        steps_ = std::move(copy.steps_);
        labels = std::move(copy.labels);
        parent = nullptr;
        ownerIndex = -1;
    }
    return *this;
}

EventList::EventList() = default;
EventList::EventList(EventList&&) noexcept = default;
EventList& EventList::operator=(EventList&&) noexcept = default;
EventList::~EventList() = default;

void EventList::Append(Ref<Event> step) { steps_.push_back(std::move(step)); }

void EventList::Clear() {
    steps_.clear();
    labels.clear();
    parent = nullptr;
    ownerIndex = -1;
}

bool EventList::IsEqual(const EventList& other) const {
    if (steps_.size() != other.steps_.size()) return false;
    for (size_t i = 0; i < steps_.size(); ++i) {
        if (!steps_[i]->IsEqual(*other.steps_[i])) return false;
    }
    return true;
}

}  // namespace ovrix
