// The matcher of text patterns. A pattern is a tree of pattern nodes
// (KindsPattern.h); matching walks it greedily from a text position and
// never backtracks: each node commits to the first way it finds, and a later
// failure does not make an earlier node try another. Scripts rely on these
// exact results, so a pattern that a backtracking matcher would accept may
// well fail here.
//
// The text ends at its first NUL unit or at its end, whichever comes first.
// Matching never reports an error: a malformed node, an absent node and a
// node nested deeper than kMaxPatternDepth simply fail to match, and no
// repetition runs forever or recurses past that depth.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

#include "expr/ExprHandle.h"
#include "expr/ExprReader.h"

namespace ovrix {

// The reader builds no deeper tree than this, so a loaded pattern is never
// cut short by the matcher's own limit.
constexpr int kMaxPatternDepth = kMaxExprDepth;

// Matches `node` at `position`; the position just after the match, or
// nullopt when it fails. A node that is not a pattern node is compared as a
// literal of its value text.
std::optional<size_t> MatchPattern(const PExprItem& node, std::u16string_view text, size_t position);

// True when the pattern matches from the start and covers the whole text.
bool MatchesWholeText(const PExprItem& pattern, std::u16string_view text);

// The built-in RegExpMatch(Pattern, String): no value without a pattern;
// Bool false for an empty String; else Bool true exactly when the pattern
// covers the whole text of String.
PExprItem RegExpMatch(const PExprItem& pattern, const PExprItem& string);
// The same over the call's argument list: no value with fewer than two.
PExprItem RegExpMatch(std::span<const PExprItem> args);

}  // namespace ovrix
