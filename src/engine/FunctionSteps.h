// Script functions, calls and jumps: the function definition (a block step
// whose body is the function) and its end marker, the call steps, Return,
// the script-argument step, labels and Goto, Reset and Stop. This file holds
// their stored fields and text forms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/StepBases.h"

namespace ovrix {

// The label's name is the step's own name.
class LabelEvent final : public PlainEventOf<LabelEvent, 25> {};

class GoToEvent final : public EventOf<GoToEvent, 26> {
public:
    std::u16string GetText() const override { return u"Goto " + label; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(label); }

    std::u16string label;
};

class ResetScriptEvent final : public PlainEventOf<ResetScriptEvent, 30> {
public:
    std::u16string GetText() const override { return u"Reset the script"; }
};

class StopScriptEvent final : public PlainEventOf<StopScriptEvent, 41> {
public:
    std::u16string GetText() const override { return u"Stop the script"; }
};

class CallFunEvent final : public CodeEventOf<CallFunEvent, 34> {};

// Return: without an expression the function or script returns nothing.
class ExitScriptEvent final : public CodeEventOf<ExitScriptEvent, 42> {
public:
    std::u16string GetText() const override;
};

// Shows the name of the function its expression calls; does nothing when played.
class CustomFunEvent final : public CodeEventOf<CustomFunEvent, 45> {
public:
    std::u16string GetText() const override;
};

// One declared argument of a script function.
struct FunctionArg {
    std::u16string name;     // the variable that receives the argument, canonical
    uint32_t valueType = 0;
    StoredExpr defaultValue;  // absent: no default

    bool operator==(const FunctionArg& other) const = default;
};

// A function definition. Unlike other steps it starts with no delay.
class FunStartEvent final : public BlockEventOf<FunStartEvent, 46> {
public:
    static constexpr size_t kMaxArgs = 16;

    FunStartEvent() { delay = 0; }

    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(functionName, returnType, args, Body()); }

    std::u16string functionName;
    uint32_t returnType = 0;
    std::vector<FunctionArg> args;  // at most kMaxArgs
};

class FunEndEvent final : public PlainEventOf<FunEndEvent, 47> {
public:
    std::u16string GetText() const override { return u"End Function"; }
};

class GetScriptArgEvent final : public EventOf<GetScriptArgEvent, 49> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(variable, index); }

    std::u16string variable;
    StoredExpr index;
};

}  // namespace ovrix
