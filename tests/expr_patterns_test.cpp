// Text patterns: the matcher's results node type by node type (including
// the places where a non-backtracking matcher must fail), the guards against
// endless repetition and deep trees, the RegExpMatch built-in, and the
// stored form of the bound fields.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

#include "container/RecordBuffer.h"
#include "container/Tags.h"
#include "expr/ExprKinds.h"
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsPattern.h"
#include "expr/KindsValue.h"
#include "expr/PatternMatch.h"

namespace ovrix {
namespace {

PExprItem Node(int32_t type, PExprItem sub = {}, int32_t n = 0, int32_t m = 0) {
    auto p = MakeItem<ExprItem_RegExpr>();
    auto* r = ItemAs<ExprItem_RegExpr>(p);
    r->nodeType = type;
    r->sub = std::move(sub);
    r->n = n;
    r->m = m;
    return p;
}

PExprItem WithText(int32_t type, std::u16string text, PExprItem sub = {}) {
    PExprItem p = Node(type, std::move(sub));
    ItemAs<ExprItem_RegExpr>(p)->text = std::move(text);
    return p;
}

PExprItem Lit(std::u16string text) { return WithText(pattern::kLiteral, std::move(text)); }
PExprItem Cls(std::u16string body) { return WithText(pattern::kClass, std::move(body)); }
PExprItem NotCls(std::u16string body) { return WithText(pattern::kNegatedClass, std::move(body)); }

PExprItem ListOf(std::vector<PExprItem> elements) {
    auto l = MakeItem<ExprItem_ValueList>();
    ItemAs<ExprItem_ValueList>(l)->elements = std::move(elements);
    return l;
}

PExprItem Seq(std::vector<PExprItem> elements) { return Node(pattern::kSequence, ListOf(std::move(elements))); }
PExprItem Alt(std::vector<PExprItem> elements) { return Node(pattern::kAlternation, ListOf(std::move(elements))); }
PExprItem Star(PExprItem sub) { return Node(pattern::kZeroOrMore, std::move(sub)); }
PExprItem Plus(PExprItem sub) { return Node(pattern::kOneOrMore, std::move(sub)); }
PExprItem Opt(PExprItem sub) { return Node(pattern::kOptional, std::move(sub)); }

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

std::optional<bool> BoolOf(const PExprItem& v) {
    const auto* b = ItemAs<ExprItem_Bool>(v);
    if (b == nullptr) return std::nullopt;
    return b->value;
}

TEST(PatternMatch, RepetitionIsGreedyAndNeverGivesBack) {
    const PExprItem digits = Seq({Lit(u"ab"), Star(Cls(u"0-9"))});
    EXPECT_TRUE(Whole(digits, u"ab123"));
    EXPECT_FALSE(Whole(digits, u"ab12x"));

    // A backtracking matcher would let the repetition give back the z.
    EXPECT_FALSE(Whole(Seq({Star(Cls(u"a-z")), Lit(u"z")}), u"xyz"));
    EXPECT_FALSE(Whole(Seq({Plus(Lit(u"a")), Lit(u"a")}), u"aaa"));
    // The first alternative that matches decides, even when a later one
    // would have let the rest of the pattern succeed.
    EXPECT_FALSE(Whole(Seq({Alt({Lit(u"a"), Lit(u"ab")}), Lit(u"c")}), u"abc"));
    EXPECT_TRUE(Whole(Seq({Alt({Lit(u"ab"), Lit(u"a")}), Lit(u"c")}), u"abc"));
    EXPECT_EQ(MatchPattern(Opt(Lit(u"x")), u"abc", 1), 1u);
}

TEST(PatternMatch, LiteralsWildcardsAndEscapes) {
    EXPECT_TRUE(Whole(Lit(u"a.c"), u"axc"));
    EXPECT_TRUE(Whole(Lit(u"a\\.c"), u"a.c"));
    EXPECT_FALSE(Whole(Lit(u"a\\.c"), u"abc"));
    EXPECT_FALSE(Whole(Lit(u"abc"), u"aBc"));  // case counts
    EXPECT_TRUE(Whole(Lit(u"a\\\\b\\tc\\q"), u"a\\b\tcq"));
    EXPECT_FALSE(Whole(Lit(u"ab\\"), u"ab\\"));  // a trailing backslash fails
    EXPECT_FALSE(MatchPattern(Lit(u"abc"), u"ab", 0));
    EXPECT_FALSE(MatchPattern(Lit(u""), u"abc", 0));  // an empty literal fails
    EXPECT_FALSE(MatchPattern(Lit(u"."), u"ab", 2));  // nothing left for '.'

    // Line breaks: the four characters \r\n are one line feed, and the text's
    // CR LF pair and lone CR both read as one.
    const PExprItem line = Seq({Lit(u"line\\r\\n"), Lit(u"x")});
    EXPECT_TRUE(Whole(line, u"line\r\nx"));
    EXPECT_TRUE(Whole(line, u"line\rx"));
    EXPECT_FALSE(Whole(line, u"line\n\nx"));
    EXPECT_TRUE(Whole(Lit(u"a\\n\\rb"), u"a\n\rb"));  // other orders stay two
    EXPECT_TRUE(Whole(Lit(u"a.b"), u"a\r\nb"));       // '.' takes the whole pair
}

TEST(PatternMatch, ClassesTakeOneCharacter) {
    EXPECT_TRUE(Whole(Cls(u"a-cx"), u"x"));
    EXPECT_FALSE(Whole(Cls(u"a-cx"), u"d"));
    EXPECT_FALSE(Whole(Cls(u"a-cx"), u"-"));
    EXPECT_TRUE(Whole(Cls(u"a-"), u"-"));  // a '-' at the end stands for itself
    EXPECT_TRUE(Whole(Cls(u"\\t\\--/"), u"."));  // escaped range ends
    EXPECT_FALSE(Whole(Cls(u"\\t\\--/"), u","));
    EXPECT_FALSE(Whole(Cls(u"."), u"x"));  // no wildcard inside a class
    EXPECT_FALSE(MatchPattern(Cls(u""), u"a", 0));
    EXPECT_TRUE(Whole(NotCls(u""), u"a"));
    EXPECT_FALSE(Whole(NotCls(u"0-9"), u"5"));
    EXPECT_FALSE(MatchPattern(NotCls(u"0-9"), u"a", 1));  // end of the text
    EXPECT_FALSE(Whole(Cls(u"ab\\"), u"\\"));  // a trailing backslash ends the class

    // A CR is tested as a line feed, and a class takes only that one unit.
    EXPECT_TRUE(Whole(Cls(u"\\n"), u"\r"));
    EXPECT_FALSE(Whole(NotCls(u"\\n"), u"\r"));
    EXPECT_FALSE(Whole(Cls(u"\\n"), u"\r\n"));
    EXPECT_TRUE(Whole(Plus(Cls(u"\\n")), u"\r\n"));
}

TEST(PatternMatch, UpToLiteralConfinesItsSubNode) {
    const PExprItem word = WithText(pattern::kUpToLiteral, u",", Star(Cls(u"a-z")));
    EXPECT_EQ(MatchPattern(word, u"abc,def", 0), 4u);
    EXPECT_FALSE(MatchPattern(word, u"ab1,", 0));
    EXPECT_FALSE(MatchPattern(word, u"abc", 0));
    // The sub-node sees only the text before the first occurrence.
    const PExprItem field = WithText(pattern::kUpToLiteral, u";", Node(pattern::kRest));
    EXPECT_TRUE(Whole(Seq({field, field, Lit(u"c")}), u"a;b;c"));
    EXPECT_TRUE(Whole(Seq({WithText(pattern::kUpToLiteral, u",", Star(Cls(u"a-z,"))), Node(pattern::kRest)}), u"a,b"));
}

TEST(PatternMatch, RepetitionCounts) {
    const PExprItem twoToThree = Node(pattern::kRange, Lit(u"a"), 2, 3);
    EXPECT_FALSE(Whole(twoToThree, u"a"));
    EXPECT_EQ(MatchPattern(twoToThree, u"aaaa", 0), 3u);  // stops at M
    EXPECT_FALSE(MatchPattern(Node(pattern::kRange, Lit(u"a"), -1, 3), u"a", 0));
    EXPECT_EQ(MatchPattern(Node(pattern::kRange, Lit(u"a"), 0, 0), u"aa", 0), 1u);  // one attempt always
    EXPECT_EQ(MatchPattern(Node(pattern::kRange, Lit(u"a"), 0, 0), u"b", 0), 0u);
    EXPECT_FALSE(MatchPattern(Node(pattern::kRange, Lit(u"a"), 3, 2), u"aaaa", 0));

    const PExprItem three = Node(pattern::kExactly, Lit(u"a"), 3);
    EXPECT_FALSE(Whole(three, u"aa"));
    EXPECT_EQ(MatchPattern(three, u"aaaa", 0), 3u);
    EXPECT_EQ(MatchPattern(Node(pattern::kExactly, Lit(u"a"), 0), u"aa", 0), 0u);
    EXPECT_FALSE(MatchPattern(Node(pattern::kExactly, Lit(u"a"), -1), u"a", 0));

    const PExprItem twoOrMore = Node(pattern::kAtLeast, Lit(u"a"), 2);
    EXPECT_FALSE(Whole(twoOrMore, u"a"));
    EXPECT_TRUE(Whole(twoOrMore, u"aaaaa"));
    EXPECT_EQ(MatchPattern(Node(pattern::kAtLeast, Lit(u"a"), -4), u"b", 0), 0u);
    EXPECT_FALSE(MatchPattern(Plus(Lit(u"a")), u"b", 0));
    EXPECT_TRUE(Whole(Plus(Seq({Lit(u"a"), Cls(u"0-9")})), u"a1a2a3"));
}

TEST(PatternMatch, RepetitionOfAnEmptyMatchStops) {
    // Each of these would repeat forever if an empty match did not stop it.
    const PExprItem maybeA = Opt(Lit(u"a"));
    EXPECT_EQ(MatchPattern(Star(maybeA), u"aab", 0), 2u);
    EXPECT_EQ(MatchPattern(Plus(Star(Cls(u"x"))), u"b", 0), 0u);
    EXPECT_EQ(MatchPattern(Plus(Seq({})), u"b", 0), 0u);
    constexpr int32_t kHuge = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(MatchPattern(Node(pattern::kExactly, maybeA, kHuge), u"aab", 0), 2u);
    EXPECT_EQ(MatchPattern(Node(pattern::kAtLeast, maybeA, kHuge), u"b", 0), 0u);
    EXPECT_EQ(MatchPattern(Node(pattern::kRange, maybeA, 5, kHuge), u"aa", 0), 2u);
    // The stop counts the repetitions that would have followed, up to M:
    // M = 3 can never reach N = 5, with or without empty matches.
    EXPECT_FALSE(MatchPattern(Node(pattern::kRange, maybeA, 5, 3), u"", 0));
    EXPECT_FALSE(MatchPattern(Node(pattern::kRange, maybeA, 5, 3), u"aab", 0));
    EXPECT_EQ(MatchPattern(Node(pattern::kRange, maybeA, 3, 3), u"ab", 0), 1u);
}

TEST(PatternMatch, IntegerAndDecimalRanges) {
    const PExprItem oneToTen = Bounded(pattern::kIntegerIn, 3, 1, 10);
    EXPECT_TRUE(Whole(oneToTen, u"-7"));  // the sign is skipped
    EXPECT_TRUE(Whole(oneToTen, u"+-10"));
    EXPECT_FALSE(Whole(oneToTen, u"11"));
    EXPECT_FALSE(Whole(oneToTen, u"0"));
    EXPECT_FALSE(Whole(oneToTen, u"-"));
    EXPECT_EQ(MatchPattern(oneToTen, u"7a", 0), 1u);
    EXPECT_TRUE(Whole(Bounded(pattern::kIntegerIn, 2, 50, 10), u"0007"));  // only the upper bound counts
    EXPECT_FALSE(Whole(Bounded(pattern::kIntegerIn, 2, 50, 10), u"11"));
    EXPECT_TRUE(Whole(Bounded(pattern::kIntegerIn, 0, 50, 10), u"123456789012345678901234"));
    // A run of digits too long for any integer stays above every bound.
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    EXPECT_FALSE(Whole(Bounded(pattern::kIntegerIn, 2, 0, kMax), u"99999999999999999999999"));
    EXPECT_TRUE(Whole(Bounded(pattern::kIntegerIn, 1, kMax, 0), u"99999999999999999999999"));
    EXPECT_FALSE(Whole(Bounded(pattern::kIntegerIn, 0, 0, 0), u"1.5"));  // no point in an integer

    const PExprItem dec = DecimalIn(3, 1.5, 20);
    EXPECT_TRUE(Whole(dec, u"1.5"));
    EXPECT_TRUE(Whole(dec, u"-3.25"));
    EXPECT_TRUE(Whole(dec, u"7."));
    EXPECT_FALSE(Whole(dec, u"20.01"));
    EXPECT_FALSE(Whole(dec, u".5"));
    EXPECT_EQ(MatchPattern(dec, u"2.5.1", 0), 3u);
    EXPECT_TRUE(Whole(DecimalIn(0, 100, 0), u"3.75"));
}

TEST(PatternMatch, OtherValuesAndMalformedNodes) {
    // A value that is not a pattern node is a literal of its value text.
    EXPECT_TRUE(Whole(Seq({MakeItem<ExprItem_Text>(u"x.y"), MakeItem<ExprItem_Num>(5.0)}), u"xzy5"));
    EXPECT_EQ(MatchPattern(MakeItem<ExprItem_Text>(u""), u"ab", 1), 1u);
    // Sequences and alternations need a list; absent nodes and unknown types fail.
    EXPECT_FALSE(MatchPattern(Node(pattern::kSequence, Lit(u"a")), u"a", 0));
    EXPECT_FALSE(MatchPattern(Seq({Lit(u"a"), PExprItem()}), u"ab", 0));
    EXPECT_FALSE(MatchPattern(Alt({}), u"a", 0));
    EXPECT_EQ(MatchPattern(Seq({}), u"a", 0), 0u);
    EXPECT_FALSE(MatchPattern(Node(99, Lit(u"a")), u"a", 0));
    EXPECT_FALSE(MatchPattern(Plus(PExprItem()), u"a", 0));
    EXPECT_EQ(MatchPattern(Node(pattern::kRest), u"abc", 3), 3u);
    // The text ends at its first NUL.
    EXPECT_TRUE(Whole(Lit(u"ab"), std::u16string_view(u"ab\0cd", 5)));
    EXPECT_EQ(MatchPattern(Node(pattern::kRest), std::u16string_view(u"ab\0cd", 5), 0), 2u);
}

// Nodes nested `levels` deep: optional around optional ... around literal a.
// The nodes are kept in `chain` so that the test can take the tree apart
// from the top, without a recursion as deep as the tree.
PExprItem DeepChain(int levels, std::vector<PExprItem>& chain) {
    PExprItem node = Lit(u"a");
    chain.push_back(node);
    for (int i = 1; i < levels; ++i) {
        node = Opt(node);
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
    EXPECT_TRUE(Whole(DeepChain(kMaxPatternDepth, chain), u"a"));
    TakeApart(chain);
    EXPECT_FALSE(Whole(DeepChain(kMaxPatternDepth + 1, chain), u"a"));
    TakeApart(chain);
    EXPECT_FALSE(Whole(DeepChain(50000, chain), u"a"));
    TakeApart(chain);

    // Lists count as a level too: a sequence inside a sequence ...
    PExprItem node = Lit(u"a");
    for (int i = 0; i < 20000; ++i) {
        node = Seq({node});
        chain.push_back(node);
    }
    EXPECT_FALSE(Whole(node, u"a"));
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) ItemAs<ExprItem_RegExpr>(*it)->sub.Reset();
}

TEST(PatternBuiltin, RegExpMatchWantsTheWholeText) {
    const PExprItem rest = Node(pattern::kRest);
    EXPECT_EQ(BoolOf(RegExpMatch(rest, MakeItem<ExprItem_Text>(u""))), false);  // an empty text never matches
    EXPECT_EQ(BoolOf(RegExpMatch(rest, PExprItem())), false);  // a missing String is empty text
    EXPECT_FALSE(RegExpMatch(PExprItem(), MakeItem<ExprItem_Text>(u"x")));

    const PExprItem number = Bounded(pattern::kIntegerIn, 3, 40, 50);
    EXPECT_EQ(BoolOf(RegExpMatch(number, MakeItem<ExprItem_Num>(42.0))), true);  // String taken as text
    EXPECT_EQ(BoolOf(RegExpMatch(number, MakeItem<ExprItem_Text>(u"42 "))), false);
    const std::vector<PExprItem> one = {rest};
    EXPECT_FALSE(RegExpMatch(one));
}

// --- Stored form ---

Region RegionOf(const std::vector<uint8_t>& bytes) { return Region{bytes.data(), static_cast<uint32_t>(bytes.size())}; }

constexpr uint32_t kTagNodeType = MakeTag("RET");
constexpr uint32_t kTagBounds = MakeTag("FLAT");
constexpr uint32_t kTagN = MakeTag("N");
constexpr uint32_t kTagM = MakeTag("M");
constexpr uint32_t kTagLow = MakeTag("DBL1");
constexpr uint32_t kTagHigh = MakeTag("DBL2");

std::vector<uint8_t> PatternBytes(int32_t type, uint32_t flags, int32_t n, int32_t m, std::optional<double> low) {
    RecordBuffer b;
    WriteU32(b, tag::kType, kind::kRegExp);
    WriteU32(b, kTagNodeType, static_cast<uint32_t>(type));
    WriteU32(b, kTagBounds, flags);
    WriteU32(b, kTagN, static_cast<uint32_t>(n));
    WriteU32(b, kTagM, static_cast<uint32_t>(m));
    if (low) WriteF64(b, kTagLow, *low);
    return b.ToVector();
}

TEST(PatternStored, CountsAndIntegerBoundsSurviveLoading) {
    // 'DBL1' is absent for every node type but 14; reading its 0.0 default
    // into the storage it shares with N and M would lose these bounds.
    const auto bytes = PatternBytes(pattern::kIntegerIn, 3, 1, 10, std::nullopt);
    const PExprItem loaded = ReadExprItem(RegionOf(bytes));
    ASSERT_TRUE(ItemAs<ExprItem_RegExpr>(loaded));
    EXPECT_EQ(loaded->GetDisplayText(), u"{1-10}");
    EXPECT_FALSE(Whole(loaded, u"11"));

    // A stray 'DBL1' on another node type does not touch N and M either.
    const auto stray = PatternBytes(pattern::kIntegerIn, 3, 1, 10, 2.5);
    EXPECT_EQ(ReadExprItem(RegionOf(stray))->GetDisplayText(), u"{1-10}");

    const PExprItem range = Node(pattern::kRange, Lit(u"x"), 2, 5);
    const auto saved = SaveExprItem(range).ToVector();
    const PExprItem back = ReadExprItem(RegionOf(saved));
    EXPECT_EQ(back->GetDisplayText(), u"x{2,5}");
    EXPECT_FALSE(FindRecord(RegionOf(saved), kTagLow));
    EXPECT_FALSE(FindRecord(RegionOf(saved), kTagHigh));
}

TEST(PatternStored, DecimalLowBoundSharesTheCountsStorage) {
    const double low = 1.1;
    const uint64_t bits = std::bit_cast<uint64_t>(low);
    const auto saved = SaveExprItem(DecimalIn(3, low, 20)).ToVector();
    EXPECT_EQ(ReadU32(RegionOf(saved), kTagN, 0), static_cast<uint32_t>(bits));
    EXPECT_EQ(ReadU32(RegionOf(saved), kTagM, 0), static_cast<uint32_t>(bits >> 32));
    EXPECT_EQ(ReadF64(RegionOf(saved), kTagLow, 0.0), 1.1);
    EXPECT_EQ(ReadF64(RegionOf(saved), kTagHigh, 0.0), 20.0);
    const PExprItem back = ReadExprItem(RegionOf(saved));
    EXPECT_EQ(back->GetDisplayText(), u"{1.1-20}");
    EXPECT_EQ(SaveExprItem(back).ToVector(), saved);

    // On load 'DBL1' replaces what 'N' and 'M' held; without it the bound is 0.
    const auto withLow = PatternBytes(pattern::kDecimalIn, 1, 5, 6, 2.5);
    const PExprItem a = ReadExprItem(RegionOf(withLow));
    EXPECT_EQ(ItemAs<ExprItem_RegExpr>(a)->m, static_cast<int32_t>(std::bit_cast<uint64_t>(2.5) >> 32));
    EXPECT_FALSE(Whole(a, u"2.4"));
    EXPECT_TRUE(Whole(a, u"2.5"));
    const PExprItem b = ReadExprItem(RegionOf(PatternBytes(pattern::kDecimalIn, 1, 5, 6, std::nullopt)));
    EXPECT_EQ(ItemAs<ExprItem_RegExpr>(b)->low, 0.0);
    EXPECT_TRUE(Whole(b, u"0"));
}

TEST(PatternStored, LoadedTreeMatchesLikeTheBuiltOne) {
    const PExprItem built = Seq({Lit(u"id"), Node(pattern::kExactly, Cls(u"0-9"), 2),
                                 Opt(Seq({Lit(u"-"), Alt({Lit(u"x"), NotCls(u"a-z")})}))});
    const auto saved = SaveExprItem(built).ToVector();
    const PExprItem back = ReadExprItem(RegionOf(saved));
    EXPECT_EQ(back->GetDisplayText(), built->GetDisplayText());
    EXPECT_FALSE(Whole(back, u"id123"));
    EXPECT_TRUE(Whole(back, u"id12-9"));
    EXPECT_FALSE(Whole(back, u"id12-y"));
}

}  // namespace
}  // namespace ovrix
