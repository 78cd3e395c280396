// The variables of one run of a step list. A frame holds two tables: the
// script variable table ('$' and '@' names, keyed by canonical base name,
// each entry a cell that assignments replace the item of) and the engine
// variable table (the engine's hidden loop and condition state, keyed by
// lower-case name, never reached by script lookups).
//
// Evaluation reaches the frame of the run that is playing through
// CurrentFrame(), kept in the installed expression state: a
// CurrentFrameScope makes a frame current for its lifetime and then
// restores the one before it, so nested runs (function calls, played
// scripts, handlers) each see only their own '$' and '@' variables, and
// lookups never fall back to an outer frame.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "container/Ref.h"
#include "expr/ExprHandle.h"

namespace ovrix {

// Canonical base name -> the variable's cell. An entry stays at one place
// in memory from its insertion until it leaves the table, so a variable
// node may remember the cell it found (VariableSlot). The stamp tells such
// memories apart: every table takes a stamp when it is made and a new one
// whenever an entry may have left it, and no stamp is ever handed out
// twice, so a cell remembered under a table's current stamp is still that
// table's entry.
class VariableTable {
public:
    VariableTable();
    VariableTable(const VariableTable&) = delete;
    VariableTable& operator=(const VariableTable&) = delete;
    // Empties the table first: a dying value's destructor may look at variables.
    ~VariableTable() { Clear(); }

    // The cell of a canonical base name, or null.
    PExprItem* Find(std::u16string_view name);
    // Adds an entry for a name that has none; answers its cell.
    PExprItem& Insert(std::u16string_view name, PExprItem cell);
    // Removes the entry, if any; the table no longer holds it when its value dies.
    void Remove(std::u16string_view name);
    // Removes every entry, the same way.
    void Clear();

    size_t size() const { return entries_.size(); }
    size_t count(std::u16string_view name) const { return entries_.count(name); }
    uint64_t Stamp() const { return stamp_; }

private:
    std::map<std::u16string, PExprItem, std::less<>> entries_;
    uint64_t stamp_;
};

// Where a variable node last found its variable: a table's cell and that
// table's stamp at the time. The memory holds while the table keeps the
// stamp; after that (another frame is current, an entry was removed) the
// node looks the name up again.
struct VariableSlot {
    uint64_t stamp = 0;
    PExprItem* cell = nullptr;
    // The name is the base name alone, so the cell is what the name reaches.
    bool whole = false;
};

// A small engine-side variable.
class Var : public VObj {
public:
    virtual const std::u16string& GetTypeKey() const = 0;
    virtual std::u16string GetTypeName() const = 0;
};

class IntVar final : public Var {
public:
    explicit IntVar(int32_t v = 0) : value_(v) {}
    const std::u16string& GetTypeKey() const override;
    std::u16string GetTypeName() const override { return u"Integer"; }
    // Counting wraps like the processor's 32-bit arithmetic.
    void Increment() { value_ = static_cast<int32_t>(static_cast<uint32_t>(value_) + 1u); }
    void Decrement() { value_ = static_cast<int32_t>(static_cast<uint32_t>(value_) - 1u); }
    int32_t Set(int32_t v) { return value_ = v; }
    int32_t Get() const { return value_; }

private:
    int32_t value_;
};

// A time in seconds since 1970-01-01 00:00 UTC.
class TimeVar final : public Var {
public:
    explicit TimeVar(int64_t s = 0) : seconds_(s) {}
    const std::u16string& GetTypeKey() const override;
    std::u16string GetTypeName() const override { return u"DateTime"; }
    int64_t Set(int64_t s) { return seconds_ = s; }
    int64_t Get() const { return seconds_; }

private:
    int64_t seconds_;
};

// Makes a new engine variable for GetOrCreateLocal.
using VarCreator = Ref<Var> (*)();
Ref<Var> CreateIntVar();
Ref<Var> CreateTimeVar();

class VariableFrame {
public:
    VariableFrame() = default;
    VariableFrame(const VariableFrame&) = delete;
    VariableFrame& operator=(const VariableFrame&) = delete;
    ~VariableFrame();

    VariableTable& ScriptVariables() { return script_; }
    const VariableTable& ScriptVariables() const { return script_; }

    // The engine variable of that name (lower-cased), or null. When it is
    // absent and a creator is given, the creator's variable is stored under
    // the lower-case name and answered.
    Var* GetOrCreateLocal(std::u16string_view name, VarCreator creator = nullptr);
    // The same, as an IntVar or TimeVar; null when the variable is absent
    // (and not created) or of the other kind.
    IntVar* GetIntVar(std::u16string_view name, bool create = false);
    TimeVar* GetTimeVar(std::u16string_view name, bool create = false);

private:
    VariableTable script_;
    std::map<std::u16string, Ref<Var>> engine_;
};

struct ExprState;

// The frame of the run that is playing, or null.
VariableFrame* CurrentFrame();

// Makes a frame current for the scope's lifetime (nothing when no
// expression state is installed).
class CurrentFrameScope {
public:
    explicit CurrentFrameScope(VariableFrame& frame);
    CurrentFrameScope(const CurrentFrameScope&) = delete;
    CurrentFrameScope& operator=(const CurrentFrameScope&) = delete;
    ~CurrentFrameScope();

private:
    ExprState* state_;
    VariableFrame* previous_ = nullptr;
};

}  // namespace ovrix
