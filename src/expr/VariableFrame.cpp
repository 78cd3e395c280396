#include "expr/VariableFrame.h"

#include "container/Text.h"
#include "expr/ExprState.h"

namespace ovrix {

const std::u16string& IntVar::GetTypeKey() const {
    static const std::u16string key = u"Integer";
    return key;
}

const std::u16string& TimeVar::GetTypeKey() const {
    static const std::u16string key = u"DateTime";
    return key;
}

Ref<Var> CreateIntVar() { return MakeRef<IntVar>(); }
Ref<Var> CreateTimeVar() { return MakeRef<TimeVar>(); }

VariableFrame::~VariableFrame() {
    // A value's destructor may look at variables (a window it owns being
    // destroyed): empty the tables before their entries die.
    VariableTable dying;
    dying.swap(script_);
    dying.clear();
    // A frame that dies while still current must not stay reachable.
    ExprState* state = CurrentExprState();
    if (state != nullptr && state->currentFrame == this) state->currentFrame = nullptr;
}

Var* VariableFrame::GetOrCreateLocal(std::u16string_view name, VarCreator creator) {
    std::u16string key = LowerCase(name);
    auto it = engine_.find(key);
    if (it != engine_.end()) return it->second.Get();
    if (creator == nullptr) return nullptr;
    Ref<Var> made = creator();
    if (!made) return nullptr;
    return engine_.emplace(std::move(key), std::move(made)).first->second.Get();
}

IntVar* VariableFrame::GetIntVar(std::u16string_view name, bool create) {
    return dynamic_cast<IntVar*>(GetOrCreateLocal(name, create ? &CreateIntVar : nullptr));
}

TimeVar* VariableFrame::GetTimeVar(std::u16string_view name, bool create) {
    return dynamic_cast<TimeVar*>(GetOrCreateLocal(name, create ? &CreateTimeVar : nullptr));
}

VariableFrame* CurrentFrame() {
    const ExprState* state = CurrentExprState();
    return state != nullptr ? state->currentFrame : nullptr;
}

CurrentFrameScope::CurrentFrameScope(VariableFrame& frame) : state_(CurrentExprState()) {
    if (state_ == nullptr) return;
    previous_ = state_->currentFrame;
    state_->currentFrame = &frame;
}

CurrentFrameScope::~CurrentFrameScope() {
    if (state_ != nullptr) state_->currentFrame = previous_;
}

}  // namespace ovrix
