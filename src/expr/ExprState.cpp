#include "expr/ExprState.h"

namespace ovrix {

namespace {

ExprState* installed = nullptr;

}  // namespace

ExprState::~ExprState() {
    passVariables.Clear();
    programVariables.Clear();
}

ExprState* CurrentExprState() { return installed; }

ExprState* InstallExprState(ExprState* state) {
    ExprState* previous = installed;
    installed = state;
    return previous;
}

}  // namespace ovrix
