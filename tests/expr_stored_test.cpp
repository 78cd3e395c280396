// Stored expressions: the factory, round trips of every stored kind, the
// composite nodes' text forms, and readers fed damaged or hostile trees.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "container/RecordBuffer.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsObject.h"
#include "expr/KindsPattern.h"
#include "expr/KindsValue.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"

namespace ovrix {
namespace {

Region RegionOf(const std::vector<uint8_t>& bytes) { return Region{bytes.data(), static_cast<uint32_t>(bytes.size())}; }

// Saves a node and reads it back.
PExprItem RoundTrip(const PExprItem& node) {
    const std::vector<uint8_t> bytes = SaveExprItem(node).ToVector();
    return ReadExprItem(RegionOf(bytes));
}

std::vector<uint8_t> NodeBytes(uint32_t type, const std::function<void(RecordBuffer&)>& fields = {}) {
    RecordBuffer b;
    WriteU32(b, tag::kType, type);
    if (fields) fields(b);
    return b.ToVector();
}

void WriteNode(RecordBuffer& b, uint32_t t, const PExprItem& node) { SaveSubNode(b, t, node); }

PExprItem Num(double v) { return MakeItem<ExprItem_Num>(v); }
PExprItem Var(std::u16string_view name) { return MakeItem<ExprItem_Var>(name); }
PExprItem Op(uint32_t code, PExprItem a, PExprItem b = {}) { return MakeItem<ExprItem_Operator2>(code, a, b); }

void ExpectRoundTrip(const PExprItem& node) {
    SCOPED_TRACE(ToUtf8(node->GetTypeName()));
    PExprItem back = RoundTrip(node);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Kind(), node->Kind());
    EXPECT_TRUE(back->IsEqual(*node.Item()));
    EXPECT_EQ(back->GetDisplayText(), node->GetDisplayText());
    EXPECT_EQ(back->GetMarkedText(), node->GetMarkedText());
}

TEST(ExprFactory, BuildsStoredKindsOnly) {
    for (uint32_t id : {0u, 2061u, 2062u, 2065u, 2067u, 2068u, 255u, 267u, 44u, 1030u}) {
        EXPECT_FALSE(CreateExprItem(id)) << id;
    }
    for (uint32_t id = 256; id <= 266; ++id) EXPECT_EQ(CreateExprItem(id)->Kind(), id);
    for (uint32_t id = 2049; id <= 2066; ++id) {
        if (id == 2061 || id == 2062 || id == 2065) continue;
        EXPECT_EQ(CreateExprItem(id)->Kind(), id) << id;
    }
    EXPECT_EQ(CreateExprItem(43)->GetTypeName(), u"Expr");
}

TEST(ExprRoundTrip, ScalarKinds) {
    const NumberEnum& e = *FindNumberEnum(u"ShowWindowType");
    for (const PExprItem& node :
         {MakeItem<ExprItem_Text>(u"line\r\nbreak"), MakeItem<ExprItem_Num>(-1.0, numflag::kHex),
          MakeItem<ExprItem_Num>(12345.0, numflag::kExponent), MakeItem<ExprItem_Num>(2.0, 0, &e),
          MakeItem<ExprItem_Bool>(true), MakeItem<ExprItem_DateTime>(1700000000), MakeItem<ExprItem_TimeSpan>(-90061),
          MakeItem<ExprItem_Handle>(0x10),
          MakeItem<ExprItem_Hex>(std::vector<uint8_t>{0, 1, 0xFF}), MakeItem<ExprItem_Hex>(),
          MakeItem<ExprItem_Empty>(), MakeItem<ExprItem_Member>(u"Name"), Var(u"@counter.x")}) {
        ExpectRoundTrip(node);
    }

    PExprItem bin = RoundTrip(MakeItem<ExprItem_BinData>(std::vector<uint8_t>{7, 8}));
    EXPECT_EQ(ItemAs<ExprItem_BinData>(bin)->bytes, (std::vector<uint8_t>{7, 8}));
    EXPECT_EQ(ItemAs<ExprItem_Num>(RoundTrip(MakeItem<ExprItem_Num>(2.0, 0, &e)))->enumeration, &e);
}

TEST(ExprRoundTrip, ObjectKindsLoadEmpty) {
    for (uint32_t id : {2053u, 2054u, 2055u, 2056u, 2058u, 2063u, 2064u}) {
        PExprItem back = RoundTrip(CreateExprItem(id));
        ASSERT_TRUE(back) << id;
        EXPECT_EQ(back->Kind(), id);
    }
    // Kinds that are never stored read back as nothing.
    EXPECT_FALSE(RoundTrip(MakeItem<ExprItem_Rect>(1, 2, 3, 4)));
    EXPECT_FALSE(RoundTrip(MakeItem<ExprItem_Point>(1, 2)));
}

TEST(ExprRoundTrip, CompositeKinds) {
    for (const PExprItem& node :
         {Op(op::kProduct, Op(op::kSum, Num(1), Num(2)), Num(3)), Op(op::kDifference, Var(u"x")),
          MakeItem<ExprItem_SetVar>(Var(u"r.X"), Num(5)), MakeItem<ExprItem_Alias>(Var(u"b"), Var(u"a")),
          MakeItem<ExprItem_AddValue>(Var(u"t"), MakeItem<ExprItem_Text>(u"abc")),
          MakeItem<ExprItem_RemoveVar>(Var(u"t"))}) {
        ExpectRoundTrip(node);
    }

    auto fun = MakeItem<ExprItem_Fun>();
    ItemAs<ExprItem_Fun>(fun)->name = u"SetMousePosition#1";
    ItemAs<ExprItem_Fun>(fun)->callForm = 3;
    ItemAs<ExprItem_Fun>(fun)->args = {Num(10), Var(u"y")};
    ExpectRoundTrip(fun);
    EXPECT_EQ(ItemAs<ExprItem_Fun>(RoundTrip(fun))->callForm, 3u);

    auto dyn = MakeItem<ExprItem_DynFun>();
    ItemAs<ExprItem_DynFun>(dyn)->name = u"Helper";
    ItemAs<ExprItem_DynFun>(dyn)->args = {MakeItem<ExprItem_Text>(u"a")};
    ExpectRoundTrip(dyn);

    auto list = MakeItem<ExprItem_ValueList>();
    ItemAs<ExprItem_ValueList>(list)->elements = {Num(1), PExprItem(), Num(2), PExprItem()};
    ExpectRoundTrip(list);
    EXPECT_EQ(ItemAs<ExprItem_ValueList>(RoundTrip(list))->elements.size(), 4u);
}

TEST(ExprDisplay, OperatorsParenthesiseOperatorOperands) {
    EXPECT_EQ(Op(op::kSum, Num(1), Op(op::kProduct, Num(2), Num(3)))->GetDisplayText(), u"1 + (2 * 3)");
    EXPECT_EQ(Op(op::kDifference, Op(op::kSum, Var(u"a"), Num(1)))->GetDisplayText(), u"-($a + 1)");
    EXPECT_EQ(Op(op::kAnd, Op(op::kLessEqual, Var(u"a"), Num(1)), Op(op::kNotEqual, Var(u"b"), Num(2)))->GetDisplayText(),
              u"($a <= 1) and ($b != 2)");
    EXPECT_EQ(Op(op::kSum, PExprItem(), Num(1))->GetDisplayText(), u" + 1");
}

TEST(ExprDisplay, AssignmentsCallsAndLists) {
    EXPECT_EQ(MakeItem<ExprItem_AddValue>(Var(u"t"), Num(2))->GetDisplayText(), u"Add 2 to $t");

    auto fun = MakeItem<ExprItem_Fun>();
    auto* f = ItemAs<ExprItem_Fun>(fun);
    f->name = u"Format#2";
    f->args = {MakeItem<ExprItem_Text>(u"%d"), MakeItem<ExprItem_ValueList>()};
    EXPECT_EQ(fun->GetDisplayText(), u"Format(\"%d\")");  // a trailing empty list is left out
    EXPECT_EQ(fun->GetMarkedText(), u"**F[6]Format(**P[4]\"%d\")");

    auto dyn = MakeItem<ExprItem_DynFun>();
    ItemAs<ExprItem_DynFun>(dyn)->name = u"Helper";
    ItemAs<ExprItem_DynFun>(dyn)->args = {Num(1), Var(u"x")};
    EXPECT_EQ(dyn->GetMarkedText(), u"Call **E[6]Helper(**N[1]1, **B[2]$x)");

    auto set = MakeItem<ExprItem_SetVar>(Var(u"x"), Op(op::kSum, Num(1), MakeItem<ExprItem_Text>(u"a")));
    EXPECT_EQ(set->GetMarkedText(), u"Set **B[2]$x = **N[1]1 + **P[3]\"a\"");

    auto list = MakeItem<ExprItem_ValueList>();
    EXPECT_EQ(list->GetDisplayText(), u"Empty");
    ItemAs<ExprItem_ValueList>(list)->elements = {Num(1), PExprItem(), Num(2)};
    EXPECT_EQ(list->GetDisplayText(), u"1 , Empty , 2");
}

PExprItem Pattern(int32_t type, PExprItem sub, int32_t n = 0, int32_t m = 0) {
    auto p = MakeItem<ExprItem_RegExpr>();
    auto* r = ItemAs<ExprItem_RegExpr>(p);
    r->nodeType = type;
    r->sub = std::move(sub);
    r->n = n;
    r->m = m;
    return p;
}

PExprItem Literal(std::u16string text) {
    PExprItem p = Pattern(pattern::kLiteral, {});
    ItemAs<ExprItem_RegExpr>(p)->text = std::move(text);
    return p;
}

PExprItem ListOf(std::vector<PExprItem> elements) {
    auto l = MakeItem<ExprItem_ValueList>();
    ItemAs<ExprItem_ValueList>(l)->elements = std::move(elements);
    return l;
}

TEST(ExprDisplay, PatternsGroupSequencesOfMoreThanOneElement) {
    EXPECT_EQ(Pattern(pattern::kOneOrMore, Pattern(pattern::kSequence, ListOf({Literal(u"a"), Literal(u"b")})))->GetDisplayText(),
              u"(ab)+");
    EXPECT_EQ(Pattern(pattern::kZeroOrMore, Pattern(pattern::kAlternation, ListOf({Literal(u"a")})))->GetDisplayText(), u"a*");
    auto range = Pattern(pattern::kIntegerIn, {}, 3, 9);
    ItemAs<ExprItem_RegExpr>(range)->boundFlags = 2;
    EXPECT_EQ(range->GetDisplayText(), u"{-9}");
    EXPECT_EQ(Pattern(99, {})->GetDisplayText(), u"???");
}

TEST(ExprReaderRules, OperatorWithoutSecondOperandIsUnary) {
    const auto bytes = NodeBytes(op::kSum, [](RecordBuffer& b) { WriteNode(b, tag::kOperand1, Num(4)); });
    PExprItem node = ReadExprItem(RegionOf(bytes));
    ASSERT_TRUE(node);
    EXPECT_EQ(node->GetDisplayText(), u"+4");
    EXPECT_FALSE(node->Evaluate());
}

TEST(ExprReaderRules, ValueListWithAnAbsentElement) {
    const auto bytes = NodeBytes(kind::kValueList, [](RecordBuffer& b) {
        WriteU32(b, MakeTag("JUNK"), 1);  // records before 'I'+0 are skipped
        WriteNode(b, tag::Element(0), Num(1));
        WriteRecord(b, tag::Element(1), nullptr, 0);
        WriteNode(b, tag::Element(7), Num(2));  // the index is not consulted
        WriteRecord(b, tag::Element(3), nullptr, 0);
    });
    PExprItem node = ReadExprItem(RegionOf(bytes));
    ASSERT_TRUE(node);
    EXPECT_EQ(node->GetDisplayText(), u"1 , Empty , 2 , Empty");
}

TEST(ExprReaderRules, ArgumentsStopAtTheFirstMissingIndex) {
    const auto bytes = NodeBytes(kind::kFunction, [](RecordBuffer& b) {
        WriteString(b, tag::kFunction, u"<OLE Get Property>");
        WriteU32(b, tag::kCallForm, 1);
        WriteNode(b, tag::Argument(2), Num(3));
        WriteNode(b, tag::Argument(0), Num(1));
    });
    PExprItem node = ReadExprItem(RegionOf(bytes));
    auto* f = ItemAs<ExprItem_Fun>(node);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->name, u"<OleObject.GetProperty>");
    // 'A'+2 is never read; once the registry knows the function, its missing
    // second argument is filled from the descriptor's default instead.
    ASSERT_GE(f->args.size(), 1u);
    EXPECT_EQ(AsNumber(f->args[0]), 1.0);
    for (size_t i = 1; i < f->args.size(); ++i) EXPECT_NE(AsNumber(f->args[i]), 3.0);
}

TEST(ExprRobustness, UnknownKindsAndMissingOperands) {
    EXPECT_FALSE(ReadExprItem(Region{}));
    const auto unknown = NodeBytes(2067);
    EXPECT_FALSE(ReadExprItem(RegionOf(unknown)));
    // An operator whose operand is of an unknown kind keeps a null operand.
    const auto bytes = NodeBytes(op::kProduct, [](RecordBuffer& b) {
        RecordBuffer bad;
        WriteU32(bad, tag::kType, 9999);
        WriteContainer(b, tag::kOperand1, bad);
        WriteNode(b, tag::kOperand2, Num(2));
    });
    PExprItem node = ReadExprItem(RegionOf(bytes));
    ASSERT_TRUE(node);
    EXPECT_EQ(node->GetMarkedText(), u" * **N[1]2");
}

TEST(ExprRobustness, TruncatedRecordsReadAsMissing) {
    auto set = MakeItem<ExprItem_SetVar>(Var(u"x"), MakeItem<ExprItem_Text>(u"hello"));
    const std::vector<uint8_t> whole = SaveExprItem(set).ToVector();
    // Every prefix of the stored node reads without fault; a cut inside the
    // value record drops the value and keeps the target.
    for (size_t n = 0; n <= whole.size(); ++n) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
        PExprItem node = ReadExprItem(RegionOf(cut));
        if (node) node->GetDisplayText();
    }
    std::vector<uint8_t> cut(whole.begin(), whole.end() - 3);
    EXPECT_EQ(ReadExprItem(RegionOf(cut))->GetDisplayText(), u"Set $x = ");

    // A record length that points far past the region.
    std::vector<uint8_t> lying = NodeBytes(kind::kValueList, [](RecordBuffer& b) { WriteNode(b, tag::Element(0), Num(1)); });
    lying[12] = 0xFF;  // the length word of 'I'+0
    lying[15] = 0x7F;
    EXPECT_EQ(ReadExprItem(RegionOf(lying))->GetDisplayText(), u"Empty");
}

// A chain of unary minus nodes `depth` levels deep around the number 1.
std::vector<uint8_t> DeepChain(int depth) {
    RecordBuffer inner;
    Num(1)->Save(inner);
    for (int i = 0; i < depth; ++i) {
        RecordBuffer outer;
        WriteU32(outer, tag::kType, op::kDifference);
        WriteContainer(outer, tag::kOperand1, inner);
        inner = std::move(outer);
    }
    return inner.ToVector();
}

int Depth(const PExprItem& node) {
    int d = 0;
    for (const ExprItem* p = node.Item(); p; ++d) {
        const auto* o = dynamic_cast<const ExprItem_Operator2*>(p);
        p = o ? o->operand1.Item() : nullptr;
    }
    return d;
}

TEST(ExprRobustness, NestingIsBoundedByTheReader) {
    const auto shallow = DeepChain(kMaxExprDepth - 1);
    PExprItem whole = ReadExprItem(RegionOf(shallow));
    EXPECT_EQ(Depth(whole), kMaxExprDepth);
    EXPECT_EQ(whole->Clone()->GetDisplayText(), whole->GetDisplayText());

    const auto deep = DeepChain(5000);
    PExprItem cut = ReadExprItem(RegionOf(deep));
    ASSERT_TRUE(cut);
    EXPECT_EQ(Depth(cut), kMaxExprDepth);
    EXPECT_EQ(cut->GetDisplayText().rfind(u"-(-(-(", 0), 0u);
    // A second read on the same thread starts at depth 0 again.
    EXPECT_EQ(Depth(ReadExprItem(RegionOf(shallow))), kMaxExprDepth);
}

TEST(ExprRobustness, CloneIsDeepForNodes) {
    auto sum = Op(op::kSum, Var(u"a"), Num(1));
    auto copy = sum->Clone();
    ItemAs<ExprItem_Num>(ItemAs<ExprItem_Operator2>(sum)->operand2)->value = 9;
    EXPECT_EQ(copy->GetDisplayText(), u"$a + 1");
    int visited = 0;
    sum->Walk([](ExprItem*, void* c) { return ++*static_cast<int*>(c) < 2; }, &visited);
    EXPECT_EQ(visited, 2);  // stopped at the second callback
}

}  // namespace
}  // namespace ovrix
