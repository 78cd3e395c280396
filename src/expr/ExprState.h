// The expression language's part of the interpreter state: the two
// program-wide variable tables, the frame of the run that is playing, the
// identities handed to values so far, and what the layers above hand in
// (the function registry, the player of script-function calls, the
// local-time conversion). The engine's runtime owns one and installs it for
// a playback's scope; with none installed, '!' and '#' names reach nothing
// like '$' names outside a run, calls find no descriptor, values have no
// identity yet and times show in UTC.
#pragma once

#include "expr/ExprHandle.h"
#include "expr/LocalTime.h"
#include "expr/VariableFrame.h"

namespace ovrix {

class ExprItem_DynFun;
class FunctionLookup;

// Plays a script-function call node; script functions live in the engine.
using ScriptFunctionCaller = PExprItem (*)(ExprItem_DynFun& call);

struct ExprState {
    ExprState() = default;
    ExprState(const ExprState&) = delete;
    ExprState& operator=(const ExprState&) = delete;
    // Empties the tables first: a dying value's destructor may look at
    // variables.
    ~ExprState();

    VariableTable passVariables;     // '!': emptied at the start of every pass
    VariableTable programVariables;  // '#'
    VariableFrame* currentFrame = nullptr;
    FunctionLookup* functions = nullptr;
    ScriptFunctionCaller scriptFunctionCaller = nullptr;
    LocalTimeFn localTime = nullptr;  // null: UtcCivilTime
    uint32_t lastIdentity = 0;        // the identity last handed to a value
};

// The installed state, or null.
ExprState* CurrentExprState();
// Installs a state (null removes it); answers the previous one. The
// engine's runtime scope is the one caller.
ExprState* InstallExprState(ExprState* state);

}  // namespace ovrix
