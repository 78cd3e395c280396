// Script-defined functions: the descriptor that exposes a function
// definition to the expression language, the per-script function tables
// that the link pass fills, the call of a function (its body played as a
// nested run with the arguments as its own variables), the resolution of a
// call node by name, and the value of the last Return.
//
// Invariant: a descriptor keeps its definition step alive, and a table is
// owned by the list it was built for, so a descriptor found through a table
// never outlives the step it plays. Call nodes keep the descriptor they
// found only for the playback serial in which they found it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "builtins/Function.h"
#include "container/Ref.h"
#include "expr/ExprHandle.h"

namespace ovrix {

struct Player;
class Context;
class EventList;
class ExprItem_DynFun;
class FunStartEvent;
class Runtime;

// A Context stack deeper than this refuses further script-function calls,
// so a function that reaches itself again (through a played script that
// calls it) ends with a script error instead of exhausting the stack.
inline constexpr size_t kMaxCallDepth = 100;

// One declared argument: the variable that receives it (a variable node,
// canonical name) besides the descriptor's kind and default value.
class Dyn_FunArg : public PLX_FunArg {
public:
    PExprItem variable;

    // The canonical name of the receiving variable.
    std::u16string VariableName() const;
};

class Dyn_Function final : public PLX_FunctionBase {
public:
    Dyn_Function(Player& player, FunStartEvent& step);
    ~Dyn_Function() override;
    Dyn_Function(const Dyn_Function&) = delete;
    Dyn_Function& operator=(const Dyn_Function&) = delete;

    std::u16string GetName() const override { return name_; }
    uint32_t GetReturnType() const override { return returnType_; }
    PLX_FunImpl GetImpl() const override;
    int32_t GetArgCount() const override { return argCount_; }
    const PLX_FunArg* GetArg(int32_t i) const override;
    std::u16string GetReturnTypeName() const override { return {}; }
    // Identifies this descriptor to CallScriptFunction.
    uint32_t GetUserWord() const override { return userWord_; }

    const Dyn_FunArg& Arg(int32_t i) const { return args_[static_cast<size_t>(i)]; }
    FunStartEvent& Step() const { return *step_; }
    Player& GetPlayer() const { return player_; }
    // Called by a runtime that dies before this descriptor.
    void ForgetRuntime() { runtime_ = nullptr; }

private:
    Player& player_;
    Ref<FunStartEvent> step_;
    std::u16string name_;
    uint32_t returnType_;
    int32_t argCount_;
    std::array<Dyn_FunArg, kMaxArgs> args_;
    Runtime* runtime_;  // the runtime that knows this descriptor by its user word
    uint32_t userWord_ = 0;
};

// The functions defined in one script, by exact name.
class FunctionTable {
public:
    explicit FunctionTable(Player& player) : player_(player) {}

    // False (nothing entered) when the name is taken.
    bool Add(FunStartEvent& step);
    const Dyn_Function* Find(std::u16string_view name) const;
    Player& GetPlayer() const { return player_; }

private:
    Player& player_;
    std::map<std::u16string, std::unique_ptr<Dyn_Function>, std::less<>> functions_;
};

// The implementation entry of every script function: plays the body in a
// fresh Context whose variables named by the declared arguments hold the
// argument values, and answers the value of its Return (none without one).
// A count other than the function's own gives no value and plays nothing.
PExprItem* CallScriptFunction(PExprItem* result, int32_t argCount, PExprItem* args, uint32_t userWord);

// The call of a script function by name from an expression node: resolved
// in the table of the list the current Context plays, cached per playback.
// An unknown name or a wrong argument count shows the script error dialog
// and stops playback.
PExprItem CallDynamicFunction(ExprItem_DynFun& node);

// Shows a script error (the dialog waits for OK) and asks playback to stop.
void ReportScriptError(Player& player, std::u16string_view text);

// The installed runtime's serial, which changes whenever cached resolutions
// may be stale: each playback start, and a link pass that replaces a list's
// function table.
uint32_t PlaybackSerial();
void AdvancePlaybackSerial();

// The value of the last Return (the installed runtime's); released when a
// function call starts.
PExprItem& ScriptReturnValue();

}  // namespace ovrix
