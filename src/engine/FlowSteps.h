// The block structure of a script: conditions (If ... Else ... End If),
// loops (For ... Next with Continue and Exit) and the switch (Switch with its
// Case and Default blocks, then End Switch). The stored script is already a
// tree: a block step owns its body, and the closing step is the block step's
// next sibling. This file holds their stored fields and text forms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "container/Ref.h"
#include "engine/StepBases.h"
#include "expr/VariableFrame.h"

namespace ovrix {

// What a loop step finds once per run: its hidden counter and times, and
// where the loop index variable lives. Keyed by the run's serial; a copy of
// the step is another step and starts with nothing found.
struct LoopRunCache {
    LoopRunCache() = default;
    LoopRunCache(const LoopRunCache&) {}
    LoopRunCache& operator=(const LoopRunCache&) { return *this; }

    uint64_t run = 0;
    IntVar* counter = nullptr;
    TimeVar* start = nullptr;
    TimeVar* end = nullptr;
    VariableSlot loopIndex;
    std::u16string variableName;  // a range loop's variable, in canonical form
    VariableSlot variable;
};

class IfVarEvent final : public BlockEventOf<IfVarEvent, 36> {
public:
    std::u16string GetText() const override;
    bool IsCondition() const override { return true; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(condition, Body()); }

    StoredExpr condition;
};

// The file name is an expression; records without one hold a plain name in
// 'FILE', which loads as a text value. Saving always writes the expression.
class IfFileExistEvent final : public BlockEventOf<IfFileExistEvent, 40> {
public:
    IfFileExistEvent() : fileName(TextExpr(u"")) {}

    std::u16string GetText() const override;
    bool IsCondition() const override { return true; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(fileName, Body()); }

    StoredExpr fileName;
};

class ElseEvent final : public BlockEventOf<ElseEvent, 6> {
public:
    std::u16string GetText() const override { return u"Else"; }
    void Save(RecordBuffer& buffer) const override { SaveChildren(buffer); }
    void Load(Region data, EventList& owner) override { LoadChildren(data, owner); }
    auto Fields() const { return FieldList(Body()); }
};

class EndIfEvent final : public PlainEventOf<EndIfEvent, 7> {
public:
    std::u16string GetText() const override { return u"End If"; }
};

class NextEvent final : public PlainEventOf<NextEvent, 9> {
public:
    std::u16string GetText() const override { return u"Next"; }
};

class ContinueEvent final : public PlainEventOf<ContinueEvent, 10> {
public:
    std::u16string GetText() const override { return u"Continue Loop"; }
};

class ExitForEvent final : public PlainEventOf<ExitForEvent, 11> {
public:
    std::u16string GetText() const override { return u"Exit Loop"; }
};

class EndSwitchEvent final : public PlainEventOf<EndSwitchEvent, 51> {
public:
    std::u16string GetText() const override { return u"End Switch"; }
};

// Loop kinds; every other value loops until Exit For.
constexpr uint32_t kLoopCount = 0;
constexpr uint32_t kLoopTime = 1;
constexpr uint32_t kLoopWhile = 3;
constexpr uint32_t kLoopRange = 4;           // variable = start to end
constexpr uint32_t kLoopRangeExclusive = 5;  // variable = start to end - 1

// Each kind reads only its own fields; the others are kept as loaded.
class ForLoopEvent final : public BlockEventOf<ForLoopEvent, 8> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(kind, count, duration, condition, variable, start, end, Body()); }

    uint32_t kind = kLoopCount;
    uint32_t count = 3;        // kind 0
    std::u16string duration;   // kind 1: a number, a space and a unit word
    StoredExpr condition;      // kind 3
    std::u16string variable;   // kinds 4, 5: the loop variable's canonical name
    StoredExpr start;          // kinds 4, 5
    StoredExpr end;            // kinds 4, 5
    mutable LoopRunCache cache;
};

class SwitchEvent final : public BlockEventOf<SwitchEvent, 50> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(expression, Body()); }

    StoredExpr expression;
};

// One value of a Case. Its key is what the switch's case table matches
// against the switch expression's text, so an integer and a hexadecimal
// value with the same number share a key.
class CaseValue : public VObj {
public:
    virtual uint32_t GetKind() const = 0;
    virtual std::u16string GetKey() const = 0;
    virtual std::u16string GetText() const = 0;
    // Writes the value's record: 'TYPE' then its own record.
    virtual void Save(RecordBuffer& buffer) const = 0;
    virtual void Load(Region record) = 0;
};

class CaseValueInt final : public CaseValue {
public:
    static constexpr uint32_t kKind = 1;
    uint32_t GetKind() const override { return kKind; }
    std::u16string GetKey() const override;
    std::u16string GetText() const override { return GetKey(); }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region record) override;

    int32_t value = 0;
};

class CaseValueHex final : public CaseValue {
public:
    static constexpr uint32_t kKind = 2;
    uint32_t GetKind() const override { return kKind; }
    std::u16string GetKey() const override;
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region record) override;

    int32_t value = 0;
};

class CaseValueStr final : public CaseValue {
public:
    static constexpr uint32_t kKind = 3;
    uint32_t GetKind() const override { return kKind; }
    std::u16string GetKey() const override { return text; }
    std::u16string GetText() const override { return u"\"" + text + u"\""; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region record) override;

    std::u16string text;
};

// A new empty value of the kind; none for any other kind.
Ref<CaseValue> CreateCaseValue(uint32_t kind);

// Case values compared by kind and key: within one kind the key determines the value.
struct CaseValuesField {
    const std::vector<Ref<CaseValue>>& values;
    bool operator==(const CaseValuesField& other) const;
};

// Case values are immutable once loaded, so copies of the step share them.
class SwitchCaseEvent final : public BlockEventOf<SwitchCaseEvent, 52> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(CaseValuesField{values}, Body()); }

    std::vector<Ref<CaseValue>> values;
};

class SwitchDefaultEvent final : public BlockEventOf<SwitchDefaultEvent, 53> {
public:
    std::u16string GetText() const override { return u"Default"; }
    void Save(RecordBuffer& buffer) const override { SaveChildren(buffer); }
    void Load(Region data, EventList& owner) override { LoadChildren(data, owner); }
    auto Fields() const { return FieldList(Body()); }
};

}  // namespace ovrix
