// Steps that act on top-level windows of other programs found by a title
// pattern: close one, switch to one, or wait for one to appear or disappear.
// The wait step is a condition block only in its "If" form: only then does it
// answer its then-steps from GetChildList and load and save them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "script/Event.h"

namespace ovrix {

// A timeout amount in its stored unit ("ms", "sec", "minute", "hour",
// compared exactly; any other unit counts as minutes), in milliseconds.
uint64_t TimeoutMilliseconds(uint32_t amount, std::u16string_view unit);

class CloseWindowEvent : public EventOf<CloseWindowEvent, 27> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(title); }

    std::u16string title;  // pattern with '*' and '?'
};

class SwitchWindowEvent : public EventOf<SwitchWindowEvent, 28> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(title); }

    std::u16string title;
};

class WaitWindowEvent : public EventOf<WaitWindowEvent, 29> {
public:
    std::u16string GetText() const override;
    bool IsCondition() const override { return ifForm != 0; }
    EventList* GetChildList() override { return ifForm ? &children : nullptr; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const {
        return FieldList(appear, title, timeout, timeoutUnit, bringToFront, ifForm, BodyField{children});
    }

    uint32_t appear = 1;  // 1: wait until a window matches; 0: until none does
    std::u16string title;
    uint32_t timeout = 10;
    std::u16string timeoutUnit = u"sec";
    uint32_t bringToFront = 1;
    uint32_t ifForm = 0;
    EventList children;  // the then-steps of the "If" form
};

}  // namespace ovrix
