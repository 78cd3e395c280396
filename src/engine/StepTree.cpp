#include "engine/StepTree.h"

#include "script/Event.h"

namespace ovrix {

namespace {

// The list that holds the step at the path's last level, or null.
const EventList* ListAt(const EventList& root, const StepPath& path, size_t levels) {
    const EventList* list = &root;
    for (size_t k = 0; k < levels; ++k) {
        const int32_t i = path[k];
        if (i < 0 || static_cast<size_t>(i) >= list->Count()) return nullptr;
        list = list->At(static_cast<size_t>(i))->GetChildList();
        if (list == nullptr) return nullptr;
    }
    return list;
}

// Moves past the path's step without entering it: to its next sibling, else
// to the next sibling of the enclosing block, and so on up; the path is
// empty when nothing follows.
void LeaveStep(const EventList& root, StepPath& path) {
    while (!path.empty()) {
        ++path.back();
        const EventList* list = ListAt(root, path, path.size() - 1);
        if (list != nullptr && path.back() >= 0 && static_cast<size_t>(path.back()) < list->Count()) return;
        path.pop_back();
    }
}

}  // namespace

Event* EventAt(const EventList& root, const StepPath& path) {
    if (path.empty()) return nullptr;
    const EventList* list = ListAt(root, path, path.size() - 1);
    if (list == nullptr) return nullptr;
    const int32_t last = path.back();
    if (last < 0 || static_cast<size_t>(last) >= list->Count()) return nullptr;
    return list->At(static_cast<size_t>(last));
}

void ResetPath(const EventList& root, StepPath& path) {
    path.clear();
    if (!root.Empty()) path.push_back(0);
}

void AdvancePath(const EventList& root, StepPath& path) {
    if (path.empty()) return;
    if (const Event* step = EventAt(root, path)) {
        AdvancePast(root, path, *step);
        return;
    }
    LeaveStep(root, path);
}

void AdvancePast(const EventList& root, StepPath& path, const Event& current) {
    const EventList* children = current.GetChildList();
    if (children != nullptr && !children->Empty()) {
        path.push_back(0);
        return;
    }
    LeaveStep(root, path);
}

StepCursor::StepCursor(const EventList& root, StepPath& path) : path_(path), lists_{&root} {}

const EventList* StepCursor::ListOf(size_t level) {
    while (known_ <= level) {
        const EventList* above = lists_[known_ - 1];
        const int32_t i = path_[known_ - 1];
        if (i < 0 || static_cast<size_t>(i) >= above->Count()) return nullptr;
        const EventList* list = above->At(static_cast<size_t>(i))->GetChildList();
        if (list == nullptr) return nullptr;
        if (lists_.size() == known_) lists_.push_back(list);
        else lists_[known_] = list;
        ++known_;
    }
    return lists_[level];
}

Event* StepCursor::Find() {
    while (!path_.empty()) {
        const size_t last = path_.size() - 1;
        const EventList* list = ListOf(last);
        const int32_t i = path_[last];
        if (list != nullptr && i >= 0 && static_cast<size_t>(i) < list->Count()) return list->At(static_cast<size_t>(i));
        path_.pop_back();
        if (path_.empty()) break;
        ++path_.back();
        Trim();
    }
    return nullptr;
}

void StepCursor::AdvanceOtherwise(const EventList* children) {
    if (known_ != path_.size()) {
        AdvanceFromUnknown(children);
        return;
    }
    if (children != nullptr && !children->Empty()) {
        Enter(children);
        return;
    }
    // Every level's list is known: to the next sibling, else up a level.
    while (!path_.empty()) {
        const int32_t next = ++path_.back();
        if (next >= 0 && static_cast<size_t>(next) < lists_[path_.size() - 1]->Count()) {
            known_ = path_.size();
            return;
        }
        path_.pop_back();
    }
    known_ = 1;
}

void StepCursor::AdvanceFromUnknown(const EventList* children) {
    if (children != nullptr && !children->Empty()) {
        Trim();
        if (known_ < path_.size()) ListOf(path_.size() - 1);
        if (known_ == path_.size()) {
            Enter(children);
        } else {
            path_.push_back(0);
        }
        return;
    }
    Leave();
}

void StepCursor::Leave() {
    while (!path_.empty()) {
        ++path_.back();
        Trim();
        const size_t last = path_.size() - 1;
        const EventList* list = ListOf(last);
        if (list != nullptr && path_[last] >= 0 && static_cast<size_t>(path_[last]) < list->Count()) return;
        path_.pop_back();
    }
}

void StepCursor::JumpTo(const StepPath& target) {
    size_t same = 0;
    while (same < path_.size() && same < target.size() && path_[same] == target[same]) ++same;
    path_ = target;
    // The list of level k depends on the indices above it only.
    if (known_ > same + 1) known_ = same + 1;
}

std::u16string StepNumberText(const StepPath& path) {
    std::u16string text;
    for (size_t k = 0; k < path.size(); ++k) {
        if (k > 0) text += u'.';
        const std::string n = std::to_string(static_cast<int64_t>(path[k]) + 1);
        text.append(n.begin(), n.end());
    }
    return text;
}

}  // namespace ovrix
