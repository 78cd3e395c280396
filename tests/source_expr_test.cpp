// The expression source form: written from stored bytes and parsed back,
// every node gives exactly its bytes again, whether the project's own
// writers made it or it was mangled; canonical texts survive a parse and a
// write unchanged; mistakes get messages that say what was expected where.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "ScriptTestSupport.h"
#include "builder/DemoImage.h"
#include "builder/ImageBuilder.h"
#include "builtins/Registry.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "expr/ExprReader.h"
#include "expr/ExprState.h"
#include "expr/KindsNode.h"
#include "expr/KindsPattern.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"
#include "source/ExprSource.h"

namespace ovrix {
namespace {

using Bytes = std::vector<uint8_t>;

std::u16string Write(const Bytes& bytes) {
    std::u16string text;
    WriteExprSource(Region{bytes.data(), static_cast<uint32_t>(bytes.size())}, text);
    return text;
}

// The bytes a text parses to, or the first error as "LINE:COLUMN: message".
std::variant<Bytes, std::string> Parse(std::u16string_view text) {
    RecordBuffer out;
    SourceErrors errors;
    if (!ParseExprSource(text, SourcePos{1, 1}, out, errors)) {
        if (errors.List().empty()) return std::string("failed without an error");
        const SourceError& e = errors.List()[0];
        return std::to_string(e.pos.line) + ":" + std::to_string(e.pos.column) + ": " + e.message;
    }
    return out.ToVector();
}

Bytes Saved(const PExprItem& node) { return SaveExprItem(node).ToVector(); }

// Written, parsed back: the same bytes. The text is one line that the step
// layer can cut out again with ExprSpanEnd.
void ExpectRoundTrip(const Bytes& bytes) {
    const std::u16string text = Write(bytes);
    EXPECT_EQ(text.find_first_of(u"\r\n"), std::u16string::npos) << ToUtf8(text);
    EXPECT_EQ(ExprSpanEnd(text, 0), text.size()) << ToUtf8(text);
    const auto parsed = Parse(text);
    ASSERT_TRUE(std::holds_alternative<Bytes>(parsed)) << ToUtf8(text) << "\n" << std::get<std::string>(parsed);
    EXPECT_EQ(std::get<Bytes>(parsed), bytes) << ToUtf8(text);
}

// Random trees of every stored kind, built with the expression language's
// own node classes and saved by their own Save.
class TreeMaker {
public:
    explicit TreeMaker(uint32_t seed) : rng_(seed) {}

    PExprItem Make(int depth) {
        if (depth <= 0) return Leaf();
        switch (Pick(9)) {
            case 0: case 1: case 2: return Operator(depth);
            case 3: return Call(depth);
            case 4: return Assign(depth);
            case 5: return List(depth);
            case 6: return Pattern(depth);
            default: return Leaf();
        }
    }

    double EdgeNumber() {
        static const double kEdges[] = {0.0, -0.0, 1.0, -1.5, 0.1, 1e300, -1e-300, 5e-324, 2.2250738585072014e-308,
                                        9007199254740993.0, 18446744073709551615.0, 1e21, 123456789.125,
                                        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                                        std::numeric_limits<double>::quiet_NaN(),
                                        std::bit_cast<double>(0xFFF0000000000123ull), 255.0, 16777215.0, 3.0};
        return Pick(3) == 0 ? std::bit_cast<double>(Next64()) : kEdges[Pick(std::size(kEdges))];
    }

private:
    uint32_t Pick(size_t n) { return static_cast<uint32_t>(rng_() % n); }
    uint64_t Next64() { return (static_cast<uint64_t>(rng_()) << 32) | rng_(); }
    int64_t Any64() { return static_cast<int64_t>(Next64()); }

    std::u16string Text() {
        static const char16_t kChars[] = u"ab Z\"\\\n\r\t\x01\x7F\xD800\xDC00\xFFFF\x00E9\x4E2D.$()[],";
        std::u16string t;
        for (uint32_t n = Pick(8); n > 0; --n) t += kChars[Pick(std::size(kChars))];
        return t;
    }

    PExprItem Leaf() {
        static const char16_t* kNames[] = {u"x", u"@i", u"!g", u"#log", u"my var", u"rec.name.first", u"(odd", u"a.",
                                           u"$x1", u"7up", u""};
        switch (Pick(13)) {
            case 0: return MakeItem<ExprItem_Text>(Text());
            case 1: {
                const uint32_t flags = Pick(3) == 0 ? Pick(9) : (1u << Pick(3)) & 7;
                const NumberEnum* e = Pick(4) == 0 ? FindLibraryEnumeration(u"ShowWindowType") : nullptr;
                return MakeItem<ExprItem_Num>(e != nullptr && Pick(2) == 0 ? 3.0 : EdgeNumber(), flags, e);
            }
            case 2: return MakeItem<ExprItem_Bool>(Pick(2) == 0);
            case 3: return MakeItem<ExprItem_DateTime>(Pick(2) == 0 ? Any64() : 1700000000 + Pick(99999));
            case 4: return MakeItem<ExprItem_TimeSpan>(Pick(2) == 0 ? Any64() : int64_t(Pick(200000)) - 100000);
            case 5: return MakeItem<ExprItem_Handle>(static_cast<uint32_t>(rng_()));
            case 6: {
                Bytes b(Pick(6));
                for (auto& x : b) x = static_cast<uint8_t>(rng_());
                return Pick(2) == 0 ? MakeItem<ExprItem_Hex>(b) : PExprItem(MakeItem<ExprItem_BinData>(b));
            }
            case 7: case 8: return MakeItem<ExprItem_Var>(kNames[Pick(std::size(kNames))]);
            case 9: return MakeItem<ExprItem_Member>(Pick(2) == 0 ? u"Visible" : Text());
            case 10: {
                static const uint32_t kEmpty[] = {kind::kEmpty, kind::kArray, kind::kNamedData, kind::kFileFinder,
                                                  kind::kWorkbook, kind::kProcess, kind::kWindowHandle, kind::kSolver};
                return CreateExprItem(kEmpty[Pick(std::size(kEmpty))]);
            }
            default: return MakeItem<ExprItem_Var>(u"v");
        }
    }

    PExprItem Operator(int depth) {
        static const uint32_t kCodes[] = {37, 42, 43, 45, 47, 60, 62, 94, 1024, 1025, 1026, 1027, 1028, 1029};
        const uint32_t code = kCodes[Pick(std::size(kCodes))];
        const uint32_t shape = Pick(8);
        PExprItem a = shape == 6 ? PExprItem() : Make(depth - 1);
        PExprItem b = shape == 5 || shape == 7 ? PExprItem() : Make(depth - 1);
        return MakeItem<ExprItem_Operator2>(code, a, b);
    }

    PExprItem Call(int depth) {
        static const char16_t* kKeys[] = {u"Sqrt", u"Delay", u"StringLength", u"SubString", u"SetMousePosition#1",
                                          u"<Rect.GetX>", u"<Rect.SetX>", u"<Rect.PtInRect>", u"<DateTime.GetYear>",
                                          u"<OleObject.GetProperty>", u"<OleObject.SetProperty>",
                                          u"<OleObject.InvokeMethod>", u"<OLE Get Property>", u"NoSuchPlugIn",
                                          u"True", u"odd key"};
        const bool script = Pick(4) == 0;
        auto* node = script ? static_cast<ExprItem_FunBase*>(new ExprItem_DynFun()) : new ExprItem_Fun();
        PExprItem handle = PExprItem::Of(node);
        node->name = script ? (Pick(2) == 0 ? u"Helper" : u"my helper") : kKeys[Pick(std::size(kKeys))];
        if (!script) static_cast<ExprItem_Fun*>(node)->callForm = Pick(4) == 0 ? Pick(5) : 0;
        const uint32_t count = Pick(4);
        for (uint32_t i = 0; i < count; ++i) {
            if (i == 1 && node->name.starts_with(u"<OleObject") && Pick(3) != 0) {
                node->args.push_back(MakeItem<ExprItem_Member>(u"Visible"));
            } else {
                node->args.push_back(Pick(12) == 0 ? PExprItem() : Make(depth - 1));
            }
        }
        return handle;
    }

    PExprItem Assign(int depth) {
        PExprItem target = Pick(6) == 0 ? PExprItem() : Pick(4) == 0 ? Make(depth - 1) : MakeItem<ExprItem_Var>(u"t");
        PExprItem value = Pick(6) == 0 ? PExprItem() : Make(depth - 1);
        switch (Pick(4)) {
            case 0: return MakeItem<ExprItem_SetVar>(target, value);
            case 1: return MakeItem<ExprItem_Alias>(target, value);
            case 2: return MakeItem<ExprItem_AddValue>(target, value);
            default: return MakeItem<ExprItem_RemoveVar>(target);
        }
    }

    PExprItem List(int depth) {
        auto* list = new ExprItem_ValueList();
        PExprItem handle = PExprItem::Of(list);
        for (uint32_t n = Pick(4); n > 0; --n) list->elements.push_back(Pick(4) == 0 ? PExprItem() : Make(depth - 1));
        return handle;
    }

    PExprItem Pattern(int depth) {
        auto* p = new ExprItem_RegExpr();
        PExprItem handle = PExprItem::Of(p);
        p->nodeType = Pick(10) == 0 ? static_cast<int32_t>(rng_()) : static_cast<int32_t>(1 + Pick(15));
        p->boundFlags = Pick(4);
        p->n = Pick(3) == 0 ? static_cast<int32_t>(rng_()) : static_cast<int32_t>(Pick(5));
        p->m = static_cast<int32_t>(Pick(5));
        if (p->nodeType == pattern::kDecimalIn) {
            p->low = EdgeNumber();
            p->high = EdgeNumber();
        }
        p->text = Text();
        if (Pick(2) == 0) p->sub = Pick(2) == 0 ? List(depth - 1) : Make(depth - 1);
        return handle;
    }

    std::mt19937 rng_;
};

TEST(ExprSourceRoundTrip, RandomTreesOfEveryKindGiveBackTheirBytes) {
    for (uint32_t seed = 1; seed <= 3000; ++seed) {
        TreeMaker maker(seed);
        SCOPED_TRACE(seed);
        ExpectRoundTrip(Saved(maker.Make(static_cast<int>(seed % 6))));
    }
}

TEST(ExprSourceRoundTrip, OwnWritersNeedNoRawFormAndMangledBytesSurviveRaw) {
    // Well-formed trees without unknown keys or odd values read back through
    // the readable form alone; any change to their bytes still round-trips.
    const PExprItem tree = MakeItem<ExprItem_SetVar>(
        MakeItem<ExprItem_Var>(u"total"),
        MakeItem<ExprItem_Operator2>(op::kSum, MakeItem<ExprItem_Num>(1.5, numflag::kExponent),
                                     MakeItem<ExprItem_Operator2>(op::kProduct, MakeItem<ExprItem_Var>(u"!x"),
                                                                  MakeItem<ExprItem_Text>(u"a\"b"))));
    const Bytes bytes = Saved(tree);
    EXPECT_EQ(ToUtf8(Write(bytes)), "Set $total = 1.5E+0 + !x * \"a\\\"b\"");
    // A node of a kind the player does not know goes raw, its parent stays readable.
    RecordBuffer unknown, set;
    WriteU32(unknown, tag::kType, 9999);
    WriteU32(set, tag::kType, kind::kSetVar);
    WriteContainer(set, tag::kVar, SaveExprItem(MakeItem<ExprItem_Var>(u"a")));
    WriteContainer(set, tag::kValue, unknown);
    EXPECT_EQ(ToUtf8(Write(set.ToVector())), "Set $a = stored\"45505954040000000F270000\"");
    ExpectRoundTrip(set.ToVector());
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        Bytes mangled = bytes;
        switch (rng() % 3) {
            case 0: mangled[rng() % mangled.size()] ^= static_cast<uint8_t>(1 + rng() % 255); break;
            case 1: mangled.resize(rng() % mangled.size()); break;
            default: mangled.insert(mangled.begin() + rng() % mangled.size(), static_cast<uint8_t>(rng())); break;
        }
        SCOPED_TRACE(round);
        ExpectRoundTrip(mangled);
    }
}

TEST(ExprSourceRoundTrip, RecordsOtherThanTheWritersAreKeptRaw) {
    // Number records as its writer puts them: 'TYPE', 'NFLG', 'NUM'.
    auto number = [](bool flags, bool value, bool flagsLast, bool extra) {
        RecordBuffer b;
        WriteU32(b, tag::kType, kind::kNumber);
        if (flags && !flagsLast) WriteU32(b, tag::kNumberFlags, 0);
        if (value) WriteF64(b, tag::kNumber, 2.0);
        if (flags && flagsLast) WriteU32(b, tag::kNumberFlags, 0);
        if (extra) WriteU32(b, tag::kBool, 1);
        return b.ToVector();
    };
    Bytes truncated = number(true, true, false, false);
    ASSERT_EQ(Write(truncated), u"2");
    truncated.pop_back();
    RecordBuffer odd;
    WriteU32(odd, tag::kType, kind::kBool);
    WriteU32(odd, tag::kBool, 2);
    const Bytes kCases[] = {
        number(false, true, false, false),  // 'NFLG' missing
        number(true, true, true, false),    // in another order
        number(true, true, false, true),    // an extra record
        truncated,
        odd.ToVector(),                     // a Bool no writer makes
    };
    for (const Bytes& bytes : kCases) {
        EXPECT_TRUE(Write(bytes).starts_with(u"stored\"")) << ToUtf8(Write(bytes));
        ExpectRoundTrip(bytes);
    }
}

TEST(ExprSourceRoundTrip, NestingIsBoundedWidthIsNot) {
    PExprItem deep = MakeItem<ExprItem_Num>(1.0);
    for (int i = 0; i < 260; ++i) {
        deep = MakeItem<ExprItem_Operator2>(i % 2 ? op::kSum : op::kPower, deep, MakeItem<ExprItem_Num>(2.0));
    }
    const Bytes bytes = Saved(deep);
    const std::u16string text = Write(bytes);
    EXPECT_NE(text.find(u"stored\""), std::u16string::npos);
    ExpectRoundTrip(bytes);
    // Wide is no deeper: a list of thousands of elements stays readable.
    auto* wide = new ExprItem_ValueList();
    const PExprItem list = PExprItem::Of(wide);
    for (int i = 0; i < 5000; ++i) {
        wide->elements.push_back(i % 7 ? MakeItem<ExprItem_Operator2>(op::kSum, MakeItem<ExprItem_Var>(u"x"),
                                                                       MakeItem<ExprItem_Num>(i * 0.5))
                                       : PExprItem());
    }
    const Bytes wideBytes = Saved(list);
    EXPECT_EQ(Write(wideBytes).find(u"stored\""), std::u16string::npos);
    ExpectRoundTrip(wideBytes);
    // The same depth written out by hand is refused, not overflowed.
    std::u16string chain = u"1";
    for (int i = 0; i < 260; ++i) chain += u" + 1";
    EXPECT_EQ(std::get<std::string>(Parse(chain)), "1:799: expression nested deeper than 200 levels");
    // Brackets, signs, powers, calls and statements nest the parser itself.
    const struct {
        std::u16string_view piece;
        const char* error;
    } kNested[] = {
        {u"(", "1:409: expression nested deeper than 200 levels"},
        {u"[", "1:409: expression nested deeper than 200 levels"},
        {u"-", "1:409: expression nested deeper than 200 levels"},
        {u"1^", "1:817: expression nested deeper than 200 levels"},
        {u"Sqrt(", "1:2041: expression nested deeper than 200 levels"},
        {u"Set $a = ", "1:1837: expression nested deeper than 200 levels"},
        {u"Remove ", "1:2856: expression nested deeper than 200 levels"},
    };
    for (const auto& n : kNested) {
        std::u16string text;
        while (text.size() < 200000) text += n.piece;
        const auto parsed = Parse(text + u"1");
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << ToUtf8(n.piece);
        EXPECT_EQ(std::get<std::string>(parsed), n.error) << ToUtf8(n.piece);
    }
}

// Every expression of a stored image: nested containers that start with a
// 'TYPE' record and do not hold steps ('I'+n).
void CollectExpressions(Region region, std::vector<Bytes>& out) {
    for (auto at = FirstWholeRecord(region); at; at = NextRecord(region, *at)) {
        if (!WholeRecordAt(region, *at)) break;
        const Record r = RecordAt(region, *at);
        if (r.data.size < 12 || LoadU32(r.data.base) != tag::kType || LoadI32(r.data.base + 4) != 4) {
            if (r.data.size >= 8) CollectExpressions(r.data, out);
            continue;
        }
        const bool step = (r.tag >> 24) == 'I' && LoadU32(r.data.base + 8) < 64;
        if (step) {
            CollectExpressions(r.data, out);
        } else {
            out.emplace_back(r.data.base, r.data.base + r.data.size);
        }
    }
}

TEST(ExprSourceRoundTrip, EveryExpressionOfTheDemoAndTheTestScriptsIsReadable) {
    std::vector<Bytes> found;
    const Bytes demo = BuildDemoImage();
    CollectExpressions(Region{demo.data(), static_cast<uint32_t>(demo.size())}, found);
    namespace st = scripttest;
    EventList steps;
    steps.Append(st::Log(u"start"));
    steps.Append(st::Set(u"n", st::Op(op::kSum, st::Var(u"n"), st::Num(1))));
    steps.Append(st::If(st::Op(op::kAnd, st::Op(op::kLess, st::Var(u"n"), st::Num(3)),
                               st::Op(op::kNotEqual, st::Text(u"a"), st::Var(u"@i"))),
                        {st::Log(u"x")}));
    steps.Append(st::Count(3, {st::Log(st::Var(u"@i"))}));
    const Bytes script = ImageBuilder().Main(steps).Build();
    CollectExpressions(Region{script.data(), static_cast<uint32_t>(script.size())}, found);
    ASSERT_GE(found.size(), 8u);
    for (const Bytes& e : found) {
        const std::u16string text = Write(e);
        EXPECT_EQ(text.find(u"stored\""), std::u16string::npos) << ToUtf8(text);
        ExpectRoundTrip(e);
    }
}

TEST(ExprSourceText, CanonicalTextsSurviveParseAndWrite) {
    const char16_t* kTexts[] = {
        u"Set $a = 1 + 2 * 3", u"(1 + 2) * 3", u"$a - ($b - $c)", u"$a - $b - $c", u"2 ^ 3 ^ 4", u"(2 ^ 3) ^ 4",
        u"-$x ^ 2", u"(-$x) ^ 2", u"-(2)", u"-2 ^ 2", u"-(-2)", u"-(-$x)", u"1 - -2", u"$a and $b or $c == 1 < 2",
        u"$a and ($b or $c)", u"(Set $a = 1) + 2", u"() + 1", u"$a * ()", u"() - ()", u"Add 1 to $a", u"Remove @i",
        u"Alias $b = $a.x", u"Set (Sqrt(4)) = 1", u"Call Helper(1, \"a\")", u"Call \"my helper\"()",
        u"Sqrt(2)", u"Sqrt{form 3}(2)", u"\"NoSuchPlugIn\"(1, 2)", u"SetMousePosition#1($p)", u"$r:Rect.X",
        u"Set $r:Rect.X = 5", u"$r:Rect.PtInRect($p)", u"$o:OleObject.Open([1, ()])", u"Set $o:OleObject.Visible = True",
        u"$d:DateTime.Year{form 1}", u"[]", u"[()]", u"0x1F", u"-0x0", u"1.5E+3", u"RGB(255, 0, 16)",
        u"ShowWindowType.Maximized", u"Number(1.5, flags 0x1)", u"Number(3, enum \"Nope\")", u"NaN", u"-Inf",
        u"NaN(0x7FF0000000000001)", u"-0", u"1e+300", u"5e-324", u"date\"2024-02-29 23:59:59\"", u"date\"-99999999999999\"",
        u"span\"-1d 01:01:01\"", u"span\"00:00:00\"", u"hex\"01 02 FF\"", u"bindata\"\"", u"Handle(0xFFFFFFFF)",
        u"new WindowHandle", u"Empty", u"False", u"$(my var).x", u"var\"x\"", u"member\"a b\"", u".Name",
        u"stored\"0102\"",
        u"Pattern(Sequence, sub [Pattern(Literal, text \"ab\"), Pattern(ZeroOrMore, sub Pattern(Class, text \"0-9\"))])",
        u"Pattern(Decimal, flags 3, low 1.5, high 10)", u"Pattern(99, n -1, m 2)", u"Add Set $b = 1 to $a"};
    for (const char16_t* text : kTexts) {
        const auto parsed = Parse(text);
        ASSERT_TRUE(std::holds_alternative<Bytes>(parsed)) << ToUtf8(text) << ": " << std::get<std::string>(parsed);
        EXPECT_EQ(ToUtf8(Write(std::get<Bytes>(parsed))), ToUtf8(text));
    }
}

TEST(ExprSourceText, WriterPicksTheReadableFormAtTheEdges) {
    const double kTwo64 = 18446744073709551616.0;
    const double kInf = std::numeric_limits<double>::infinity();
    const struct {
        PExprItem node;
        const char* text;
    } kCases[] = {
        {MakeItem<ExprItem_Num>(-1.0, numflag::kHex), "-0x1"},
        {MakeItem<ExprItem_Num>(kTwo64 - 2048, numflag::kHex), "0xFFFFFFFFFFFFF800"},
        {MakeItem<ExprItem_Num>(kTwo64, numflag::kHex), "Number(18446744073709551616, flags 0x1)"},
        {MakeItem<ExprItem_Num>(0.5, numflag::kHex), "Number(0.5, flags 0x1)"},
        {MakeItem<ExprItem_Num>(1e21, numflag::kExponent), "1E+21"},
        {MakeItem<ExprItem_Num>(-0.000125, numflag::kExponent), "-1.25E-4"},
        {MakeItem<ExprItem_Num>(std::numeric_limits<double>::quiet_NaN(), numflag::kExponent), "Number(NaN, flags 0x2)"},
        {MakeItem<ExprItem_Num>(0x10FF00, numflag::kColour), "RGB(0, 255, 16)"},
        {MakeItem<ExprItem_Num>(16777216.0, numflag::kColour), "Number(16777216, flags 0x4)"},
        {MakeItem<ExprItem_Num>(-0.0, numflag::kColour), "Number(-0, flags 0x4)"},
        {MakeItem<ExprItem_Num>(3.0, numflag::kHex | numflag::kExponent), "Number(3, flags 0x3)"},
        {MakeItem<ExprItem_Num>(0x41, 0, FindLibraryEnumeration(u"VirtualKey")), "VirtualKey.A"},
        {MakeItem<ExprItem_Num>(0x30, 0, FindLibraryEnumeration(u"VirtualKey")), "VirtualKey.0"},
        {MakeItem<ExprItem_Num>(7.0, 0, FindLibraryEnumeration(u"ShowWindowType")), "Number(7, enum \"ShowWindowType\")"},
        {MakeItem<ExprItem_Num>(9007199254740993.0), "9007199254740992"},
        {MakeItem<ExprItem_DateTime>(-62135596800), "date\"0001-01-01 00:00:00\""},
        {MakeItem<ExprItem_DateTime>(253402300799), "date\"9999-12-31 23:59:59\""},
        {MakeItem<ExprItem_DateTime>(253402300800), "date\"253402300800\""},
        {MakeItem<ExprItem_DateTime>(-1), "date\"1969-12-31 23:59:59\""},
        {MakeItem<ExprItem_TimeSpan>(std::numeric_limits<int64_t>::min()), "span\"-106751991167300d 15:30:08\""},
        {MakeItem<ExprItem_TimeSpan>(90061), "span\"1d 01:01:01\""},
        {MakeItem<ExprItem_Var>(u"my var"), "$(my var)"},
        {MakeItem<ExprItem_Var>(u"a.b c"), "var\"$a.b c\""},
        {MakeItem<ExprItem_Operator2>(op::kDifference, MakeItem<ExprItem_Num>(-2.0)), "-(-2)"},
        {MakeItem<ExprItem_Operator2>(op::kDifference, MakeItem<ExprItem_Num>(kInf)), "-(Inf)"},
        {MakeItem<ExprItem_Operator2>(op::kSum, MakeItem<ExprItem_Var>(u"a")), "$a + ()"},
    };
    for (const auto& c : kCases) {
        const Bytes bytes = Saved(c.node);
        EXPECT_EQ(ToUtf8(Write(bytes)), c.text);
        ExpectRoundTrip(bytes);
    }
}

TEST(ExprSourceText, PrecedenceBuildsTheTreesThePlayerShows) {
    const struct {
        const char16_t* source;
        const char16_t* display;
    } kCases[] = {
        {u"1 + 2 * 3", u"1 + (2 * 3)"},
        {u"8 - 2 - 1", u"(8 - 2) - 1"},
        {u"2 ^ 3 ^ 2", u"2 ^ (3 ^ 2)"},
        {u"-$x ^ 2", u"-($x ^ 2)"},
        {u"$a < 1 == $b > 2 and $c or $d", u"((($a < 1) == ($b > 2)) and $c) or $d"},
        {u"Add 2 to $a", u"Add 2 to $a"},
        {u"$v:Rect.X + 0x10", u"$v.X + 0x10"},
    };
    ExprState state;
    FunctionRegistry registry;
    state.functions = &registry;
    const ExprState* previous = InstallExprState(&state);
    for (const auto& c : kCases) {
        const Bytes bytes = std::get<Bytes>(Parse(c.source));
        const PExprItem node = ReadExprItem(Region{bytes.data(), static_cast<uint32_t>(bytes.size())});
        ASSERT_TRUE(node) << ToUtf8(c.source);
        EXPECT_EQ(ToUtf8(node->GetDisplayText()), ToUtf8(c.display));
    }
    InstallExprState(const_cast<ExprState*>(previous));
}

TEST(ExprSourceText, MistakesSayWhatWasExpectedWhere) {
    const struct {
        const char16_t* source;
        const char* error;
    } kCases[] = {
        {u"1 +", "1:4: expected an operand after '+'"},
        {u"Set $a = (1 + 2", "1:16: ')' expected to close '(' at 1:10"},
        {u"[1, 2", "1:6: ']' expected to close '[' at 1:1"},
        {u"StringLenght(\"a\")", "1:1: unknown function 'StringLenght'; did you mean 'StringLength'?"},
        {u"Qwzxv(1)", "1:1: unknown function 'Qwzxv'"},
        {u"1 + STRINGLENGTH($s)", "1:5: unknown function 'STRINGLENGTH'; did you mean 'StringLength'?"},
        {u"Sqrt(1, 2)", "1:1: 'Sqrt' takes at most 1 argument, not 2"},
        {u"total + 1", "1:1: unknown name 'total' (a variable is written with its prefix, as $total)"},
        {u"Set $a 1", "1:8: '=' expected after the target of Set"},
        {u"Add 1 $a", "1:7: 'to' expected after the value of Add"},
        {u"$r:Rect.Z", "1:9: 'Rect' has no property 'Z'"},
        {u"1 2", "1:3: expected an operator or the end of the expression, found '2'"},
        {u"Sqrt(1))", "1:8: ')' without a '(' to close"},
        {u"ShowWindowType.Huge", "1:1: 'ShowWindowType' has no value 'Huge'"},
        {u"date\"2023-02-29 00:00:00\"", "1:5: expected a date as \"YYYY-MM-DD hh:mm:ss\" (UTC) or a count of seconds"},
        {u"Sqrt(, 1)", "1:6: expected an operand after '('"},
        {u"12abc", "1:3: unexpected 'abc' right after a number"},
        {u"  ", "1:3: expected an expression"},
    };
    for (const auto& c : kCases) {
        const auto parsed = Parse(c.source);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << ToUtf8(c.source);
        EXPECT_EQ(std::get<std::string>(parsed), c.error) << ToUtf8(c.source);
    }
}

TEST(ExprSourceText, ErrorsAreAtFilePositions) {
    // A span that starts inside a line reports columns of the file's line.
    RecordBuffer out;
    SourceErrors errors;
    EXPECT_FALSE(ParseExprSource(u"$a + (1 *", SourcePos{3, 12}, out, errors));
    ASSERT_EQ(errors.Count(), 1u);
    EXPECT_EQ(errors.List()[0].pos.line, 3u);
    EXPECT_EQ(errors.List()[0].pos.column, 21u);
    EXPECT_EQ(errors.List()[0].message, "expected an operand after '*'");
}

TEST(ExprSourceText, RandomTextNeverCrashesAndWhatParsesIsStable) {
    static const char16_t* kPieces[] = {u"1", u"-", u"+", u"(", u")", u"[", u"]", u",", u"$a", u"\"t\"", u"Set ", u"=",
                                        u" to ", u"Add ", u"Sqrt", u"^", u":Rect.X", u"{form 2}", u"Pattern(", u"sub ",
                                        u"0x", u"E", u".", u"NaN", u"stored\"01", u" ", u"and", u"#", u"Call f"};
    std::mt19937 rng(11);
    for (int round = 0; round < 20000; ++round) {
        std::u16string text;
        for (uint32_t n = rng() % 12; n > 0; --n) text += kPieces[rng() % std::size(kPieces)];
        const auto parsed = Parse(text);
        if (const Bytes* bytes = std::get_if<Bytes>(&parsed)) ExpectRoundTrip(*bytes);
    }
}

TEST(ExprSourceText, SpanEndsAtTheFirstOutsideDelimiter) {
    const struct {
        const char16_t* line;
        size_t from;
        size_t end;
    } kCases[] = {
        {u"x = Sqrt(1, 2), next", 4, 14},
        {u"\"a,)\" + [1, 2]}", 0, 14},
        {u"$(my var) + \"\\\"\", 1", 0, 16},
        {u"Sqrt{form 1}(2)", 0, 15},
        {u"1 + (2", 0, 6},
        {u"\"open", 0, 5},
    };
    for (const auto& c : kCases) EXPECT_EQ(ExprSpanEnd(c.line, c.from), c.end) << ToUtf8(c.line);
}

}  // namespace
}  // namespace ovrix
