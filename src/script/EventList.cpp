#include "script/EventList.h"

#include <algorithm>
#include <utility>

#include "script/Event.h"

namespace ovrix {

// What a walk of the tree found, with what it saw of the tree: every list
// of it and that list's revision, each after the list that holds its block
// step. Checking them in that order only looks into a list whose holder has
// not changed, so the holder still keeps its block step and the list alive.
struct EventList::Outline {
    std::vector<uint32_t> types;
    uint64_t key = 0;
    std::vector<std::pair<const EventList*, uint64_t>> lists;
    std::vector<PlacedStep> steps;

    bool Holds(std::span<const uint32_t> wanted, uint64_t wantedKey) const {
        if (key != wantedKey || !std::equal(types.begin(), types.end(), wanted.begin(), wanted.end())) return false;
        return std::all_of(lists.begin(), lists.end(), [](const auto& seen) { return seen.first->revision_ == seen.second; });
    }

    void Walk(const EventList& list, StepPath& path) {
        lists.emplace_back(&list, list.revision_);
        path.push_back(0);
        for (const auto& step : list.steps_) {
            if (std::find(types.begin(), types.end(), step->TypeId()) != types.end()) steps.push_back({step.Get(), path});
            if (const EventList* children = step->GetChildList()) Walk(*children, path);
            ++path.back();
        }
        path.pop_back();
    }
};

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
        Changed();
    }
    return *this;
}

EventList::EventList() = default;

EventList::EventList(EventList&& other) noexcept
    : parent(other.parent), ownerIndex(other.ownerIndex), labels(std::move(other.labels)),
      functions(std::move(other.functions)), steps_(std::move(other.steps_)) {
    other.Changed();
}

EventList& EventList::operator=(EventList&& other) noexcept {
    if (this != &other) {
        parent = other.parent;
        ownerIndex = other.ownerIndex;
        labels = std::move(other.labels);
        functions = std::move(other.functions);
        steps_ = std::move(other.steps_);
        Changed();
        other.Changed();
    }
    return *this;
}

EventList::~EventList() = default;

void EventList::Changed() {
    ++revision_;
    outline_.reset();
}

void EventList::Append(Ref<Event> step) {
    steps_.push_back(std::move(step));
    Changed();
}

void EventList::Clear() {
    steps_.clear();
    labels.clear();
    parent = nullptr;
    ownerIndex = -1;
    Changed();
}

bool EventList::IsEqual(const EventList& other) const {
    if (steps_.size() != other.steps_.size()) return false;
    for (size_t i = 0; i < steps_.size(); ++i) {
        if (!steps_[i]->IsEqual(*other.steps_[i])) return false;
    }
    return true;
}

const std::vector<PlacedStep>& EventList::StepsOfTypes(std::span<const uint32_t> types, uint64_t key) const {
    if (outline_ == nullptr || !outline_->Holds(types, key)) {
        auto outline = std::make_unique<Outline>();
        outline->types.assign(types.begin(), types.end());
        outline->key = key;
        StepPath path;
        outline->Walk(*this, path);
        outline_ = std::move(outline);
    }
    return outline_->steps;
}

}  // namespace ovrix
