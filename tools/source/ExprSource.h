// The source form of stored expressions: a writer from the stored node (the
// nested container a step keeps under 'CODE' and its other expression
// tags) to text that reads like the player's display texts, and a parser
// back to exactly those stored bytes.
//
// The writer works on the stored records, not on loaded value trees, so
// what it cannot show in the readable form (a record it does not know, a
// node that does not hold together) it writes in the raw form, which the
// parser turns back into the same bytes: nothing is lost.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "SourceText.h"
#include "container/Container.h"
#include "container/RecordBuffer.h"

namespace ovrix {

// Appends the source form of the stored node `node` to `out`.
void WriteExprSource(Region node, std::u16string& out);

// Parses one whole expression from `span` (which starts at `start` in the
// file) and appends the stored node's records to `out`. On mistakes it
// adds errors and answers false; `out` is then not to be used.
bool ParseExprSource(std::u16string_view span, SourcePos start, RecordBuffer& out, SourceErrors& errors);

// Where an expression that starts at `from` in `line` ends: at the line's
// end, or at the first ',' or ')' or ']' or '}' that is outside every
// bracket and text literal of the expression. Lets the step layer put an
// expression among other fields.
size_t ExprSpanEnd(std::u16string_view line, size_t from);

}  // namespace ovrix
