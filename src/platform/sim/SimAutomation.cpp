#include "platform/sim/SimAutomation.h"

#include <algorithm>

#include "container/Text.h"

namespace ovrix {

namespace {

// Keys compare by type and value: texts exactly, objects by identity.
bool SameKey(const AutoValue& a, const AutoValue& b) {
    if (a.type != b.type) return false;
    switch (a.type) {
        case AutoValue::Type::Empty: return true;
        case AutoValue::Type::Number:
        case AutoValue::Type::Error: return a.number == b.number;
        case AutoValue::Type::Text: return a.text == b.text;
        case AutoValue::Type::Bool: return a.truth == b.truth;
        case AutoValue::Type::Date: return a.date == b.date;
        case AutoValue::Type::Object: return a.object == b.object;
        case AutoValue::Type::Array: return false;
    }
    return false;
}

bool Reads(uint16_t flag) { return flag == dispatch::kMethod || flag == dispatch::kPropertyGet; }

// A keyed store in the order keys were added. Reading the item of a key it
// lacks adds that key with an empty item, as the system's own store does.
class SimDictionary final : public SimObject {
public:
    SimDictionary() : SimObject(u"IDictionary") {}

    std::optional<AutoValue> Call(const AutoMember& member, uint16_t flag, std::span<const AutoValue> args) override {
        const std::u16string name = LowerCase(member.name);
        const size_t n = args.size();
        if (name == u"add" && flag == dispatch::kMethod && n == 2) {
            if (Find(args[0]) != entries_.end()) return std::nullopt;
            entries_.push_back({args[0], args[1]});
            return AutoValue{};
        }
        if (name == u"item" && n == 1 && Reads(flag)) {
            auto it = Find(args[0]);
            if (it == entries_.end()) it = entries_.insert(entries_.end(), {args[0], AutoValue{}});
            return it->second;
        }
        if (name == u"item" && n == 2 && flag == dispatch::kPropertyPut) {
            const auto it = Find(args[0]);
            if (it == entries_.end()) {
                entries_.push_back({args[0], args[1]});
            } else {
                it->second = args[1];
            }
            return AutoValue{};
        }
        if (name == u"count" && n == 0 && Reads(flag)) return AutoValue::Number(static_cast<double>(entries_.size()));
        if (name == u"exists" && n == 1 && Reads(flag)) return AutoValue::Bool(Find(args[0]) != entries_.end());
        if ((name == u"keys" || name == u"items") && n == 0 && Reads(flag)) {
            AutoValue list{AutoValue::Type::Array};
            for (const auto& [key, item] : entries_) list.array.push_back(name == u"keys" ? key : item);
            return list;
        }
        if (name == u"remove" && n == 1 && flag == dispatch::kMethod) {
            const auto it = Find(args[0]);
            if (it == entries_.end()) return std::nullopt;
            entries_.erase(it);
            return AutoValue{};
        }
        if (name == u"removeall" && n == 0 && flag == dispatch::kMethod) {
            entries_.clear();
            return AutoValue{};
        }
        return std::nullopt;
    }

private:
    using Entries = std::vector<std::pair<AutoValue, AutoValue>>;
    Entries::iterator Find(const AutoValue& key) {
        return std::find_if(entries_.begin(), entries_.end(), [&](const auto& e) { return SameKey(e.first, key); });
    }

    Entries entries_;
};

}  // namespace

SimAutomation::SimAutomation() = default;

void SimAutomation::RegisterDictionary() {
    Register(u"Scripting.Dictionary", [] { return std::make_shared<SimDictionary>(); });
}

void SimAutomation::Register(std::u16string_view progId, Factory make) { classes_[LowerCase(progId)] = std::move(make); }

int32_t SimAutomation::LiveObjects() const {
    return static_cast<int32_t>(std::count_if(seen_.begin(), seen_.end(), [](const auto& w) { return !w.expired(); }));
}

void SimAutomation::Remember(const AutoValue& value) {
    std::erase_if(seen_, [](const auto& w) { return w.expired(); });
    if (value.object) {
        const bool known = std::any_of(seen_.begin(), seen_.end(), [&](const auto& w) { return w.lock() == value.object; });
        if (!known) seen_.push_back(value.object);
    }
    for (const AutoValue& element : value.array) Remember(element);
}

AutoObjectRef SimAutomation::DoCreateObject(std::u16string_view progId) {
    const auto it = classes_.find(LowerCase(progId));
    if (it == classes_.end()) return nullptr;
    AutoObjectRef made = it->second();
    seen_.push_back(made);
    return made;
}

std::optional<AutoValue> SimAutomation::DoInvoke(AutoObject& object, const AutoMember& member, uint16_t flag,
                                                 std::span<const AutoValue> args) {
    auto* simulated = dynamic_cast<SimObject*>(&object);
    if (simulated == nullptr) return std::nullopt;
    std::optional<AutoValue> result = simulated->Call(member, flag, args);
    if (result) Remember(*result);
    return result;
}

}  // namespace ovrix
