// One step record as one source line, and back.
//
// A step line is the step word and its fields:
//     MouseClick button=right, click=double, delay=250
// Fields left out hold their defaults, and the record is built in the order
// the step's Save writes it. A record that is not in that order, or that
// carries a record the table does not know, is written in the exact form:
// the word with '!' and every record in its own order, unknown ones raw
// ('TAG'=hex"...") and bytes behind the last record as tail=hex"...".
//
// Both directions share one assembly of the record from its items, and the
// writer keeps a line only when that assembly gives back the very bytes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "FieldValues.h"
#include "StepFields.h"

namespace ovrix {

struct StepItem {
    const FieldRow* row = nullptr;  // none: a raw record, or the tail
    uint32_t tag = 0;               // raw records only
    bool tail = false;
    Bytes data;
};

struct StepLine {
    const StepForm* form = nullptr;
    bool exact = false;
    std::vector<StepItem> items;
    std::optional<Region> sub;  // the nested list, written as the lines below
};

// Splits a step record into a line's items; nullopt when it has no TYPE
// record first or its type is one the table does not know.
std::optional<StepLine> SplitStep(Region record);
// The line's text without indentation (the nested list is not part of it).
std::u16string StepLineText(const StepLine& line, PictureFiles* files);

// The step record a line stands for; `sub` is the nested list's bytes.
Bytes AssembleStep(const StepForm& form, bool exact, const std::vector<StepItem>& items, const Bytes* sub);

// Parses a step line's text (from its word on). The nested list is added by
// the caller. On mistakes adds errors and answers nullopt.
struct ParsedStep {
    const StepForm* form = nullptr;
    bool exact = false;
    std::vector<StepItem> items;
};
std::optional<ParsedStep> ParseStepLine(SourceCursor& cursor, SourceErrors& errors, PictureFiles* files);

// Up to three names of `names` nearest to `word`, as "a, b or c"; empty when none is near.
std::string NearestNames(std::u16string_view word, const std::vector<std::u16string_view>& names);

}  // namespace ovrix
