// The four steps that wrap an assignment-like expression node (Set, Alias,
// Remove, Add). Each stores its node under 'CODE' and shows the node's
// display text; a step without an expression shows nothing.
#pragma once

#include "engine/StepBases.h"

namespace ovrix {

class SetVarEvent final : public CodeEventOf<SetVarEvent, 33> {};
class AddValueEvent final : public CodeEventOf<AddValueEvent, 35> {};
class RemoveVarEvent final : public CodeEventOf<RemoveVarEvent, 44> {};
class AliasEvent final : public CodeEventOf<AliasEvent, 48> {};

class StepKinds;

// The rows of the four steps; each plays by evaluating its node.
void AddVariableSteps(StepKinds& kinds);

}  // namespace ovrix
