#include "engine/ScriptFunctions.h"

#include <vector>

#include "engine/Context.h"
#include "engine/FunctionSteps.h"
#include "engine/Playback.h"
#include "engine/PlaybackFlags.h"
#include "engine/Player.h"
#include "engine/Runtime.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "expr/Variables.h"

namespace ovrix {

namespace {

// The table a call made now resolves through, and the player of the
// nearest prepared script on the stack (for the error dialog).
struct Resolution {
    const FunctionTable* table = nullptr;
    Player* player = nullptr;
};

Resolution CurrentResolution() {
    Resolution found;
    const Context* top = ThreadPlayerState().Top();
    if (top == nullptr) return found;
    found.table = top->list->functions.get();
    for (const Context* c = top; c != nullptr && found.player == nullptr; c = c->caller) {
        if (c->list->functions) found.player = &c->list->functions->GetPlayer();
    }
    return found;
}

std::u16string Decimal(int64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

void Fail(Player* player, std::u16string_view text) {
    if (player != nullptr) {
        ReportScriptError(*player, text);
    } else {
        SetFlag(StopRequest);
    }
}

}  // namespace

std::u16string Dyn_FunArg::VariableName() const {
    const auto* node = ItemAs<ExprItem_Var>(variable);
    return node != nullptr ? node->Name() : std::u16string();
}

Dyn_Function::Dyn_Function(Player& player, FunStartEvent& step)
    : player_(player),
      step_(&step),
      name_(step.functionName),
      returnType_(step.returnType),
      argCount_(static_cast<int32_t>(step.args.size() < kMaxArgs ? step.args.size() : kMaxArgs)),
      runtime_(&ActiveRuntime()) {
    for (int32_t i = 0; i < argCount_; ++i) {
        const FunctionArg& declared = step.args[static_cast<size_t>(i)];
        Dyn_FunArg& arg = args_[static_cast<size_t>(i)];
        arg.variable = MakeItem<ExprItem_Var>(declared.name);
        arg.name = arg.VariableName();
        arg.kind = declared.valueType;
        if (declared.defaultValue.Present()) arg.defaultValue = declared.defaultValue.Node();
    }
    userWord_ = runtime_->AddLiveFunction(*this);
}

Dyn_Function::~Dyn_Function() {
    if (runtime_ != nullptr) runtime_->RemoveLiveFunction(userWord_);
}

PLX_FunImpl Dyn_Function::GetImpl() const { return CallScriptFunction; }

const PLX_FunArg* Dyn_Function::GetArg(int32_t i) const {
    return i >= 0 && i < argCount_ ? &args_[static_cast<size_t>(i)] : nullptr;
}

bool FunctionTable::Add(FunStartEvent& step) {
    if (functions_.count(step.functionName) != 0) return false;
    functions_.emplace(step.functionName, std::make_unique<Dyn_Function>(player_, step));
    return true;
}

const Dyn_Function* FunctionTable::Find(std::u16string_view name) const {
    const auto it = functions_.find(name);
    return it != functions_.end() ? it->second.get() : nullptr;
}

PExprItem* CallScriptFunction(PExprItem* result, int32_t argCount, PExprItem* args, uint32_t userWord) {
    *result = PExprItem();
    const Dyn_Function* live = ActiveRuntime().LiveFunction(userWord);
    if (live == nullptr) return result;
    const Dyn_Function& function = *live;
    if (argCount != function.GetArgCount()) return result;
    if (ThreadPlayerState().stack.size() >= kMaxCallDepth) {
        ReportScriptError(function.GetPlayer(), u"Error: Function " + function.GetName() + u" is nested more than " +
                                                    Decimal(kMaxCallDepth) + u" runs deep!");
        return result;
    }
    // The values outlive the run even if the caller's array does not.
    std::vector<PExprItem> values(args, args + argCount);
    const Context::Control bindArguments = [&function, &values](Context&) {
        for (int32_t i = 0; i < function.GetArgCount(); ++i) {
            SetVariable(function.Arg(i).VariableName(), values[static_cast<size_t>(i)]);
        }
    };
    // Keeps the step (and so its body) alive while it plays.
    const Ref<FunStartEvent> step(&function.Step());
    ScriptReturnValue() = PExprItem();
    RunEventList(function.GetPlayer(), step->children, nullptr, 0, &bindArguments);
    *result = ScriptReturnValue();
    return result;
}

PExprItem CallDynamicFunction(ExprItem_DynFun& node) {
    const PLX_FunctionBase* function = nullptr;
    const Resolution resolution = CurrentResolution();
    if (node.resolved != nullptr && node.resolvedSerial == PlaybackSerial()) {
        function = node.resolved;
    } else {
        node.resolved = nullptr;
        if (resolution.table != nullptr) function = resolution.table->Find(node.name);
        if (function == nullptr) {
            Fail(resolution.player, u"Error: Function " + node.name + u" does not eixst!");
            return {};
        }
        node.resolved = function;
        node.resolvedSerial = PlaybackSerial();
    }
    // Arguments the call leaves out take the declared defaults when every
    // missing one has a default.
    const int32_t wanted = function->GetArgCount();
    const int32_t given = static_cast<int32_t>(node.args.size());
    bool defaultsCover = given <= wanted;
    for (int32_t i = given; i < wanted && defaultsCover; ++i) defaultsCover = function->GetArg(i)->defaultValue.HasValue();
    if (!defaultsCover) {
        Fail(resolution.player, u"Error: Function " + node.name + u" does not take " + Decimal(given) + u" arguments!");
        return {};
    }
    std::vector<PExprItem> values(static_cast<size_t>(wanted));
    for (int32_t i = 0; i < wanted; ++i) {
        const PExprItem& source = i < given ? node.args[static_cast<size_t>(i)] : function->GetArg(i)->defaultValue;
        if (source) values[static_cast<size_t>(i)] = source->Evaluate();
    }
    PExprItem result;
    function->GetImpl()(&result, wanted, values.data(), function->GetUserWord());
    return result;
}

void ReportScriptError(Player& player, std::u16string_view text) {
    player.desktop.dialogs.ShowScriptError(text);
    SetFlag(StopRequest);
}

uint32_t PlaybackSerial() { return ActiveRuntime().serial.Get(); }

void AdvancePlaybackSerial() { ActiveRuntime().serial.Advance(); }

PExprItem& ScriptReturnValue() { return ActiveRuntime().returnValue; }

}  // namespace ovrix
