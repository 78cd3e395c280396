#include "expr/VariableFrame.h"

#include <atomic>

#include "container/Text.h"
#include "expr/ExprState.h"

namespace ovrix {

namespace {

// Stamps are unique across every table of the process (0 is never one).
std::atomic<uint64_t> lastStamp{0};

uint64_t NewStamp() { return lastStamp.fetch_add(1, std::memory_order_relaxed) + 1; }

}  // namespace

VariableTable::VariableTable() : stamp_(NewStamp()) {}

PExprItem* VariableTable::Find(std::u16string_view name) {
    const auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : &it->second;
}

PExprItem& VariableTable::Insert(std::u16string_view name, PExprItem cell) {
    return entries_.emplace(std::u16string(name), std::move(cell)).first->second;
}

void VariableTable::Remove(std::u16string_view name) {
    const auto it = entries_.find(name);
    if (it == entries_.end()) return;
    const PExprItem dying = std::move(it->second);
    entries_.erase(it);
    stamp_ = NewStamp();
}

void VariableTable::Clear() {
    decltype(entries_) dying;
    dying.swap(entries_);
    stamp_ = NewStamp();
}

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
    script_.Clear();
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
