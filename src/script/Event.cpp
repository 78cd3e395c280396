#include "script/Event.h"

#include "container/Tags.h"
#include "script/ScriptStream.h"
#include "script/StepFactory.h"

namespace ovrix {

std::optional<std::u16string_view> Event::GetTypeKey() const {
    const auto names = StepNamesOf(TypeId());
    if (names.typeKey.empty()) return std::nullopt;
    return names.typeKey;
}

std::optional<std::u16string_view> Event::GetDisplayName() const {
    const auto names = StepNamesOf(TypeId());
    if (names.displayName.empty()) return std::nullopt;
    return names.displayName;
}

void LoadChildList(Region data, EventList& owner, EventList& children) {
    children.Clear();
    if (auto sub = FindRecord(data, tag::kSub)) LoadSteps(*sub, children);
    children.parent = &owner;
    children.ownerIndex = static_cast<int32_t>(owner.Count());
}

void SaveChildList(RecordBuffer& buffer, const EventList& children) {
    if (children.Empty()) return;
    RecordBuffer nested;
    SaveSteps(children, nested);
    WriteContainer(buffer, tag::kSub, nested);
}

}  // namespace ovrix
