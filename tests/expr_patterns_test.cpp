// Text patterns: the matcher's results node type by node type (including
// the places where a non-backtracking matcher must fail), the guards against
// endless repetition and deep trees, the RegExpMatch built-in, the text
// form of pattern trees and the stored form of the bound fields.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

#include "builtins_test_support.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "expr/KindsPattern.h"
#include "expr/PatternMatch.h"

namespace ovrix {
namespace {

using namespace testing_builtins;
constexpr int32_t kHuge = std::numeric_limits<int32_t>::max();

PExprItem Node(int32_t type, PExprItem sub = {}, int32_t n = 0, int32_t m = 0, std::u16string text = {}) {
    auto p = MakeItem<ExprItem_RegExpr>();
    auto* r = ItemAs<ExprItem_RegExpr>(p);
    r->nodeType = type;
    r->sub = std::move(sub);
    r->n = n;
    r->m = m;
    r->text = std::move(text);
    return p;
}

PExprItem Lit(std::u16string text) { return Node(pattern::kLiteral, {}, 0, 0, std::move(text)); }
PExprItem Cls(std::u16string body) { return Node(pattern::kClass, {}, 0, 0, std::move(body)); }
PExprItem NotCls(std::u16string body) { return Node(pattern::kNegatedClass, {}, 0, 0, std::move(body)); }
PExprItem UpTo(std::u16string text, PExprItem sub) { return Node(pattern::kUpToLiteral, std::move(sub), 0, 0, std::move(text)); }
PExprItem Seq(std::vector<PExprItem> elements) { return Node(pattern::kSequence, ListOf(std::move(elements))); }
PExprItem Alt(std::vector<PExprItem> elements) { return Node(pattern::kAlternation, ListOf(std::move(elements))); }
PExprItem Star(PExprItem sub) { return Node(pattern::kZeroOrMore, std::move(sub)); }
PExprItem Plus(PExprItem sub) { return Node(pattern::kOneOrMore, std::move(sub)); }
PExprItem Opt(PExprItem sub) { return Node(pattern::kOptional, std::move(sub)); }
PExprItem Rest() { return Node(pattern::kRest); }

PExprItem Bounded(int32_t type, uint32_t flags, int32_t n, int32_t m) {
    PExprItem p = Node(type, {}, n, m);
    ItemAs<ExprItem_RegExpr>(p)->boundFlags = flags;
    return p;
}

PExprItem DecimalIn(uint32_t flags, double low, double high) {
    PExprItem p = Bounded(pattern::kDecimalIn, flags, 0, 0);
    ItemAs<ExprItem_RegExpr>(p)->low = low;
    ItemAs<ExprItem_RegExpr>(p)->high = high;
    return p;
}

bool Whole(const PExprItem& pattern, std::u16string_view text) { return MatchesWholeText(pattern, text); }

// A pattern and what it makes of some texts: whether the whole text
// matches (kYes, kNo), or where a match from `start` ends (kFail: none).
constexpr int64_t kYes = -1, kNo = -2, kFail = -3;
struct Probe {
    std::u16string_view text;
    int64_t expected;
    size_t start = 0;
};
struct Row {
    PExprItem pattern;
    std::vector<Probe> probes;
};

void CheckRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        for (const Probe& probe : row.probes) {
            SCOPED_TRACE(ToUtf8(row.pattern->GetDisplayText()) + " on \"" + ToUtf8(std::u16string(probe.text)) + "\"");
            if (probe.expected == kYes || probe.expected == kNo) {
                EXPECT_EQ(Whole(row.pattern, probe.text), probe.expected == kYes);
            } else {
                const auto end = MatchPattern(row.pattern, probe.text, probe.start);
                EXPECT_EQ(end ? static_cast<int64_t>(*end) : kFail, probe.expected);
            }
        }
    }
}

TEST(PatternMatch, RepetitionIsGreedyAndNeverGivesBack) {
    CheckRows({
        {Seq({Lit(u"ab"), Star(Cls(u"0-9"))}), {{u"ab123", kYes}, {u"ab12x", kNo}}},
        // A backtracking matcher would let the repetition give back the z.
        {Seq({Star(Cls(u"a-z")), Lit(u"z")}), {{u"xyz", kNo}}}, {Seq({Plus(Lit(u"a")), Lit(u"a")}), {{u"aaa", kNo}}},
        // The first alternative that matches decides, even when a later one
        // would have let the rest of the pattern succeed.
        {Seq({Alt({Lit(u"a"), Lit(u"ab")}), Lit(u"c")}), {{u"abc", kNo}}},
        {Seq({Alt({Lit(u"ab"), Lit(u"a")}), Lit(u"c")}), {{u"abc", kYes}}},
        {Opt(Lit(u"x")), {{u"abc", 1, 1}}},
    });
}

TEST(PatternMatch, LiteralsAndClasses) {
    CheckRows({
        {Lit(u"a.c"), {{u"axc", kYes}}},
        {Lit(u"a\\.c"), {{u"a.c", kYes}, {u"abc", kNo}}},
        {Lit(u"abc"), {{u"aBc", kNo}, {u"ab", kFail}}},  // case counts
        {Lit(u"a\\\\b\\tc\\q"), {{u"a\\b\tcq", kYes}}},
        {Lit(u"ab\\"), {{u"ab\\", kNo}}},  // a trailing backslash fails
        {Lit(u""), {{u"abc", kFail}}},     // an empty literal fails
        {Lit(u"."), {{u"ab", kFail, 2}}},  // nothing left for '.'
        {Cls(u"a-cx"), {{u"x", kYes}, {u"-", kNo}}},
        {Cls(u"a-"), {{u"-", kYes}}},  // a '-' at the end stands for itself
        {Cls(u"\\t\\--/"), {{u".", kYes}, {u",", kNo}}},  // escaped range ends
        {Cls(u"."), {{u"x", kNo}}},  // no wildcard inside a class
        {Cls(u""), {{u"a", kFail}}}, {NotCls(u""), {{u"a", kYes}}},
        {NotCls(u"0-9"), {{u"5", kNo}, {u"a", kFail, 1}}},  // the end of the text
        {Cls(u"ab\\"), {{u"\\", kNo}}},  // a trailing backslash ends the class
    });
}

TEST(PatternMatch, LineBreaksReadAsOneLineFeed) {
    // The four characters \r\n are one line feed, and the text's CR LF pair
    // and lone CR both read as one; a class takes only one unit of the pair.
    CheckRows({
        {Seq({Lit(u"line\\r\\n"), Lit(u"x")}), {{u"line\r\nx", kYes}, {u"line\rx", kYes}, {u"line\n\nx", kNo}}},
        {Lit(u"a\\n\\rb"), {{u"a\n\rb", kYes}}},  // other orders stay two
        {Lit(u"a.b"), {{u"a\r\nb", kYes}}},       // '.' takes the whole pair
        {Cls(u"\\n"), {{u"\r", kYes}, {u"\r\n", kNo}}},
        {NotCls(u"\\n"), {{u"\r", kNo}}},
        {Plus(Cls(u"\\n")), {{u"\r\n", kYes}}},
    });
}

TEST(PatternMatch, UpToLiteralConfinesItsSubNode) {
    const PExprItem field = UpTo(u";", Rest());  // the sub-node sees only the text before
    CheckRows({
        {UpTo(u",", Star(Cls(u"a-z"))), {{u"abc,def", 4}, {u"ab1,", kFail}, {u"abc", kFail}}},
        {Seq({field, field, Lit(u"c")}), {{u"a;b;c", kYes}}},
        {Seq({UpTo(u",", Star(Cls(u"a-z,"))), Rest()}), {{u"a,b", kYes}}},
    });
}

TEST(PatternMatch, RepetitionCountsAndEmptyMatches) {
    const PExprItem a = Lit(u"a");
    const PExprItem maybeA = Opt(a);  // matches empty: repeating it must stop
    CheckRows({
        {Node(pattern::kRange, a, 2, 3), {{u"a", kNo}, {u"aaaa", 3}}},  // stops at M
        {Node(pattern::kRange, a, 0, 0), {{u"aa", 1}, {u"b", 0}}},  // one attempt always
        {Node(pattern::kRange, a, 3, 2), {{u"aaaa", kFail}}}, {Node(pattern::kRange, a, -1, 3), {{u"a", kFail}}},
        {Node(pattern::kExactly, a, 3), {{u"aa", kNo}, {u"aaaa", 3}}},
        {Node(pattern::kExactly, a, 0), {{u"aa", 0}}}, {Node(pattern::kExactly, a, -1), {{u"a", kFail}}},
        {Node(pattern::kAtLeast, a, 2), {{u"a", kNo}, {u"aaaaa", kYes}}},
        {Node(pattern::kAtLeast, a, -4), {{u"b", 0}}}, {Plus(a), {{u"b", kFail}}},
        {Plus(Seq({a, Cls(u"0-9")})), {{u"a1a2a3", kYes}}},
        // Each of these would repeat forever if an empty match did not stop it.
        {Star(maybeA), {{u"aab", 2}}}, {Plus(Star(Cls(u"x"))), {{u"b", 0}}}, {Plus(Seq({})), {{u"b", 0}}},
        {Node(pattern::kExactly, maybeA, kHuge), {{u"aab", 2}}}, {Node(pattern::kAtLeast, maybeA, kHuge), {{u"b", 0}}},
        {Node(pattern::kRange, maybeA, 5, kHuge), {{u"aa", 2}}},
        // The stop counts the repetitions that would have followed, up to M:
        // M = 3 can never reach N = 5, with or without empty matches.
        {Node(pattern::kRange, maybeA, 5, 3), {{u"", kFail}, {u"aab", kFail}}},
        {Node(pattern::kRange, maybeA, 3, 3), {{u"ab", 1}}},
    });
}

TEST(PatternMatch, IntegerAndDecimalRanges) {
    const std::u16string_view tooLong = u"99999999999999999999999";
    CheckRows({
        // The sign is skipped.
        {Bounded(pattern::kIntegerIn, 3, 1, 10),
         {{u"-7", kYes}, {u"+-10", kYes}, {u"11", kNo}, {u"0", kNo}, {u"-", kNo}, {u"7a", 1}}},
        {Bounded(pattern::kIntegerIn, 2, 50, 10), {{u"0007", kYes}, {u"11", kNo}}},  // only the upper bound counts
        {Bounded(pattern::kIntegerIn, 0, 50, 10), {{u"123456789012345678901234", kYes}, {u"1.5", kNo}}},
        // A run of digits too long for any integer stays above every bound.
        {Bounded(pattern::kIntegerIn, 2, 0, kHuge), {{tooLong, kNo}}}, {Bounded(pattern::kIntegerIn, 1, kHuge, 0), {{tooLong, kYes}}},
        {DecimalIn(3, 1.5, 20),
         {{u"1.5", kYes}, {u"-3.25", kYes}, {u"7.", kYes}, {u"20.01", kNo}, {u".5", kNo}, {u"2.5.1", 3}}},
        {DecimalIn(0, 100, 0), {{u"3.75", kYes}}},
    });
}

TEST(PatternMatch, OtherValuesAndMalformedNodes) {
    const std::u16string_view withNul(u"ab\0cd", 5);  // the text ends at its first NUL
    CheckRows({
        // A value that is not a pattern node is a literal of its value text.
        {Seq({Text(u"x.y"), Num(5)}), {{u"xzy5", kYes}}},
        {Text(u""), {{u"ab", 1, 1}}},
        // Sequences and alternations need a list; absent nodes and unknown types fail.
        {Node(pattern::kSequence, Lit(u"a")), {{u"a", kFail}}},
        {Seq({Lit(u"a"), PExprItem()}), {{u"ab", kFail}}}, {Alt({}), {{u"a", kFail}}}, {Seq({}), {{u"a", 0}}},
        {Node(99, Lit(u"a")), {{u"a", kFail}}}, {Plus(PExprItem()), {{u"a", kFail}}},
        {Rest(), {{u"abc", 3, 3}, {withNul, 2}}},
        {Lit(u"ab"), {{withNul, kYes}}},
    });
}

// Nodes nested `levels` deep: optional around optional ... around literal a.
// The nodes are kept in `chain` so that the tree can be taken apart from
// the top, without a recursion as deep as the tree.
PExprItem DeepChain(int levels, std::vector<PExprItem>& chain, bool sequences = false) {
    PExprItem node = Lit(u"a");
    chain.push_back(node);
    for (int i = 1; i < levels; ++i) {
        node = sequences ? Seq({node}) : Opt(node);
        chain.push_back(node);
    }
    return node;
}

void TakeApart(std::vector<PExprItem>& chain) {
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) ItemAs<ExprItem_RegExpr>(*it)->sub.Reset();
    chain.clear();
}

TEST(PatternMatch, DeepTreesFailInsteadOfOverflowing) {
    std::vector<PExprItem> chain;
    // Lists count as a level too: a sequence inside a sequence ...
    for (auto [levels, sequences] : {std::pair{kMaxPatternDepth, false}, {kMaxPatternDepth + 1, false}, {50000, false},
                                     {20000, true}}) {
        EXPECT_EQ(Whole(DeepChain(levels, chain, sequences), u"a"), levels == kMaxPatternDepth) << levels;
        TakeApart(chain);
    }
}

TEST(PatternBuiltin, RegExpMatchWantsTheWholeText) {
    const PExprItem number = Bounded(pattern::kIntegerIn, 3, 40, 50);
    const auto result = [](const PExprItem& v) { return v ? ToUtf8(v->GetDisplayText()) : "<none>"; };
    EXPECT_EQ(result(RegExpMatch(Rest(), Text(u""))), "False");  // an empty text never matches
    EXPECT_EQ(result(RegExpMatch(Rest(), PExprItem())), "False");  // a missing String is empty text
    EXPECT_EQ(result(RegExpMatch(PExprItem(), Text(u"x"))), "<none>");
    EXPECT_EQ(result(RegExpMatch(number, Num(42))), "True");  // String taken as text
    EXPECT_EQ(result(RegExpMatch(number, Text(u"42 "))), "False");
    EXPECT_EQ(result(RegExpMatch(std::vector<PExprItem>{Rest()})), "<none>");
}

TEST(PatternDisplay, GroupsSequencesOfMoreThanOneElement) {
    EXPECT_EQ(Plus(Seq({Lit(u"a"), Lit(u"b")}))->GetDisplayText(), u"(ab)+");
    EXPECT_EQ(Star(Alt({Lit(u"a")}))->GetDisplayText(), u"a*");
    EXPECT_EQ(Bounded(pattern::kIntegerIn, 2, 3, 9)->GetDisplayText(), u"{-9}");
    EXPECT_EQ(Node(99)->GetDisplayText(), u"???");
}

// --- Stored form ---

constexpr uint32_t kTagN = MakeTag("N");
constexpr uint32_t kTagM = MakeTag("M");
constexpr uint32_t kTagLow = MakeTag("DBL1");
constexpr uint32_t kTagHigh = MakeTag("DBL2");

PExprItem LoadPattern(int32_t type, uint32_t flags, int32_t n, int32_t m, std::optional<double> low) {
    RecordBuffer b;
    WriteU32(b, tag::kType, kind::kRegExp);
    WriteU32(b, MakeTag("RET"), static_cast<uint32_t>(type));
    WriteU32(b, MakeTag("FLAT"), flags);
    WriteU32(b, kTagN, static_cast<uint32_t>(n));
    WriteU32(b, kTagM, static_cast<uint32_t>(m));
    if (low) WriteF64(b, kTagLow, *low);
    return ReadExprItem(b.AsRegion());
}

TEST(PatternStored, CountsAndIntegerBoundsSurviveLoading) {
    // 'DBL1' is absent for every node type but 14; reading its 0.0 default
    // into the storage it shares with N and M would lose these bounds.
    const PExprItem loaded = LoadPattern(pattern::kIntegerIn, 3, 1, 10, std::nullopt);
    ASSERT_TRUE(ItemAs<ExprItem_RegExpr>(loaded));
    EXPECT_EQ(loaded->GetDisplayText(), u"{1-10}");
    EXPECT_FALSE(Whole(loaded, u"11"));
    // A stray 'DBL1' on another node type does not touch N and M either.
    EXPECT_EQ(LoadPattern(pattern::kIntegerIn, 3, 1, 10, 2.5)->GetDisplayText(), u"{1-10}");

    const RecordBuffer saved = SaveExprItem(Node(pattern::kRange, Lit(u"x"), 2, 5));
    EXPECT_EQ(ReadExprItem(saved.AsRegion())->GetDisplayText(), u"x{2,5}");
    EXPECT_FALSE(FindRecord(saved.AsRegion(), kTagLow));
    EXPECT_FALSE(FindRecord(saved.AsRegion(), kTagHigh));
}

TEST(PatternStored, DecimalLowBoundSharesTheCountsStorage) {
    const uint64_t bits = std::bit_cast<uint64_t>(1.1);
    const std::vector<uint8_t> saved = SaveExprItem(DecimalIn(3, 1.1, 20)).ToVector();
    const Region region{saved.data(), static_cast<uint32_t>(saved.size())};
    EXPECT_EQ(ReadU32(region, kTagN, 0), static_cast<uint32_t>(bits));
    EXPECT_EQ(ReadU32(region, kTagM, 0), static_cast<uint32_t>(bits >> 32));
    EXPECT_EQ(ReadF64(region, kTagLow, 0.0), 1.1);
    EXPECT_EQ(ReadF64(region, kTagHigh, 0.0), 20.0);
    const PExprItem back = ReadExprItem(region);
    EXPECT_EQ(back->GetDisplayText(), u"{1.1-20}");
    EXPECT_EQ(SaveExprItem(back).ToVector(), saved);

    // On load 'DBL1' replaces what 'N' and 'M' held; without it the bound is 0.
    const PExprItem a = LoadPattern(pattern::kDecimalIn, 1, 5, 6, 2.5);
    EXPECT_EQ(ItemAs<ExprItem_RegExpr>(a)->m, static_cast<int32_t>(std::bit_cast<uint64_t>(2.5) >> 32));
    EXPECT_FALSE(Whole(a, u"2.4"));
    EXPECT_TRUE(Whole(a, u"2.5"));
    const PExprItem b = LoadPattern(pattern::kDecimalIn, 1, 5, 6, std::nullopt);
    EXPECT_EQ(ItemAs<ExprItem_RegExpr>(b)->low, 0.0);
    EXPECT_TRUE(Whole(b, u"0"));
}

TEST(PatternStored, LoadedTreeMatchesLikeTheBuiltOne) {
    const PExprItem built = Seq({Lit(u"id"), Node(pattern::kExactly, Cls(u"0-9"), 2),
                                 Opt(Seq({Lit(u"-"), Alt({Lit(u"x"), NotCls(u"a-z")})}))});
    const PExprItem back = ReadExprItem(SaveExprItem(built).AsRegion());
    EXPECT_EQ(back->GetDisplayText(), built->GetDisplayText());
    CheckRows({{back, {{u"id123", kNo}, {u"id12-9", kYes}, {u"id12-y", kNo}}}});
}

}  // namespace
}  // namespace ovrix
