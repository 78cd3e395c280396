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
