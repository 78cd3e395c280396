#include "expr/ExprState.h"

namespace ovrix {

namespace {

ExprState* installed = nullptr;

void Empty(VariableTable& table) {
    VariableTable dying;
    dying.swap(table);
}

}  // namespace

ExprState::~ExprState() {
    Empty(passVariables);
    Empty(programVariables);
}

ExprState* CurrentExprState() { return installed; }

ExprState* InstallExprState(ExprState* state) {
    ExprState* previous = installed;
    installed = state;
    return previous;
}

}  // namespace ovrix
