// Variables: scope routing by prefix, frames, members, the Set/Alias/Add/
// Remove nodes with their copying and sharing rules, the program-wide
// tables' lifecycle and the engine's own integer and time variables.
#include <gtest/gtest.h>

#include "expr/ExprHandle.h"
#include "expr/KindsNode.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"
#include "expr/VariableFrame.h"
#include "expr/Variables.h"

namespace ovrix {
namespace {

PExprItem VarNode(std::u16string_view name) { return MakeItem<ExprItem_Var>(name); }
PExprItem Num(double v, uint32_t flags = 0) { return MakeItem<ExprItem_Num>(v, flags); }
PExprItem Text(std::u16string t) { return MakeItem<ExprItem_Text>(std::move(t)); }

void Set(std::u16string_view name, PExprItem value) { MakeItem<ExprItem_SetVar>(VarNode(name), std::move(value))->Evaluate(); }
void Alias(std::u16string_view name, PExprItem value) { MakeItem<ExprItem_Alias>(VarNode(name), std::move(value))->Evaluate(); }
void Add(std::u16string_view name, PExprItem value) { MakeItem<ExprItem_AddValue>(VarNode(name), std::move(value))->Evaluate(); }
void Remove(std::u16string_view name) { MakeItem<ExprItem_RemoveVar>(VarNode(name))->Evaluate(); }

PExprItem Read(std::u16string_view name) { return VarNode(name)->Evaluate(); }
double NumberOf(std::u16string_view name) { return AsNumber(Read(name)); }
std::u16string TextOf(std::u16string_view name) { return AsText(Read(name)); }
bool Exists(std::u16string_view name) {
    bool found = false;
    GetVariable(ExprItem_Var(name).Name(), &found);
    return found;
}

// A node that evaluates to a value nobody else holds, as a function result does.
class FreshValueNode : public ExprItem_Empty {
public:
    explicit FreshValueNode(PExprItem (*make)()) : make_(make) {}
    PExprItem Evaluate() override { return make_(); }

private:
    PExprItem (*make_)();
};

// A node that evaluates to a cell it keeps (as an array slot is reached).
class SlotNode : public ExprItem_Empty {
public:
    explicit SlotNode(PExprItem cell) : slot(std::move(cell)) {}
    PExprItem Evaluate() override { return slot; }
    PExprItem slot;
};

int liveItems = 0;
class CountedItem : public ExprItem_Empty {
public:
    CountedItem() { ++liveItems; }
    ~CountedItem() override { --liveItems; }
    PExprItem Clone() const override { return PExprItem::Of(new CountedItem()); }
};

class Variables : public ::testing::Test {
protected:
    VariableFrame frame;
    CurrentFrameScope scope{frame};
};

// --- Names and scopes -------------------------------------------------------

TEST_F(Variables, PrefixChoosesTableAndIsPartOfTheKey) {
    Set(u"x", Num(1));
    Set(u"@x", Num(2));
    Set(u"!x", Num(3));
    Set(u"#x", Num(4));
    EXPECT_EQ(NumberOf(u"$x"), 1.0);
    EXPECT_EQ(NumberOf(u"@x"), 2.0);
    EXPECT_EQ(NumberOf(u"!x"), 3.0);
    EXPECT_EQ(NumberOf(u"#x"), 4.0);
    // '$' and '@' live in the frame; '!' and '#' do not.
    EXPECT_EQ(frame.ScriptVariables().size(), 2u);
    EXPECT_EQ(frame.ScriptVariables().count(u"@x"), 1u);
}

TEST_F(Variables, KeysAreCanonicalAndCaseSensitiveAndRawNamesReachNothing) {
    Set(u"my var", Text(u"spaced"));
    EXPECT_EQ(frame.ScriptVariables().count(u"$(my var)"), 1u);
    Set(u"Count", Num(1));
    EXPECT_FALSE(Exists(u"count"));
    // Only canonical names are routed; a raw name has no table.
    EXPECT_EQ(VariableTableFor(u"x"), nullptr);
    StoreVariable(u"x", Num(1));
    StoreVariable(u"", Num(1));
    EXPECT_EQ(frame.ScriptVariables().size(), 2u);
}

TEST(VariablesWithoutFrame, LocalNamesAreDroppedButProgramWideWork) {
    ASSERT_EQ(CurrentFrame(), nullptr);
    Set(u"x", Num(1));
    EXPECT_FALSE(Read(u"x").HasValue());
    EXPECT_FALSE(Exists(u"x"));
    Set(u"#g", Num(2));
    EXPECT_EQ(NumberOf(u"#g"), 2.0);
}

TEST_F(Variables, InnerFrameSeesOnlyItsOwnLocalsAndTheProgramTablesAndReleasesItsValues) {
    Set(u"x", Num(1));
    Set(u"#g", Num(10));
    liveItems = 0;
    {
        VariableFrame inner;
        CurrentFrameScope innerScope(inner);
        EXPECT_EQ(CurrentFrame(), &inner);
        EXPECT_FALSE(Read(u"x").HasValue());
        EXPECT_EQ(NumberOf(u"#g"), 10.0);
        Set(u"x", Num(2));
        Set(u"#g", Num(11));
        Set(u"c", MakeItem<FreshValueNode>(+[] { return PExprItem::Of(new CountedItem()); }));
        EXPECT_EQ(liveItems, 1);
    }
    EXPECT_EQ(liveItems, 0);  // the dying frame released its values
    EXPECT_EQ(CurrentFrame(), &frame);
    EXPECT_EQ(NumberOf(u"x"), 1.0);
    EXPECT_EQ(NumberOf(u"#g"), 11.0);
}

// A node played again and again remembers where its variable lives; the
// memory must follow removals, cleared tables and frames made one after
// another at the same place.
TEST_F(Variables, ANodePlayedAgainFollowsRemovalsClearsAndOtherFrames) {
    const PExprItem x = VarNode(u"x");
    const PExprItem xPlusZero = MakeItem<ExprItem_Operator2>(op::kSum, VarNode(u"x"), Num(0));
    const PExprItem g = VarNode(u"!g");
    const PExprItem addOne = MakeItem<ExprItem_AddValue>(VarNode(u"x"), Num(1));
    const auto read = [](const PExprItem& node) { return AsNumber(node->Evaluate()); };
    Set(u"x", Num(1));
    Set(u"!g", Num(5));
    EXPECT_EQ(read(x) + read(xPlusZero) + read(g), 7.0);
    addOne->Evaluate();
    Remove(u"x");
    Set(u"x", Num(2));  // a new cell under the same name
    EXPECT_EQ(read(x), 2.0);
    EXPECT_EQ(read(xPlusZero), 2.0);
    addOne->Evaluate();
    EXPECT_EQ(read(x), 3.0);
    ClearPassVariables();
    EXPECT_FALSE(g->Evaluate().HasValue());
    Set(u"!g", Num(6));
    EXPECT_EQ(read(g), 6.0);
    for (int run = 0; run < 2; ++run) {
        VariableFrame inner;
        CurrentFrameScope innerScope(inner);
        EXPECT_FALSE(x->Evaluate().HasValue()) << run;
        addOne->Evaluate();
        EXPECT_EQ(read(xPlusZero), 1.0) << run;
    }
    EXPECT_EQ(read(x), 3.0);
    // A member name remembers its base variable's cell, not what it reaches:
    // played again it still walks to the member, for reads and stores.
    const PExprItem member = VarNode(u"r.n");
    const PExprItem setMember = MakeItem<ExprItem_SetVar>(VarNode(u"r.n"), MakeItem<ExprItem_Operator2>(op::kSum, VarNode(u"r.n"), Num(2)));
    for (int pass = 0; pass < 3; ++pass) setMember->Evaluate();
    EXPECT_EQ(read(member) + read(member), 12.0);
    EXPECT_NE(Read(u"r")->Kind(), kind::kNumber);
}

// --- Reading, Set and Alias -------------------------------------------------

TEST_F(Variables, ReadingSharesTheItemButNotTheCell) {
    Set(u"t", Text(u"ab"));
    PExprItem before = Read(u"t");
    Add(u"t", Text(u"c"));  // in place: seen through the earlier result
    EXPECT_EQ(AsText(before), u"abc");
    Set(u"t", Text(u"new"));  // replaces the variable's item: the result keeps the old one
    EXPECT_EQ(AsText(before), u"abc");
}

TEST_F(Variables, SetCopiesVariablesConstantsSlotsAndMembers) {
    Set(u"a", Num(1));
    Set(u"b", VarNode(u"a"));
    Add(u"a", Num(1));
    EXPECT_EQ(NumberOf(u"b"), 1.0);

    PExprItem constant = Num(5);
    Set(u"c", constant);
    Add(u"c", Num(1));
    EXPECT_EQ(constant->GetNumber(), 5.0);

    PExprItem slot = Num(1);  // the slot's cell holds the only count of the item
    Set(u"d", MakeItem<SlotNode>(slot));
    Add(u"d", Num(1));
    EXPECT_EQ(slot->GetNumber(), 1.0);

    Set(u"r.x", Num(5));
    Set(u"s", VarNode(u"r"));
    Set(u"s.x", Num(6));
    Set(u"s.y", Num(7));
    EXPECT_EQ(NumberOf(u"r.x"), 5.0);
    EXPECT_FALSE(Exists(u"r.y"));

    // A fresh value that cannot be copied is kept, but not copied on.
    Set(u"h", MakeItem<FreshValueNode>(+[] { return MakeItem<ExprItem_Handle>(42u); }));
    EXPECT_EQ(NumberOf(u"h"), 42.0);
    Set(u"h2", VarNode(u"h"));
    EXPECT_TRUE(Exists(u"h2"));
    EXPECT_FALSE(Read(u"h2").HasValue());
}

TEST_F(Variables, AliasSharesTheItemAndMembersUntilTheSourceIsSetAgain) {
    Set(u"a", Num(1));
    Alias(u"b", VarNode(u"a"));
    Add(u"a", Num(1));
    EXPECT_EQ(NumberOf(u"b"), 2.0);
    Add(u"b", Num(1));  // seen the other way too
    EXPECT_EQ(NumberOf(u"a"), 3.0);
    Set(u"a", Num(7));
    EXPECT_EQ(NumberOf(u"b"), 3.0);

    Set(u"r.x", Num(1));
    Alias(u"s", VarNode(u"r"));
    Set(u"s.y", Num(2));
    EXPECT_EQ(NumberOf(u"r.y"), 2.0);

    // An alias of a slot shares the slot's cell: assignment replaces the item inside it.
    PExprItem slot = Num(1);
    Alias(u"c", MakeItem<SlotNode>(slot));
    Set(u"c", Num(9));
    EXPECT_EQ(slot->GetNumber(), 9.0);
}

TEST_F(Variables, NoValueAndNoTargetSetNothing) {
    Set(u"a", Num(1));
    Set(u"a", VarNode(u"missing"));
    EXPECT_TRUE(Exists(u"a"));
    EXPECT_FALSE(Read(u"a").HasValue());
    // A base that holds no value takes no members.
    Set(u"a.x", Num(1));
    EXPECT_FALSE(Exists(u"a.x"));
    Set(u"n", Num(1));
    EXPECT_FALSE(Read(u"n.x").HasValue());

    // A target that is not a variable is ignored; the node answers no value.
    EXPECT_FALSE(MakeItem<ExprItem_SetVar>(Text(u"$z"), Num(1))->Evaluate().HasValue());
    MakeItem<ExprItem_SetVar>(PExprItem(), Num(1))->Evaluate();
    MakeItem<ExprItem_RemoveVar>(Text(u"$a"))->Evaluate();
    EXPECT_EQ(frame.ScriptVariables().size(), 2u);
}

// --- Members ----------------------------------------------------------------

TEST_F(Variables, MemberStoresAndAdds) {
    // The first member store creates an empty base.
    Set(u"r.x", Num(5));
    PExprItem r = Read(u"r");
    ASSERT_TRUE(r.HasValue());
    EXPECT_EQ(r->Kind(), kind::kEmpty);
    // An existing member is replaced in its cell, not added twice.
    Set(u"r.x", Num(6));
    EXPECT_EQ(r->Members()->members.size(), 1u);
    EXPECT_EQ(NumberOf(u"r.x"), 6.0);

    Set(u"r.a", Num(0));
    Set(u"r.a.b", Text(u"deep"));
    Add(u"r.a", Num(3));
    EXPECT_EQ(NumberOf(u"r.a"), 3.0);
    EXPECT_EQ(TextOf(u"r.a.b"), u"deep");
    // A missing middle member is created without a value, so nothing lands below it.
    Set(u"r.m.z", Num(1));
    EXPECT_TRUE(Exists(u"r.m"));
    EXPECT_FALSE(Exists(u"r.m.z"));
}

// --- Add ----------------------------------------------------------------------

TEST_F(Variables, AddToNumbersAndToMissingOrValuelessTargets) {
    Set(u"n", Num(1.5));
    Add(u"n", Text(u"2"));
    Add(u"n", VarNode(u"missing"));
    EXPECT_EQ(NumberOf(u"n"), 3.5);

    Set(u"h", Num(16, numflag::kHex));
    Add(u"h", Text(u"5"));  // not a number: nothing
    Add(u"h", Num(1, numflag::kHex));
    EXPECT_EQ(TextOf(u"h"), u"0x11");
    Add(u"h", Num(1));  // a plain number takes the hex form away
    EXPECT_EQ(TextOf(u"h"), u"18");

    // A missing or valueless target is set, copying as Set would.
    Add(u"u", VarNode(u"n"));
    Add(u"n", Num(1));
    EXPECT_EQ(NumberOf(u"u"), 3.5);
    Set(u"v", VarNode(u"missing"));
    Add(u"v", Num(4));
    EXPECT_EQ(NumberOf(u"v"), 4.0);
}

TEST_F(Variables, AddToTextBoolHexTimesAndSpansAndNotToOtherKinds) {
    Set(u"t", Text(u"ab"));
    Add(u"t", Num(2.5));
    Add(u"t", VarNode(u"t"));
    EXPECT_EQ(TextOf(u"t"), u"ab2.5ab2.5");

    Set(u"b", MakeItem<ExprItem_Bool>(false));
    Add(u"b", Num(0.4));
    EXPECT_EQ(TextOf(u"b"), u"False");
    Add(u"b", Num(2.5));
    Add(u"b", Num(0));
    EXPECT_EQ(TextOf(u"b"), u"True");

    Set(u"x", MakeItem<ExprItem_Hex>(std::vector<uint8_t>{0x01}));
    Add(u"x", MakeItem<ExprItem_Hex>(std::vector<uint8_t>{0xAB, 0xCD}));
    Add(u"x", VarNode(u"x"));
    Add(u"x", Text(u"ff"));
    Add(u"x", MakeItem<ExprItem_BinData>(std::vector<uint8_t>{0xEE}));
    EXPECT_EQ(TextOf(u"x"), u"0x01ABCD01ABCD");

    Set(u"d", MakeItem<ExprItem_DateTime>(1000));
    Add(u"d", MakeItem<ExprItem_TimeSpan>(60));
    Add(u"d", Num(2.9));  // whole days
    Add(u"d", Num(-1));
    EXPECT_EQ(ItemAs<ExprItem_DateTime>(Read(u"d"))->seconds, 1060 + 86400);

    Set(u"s", MakeItem<ExprItem_TimeSpan>(10));
    Add(u"s", MakeItem<ExprItem_TimeSpan>(-15));
    Add(u"s", Num(100));
    EXPECT_EQ(ItemAs<ExprItem_TimeSpan>(Read(u"s"))->seconds, -5);

    Set(u"arr", MakeItem<FreshValueNode>(+[] { return MakeItem<AnyArray>(); }));
    PExprItem before = Read(u"arr");
    Add(u"arr", Num(1));
    EXPECT_EQ(Read(u"arr").Item(), before.Item());
    EXPECT_TRUE(ItemAs<AnyArray>(before)->elements.empty());
}

// --- Remove -------------------------------------------------------------------

TEST_F(Variables, RemoveDropsOnlyTheNamedEntryAndLeavesOtherHolders) {
    Set(u"a", Num(1));
    Set(u"@a", Num(2));
    Alias(u"b", VarNode(u"a"));
    Remove(u"a");
    EXPECT_FALSE(Exists(u"a"));
    EXPECT_EQ(NumberOf(u"@a"), 2.0);
    Set(u"a", Num(5));  // a new variable, no longer shared with b
    EXPECT_EQ(NumberOf(u"b"), 1.0);
    Remove(u"never");  // missing: nothing happens

    // A name with member parts names no entry.
    Set(u"r.x", Num(1));
    Remove(u"r.x");
    EXPECT_EQ(NumberOf(u"r.x"), 1.0);
}

// --- Program-wide tables --------------------------------------------------------

TEST_F(Variables, PassClearEmptiesBangButKeepsHashAndLocalsAndReleasesValues) {
    liveItems = 0;
    auto make = +[] { return PExprItem::Of(new CountedItem()); };
    Set(u"!p", MakeItem<FreshValueNode>(make));
    Set(u"#q", MakeItem<FreshValueNode>(make));
    Set(u"l", Num(3));
    ClearPassVariables();
    EXPECT_FALSE(Exists(u"!p"));
    EXPECT_TRUE(Exists(u"#q"));
    EXPECT_EQ(liveItems, 1);
    ClearProgramVariables();
    EXPECT_FALSE(Exists(u"#q"));
    EXPECT_EQ(liveItems, 0);
    EXPECT_EQ(NumberOf(u"l"), 3.0);
}

// --- Engine variables -----------------------------------------------------------

TEST(EngineVariables, LookupsAreLowerCasedNeverReachedByScriptsAndCountingWraps) {
    VariableFrame f;
    CurrentFrameScope s(f);
    EXPECT_EQ(f.GetIntVar(u"@idx0"), nullptr);  // looking does not create
    IntVar* idx = f.GetIntVar(u"@IDX0", true);
    ASSERT_NE(idx, nullptr);
    idx->Set(3);
    EXPECT_EQ(f.GetOrCreateLocal(u"@Idx0", &CreateTimeVar), idx);  // existing one answered
    EXPECT_EQ(f.GetTimeVar(u"@idx0"), nullptr);                    // of the other kind

    EXPECT_FALSE(Exists(u"@idx0"));
    Set(u"@idx0", Num(9));
    EXPECT_EQ(idx->Get(), 3);

    // Counting wraps instead of overflowing.
    idx->Set(INT32_MIN);
    idx->Decrement();
    EXPECT_EQ(idx->Get(), INT32_MAX);
}

}  // namespace
}  // namespace ovrix
