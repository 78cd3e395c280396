// The interpreter's state for one player, gathered from every layer: the
// expression state (program-wide variable tables, current frame), the
// function registry with its built-in host, and the engine's own part (the
// Context stack, the value of the last Return, the playback serial, the
// live script-function descriptors). Nothing of it is process-wide: a
// RuntimeScope installs one runtime, and each layer's part of it, for a
// playback's scope, and a fresh runtime starts from nothing.
//
// The runtime belongs to the thread that plays: the progress window's
// thread never evaluates values or plays steps.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "builtins/Registry.h"
#include "engine/Context.h"
#include "expr/ExprHandle.h"
#include "expr/ExprState.h"
#include "platform/Screen.h"
#include "script/StepKinds.h"

namespace ovrix {

class Dyn_Function;

// Changes whenever cached resolutions of script-function calls may be stale.
class PlaybackSerialCounter {
public:
    uint32_t Get() const { return value_; }
    void Advance() { ++value_; }

private:
    uint32_t value_ = 1;
};

class Runtime {
public:
    // The step kinds are the player's table; without one nothing loads.
    explicit Runtime(const StepKinds* kinds = nullptr);
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;
    ~Runtime();

    // Script-function descriptors by user word: the word is 32 bits wide on
    // every build, so it names the descriptor instead of pointing at it. A
    // descriptor that outlives its runtime is told to forget it.
    uint32_t AddLiveFunction(Dyn_Function& function);
    void RemoveLiveFunction(uint32_t userWord);
    const Dyn_Function* LiveFunction(uint32_t userWord) const;

    // Declared in the order of the layers: a part may rely on those above
    // it in this list while it dies.
    FunctionRegistry functions;
    ExprState expr;
    PExprItem returnValue;  // the value of the last Return
    PlaybackSerialCounter serial;
    // What a finished step shows on the status line: every step starts it as
    // "Step Complete", and a step that finishes with a status of its own
    // leaves that. Most steps never show it, so starting a step only marks
    // it as the default and StatusText() writes the default when it is read.
    std::u16string statusText;
    bool statusIsDefault = false;
    // The place of the last picture the picture search found, in logical
    // screen pixels; -1 everywhere until one is found in this playback.
    ScreenRect lastPictureRect{-1, -1, -1, -1};
    const StepKinds* stepKinds;  // what the loader makes and the step loop plays
    PlayerThreadState thread;  // the Context stack of the playing thread

private:
    std::map<uint32_t, Dyn_Function*> liveFunctions_;
    uint32_t lastUserWord_ = 0;
};

// The installed runtime, or null.
Runtime* CurrentRuntime();
// The installed runtime; playing without one is a programming error.
Runtime& ActiveRuntime();

// Installs a runtime and each layer's part of it for the scope's lifetime,
// then restores what was installed before. The one way a runtime is
// installed.
class RuntimeScope {
public:
    explicit RuntimeScope(Runtime& runtime);
    RuntimeScope(const RuntimeScope&) = delete;
    RuntimeScope& operator=(const RuntimeScope&) = delete;
    ~RuntimeScope();

private:
    Runtime* previous_;
    ExprState* previousExpr_;
    FunctionRegistry* previousFunctions_;
    const StepKinds* previousStepKinds_;
};

}  // namespace ovrix
