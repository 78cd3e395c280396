// Operator evaluation on constant operands and nested operator trees:
// arithmetic and joining, dates and spans, comparisons, equality, the
// logical operators and their evaluation order, and unary minus.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "expr/ExprHandle.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "expr/LocalTime.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"
#include "expr/Operators.h"

namespace ovrix {
namespace {

PExprItem N(double v, uint32_t flags = 0) { return MakeItem<ExprItem_Num>(v, flags); }
PExprItem T(std::u16string t) { return MakeItem<ExprItem_Text>(std::move(t)); }
PExprItem B(bool v) { return MakeItem<ExprItem_Bool>(v); }
PExprItem D(int64_t s) { return MakeItem<ExprItem_DateTime>(s); }
PExprItem S(int64_t s) { return MakeItem<ExprItem_TimeSpan>(s); }
PExprItem H(std::vector<uint8_t> b) { return MakeItem<ExprItem_Hex>(std::move(b)); }
PExprItem Op(uint32_t code, PExprItem a, PExprItem b = {}) {
    return MakeItem<ExprItem_Operator2>(code, std::move(a), std::move(b));
}
PExprItem Eval(uint32_t code, PExprItem a, PExprItem b = {}) { return Op(code, std::move(a), std::move(b))->Evaluate(); }
double Num(uint32_t code, PExprItem a, PExprItem b) { return AsNumber(Eval(code, std::move(a), std::move(b))); }
std::u16string Shown(const PExprItem& v) { return v ? v->GetDisplayText() : u"<none>"; }
uint32_t KindOf(const PExprItem& v) { return v ? v->Kind() : 0; }
int64_t Seconds(const PExprItem& v) {
    if (auto* d = ItemAs<ExprItem_DateTime>(v)) return d->seconds;
    if (auto* s = ItemAs<ExprItem_TimeSpan>(v)) return s->seconds;
    ADD_FAILURE() << "not a date-time or a span";
    return 0;
}

// A node that records its evaluation and answers a chosen result, so tests
// can see evaluation order and side effects without variables.
std::vector<std::string> evaluated;
class ProbeNode : public ExprItem {
public:
    ProbeNode(std::string name, PExprItem result) : ExprItem(0x7FFF), name_(std::move(name)), result_(std::move(result)) {}
    std::u16string GetTypeName() const override { return u"Probe"; }
    std::u16string GetDisplayText() const override { return u"probe"; }
    PExprItem Evaluate() override {
        evaluated.push_back(name_);
        return result_;
    }
    PExprItem Clone() const override { return {}; }

private:
    std::string name_;
    PExprItem result_;
};
PExprItem Probe(std::string name, PExprItem result = {}) { return MakeItem<ProbeNode>(std::move(name), std::move(result)); }

// A truth value that counts how often its truth is asked.
int truthTests = 0;
class CountingBool : public ExprItem_Bool {
public:
    using ExprItem_Bool::ExprItem_Bool;
    bool GetBool() const override {
        ++truthTests;
        return value;
    }
};

const int64_t kNoon = SecondsFromCivil(2024, 1, 31, 12, 0, 0);

TEST(ExprOperatorSum, NumbersAndDisplayFlags) {
    EXPECT_EQ(KindOf(Eval(op::kSum, B(true), B(true))), kind::kNumber);
    EXPECT_EQ(Shown(Eval(op::kSum, N(255, numflag::kHex), N(1, numflag::kHex))), u"0x100");
    EXPECT_EQ(Shown(Eval(op::kSum, N(255, numflag::kHex), N(1))), u"256");
    // Hex wins over exponent form; a colour flag is not carried.
    EXPECT_EQ(Shown(Eval(op::kSum, N(1, 3), N(1, 3))), u"0x2");
    EXPECT_EQ(Shown(Eval(op::kSum, N(255, numflag::kColour), N(1, numflag::kColour))), u"256");
    EXPECT_EQ(Shown(Eval(op::kSum, B(true), N(1, numflag::kHex))), u"2");

    static NumberEnum colours(u"OperatorTestEnum");
    colours.Add(3, u"Three");
    auto sum = Eval(op::kSum, MakeItem<ExprItem_Num>(1, 0, &colours), MakeItem<ExprItem_Num>(2, 0, &colours));
    EXPECT_EQ(Shown(sum), u"3");
    EXPECT_EQ(sum->GetTypeName(), u"Number");
}

TEST(ExprOperatorSum, TextJoinsValueTextsBothWays) {
    EXPECT_EQ(AsText(Eval(op::kSum, T(u"12abc"), N(1))), u"12abc1");
    EXPECT_EQ(AsText(Eval(op::kSum, N(1), T(u"12abc"))), u"112abc");
    EXPECT_EQ(AsText(Eval(op::kSum, N(255, numflag::kHex), T(u"h"))), u"0xFFh");
    // Empty is a value but not a number: it joins as empty text.
    auto joined = Eval(op::kSum, MakeItem<ExprItem_Empty>(), N(5));
    EXPECT_EQ(KindOf(joined), kind::kText);
    EXPECT_EQ(AsText(joined), u"5");
    // A date-time on the right is not date arithmetic.
    auto dated = Eval(op::kSum, N(5), D(kNoon));
    EXPECT_EQ(KindOf(dated), kind::kText);
    EXPECT_EQ(AsText(dated).substr(0, 5), u"52024");
}

TEST(ExprOperatorSum, HexDataJoinsBytesOnlyWithHexData) {
    auto bytes = Eval(op::kSum, H({1, 2}), H({3, 4, 5}));
    ASSERT_EQ(KindOf(bytes), kind::kHex);
    EXPECT_EQ(ItemAs<ExprItem_Hex>(bytes)->bytes, (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    auto text = Eval(op::kSum, H({0xAB}), T(u"z"));
    EXPECT_EQ(KindOf(text), kind::kText);
    EXPECT_EQ(AsText(text), u"0xABz");
}

TEST(ExprOperatorSum, MissingSideAnswersTheOtherValue) {
    auto held = N(4);
    auto right = Eval(op::kSum, Probe("none"), Probe("value", held));
    EXPECT_TRUE(right.SharesCellWith(held));
    // A constant operand is answered on a fresh cell: assigning through the
    // result must not reach into the tree.
    auto constant = T(u"k");
    auto tree = Op(op::kSum, constant, Probe("none"));
    auto result = tree->Evaluate();
    EXPECT_EQ(result.Item(), constant.Item());
    EXPECT_FALSE(result.SharesCellWith(constant));
    result.Assign(N(9).Item());
    EXPECT_EQ(AsText(constant), u"k");
    EXPECT_FALSE(Eval(op::kSum, Probe("a"), Probe("b")).HasValue());
}

TEST(ExprOperatorDates, DateAndSpanSums) {
    EXPECT_EQ(Seconds(Eval(op::kSum, D(kNoon), S(90))), kNoon + 90);
    EXPECT_EQ(Seconds(Eval(op::kSum, D(kNoon), N(-1.9))), kNoon - 86400);
    EXPECT_EQ(Seconds(Eval(op::kSum, D(kNoon), T(u"2 days"))), kNoon + 2 * 86400);
    auto date = D(kNoon);
    auto same = Eval(op::kSum, date, N(0.5));
    EXPECT_EQ(same.Item(), date.Item());
    EXPECT_FALSE(same.SharesCellWith(date));

    auto spanPlusDate = Eval(op::kSum, S(60), D(kNoon));
    EXPECT_EQ(KindOf(spanPlusDate), kind::kDateTime);
    EXPECT_EQ(Seconds(spanPlusDate), kNoon + 60);
    EXPECT_EQ(KindOf(Eval(op::kSum, S(60), S(-90))), kind::kTimeSpan);
    EXPECT_EQ(Seconds(Eval(op::kSum, S(5), B(true))), 5 + 86400);
    auto span = S(7);
    EXPECT_EQ(Eval(op::kSum, span, T(u"abc")).Item(), span.Item());
}

TEST(ExprOperatorDates, DifferencesAndHugeDayCounts) {
    auto diff = Eval(op::kDifference, D(kNoon), D(kNoon - 3600));
    ASSERT_EQ(KindOf(diff), kind::kTimeSpan);
    EXPECT_EQ(Seconds(Eval(op::kDifference, D(kNoon - 3600), D(kNoon))), -3600);
    // A date-time less a span is numeric: both count as 0.
    auto numeric = Eval(op::kDifference, D(kNoon), S(60));
    EXPECT_EQ(KindOf(numeric), kind::kNumber);
    EXPECT_EQ(AsNumber(numeric), 0.0);
    // Day counts far outside any calendar wrap rather than trap.
    EXPECT_EQ(KindOf(Eval(op::kSum, D(kNoon), N(1e300))), kind::kDateTime);
}

TEST(ExprOperatorArithmetic, DivisionAndRemainderByZeroGiveZero) {
    EXPECT_EQ(Num(op::kQuotient, N(7), T(u"abc")), 0.0);
    EXPECT_EQ(Num(op::kQuotient, N(7), N(2)), 3.5);
    EXPECT_EQ(Num(op::kRemainder, N(7), Probe("none")), 0.0);
    // Divisors that truncate to 0 in their low 32 bits also give 0.
    EXPECT_EQ(Num(op::kRemainder, N(7), N(0.5)), 0.0);
    EXPECT_EQ(Num(op::kRemainder, N(7), N(4294967296.0)), 0.0);
    EXPECT_EQ(Num(op::kRemainder, N(7), N(NAN)), 0.0);
}

TEST(ExprOperatorArithmetic, RemainderIsUnsignedThirtyTwoBit) {
    EXPECT_EQ(Num(op::kRemainder, N(7), N(2.9)), 1.0);
    EXPECT_EQ(Num(op::kRemainder, N(-1), N(10)), 5.0);
    EXPECT_EQ(Num(op::kRemainder, N(4294967297.0), N(10)), 1.0);
}

TEST(ExprOperatorArithmetic, ProductPowerDifferenceAndNesting) {
    EXPECT_EQ(Num(op::kDifference, T(u"10"), T(u"3")), 7.0);
    EXPECT_EQ(Num(op::kDifference, Probe("none"), N(5)), -5.0);
    EXPECT_EQ(Shown(Eval(op::kPower, N(2), N(0.5))), u"1.414214");
    EXPECT_TRUE(std::isnan(Num(op::kPower, N(-8), N(1.0 / 3))));
    // (2 * 3) - (10 / 4) ^ 2
    auto tree = Op(op::kDifference, Op(op::kProduct, N(2), N(3)), Op(op::kPower, Op(op::kQuotient, N(10), N(4)), N(2)));
    EXPECT_EQ(AsNumber(tree->Evaluate()), -0.25);
    // Results carry no display flags.
    EXPECT_EQ(ItemAs<ExprItem_Num>(Eval(op::kProduct, N(2, numflag::kHex), N(3, numflag::kHex)))->flags, 0u);
}

TEST(ExprOperatorUnary, OnlyMinusYieldsAValue) {
    EXPECT_EQ(Num(op::kDifference, T(u"12abc"), {}), -12.0);
    EXPECT_EQ(Num(op::kDifference, Op(op::kDifference, N(3)), {}), 3.0);
    EXPECT_EQ(Num(op::kDifference, Probe("none"), {}), 0.0);
    // A second operand whose cell holds nothing also makes the node unary.
    PExprItem hollow;
    hollow.Assign(nullptr);
    EXPECT_EQ(Num(op::kDifference, N(2), hollow), -2.0);

    evaluated.clear();
    EXPECT_FALSE(Eval(op::kSum, Probe("only", N(5))).HasValue());
    EXPECT_FALSE(Eval(op::kProduct, N(5)).HasValue());
    EXPECT_EQ(evaluated, std::vector<std::string>{"only"});
    EXPECT_FALSE(ApplyOperator(12345, N(1), N(2)).HasValue());
}

TEST(ExprOperatorOrdering, NumericExceptTwoDateTimes) {
    EXPECT_EQ(Num(op::kGreater, T(u"10"), T(u"9")), 1.0);
    EXPECT_EQ(Num(op::kLessEqual, N(2), N(2)), 1.0);
    EXPECT_EQ(Num(op::kLess, Probe("none"), N(1)), 1.0);
    // Second counts compare as integers, beyond what doubles tell apart.
    const int64_t big = int64_t(1) << 60;
    EXPECT_EQ(Num(op::kGreater, D(big + 1), D(big)), 1.0);
    EXPECT_EQ(Num(op::kLess, D(-5), D(3)), 1.0);
    // A date-time against anything else counts as 0.
    EXPECT_EQ(Num(op::kGreater, D(kNoon), N(0)), 0.0);
    EXPECT_EQ(Num(op::kGreaterEqual, D(kNoon), S(0)), 1.0);
    for (uint32_t code : {op::kLess, op::kGreater, op::kLessEqual, op::kGreaterEqual}) {
        EXPECT_EQ(Num(code, N(NAN), N(1)), 0.0) << code;
        EXPECT_EQ(Num(code, N(1), N(NAN)), 0.0) << code;
    }
    auto truth = Eval(op::kLess, N(1, numflag::kHex), N(2, numflag::kHex));
    EXPECT_EQ(KindOf(truth), kind::kNumber);
    EXPECT_EQ(ItemAs<ExprItem_Num>(truth)->flags, 0u);
}

TEST(ExprOperatorEquality, LeftKindDecides) {
    EXPECT_EQ(Num(op::kEqual, N(1), T(u"1.0")), 1.0);
    EXPECT_EQ(Num(op::kEqual, T(u"1.0"), N(1)), 0.0);
    EXPECT_EQ(Num(op::kNotEqual, T(u"abc"), T(u"ABC")), 1.0);
    EXPECT_EQ(Num(op::kEqual, B(true), T(u"True")), 0.0);
    EXPECT_EQ(Num(op::kEqual, T(u"True"), B(true)), 1.0);
    EXPECT_EQ(Num(op::kNotEqual, N(NAN), N(NAN)), 1.0);
    EXPECT_EQ(Num(op::kEqual, T(u""), Probe("none")), 1.0);
}

TEST(ExprOperatorEquality, MissingLeftAndOtherKinds) {
    EXPECT_EQ(Num(op::kEqual, Probe("a"), Probe("b")), 1.0);
    EXPECT_EQ(Num(op::kEqual, Probe("none"), B(false)), 1.0);
    EXPECT_EQ(Num(op::kEqual, Probe("none"), T(u"0")), 0.0);
    EXPECT_EQ(Num(op::kEqual, MakeItem<ExprItem_Empty>(), Probe("none")), 1.0);
    EXPECT_EQ(Num(op::kEqual, H({0x41}), T(u"0x41")), 1.0);
    EXPECT_EQ(Num(op::kEqual, D(kNoon), D(kNoon + 1)), 0.0);
    EXPECT_EQ(Num(op::kEqual, S(5), T(u"[TimeSpan:0:00:00:05]")), 1.0);
    // Same seconds, different kinds, different texts.
    EXPECT_EQ(Num(op::kEqual, S(5), D(5)), 0.0);
}

TEST(ExprOperatorLogic, TruthOfEachKind) {
    EXPECT_EQ(Num(op::kAnd, T(u"0"), N(1)), 1.0);  // a non-empty text is true
    EXPECT_EQ(Num(op::kAnd, D(kNoon), N(1)), 0.0);
    EXPECT_EQ(Num(op::kAnd, N(NAN), N(1)), 1.0);
    EXPECT_EQ(Num(op::kOr, MakeItem<ExprItem_Empty>(), T(u"")), 0.0);
    EXPECT_EQ(Num(op::kAnd, N(2), Probe("none")), 0.0);
    auto truth = Eval(op::kOr, B(true), B(false));
    EXPECT_EQ(KindOf(truth), kind::kNumber);
    EXPECT_EQ(Shown(truth), u"1");
}

TEST(ExprOperatorLogic, BothOperandsEvaluatedFirstOneFirst) {
    for (uint32_t code : {op::kAnd, op::kOr, op::kEqual, op::kQuotient}) {
        evaluated.clear();
        Eval(code, Probe("first", N(0)), Probe("second", N(1)));
        EXPECT_EQ(evaluated, (std::vector<std::string>{"first", "second"})) << code;
    }
    evaluated.clear();
    Eval(op::kOr, Probe("first", N(1)), Op(op::kSum, Probe("inner", N(1)), N(2)));
    EXPECT_EQ(evaluated, (std::vector<std::string>{"first", "inner"}));
}

TEST(ExprOperatorLogic, SecondTruthTestSkippedOnceDecided) {
    truthTests = 0;
    EXPECT_EQ(Num(op::kAnd, N(0), Probe("b", MakeItem<CountingBool>(true))), 0.0);
    EXPECT_EQ(Num(op::kOr, N(1), Probe("b", MakeItem<CountingBool>(false))), 1.0);
    EXPECT_EQ(truthTests, 0);
    EXPECT_EQ(Num(op::kAnd, N(1), Probe("b", MakeItem<CountingBool>(true))), 1.0);
    EXPECT_EQ(Num(op::kOr, N(0), Probe("b", MakeItem<CountingBool>(false))), 0.0);
    EXPECT_EQ(truthTests, 2);
}

}  // namespace
}  // namespace ovrix
