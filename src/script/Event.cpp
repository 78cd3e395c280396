#include "script/Event.h"

#include "container/Tags.h"
#include "container/Text.h"
#include "script/ScriptStream.h"
#include "script/StepKinds.h"

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

bool NoCaseField::operator==(const NoCaseField& other) const { return EqualsNoCase(text, other.text); }

namespace {

size_t NestingLevel(const EventList& list) {
    size_t level = 0;
    for (const EventList* l = &list; l->parent != nullptr && level <= kMaxNesting; l = l->parent) ++level;
    return level;
}

}  // namespace

void LoadChildList(Region data, EventList& owner, EventList& children) {
    children.Clear();
    // Linked before loading, so that the blocks inside know how deep they are.
    children.parent = &owner;
    children.ownerIndex = static_cast<int32_t>(owner.Count());
    if (NestingLevel(children) > kMaxNesting) return;
    if (auto sub = FindRecord(data, tag::kSub)) LoadSteps(*sub, children);
}

void SaveChildList(RecordBuffer& buffer, const EventList& children) {
    if (children.Empty()) return;
    RecordBuffer nested;
    SaveSteps(children, nested);
    WriteContainer(buffer, tag::kSub, nested);
}

}  // namespace ovrix
