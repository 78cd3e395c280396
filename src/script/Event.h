// Event: the base of every script step. A step has a type id, a name, a
// delay in milliseconds and a disabled flag (the common header of its step
// record); each class adds its own fields, which its Load reads from the step
// record and its Save writes back, so that Load(Save(step)) is equal to step.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "container/Container.h"
#include "container/RecordBuffer.h"
#include "container/Ref.h"
#include "script/EventList.h"

namespace ovrix {

class Event : public VObj {
public:
    explicit Event(uint32_t typeId, bool mayHaveBody = false) : typeId_(typeId), mayHaveBody_(mayHaveBody) {}

    uint32_t TypeId() const { return typeId_; }

    // The one-line text form of the step.
    virtual std::u16string GetText() const { return {}; }
    virtual Ref<Event> Clone() const = 0;
    // Only the function-start step gives this its own meaning.
    virtual Ref<Event> Duplicate() const { return Clone(); }
    // Type ids, names, delays and the class's own fields; the disabled flag
    // and the spare word are not compared.
    virtual bool IsEqual(const Event& other) const = 0;
    // Steps that test a condition and open an If block an Else may follow.
    virtual bool IsCondition() const { return false; }
    // The step's body, if it has one now. A class that may have one keeps it
    // in a member named `children` (EventOf notes that once per class), so
    // that the const form, which walks and the run loop use for every step,
    // makes no call for the classes that never have a body.
    virtual EventList* GetChildList() { return nullptr; }
    const EventList* GetChildList() const {
        return mayHaveBody_ ? const_cast<Event*>(this)->GetChildList() : nullptr;
    }
    // Appends the class's own field records.
    virtual void Save(RecordBuffer& /*buffer*/) const {}
    // Reads the class's own field records from the step record `data`.
    virtual void Load(Region data, EventList& owner) = 0;

    // Type key and display name; none for the classes that have neither.
    std::optional<std::u16string_view> GetTypeKey() const;
    std::optional<std::u16string_view> GetDisplayName() const;

    std::u16string name;
    uint32_t delay = 1000;
    uint32_t disabled = 0;
    uint32_t spare = 0;

protected:
    bool HeaderEqual(const Event& other) const {
        return typeId_ == other.typeId_ && name == other.name && delay == other.delay;
    }

private:
    uint32_t typeId_;
    bool mayHaveBody_;
};

// A step class lists its fields once, in `Fields()` beside their
// declarations, as FieldList(a, b, ...); comparison walks that list and no
// other place names the fields again. A field compared other than by its own
// == goes in through one of the views below.
template <class... T>
auto FieldList(T&&... fields) {
    return std::tuple<T...>(std::forward<T>(fields)...);
}

// Text compared without case (file paths).
struct NoCaseField {
    const std::u16string& text;
    bool operator==(const NoCaseField& other) const;
};

// A block's body, compared step by step.
struct BodyField {
    const EventList& list;
    bool operator==(const BodyField& other) const { return list.IsEqual(other.list); }
};

// The first `count` elements of an array; the rest do not count.
template <class T>
struct LeadingField {
    const T* items;
    size_t count;
    bool operator==(const LeadingField& other) const {
        return count == other.count && std::equal(items, items + count, other.items);
    }
};

// Base for the concrete step classes: supplies Clone (a copy through the
// class's copy constructor) and IsEqual (the header, then the class's
// `Fields()`). A class whose fields have value semantics (including an owned
// EventList, which copies deeply) writes only its field list.
template <class Derived, uint32_t Id>
class EventOf : public Event {
public:
    static constexpr uint32_t kTypeId = Id;

    EventOf() : Event(Id, requires(Derived& step) { step.children; }) {}

    Ref<Event> Clone() const override { return MakeRef<Derived>(static_cast<const Derived&>(*this)); }

    bool IsEqual(const Event& other) const override {
        return HeaderEqual(other) &&
               static_cast<const Derived&>(*this).Fields() == static_cast<const Derived&>(other).Fields();
    }
};

// Blocks nested deeper than this load with an empty body. Real scripts nest a
// few levels; the limit keeps a hostile image from exhausting the stack of
// the loader (and of everything that walks a tree recursively afterwards).
constexpr size_t kMaxNesting = 200;

// Shared part of every block step's Load and Save: the nested list in 'SUB'.
// LoadChildList empties the list, loads 'SUB' when present and links the list
// to `owner` at the index the block step is about to take.
void LoadChildList(Region data, EventList& owner, EventList& children);
void SaveChildList(RecordBuffer& buffer, const EventList& children);

}  // namespace ovrix
