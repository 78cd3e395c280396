#include "engine/Context.h"

#include <atomic>

#include "engine/Runtime.h"

namespace ovrix {

namespace {

std::atomic<uint64_t> lastSerial{0};

std::u16string FlagName(const StepPath& path, std::u16string_view kind) {
    return u"@" + std::u16string(kind) + PathSuffix(path);
}

}  // namespace

Context::Context(int32_t d, EventList& l, const ArgumentList* args, Context* c)
    : serial(lastSerial.fetch_add(1, std::memory_order_relaxed) + 1), depth(d), list(&l), arguments(args), caller(c) {}

PlayerThreadState& ThreadPlayerState() { return ActiveRuntime().thread; }

void ClearContextStack() {
    auto& stack = ThreadPlayerState().stack;
    while (!stack.empty()) stack.pop_back();
}

std::u16string PathSuffix(const StepPath& path) {
    std::u16string suffix;
    for (const int32_t index : path) {
        const std::string n = "_" + std::to_string(index);
        suffix.append(n.begin(), n.end());
    }
    return suffix;
}

Var* GetOrCreateLocal(Context& context, std::u16string_view name, VarCreator creator) {
    return context.frame.GetOrCreateLocal(name, creator);
}

namespace {

// An engine variable stays in its frame as long as the frame lives, so a
// flag found once is the flag of that name for the rest of the run.
IntVar* BlockFlag(Context& context, const StepPath& path, std::u16string_view kind, bool create) {
    const bool remembered = kind == kIfBlockKind;
    if (remembered) {
        const auto it = context.conditionFlags.find(path);
        if (it != context.conditionFlags.end()) return it->second;
    }
    IntVar* flag = context.frame.GetIntVar(FlagName(path, kind), create);
    if (remembered && flag != nullptr) context.conditionFlags.emplace(path, flag);
    return flag;
}

}  // namespace

void SetBlockFlag(Context& context, const StepPath& path, std::u16string_view kind, int32_t value) {
    if (IntVar* flag = BlockFlag(context, path, kind, true)) flag->Set(value);
}

int32_t GetBlockFlag(Context& context, const StepPath& path, std::u16string_view kind) {
    const IntVar* flag = BlockFlag(context, path, kind, false);
    return flag != nullptr ? flag->Get() : 0;
}

}  // namespace ovrix
