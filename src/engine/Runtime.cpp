#include "engine/Runtime.h"

#include <cassert>

#include "engine/ExecuteStep.h"
#include "engine/ScriptFunctions.h"

namespace ovrix {

namespace {

Runtime* installed = nullptr;

}  // namespace

Runtime::Runtime(const StepKinds* kinds) : statusText(kStepComplete), stepKinds(kinds) {
    expr.functions = &functions;
    expr.scriptFunctionCaller = CallDynamicFunction;
}

Runtime::~Runtime() {
    // The Contexts die first, innermost first, while the tables their
    // values may look at still exist.
    while (!thread.stack.empty()) thread.stack.pop_back();
    for (auto& [word, function] : liveFunctions_) function->ForgetRuntime();
}

uint32_t Runtime::AddLiveFunction(Dyn_Function& function) {
    const uint32_t word = ++lastUserWord_;
    liveFunctions_[word] = &function;
    return word;
}

void Runtime::RemoveLiveFunction(uint32_t userWord) { liveFunctions_.erase(userWord); }

const Dyn_Function* Runtime::LiveFunction(uint32_t userWord) const {
    const auto it = liveFunctions_.find(userWord);
    return it != liveFunctions_.end() ? it->second : nullptr;
}

Runtime* CurrentRuntime() { return installed; }

Runtime& ActiveRuntime() {
    assert(installed != nullptr);
    return *installed;
}

RuntimeScope::RuntimeScope(Runtime& runtime)
    : previous_(installed),
      previousExpr_(InstallExprState(&runtime.expr)),
      previousFunctions_(InstallFunctionRegistry(&runtime.functions)),
      previousStepKinds_(InstallStepKinds(runtime.stepKinds)) {
    installed = &runtime;
}

RuntimeScope::~RuntimeScope() {
    installed = previous_;
    InstallStepKinds(previousStepKinds_);
    InstallFunctionRegistry(previousFunctions_);
    InstallExprState(previousExpr_);
}

}  // namespace ovrix
