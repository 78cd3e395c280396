// Stored expressions: the factory, round trips of every stored kind, the
// composite nodes' text forms, and readers fed damaged or hostile trees.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "builtins_test_support.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "expr/KindsObject.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

Region RegionOf(const std::vector<uint8_t>& bytes) { return Region{bytes.data(), static_cast<uint32_t>(bytes.size())}; }

PExprItem RoundTrip(const PExprItem& node) { return ReadExprItem(SaveExprItem(node).AsRegion()); }

std::vector<uint8_t> NodeBytes(uint32_t type, const std::function<void(RecordBuffer&)>& fields = {}) {
    RecordBuffer b;
    WriteU32(b, tag::kType, type);
    if (fields) fields(b);
    return b.ToVector();
}

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

TEST(ExprRoundTrip, ScalarKinds) {
    const NumberEnum& e = *FindNumberEnum(u"ShowWindowType");
    for (const PExprItem& node :
         {Text(u"line\r\nbreak"), MakeItem<ExprItem_Num>(-1.0, numflag::kHex),
          MakeItem<ExprItem_Num>(12345.0, numflag::kExponent), MakeItem<ExprItem_Num>(2.0, 0, &e),
          MakeItem<ExprItem_Bool>(true), MakeItem<ExprItem_DateTime>(1700000000), MakeItem<ExprItem_TimeSpan>(-90061),
          MakeItem<ExprItem_Handle>(0x10),
          MakeItem<ExprItem_Hex>(std::vector<uint8_t>{0, 1, 0xFF}), MakeItem<ExprItem_Hex>(),
          MakeItem<ExprItem_Empty>(), MakeItem<ExprItem_Member>(u"Name"), Variable(u"@counter.x")}) {
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

PExprItem DynCall(std::u16string name, std::vector<PExprItem> args) {
    auto node = MakeItem<ExprItem_DynFun>();
    ItemAs<ExprItem_DynFun>(node)->name = std::move(name);
    ItemAs<ExprItem_DynFun>(node)->args = std::move(args);
    return node;
}

// Composite nodes survive a round trip, and show as the player shows them:
// operator operands in parentheses, a trailing empty list left out.
TEST(ExprRoundTrip, CompositeKindsAndTheirTexts) {
    const PExprItem list = ListOf({Num(1), PExprItem(), Num(2), PExprItem()});
    const struct { PExprItem node; std::u16string shown; } rows[] = {
        {Op(op::kProduct, Op(op::kSum, Num(1), Num(2)), Num(3)), u"(1 + 2) * 3"},
        {Op(op::kDifference, Op(op::kSum, Variable(u"a"), Num(1))), u"-($a + 1)"},
        {Op(op::kAnd, Op(op::kLessEqual, Variable(u"a"), Num(1)), Op(op::kNotEqual, Variable(u"b"), Num(2))),
         u"($a <= 1) and ($b != 2)"},
        {MakeItem<ExprItem_SetVar>(Variable(u"x"), Op(op::kSum, Num(1), Text(u"a"))), u"Set $x = 1 + \"a\""},
        {MakeItem<ExprItem_Alias>(Variable(u"b"), Variable(u"a")), u""},
        {MakeItem<ExprItem_AddValue>(Variable(u"t"), Num(2)), u"Add 2 to $t"},
        {MakeItem<ExprItem_RemoveVar>(Variable(u"t")), u""},
        {CallNode(u"SetMousePosition#1", {Num(10), Variable(u"y")}), u""},
        {CallNode(u"Format#2", {Text(u"%d"), ListOf({})}), u"Format(\"%d\")"},
        {DynCall(u"Helper", {Num(1), Variable(u"x")}), u""},
        {list, u"1 , Empty , 2 , Empty"},
        {ListOf({}), u"Empty"},
    };
    // Texts first: reading an unknown call back registers its placeholder.
    for (const auto& row : rows) {
        if (!row.shown.empty()) {
            EXPECT_EQ(row.node->GetDisplayText(), row.shown);
        }
    }
    EXPECT_EQ(rows[3].node->GetMarkedText(), u"Set **B[2]$x = **N[1]1 + **P[3]\"a\"");
    EXPECT_EQ(rows[8].node->GetMarkedText(), u"**F[6]Format(**P[4]\"%d\")");
    EXPECT_EQ(rows[9].node->GetMarkedText(), u"Call **E[6]Helper(**N[1]1, **B[2]$x)");
    EXPECT_EQ(Op(op::kSum, PExprItem(), Num(1))->GetDisplayText(), u" + 1");
    ItemAs<ExprItem_Fun>(rows[7].node)->callForm = 3;
    for (const auto& row : rows) ExpectRoundTrip(row.node);
    EXPECT_EQ(ItemAs<ExprItem_Fun>(RoundTrip(rows[7].node))->callForm, 3u);
    EXPECT_EQ(ItemAs<ExprItem_ValueList>(RoundTrip(list))->elements.size(), 4u);
}

// What a stored node shows once read back; "<none>" when none was read.
std::u16string ReadShown(const std::vector<uint8_t>& bytes) {
    const PExprItem node = ReadExprItem(RegionOf(bytes));
    return node ? node->GetMarkedText() : u"<none>";
}

TEST(ExprReaderRules, MissingOperandsElementsAndArguments) {
    // An operator without its second operand is unary, and only minus gives a value.
    const auto unary = NodeBytes(op::kSum, [](RecordBuffer& b) { SaveSubNode(b, tag::kOperand1, Num(4)); });
    EXPECT_EQ(ReadShown(unary), u"+**N[1]4");
    EXPECT_FALSE(ReadExprItem(RegionOf(unary))->Evaluate());
    EXPECT_EQ(ReadShown(NodeBytes(kind::kValueList, [](RecordBuffer& b) {
                  WriteU32(b, MakeTag("JUNK"), 1);  // records before 'I'+0 are skipped
                  SaveSubNode(b, tag::Element(0), Num(1));
                  WriteRecord(b, tag::Element(1), nullptr, 0);
                  SaveSubNode(b, tag::Element(7), Num(2));  // the index is not consulted
                  WriteRecord(b, tag::Element(3), nullptr, 0);
              })),
              u"**N[1]1 , Empty , **N[1]2 , Empty");

    const auto call = NodeBytes(kind::kFunction, [](RecordBuffer& b) {
        WriteString(b, tag::kFunction, u"<OLE Get Property>");
        WriteU32(b, tag::kCallForm, 1);
        SaveSubNode(b, tag::Argument(2), Num(3));
        SaveSubNode(b, tag::Argument(0), Num(1));
    });
    PExprItem node = ReadExprItem(RegionOf(call));
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
    // Kinds that only the player makes are never built from stored bytes.
    for (uint32_t id : {0u, 255u, 267u, kind::kImage, kind::kOleObject, kind::kRect, 2067u}) {
        EXPECT_FALSE(ReadExprItem(RegionOf(NodeBytes(id)))) << id;
    }
    // An operator whose operand is of an unknown kind keeps a null operand.
    const auto bytes = NodeBytes(op::kProduct, [](RecordBuffer& b) {
        RecordBuffer bad;
        WriteU32(bad, tag::kType, 9999);
        WriteContainer(b, tag::kOperand1, bad);
        SaveSubNode(b, tag::kOperand2, Num(2));
    });
    PExprItem node = ReadExprItem(RegionOf(bytes));
    ASSERT_TRUE(node);
    EXPECT_EQ(node->GetMarkedText(), u" * **N[1]2");
}

TEST(ExprRobustness, TruncatedRecordsReadAsMissing) {
    auto set = MakeItem<ExprItem_SetVar>(Variable(u"x"), Text(u"hello"));
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
    std::vector<uint8_t> lying = NodeBytes(kind::kValueList, [](RecordBuffer& b) { SaveSubNode(b, tag::Element(0), Num(1)); });
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
    auto sum = Op(op::kSum, Variable(u"a"), Num(1));
    auto copy = sum->Clone();
    ItemAs<ExprItem_Num>(ItemAs<ExprItem_Operator2>(sum)->operand2)->value = 9;
    EXPECT_EQ(copy->GetDisplayText(), u"$a + 1");
    int visited = 0;
    sum->Walk([](ExprItem*, void* c) { return ++*static_cast<int*>(c) < 2; }, &visited);
    EXPECT_EQ(visited, 2);  // stopped at the second callback
}

}  // namespace
}  // namespace ovrix
