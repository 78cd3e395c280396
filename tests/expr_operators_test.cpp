// Operator evaluation on constant operands and nested operator trees:
// arithmetic and joining, dates and spans, comparisons, equality, the
// logical operators and their evaluation order, and unary minus.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "builtins_test_support.h"
#include "container/Text.h"
#include "expr/LocalTime.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"
#include "expr/Operators.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

PExprItem N(double v, uint32_t flags = 0) { return MakeItem<ExprItem_Num>(v, flags); }
PExprItem B(bool v) { return MakeItem<ExprItem_Bool>(v); }
PExprItem D(int64_t s) { return MakeItem<ExprItem_DateTime>(s); }
PExprItem S(int64_t s) { return MakeItem<ExprItem_TimeSpan>(s); }
PExprItem H(std::vector<uint8_t> b) { return MakeItem<ExprItem_Hex>(std::move(b)); }
PExprItem Op(uint32_t code, PExprItem a, PExprItem b = {}) {
    return MakeItem<ExprItem_Operator2>(code, std::move(a), std::move(b));
}
PExprItem Eval(uint32_t code, PExprItem a, PExprItem b = {}) { return Op(code, std::move(a), std::move(b))->Evaluate(); }
double Number(uint32_t code, PExprItem a, PExprItem b) { return AsNumber(Eval(code, std::move(a), std::move(b))); }
std::u16string Shown(const PExprItem& v) { return v ? v->GetDisplayText() : u"<none>"; }

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
PExprItem None() { return Probe("none"); }

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

// Operator, operands and the result as it shows: a text in quotes, a
// Number without, "<none>" for no value. Showing the result checks its kind
// and its display flags along with its value.
struct Row {
    uint32_t code;
    PExprItem a, b;
    std::u16string shown;
};

void CheckRows(const std::vector<Row>& rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        SCOPED_TRACE(testing::Message() << "row " << i << ": " << ToUtf8(Shown(r.a)) << " op " << r.code << " "
                                        << ToUtf8(Shown(r.b)));
        EXPECT_EQ(Shown(Eval(r.code, r.a, r.b)), r.shown);
    }
}

TEST(ExprOperator, SumJoinsTextsAndHexDataAndCarriesOnlyHex) {
    static NumberEnum colours(u"OperatorTestEnum");
    colours.Add(3, u"Three");
    CheckRows({
        {op::kSum, B(true), B(true), u"2"}, {op::kSum, N(255, numflag::kHex), N(1, numflag::kHex), u"0x100"},
        {op::kSum, N(255, numflag::kHex), N(1), u"256"},
        {op::kSum, N(1, 3), N(1, 3), u"0x2"},  // hex wins over exponent form
        {op::kSum, N(255, numflag::kColour), N(1, numflag::kColour), u"256"},
        {op::kSum, MakeItem<ExprItem_Num>(1, 0, &colours), MakeItem<ExprItem_Num>(2, 0, &colours), u"3"},
        // Text on either side joins the value texts.
        {op::kSum, Text(u"12abc"), N(1), u"\"12abc1\""}, {op::kSum, N(1), Text(u"12abc"), u"\"112abc\""},
        {op::kSum, N(255, numflag::kHex), Text(u"h"), u"\"0xFFh\""},
        {op::kSum, MakeItem<ExprItem_Empty>(), N(5), u"\"5\""},  // empty is a value but not a number
        {op::kSum, N(5), D(kNoon), u"\"52024-01-31 12:00:00\""},  // a date on the right is no date arithmetic
        {op::kSum, H({1, 2}), H({3, 4, 5}), u"0x0102030405"}, {op::kSum, H({0xAB}), Text(u"z"), u"\"0xABz\""},
        {op::kSum, None(), None(), u"<none>"},
    });
}

TEST(ExprOperator, DateAndSpanArithmetic) {
    CheckRows({
        {op::kSum, D(kNoon), S(90), u"2024-01-31 12:01:30"},
        {op::kSum, D(kNoon), N(-1.9), u"2024-01-30 12:00:00"},  // whole days, truncated
        {op::kSum, D(kNoon), Text(u"2 days"), u"2024-02-02 12:00:00"},
        {op::kSum, S(60), D(kNoon), u"2024-01-31 12:01:00"}, {op::kSum, S(60), S(-90), u"[TimeSpan:0:00:00:-30]"},
        {op::kSum, S(5), B(true), u"[TimeSpan:1:00:00:05]"}, {op::kSum, S(7), Text(u"abc"), u"[TimeSpan:0:00:00:07]"},
        {op::kDifference, D(kNoon), D(kNoon - 3600), u"[TimeSpan:0:01:00:00]"},
        {op::kDifference, D(kNoon), S(60), u"0"},  // a date-time less a span is numeric: both count as 0
    });
    // Day counts far outside any calendar wrap rather than trap.
    EXPECT_EQ(Eval(op::kSum, D(kNoon), N(1e300))->Kind(), kind::kDateTime);
}

TEST(ExprOperator, ArithmeticDivisionRemainderAndUnaryMinus) {
    CheckRows({
        {op::kQuotient, N(7), N(2), u"3.5"},
        // Division and remainder by zero give zero, also for divisors that
        // truncate to 0 in their low 32 bits.
        {op::kQuotient, N(7), Text(u"abc"), u"0"}, {op::kRemainder, N(7), None(), u"0"},
        {op::kRemainder, N(7), N(0.5), u"0"}, {op::kRemainder, N(7), N(4294967296.0), u"0"},
        {op::kRemainder, N(7), N(NAN), u"0"},
        // The remainder is unsigned 32-bit.
        {op::kRemainder, N(7), N(2.9), u"1"}, {op::kRemainder, N(-1), N(10), u"5"},
        {op::kRemainder, N(4294967297.0), N(10), u"1"},
        {op::kDifference, Text(u"10"), Text(u"3"), u"7"}, {op::kDifference, None(), N(5), u"-5"},
        {op::kPower, N(2), N(0.5), u"1.414214"},
        {op::kProduct, N(2, numflag::kHex), N(3, numflag::kHex), u"6"},  // results carry no display flags
        // Only minus yields a value with one operand.
        {op::kDifference, Text(u"12abc"), {}, u"-12"}, {op::kDifference, Op(op::kDifference, N(3)), {}, u"3"},
        {op::kDifference, None(), {}, u"-0"}, {op::kProduct, N(5), {}, u"<none>"},
    });
    EXPECT_TRUE(std::isnan(Number(op::kPower, N(-8), N(1.0 / 3))));
    // (2 * 3) - (10 / 4) ^ 2
    auto tree = Op(op::kDifference, Op(op::kProduct, N(2), N(3)), Op(op::kPower, Op(op::kQuotient, N(10), N(4)), N(2)));
    EXPECT_EQ(AsNumber(tree->Evaluate()), -0.25);
    // A second operand whose cell holds nothing also makes the node unary.
    PExprItem hollow;
    hollow.Assign(nullptr);
    EXPECT_EQ(Number(op::kDifference, N(2), hollow), -2.0);
    // A unary node other than minus still evaluates its operand, once.
    evaluated.clear();
    EXPECT_FALSE(Eval(op::kSum, Probe("only", N(5))).HasValue());
    EXPECT_EQ(evaluated, std::vector<std::string>{"only"});
    EXPECT_FALSE(ApplyOperator(12345, N(1), N(2)).HasValue());
}

TEST(ExprOperator, ComparisonsEqualityAndTruth) {
    const int64_t big = int64_t(1) << 60;
    CheckRows({
        {op::kGreater, Text(u"10"), Text(u"9"), u"1"},  // numeric, even for texts
        {op::kLessEqual, N(2), N(2), u"1"}, {op::kLess, None(), N(1), u"1"},
        {op::kLess, N(1, numflag::kHex), N(2, numflag::kHex), u"1"},
        // Second counts compare as integers, beyond what doubles tell apart.
        {op::kGreater, D(big + 1), D(big), u"1"}, {op::kLess, D(-5), D(3), u"1"},
        // A date-time against anything else counts as 0.
        {op::kGreater, D(kNoon), N(0), u"0"}, {op::kGreaterEqual, D(kNoon), S(0), u"1"},
        // Equality: the left operand's kind decides how the two compare.
        {op::kEqual, N(1), Text(u"1.0"), u"1"}, {op::kEqual, Text(u"1.0"), N(1), u"0"},
        {op::kNotEqual, Text(u"abc"), Text(u"ABC"), u"1"},
        {op::kEqual, B(true), Text(u"True"), u"0"}, {op::kEqual, Text(u"True"), B(true), u"1"},
        {op::kNotEqual, N(NAN), N(NAN), u"1"}, {op::kEqual, Text(u""), None(), u"1"},
        {op::kEqual, Probe("a"), Probe("b"), u"1"}, {op::kEqual, None(), B(false), u"1"},
        {op::kEqual, None(), Text(u"0"), u"0"},
        {op::kEqual, MakeItem<ExprItem_Empty>(), None(), u"1"},
        {op::kEqual, H({0x41}), Text(u"0x41"), u"1"}, {op::kEqual, D(kNoon), D(kNoon + 1), u"0"},
        {op::kEqual, S(5), Text(u"[TimeSpan:0:00:00:05]"), u"1"},
        {op::kEqual, S(5), D(5), u"0"},  // same seconds, different kinds, different texts
        // Truth of each kind: a non-empty text is true, a date-time false, NaN true.
        {op::kAnd, Text(u"0"), N(1), u"1"}, {op::kAnd, D(kNoon), N(1), u"0"}, {op::kAnd, N(NAN), N(1), u"1"},
        {op::kOr, MakeItem<ExprItem_Empty>(), Text(u""), u"0"}, {op::kAnd, N(2), None(), u"0"},
        {op::kOr, B(true), B(false), u"1"},
    });
    for (uint32_t code : {op::kLess, op::kGreater, op::kLessEqual, op::kGreaterEqual}) {
        EXPECT_EQ(Number(code, N(NAN), N(1)), 0.0) << code;
        EXPECT_EQ(Number(code, N(1), N(NAN)), 0.0) << code;
    }
}

TEST(ExprOperator, MissingSideAnswersTheOtherValueOnAFreshCell) {
    auto held = N(4);
    EXPECT_TRUE(Eval(op::kSum, None(), Probe("value", held)).SharesCellWith(held));
    // A constant operand is answered on a fresh cell: assigning through the
    // result must not reach into the tree. Dates and spans answered as they
    // are follow the same rule.
    for (const auto& [constant, other] : {std::pair{Text(u"k"), None()}, {D(kNoon), N(0.5)}, {S(7), Text(u"abc")}}) {
        const std::u16string before = Shown(constant);
        auto result = Op(op::kSum, constant, other)->Evaluate();
        EXPECT_EQ(result.Item(), constant.Item()) << ToUtf8(before);
        EXPECT_FALSE(result.SharesCellWith(constant));
        result.Assign(N(9).Item());
        EXPECT_EQ(Shown(constant), before);
    }
}

TEST(ExprOperator, BothOperandsEvaluatedFirstOneFirstButTruthTestedOnlyWhenNeeded) {
    for (uint32_t code : {op::kAnd, op::kOr, op::kEqual, op::kQuotient}) {
        evaluated.clear();
        Eval(code, Probe("first", N(0)), Probe("second", N(1)));
        EXPECT_EQ(evaluated, (std::vector<std::string>{"first", "second"})) << code;
    }
    evaluated.clear();
    Eval(op::kOr, Probe("first", N(1)), Op(op::kSum, Probe("inner", N(1)), N(2)));
    EXPECT_EQ(evaluated, (std::vector<std::string>{"first", "inner"}));

    truthTests = 0;
    EXPECT_EQ(Number(op::kAnd, N(0), Probe("b", MakeItem<CountingBool>(true))), 0.0);
    EXPECT_EQ(Number(op::kOr, N(1), Probe("b", MakeItem<CountingBool>(false))), 1.0);
    EXPECT_EQ(truthTests, 0);
    EXPECT_EQ(Number(op::kAnd, N(1), Probe("b", MakeItem<CountingBool>(true))), 1.0);
    EXPECT_EQ(Number(op::kOr, N(0), Probe("b", MakeItem<CountingBool>(false))), 0.0);
    EXPECT_EQ(truthTests, 2);
}

}  // namespace
}  // namespace ovrix
