// Operator trees over numbers take a path that computes without making a
// Number per result (conditions, `Set $i = $i + 1`). Whatever path a tree
// takes, its value, display flags and truth must be those the operator
// families give one operator at a time, and a Set that stores a number in
// place must keep the sharing rules of Set and Alias.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "container/Text.h"
#include "expr/ExprKinds.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"
#include "expr/Operators.h"
#include "expr/VariableFrame.h"
#include "expr/Variables.h"

namespace ovrix {
namespace {

PExprItem N(double v, uint32_t flags = 0) { return MakeItem<ExprItem_Num>(v, flags); }
PExprItem B(bool v) { return MakeItem<ExprItem_Bool>(v); }
PExprItem V(std::u16string_view name) { return MakeItem<ExprItem_Var>(name); }
PExprItem Op(uint32_t code, PExprItem a, PExprItem b = {}) {
    return MakeItem<ExprItem_Operator2>(code, std::move(a), std::move(b));
}
void Set(std::u16string_view name, PExprItem value) { MakeItem<ExprItem_SetVar>(V(name), std::move(value))->Evaluate(); }
void Alias(std::u16string_view name, PExprItem value) { MakeItem<ExprItem_Alias>(V(name), std::move(value))->Evaluate(); }
PExprItem Read(std::u16string_view name) { return V(name)->Evaluate(); }

// The tree computed one operator at a time by the families themselves.
PExprItem OneAtATime(const PExprItem& node) {
    if (!node || !IsOperatorCode(node->Kind())) return node ? node->Evaluate() : PExprItem();
    const auto& op2 = static_cast<const ExprItem_Operator2&>(*node.Item());
    const PExprItem left = OneAtATime(op2.operand1);
    if (!op2.operand2) return EvaluateOperator(node->Kind(), left, {});
    return ApplyOperator(node->Kind(), left, OneAtATime(op2.operand2));
}

bool SameNumber(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

class NumberPath : public ::testing::Test {
protected:
    void SetUp() override {
        StoreVariable(u"$i", N(7));
        StoreVariable(u"$h", N(255, numflag::kHex));
        StoreVariable(u"$e", N(1e30, numflag::kExponent));
        StoreVariable(u"$t", B(true));
        StoreVariable(u"$nan", N(std::nan("")));
    }
    VariableFrame frame;
    CurrentFrameScope scope{frame};
};

TEST_F(NumberPath, TreesOverNumbersAgreeWithTheFamiliesInValueFlagsAndTruth) {
    const std::vector<PExprItem> trees = {
        Op(op::kSum, V(u"$i"), N(1)),
        Op(op::kSum, V(u"$h"), N(1, numflag::kHex)),          // hex kept
        Op(op::kSum, V(u"$e"), N(2, numflag::kExponent)),     // exponent kept
        Op(op::kSum, V(u"$h"), V(u"$t")),                     // a Bool carries no flags
        Op(op::kSum, Op(op::kSum, V(u"$h"), N(1, numflag::kHex)), N(2, numflag::kHex)),
        Op(op::kProduct, Op(op::kSum, V(u"$i"), N(2)), Op(op::kDifference, V(u"$i"), N(1))),
        Op(op::kQuotient, V(u"$i"), N(0)),
        Op(op::kPower, V(u"$i"), N(2)),
        Op(op::kDifference, V(u"$h")),                        // unary minus
        Op(op::kLess, V(u"$i"), N(8)),
        Op(op::kLessEqual, V(u"$nan"), N(1)),
        Op(op::kEqual, V(u"$t"), N(1)),
        Op(op::kNotEqual, V(u"$nan"), V(u"$nan")),
        Op(op::kAnd, V(u"$nan"), V(u"$t")),
        Op(op::kAnd, Op(op::kLess, V(u"$i"), N(10)), N(0)),
        Op(op::kLess, Op(op::kSum, V(u"$i"), N(1)), N(9)),
    };
    for (size_t i = 0; i < trees.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "tree " << i << ": " << ToUtf8(trees[i]->GetDisplayText()));
        const PExprItem expected = OneAtATime(trees[i]);
        const auto* want = dynamic_cast<const ExprItem_Num*>(expected.Item());
        ASSERT_NE(want, nullptr);
        NumberResult got;
        ASSERT_TRUE(TryNumberOperator(*trees[i].Item(), got));
        EXPECT_TRUE(SameNumber(got.value, want->value)) << got.value << " vs " << want->value;
        EXPECT_EQ(got.flags, want->flags);
        EXPECT_EQ(EvaluateTruth(trees[i]), AsTruth(expected));
        Set(u"$r", trees[i]);
        EXPECT_EQ(Read(u"$r")->GetDisplayText(), expected->GetDisplayText());
    }
}

TEST_F(NumberPath, OtherTreesAreLeftToTheFamilies) {
    StoreVariable(u"$s", MakeItem<ExprItem_Text>(u"12"));
    const std::vector<PExprItem> trees = {
        Op(op::kSum, V(u"$s"), N(1)),                    // joins texts
        Op(op::kSum, V(u"$missing"), N(1)),              // answers the other side
        Op(op::kRemainder, N(-1), N(10)),
        Op(op::kSum, V(u"$i"), MakeItem<ExprItem_TimeSpan>(60)),
        Op(op::kLess, Op(op::kSum, V(u"$i"), V(u"$s")), N(100)),
        Op(op::kSum, N(1)),                              // unary plus has no value
    };
    for (size_t i = 0; i < trees.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "tree " << i);
        NumberResult got;
        EXPECT_FALSE(TryNumberOperator(*trees[i].Item(), got));
        const PExprItem expected = OneAtATime(trees[i]);
        EXPECT_EQ(EvaluateTruth(trees[i]), AsTruth(expected));
        Set(u"$r", trees[i]);
        const PExprItem stored = Read(u"$r");
        EXPECT_EQ(stored ? stored->GetDisplayText() : u"<none>", expected ? expected->GetDisplayText() : u"<none>");
    }
}

TEST_F(NumberPath, SetInPlaceLeavesAliasesKeptValuesAndCopiesAlone) {
    // An alias shares the item until the source is set again.
    Set(u"$a", N(1));
    Alias(u"$b", V(u"$a"));
    Set(u"$a", Op(op::kSum, V(u"$a"), N(1)));
    EXPECT_EQ(AsNumber(Read(u"$b")), 1.0);
    EXPECT_EQ(AsNumber(Read(u"$a")), 2.0);

    // A value read and kept elsewhere is not changed under its holder.
    const PExprItem kept = Read(u"$a");
    Set(u"$a", Op(op::kSum, V(u"$a"), N(1)));
    EXPECT_EQ(AsNumber(kept), 2.0);
    EXPECT_EQ(AsNumber(Read(u"$a")), 3.0);

    // A copy made by Set is a value of its own.
    Set(u"$c", V(u"$a"));
    Set(u"$a", Op(op::kProduct, V(u"$a"), N(10)));
    EXPECT_EQ(AsNumber(Read(u"$c")), 3.0);
    EXPECT_EQ(AsNumber(Read(u"$a")), 30.0);

    // A named value and a value with members become a plain Number.
    NumberEnum shows(u"NumberPathEnum");
    shows.Add(1, u"One");
    StoreVariable(u"$n", MakeItem<ExprItem_Num>(0, 0, &shows));
    Set(u"$n", Op(op::kSum, N(0), N(1)));
    EXPECT_EQ(Read(u"$n")->GetDisplayText(), u"1");
    Set(u"$m", N(5));
    Set(u"$m.part", N(1));
    Set(u"$m", Op(op::kSum, V(u"$m"), N(1)));
    EXPECT_EQ(AsNumber(Read(u"$m")), 6.0);
    EXPECT_EQ(Read(u"$m")->Members(), nullptr);
}

}  // namespace
}  // namespace ovrix
