// Greedy, non-backtracking pattern matching. Every match function takes the
// visible text (a node "up to a literal" narrows it to the part before the
// literal) and answers the end of its match or nullopt.
//
// Matching is a pure function of node, text and position; a repetition
// relies on that: once one repetition has matched without consuming a
// character, every further one would do the same in the same place, so the
// repetition stops there and counts the repetitions it would have made.
#include "expr/PatternMatch.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

#include "expr/KindsNode.h"
#include "expr/KindsPattern.h"
#include "expr/KindsValue.h"

namespace ovrix {

namespace {

using Text = std::u16string_view;
using Result = std::optional<size_t>;

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr uint64_t kUnbounded = std::numeric_limits<uint64_t>::max();

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// One character of the text: a CR LF pair and a lone CR both read as a line
// feed (the pair is two units wide).
struct TextChar {
    char16_t ch;
    size_t width;
};

std::optional<TextChar> TextCharAt(Text text, size_t p) {
    if (p >= text.size()) return std::nullopt;
    if (text[p] != kCr) return TextChar{text[p], 1};
    if (p + 1 < text.size() && text[p + 1] == kLf) return TextChar{kLf, 2};
    return TextChar{kLf, 1};
}

// One character of a literal or class body with its escape resolved; `any`
// marks a literal's unescaped '.'. Nullopt for a backslash at the very end.
struct PatternChar {
    char16_t ch;
    bool any;
    size_t width;
};

std::optional<PatternChar> PatternCharAt(Text body, size_t i, bool dotMatchesAny) {
    const char16_t c = body[i];
    if (c == u'.' && dotMatchesAny) return PatternChar{c, true, 1};
    if (c != u'\\') return PatternChar{c, false, 1};
    if (i + 1 >= body.size()) return std::nullopt;
    switch (body[i + 1]) {
        case u'n': return PatternChar{kLf, false, 2};
        case u'r':
            // Backslash r backslash n is one line feed, not two.
            if (body.substr(i + 2, 2) == u"\\n") return PatternChar{kLf, false, 4};
            return PatternChar{kLf, false, 2};
        case u't': return PatternChar{u'\t', false, 2};
        default: return PatternChar{body[i + 1], false, 2};
    }
}

// Compares a literal with the text at p, case counting; the end of the
// compared text. An empty literal compares equal without consuming.
Result CompareLiteral(Text literal, Text text, size_t p) {
    size_t i = 0;
    while (i < literal.size()) {
        const auto want = PatternCharAt(literal, i, true);
        const auto have = TextCharAt(text, p);
        if (!want || !have) return std::nullopt;
        if (!want->any && want->ch != have->ch) return std::nullopt;
        i += want->width;
        p += have->width;
    }
    return p;
}

// Class membership: single characters and ranges x-y. A backslash at the
// very end of the body ends the class.
bool InClass(Text body, char16_t ch) {
    if (ch == kCr) ch = kLf;
    size_t i = 0;
    while (i < body.size()) {
        const auto first = PatternCharAt(body, i, false);
        if (!first) return false;
        i += first->width;
        if (i + 1 < body.size() && body[i] == u'-') {
            const auto last = PatternCharAt(body, i + 1, false);
            if (!last) return false;
            i += 1 + last->width;
            if (ch >= first->ch && ch <= last->ch) return true;
        } else if (ch == first->ch) {
            return true;
        }
    }
    return false;
}

// The elements of a sequence or alternation: its sub-node must be a list.
const ExprItem_ValueList* ElementsOf(const ExprItem_RegExpr& node) {
    return dynamic_cast<const ExprItem_ValueList*>(node.sub.Item());
}

Result Match(const PExprItem& node, Text text, size_t p, int depth);

// Repeats `sub` from p until it fails or `limit` repetitions were made.
// A repetition that consumes nothing would repeat unchanged up to the
// limit, so it ends the loop with the limit reached.
struct Repeats {
    uint64_t count;
    size_t end;
};

Repeats Repeat(const PExprItem& sub, Text text, size_t p, uint64_t limit, int depth) {
    uint64_t count = 0;
    while (count < limit) {
        const Result r = Match(sub, text, p, depth);
        if (!r) break;
        ++count;
        if (*r == p) return {limit, p};
        p = *r;
    }
    return {count, p};
}

// Integers (13) and decimals (14): signs, then digits (for decimals
// optionally a point and more digits). The signs do not change the value.
Result MatchNumber(const ExprItem_RegExpr& node, Text text, size_t p, bool decimal) {
    if (p >= text.size()) return std::nullopt;
    if (!IsDigit(text[p]) && text[p] != u'+' && text[p] != u'-') return std::nullopt;
    while (p < text.size() && (text[p] == u'+' || text[p] == u'-')) ++p;
    if (p >= text.size() || !IsDigit(text[p])) return std::nullopt;
    const size_t start = p;
    while (p < text.size() && IsDigit(text[p])) ++p;
    if (decimal && p < text.size() && text[p] == u'.') {
        ++p;
        while (p < text.size() && IsDigit(text[p])) ++p;
    }
    const bool checkLow = (node.boundFlags & 1) != 0;
    const bool checkHigh = (node.boundFlags & 2) != 0;
    if (!checkLow && !checkHigh) return p;

    if (!decimal) {
        // Saturates far above any 32-bit bound, so the comparisons stay exact.
        int64_t value = 0;
        for (size_t i = start; i < p && value <= (int64_t{1} << 40); ++i) value = value * 10 + (text[i] - u'0');
        if (checkLow && value < node.n) return std::nullopt;
        if (checkHigh && value > node.m) return std::nullopt;
        return p;
    }
    std::string digits;
    for (size_t i = start; i < p; ++i) digits += static_cast<char>(text[i]);
    double value = 0.0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (checkLow && value < node.low) return std::nullopt;
    if (checkHigh && value > node.high) return std::nullopt;
    return p;
}

// Type 2: each element starts where the previous one ended.
Result MatchSequence(const ExprItem_RegExpr& node, Text text, size_t p, int depth) {
    const ExprItem_ValueList* list = ElementsOf(node);
    if (list == nullptr) return std::nullopt;
    for (const PExprItem& element : list->elements) {
        const Result r = Match(element, text, p, depth + 1);
        if (!r) return std::nullopt;
        p = *r;
    }
    return p;
}

// Type 5: the first element that matches at p decides.
Result MatchAlternation(const ExprItem_RegExpr& node, Text text, size_t p, int depth) {
    const ExprItem_ValueList* list = ElementsOf(node);
    if (list == nullptr) return std::nullopt;
    for (const PExprItem& element : list->elements) {
        if (const Result r = Match(element, text, p, depth + 1)) return r;
    }
    return std::nullopt;
}

// Type 6: the sub-node must consume exactly the text before the first
// occurrence of the node's text; the match ends behind that occurrence.
Result MatchUpToLiteral(const ExprItem_RegExpr& node, Text text, size_t p, int depth) {
    const size_t at = text.find(node.text, p);
    if (at == Text::npos) return std::nullopt;
    const Result r = Match(node.sub, text.substr(0, at), p, depth + 1);
    if (!r || *r != at) return std::nullopt;
    return at + node.text.size();
}

Result MatchRepetition(const ExprItem_RegExpr& node, Text text, size_t p, int depth) {
    const int next = depth + 1;
    switch (node.nodeType) {
        case pattern::kZeroOrMore: return Repeat(node.sub, text, p, kUnbounded, next).end;
        case pattern::kOneOrMore: {
            const Repeats r = Repeat(node.sub, text, p, kUnbounded, next);
            return r.count >= 1 ? Result{r.end} : Result{};
        }
        case pattern::kOptional: {
            const Result r = Match(node.sub, text, p, next);
            return r ? r : Result{p};
        }
        case pattern::kRange: {
            if (node.n < 0) return std::nullopt;
            // One attempt is made even when M is below 1.
            const uint64_t limit = node.m < 1 ? 1 : static_cast<uint64_t>(node.m);
            const Repeats r = Repeat(node.sub, text, p, limit, next);
            return r.count >= static_cast<uint64_t>(node.n) ? Result{r.end} : Result{};
        }
        case pattern::kExactly: {
            if (node.n < 0) return std::nullopt;
            const Repeats r = Repeat(node.sub, text, p, static_cast<uint64_t>(node.n), next);
            return r.count == static_cast<uint64_t>(node.n) ? Result{r.end} : Result{};
        }
        case pattern::kAtLeast: {
            const Repeats r = Repeat(node.sub, text, p, kUnbounded, next);
            return node.n < 0 || r.count >= static_cast<uint64_t>(node.n) ? Result{r.end} : Result{};
        }
        default: return std::nullopt;
    }
}

Result MatchNode(const ExprItem_RegExpr& node, Text text, size_t p, int depth) {
    switch (node.nodeType) {
        case pattern::kLiteral:
            if (p >= text.size() || node.text.empty()) return std::nullopt;
            return CompareLiteral(node.text, text, p);
        case pattern::kSequence: return MatchSequence(node, text, p, depth);
        case pattern::kAlternation: return MatchAlternation(node, text, p, depth);
        case pattern::kClass:
        case pattern::kNegatedClass: {
            if (p >= text.size()) return std::nullopt;
            const bool wanted = node.nodeType == pattern::kClass;
            return InClass(node.text, text[p]) == wanted ? Result{p + 1} : Result{};
        }
        case pattern::kUpToLiteral: return MatchUpToLiteral(node, text, p, depth);
        case pattern::kIntegerIn: return MatchNumber(node, text, p, false);
        case pattern::kDecimalIn: return MatchNumber(node, text, p, true);
        case pattern::kRest: return text.size();
        default: return MatchRepetition(node, text, p, depth);
    }
}

Result Match(const PExprItem& node, Text text, size_t p, int depth) {
    if (depth >= kMaxPatternDepth || !node || p > text.size()) return std::nullopt;
    if (const auto* pattern = dynamic_cast<const ExprItem_RegExpr*>(node.Item())) {
        return MatchNode(*pattern, text, p, depth);
    }
    // Any other value is a literal of its value text.
    if (p >= text.size()) return std::nullopt;
    return CompareLiteral(AsText(node), text, p);
}

// The text up to its first NUL unit.
Text UpToNul(Text text) { return text.substr(0, text.find(u'\0')); }

}  // namespace

std::optional<size_t> MatchPattern(const PExprItem& node, std::u16string_view text, size_t position) {
    return Match(node, UpToNul(text), position, 0);
}

bool MatchesWholeText(const PExprItem& pattern, std::u16string_view text) {
    const Text visible = UpToNul(text);
    const Result r = Match(pattern, visible, 0, 0);
    return r && *r == visible.size();
}

PExprItem RegExpMatch(const PExprItem& pattern, const PExprItem& string) {
    if (!pattern) return {};
    const std::u16string text = AsText(string);
    if (UpToNul(text).empty()) return MakeItem<ExprItem_Bool>(false);
    return MakeItem<ExprItem_Bool>(MatchesWholeText(pattern, text));
}

PExprItem RegExpMatch(std::span<const PExprItem> args) {
    if (args.size() < 2) return {};
    return RegExpMatch(args[0], args[1]);
}

}  // namespace ovrix
