// Playback frames. Every run of a step list plays in its own Context: the
// list, the run's arguments, the current position, the caller, and the run's
// variables (the script's '$' and '@' variables and the engine's hidden loop
// and condition state). Each thread keeps a stack of the Contexts of its
// nested runs; the top is the run that is playing now.
//
// Invariant: a Context lives exactly as long as its run (or, when the run
// ends before its first step because playback was stopped, until the stack
// is cleared), so loop counters and condition flags never outlive the run.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "script/EventList.h"
#include "expr/ExprHandle.h"
#include "expr/VariableFrame.h"

namespace ovrix {

class Event;

// The values a run was played with: a played script's file name and
// arguments, or the program's command-line arguments as texts.
using ArgumentList = std::vector<PExprItem>;

// A switch's case table: key text (exact) -> first step of the case body,
// and the first step of the Default body (empty until a Default is seen).
struct CaseTable {
    std::map<std::u16string, StepPath> keys;
    StepPath defaultPath;
};

// For tables keyed by a step's position.
struct StepPathHash {
    size_t operator()(const StepPath& path) const {
        size_t h = path.size();
        for (const int32_t i : path) h = h * 31 + static_cast<uint32_t>(i);
        return h;
    }
};

class Context {
public:
    // Called once with the new Context before the run's first step.
    using Control = std::function<void(Context&)>;

    Context(int32_t d, EventList& l, const ArgumentList* args, Context* c);
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // Unique among all the runs of the process: steps key what they find
    // once per run by it.
    const uint64_t serial;
    int32_t depth;
    EventList* list;
    const ArgumentList* arguments;  // none for most runs
    StepPath path;
    Context* caller;
    VariableFrame frame;
    // The case tables of the switches of this run's list, rebuilt when the
    // run starts; positions are relative to this run's list.
    std::map<const Event*, CaseTable> caseTables;
    // The condition flags found so far, by the position of their step: a
    // condition step played again sets its flag without building its name.
    std::unordered_map<StepPath, IntVar*, StepPathHash> conditionFlags;
};

struct PlayerThreadState {
    uint32_t mainThread = 0;
    std::vector<std::unique_ptr<Context>> stack;

    Context* Top() const { return stack.empty() ? nullptr : stack.back().get(); }
};

// The playing thread's state, kept in the installed runtime.
PlayerThreadState& ThreadPlayerState();
// Destroys every Context of the playing thread, innermost first.
void ClearContextStack();

// The concatenation of "_%d" for each index: (0, 3, 2) gives "_0_3_2".
std::u16string PathSuffix(const StepPath& path);

// The engine variable of that name (looked up lower-cased); created by the
// creator when absent and a creator is given.
Var* GetOrCreateLocal(Context& context, std::u16string_view name, VarCreator creator = nullptr);

// The hidden "@<kind><suffix>" flag of a condition step. Get answers 0 for
// a flag that was never set and does not create it.
// The kind of flag a condition block leaves for the Else after it.
inline constexpr std::u16string_view kIfBlockKind = u"If";
void SetBlockFlag(Context& context, const StepPath& path, std::u16string_view kind, int32_t value);
int32_t GetBlockFlag(Context& context, const StepPath& path, std::u16string_view kind);

}  // namespace ovrix
