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
    void SetUp() override { ClearProgramVariables(); }
    void TearDown() override { ClearProgramVariables(); }

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
    EXPECT_EQ(frame.ScriptVariables().count(u"$x"), 1u);
    EXPECT_EQ(frame.ScriptVariables().count(u"@x"), 1u);
    EXPECT_TRUE(FindVariable(u"!x").HasCell());
    EXPECT_TRUE(FindVariable(u"#x").HasCell());
}

TEST_F(Variables, KeysAreCanonicalAndCaseSensitive) {
    Set(u"my var", Text(u"spaced"));
    EXPECT_EQ(frame.ScriptVariables().count(u"$(my var)"), 1u);
    EXPECT_EQ(TextOf(u"$(my var)"), u"spaced");
    Set(u"Count", Num(1));
    EXPECT_FALSE(Exists(u"count"));
    EXPECT_TRUE(Exists(u"Count"));
}

TEST_F(Variables, NamesWithoutAKnownPrefixReachNothing) {
    // Only canonical names are routed; a raw name has no table.
    EXPECT_EQ(VariableTableFor(u"x"), nullptr);
    EXPECT_EQ(VariableTableFor(u""), nullptr);
    StoreVariable(u"x", Num(1));
    StoreVariable(u"", Num(1));
    EXPECT_TRUE(frame.ScriptVariables().empty());
    EXPECT_FALSE(GetVariable(u"x").HasValue());
}

TEST(VariablesWithoutFrame, LocalNamesAreDroppedButProgramWideWork) {
    ClearProgramVariables();
    ASSERT_EQ(CurrentFrame(), nullptr);
    Set(u"x", Num(1));
    EXPECT_FALSE(Read(u"x").HasValue());
    EXPECT_FALSE(Exists(u"x"));
    Set(u"#g", Num(2));
    EXPECT_EQ(NumberOf(u"#g"), 2.0);
    ClearProgramVariables();
}

TEST_F(Variables, InnerFrameSeesOnlyItsOwnLocalsAndTheProgramTables) {
    Set(u"x", Num(1));
    Set(u"#g", Num(10));
    {
        VariableFrame inner;
        CurrentFrameScope innerScope(inner);
        EXPECT_EQ(CurrentFrame(), &inner);
        EXPECT_FALSE(Read(u"x").HasValue());
        EXPECT_EQ(NumberOf(u"#g"), 10.0);
        Set(u"x", Num(2));
        Set(u"#g", Num(11));
    }
    EXPECT_EQ(CurrentFrame(), &frame);
    EXPECT_EQ(NumberOf(u"x"), 1.0);
    EXPECT_EQ(NumberOf(u"#g"), 11.0);
}

TEST(VariableFrames, DyingFrameReleasesItsValues) {
    liveItems = 0;
    {
        VariableFrame f;
        CurrentFrameScope s(f);
        MakeItem<ExprItem_SetVar>(VarNode(u"c"), MakeItem<FreshValueNode>(+[] { return PExprItem::Of(new CountedItem()); }))
            ->Evaluate();
        EXPECT_EQ(liveItems, 1);
    }
    EXPECT_EQ(liveItems, 0);
    EXPECT_EQ(CurrentFrame(), nullptr);
}

// --- Reading ----------------------------------------------------------------

TEST_F(Variables, ReadingSharesTheItemButNotTheCell) {
    Set(u"t", Text(u"ab"));
    PExprItem before = Read(u"t");
    Add(u"t", Text(u"c"));  // in place: seen through the earlier result
    EXPECT_EQ(AsText(before), u"abc");
    Set(u"t", Text(u"new"));  // replaces the variable's item: the result keeps the old one
    EXPECT_EQ(AsText(before), u"abc");
    EXPECT_EQ(TextOf(u"t"), u"new");
}

TEST_F(Variables, VariableNodeNumberAndTruthFollowTheValue) {
    auto node = VarNode(u"n");
    EXPECT_EQ(node->GetNumber(), 0.0);
    EXPECT_FALSE(node->GetBool());
    Set(u"n", Text(u"12abc"));
    EXPECT_EQ(node->GetNumber(), 12.0);
    EXPECT_TRUE(node->GetBool());
}

// --- Set and Alias ----------------------------------------------------------

TEST_F(Variables, SetCopiesAVariablesValue) {
    Set(u"a", Num(1));
    Set(u"b", VarNode(u"a"));
    Add(u"a", Num(1));
    EXPECT_EQ(NumberOf(u"a"), 2.0);
    EXPECT_EQ(NumberOf(u"b"), 1.0);
}

TEST_F(Variables, SetCopiesAScriptConstant) {
    PExprItem constant = Num(5);
    Set(u"a", constant);
    Add(u"a", Num(1));
    EXPECT_EQ(constant->GetNumber(), 5.0);
    EXPECT_EQ(NumberOf(u"a"), 6.0);
}

TEST_F(Variables, SetCopiesAValueReachedThroughASharedSlot) {
    PExprItem slot = Num(1);  // the slot's cell holds the only count of the item
    Set(u"b", MakeItem<SlotNode>(slot));
    Add(u"b", Num(1));
    EXPECT_EQ(slot->GetNumber(), 1.0);
    EXPECT_FALSE(FindVariable(u"$b").SharesCellWith(slot));
}

TEST_F(Variables, SetKeepsAFreshUncopyableValueButCannotCopyItOn) {
    auto makeHandle = +[] { return MakeItem<ExprItem_Handle>(42u); };
    Set(u"h", MakeItem<FreshValueNode>(makeHandle));
    EXPECT_EQ(NumberOf(u"h"), 42.0);
    Set(u"h2", VarNode(u"h"));
    EXPECT_TRUE(Exists(u"h2"));
    EXPECT_FALSE(Read(u"h2").HasValue());
    EXPECT_EQ(NumberOf(u"h"), 42.0);
}

TEST_F(Variables, SetCopiesMembersDeeply) {
    Set(u"r.x", Num(5));
    Set(u"s", VarNode(u"r"));
    Set(u"s.x", Num(6));
    Set(u"s.y", Num(7));
    EXPECT_EQ(NumberOf(u"r.x"), 5.0);
    EXPECT_EQ(NumberOf(u"s.x"), 6.0);
    EXPECT_FALSE(Exists(u"r.y"));
}

TEST_F(Variables, AliasSharesTheItemUntilTheSourceIsSetAgain) {
    Set(u"a", Num(1));
    Alias(u"b", VarNode(u"a"));
    Add(u"a", Num(1));
    EXPECT_EQ(NumberOf(u"b"), 2.0);
    Set(u"a", Num(7));
    EXPECT_EQ(NumberOf(u"a"), 7.0);
    EXPECT_EQ(NumberOf(u"b"), 2.0);
}

TEST_F(Variables, AliasSharesMembers) {
    Set(u"r.x", Num(1));
    Alias(u"s", VarNode(u"r"));
    Set(u"s.y", Num(2));
    EXPECT_EQ(NumberOf(u"r.y"), 2.0);
}

TEST_F(Variables, AliasOfASlotSharesTheSlotsCell) {
    PExprItem slot = Num(1);
    Alias(u"b", MakeItem<SlotNode>(slot));
    EXPECT_TRUE(FindVariable(u"$b").SharesCellWith(slot));
    Set(u"b", Num(9));  // assignment replaces the item inside the shared cell
    EXPECT_EQ(slot->GetNumber(), 9.0);
}

TEST_F(Variables, SetOfNoValueKeepsTheVariableWithoutValue) {
    Set(u"a", Num(1));
    Set(u"a", VarNode(u"missing"));
    EXPECT_TRUE(Exists(u"a"));
    EXPECT_FALSE(Read(u"a").HasValue());
    Set(u"fresh", VarNode(u"missing"));
    EXPECT_TRUE(Exists(u"fresh"));
}

TEST_F(Variables, TargetThatIsNotAVariableIsIgnored) {
    EXPECT_FALSE(MakeItem<ExprItem_SetVar>(VarNode(u"z"), Num(1))->Evaluate().HasValue());
    MakeItem<ExprItem_SetVar>(Text(u"$a"), Num(1))->Evaluate();
    MakeItem<ExprItem_SetVar>(PExprItem(), Num(1))->Evaluate();
    EXPECT_EQ(frame.ScriptVariables().size(), 1u);  // only $z
    Set(u"a", Num(1));
    MakeItem<ExprItem_RemoveVar>(Text(u"$a"))->Evaluate();
    EXPECT_TRUE(Exists(u"a"));
}

// --- Members ----------------------------------------------------------------

TEST_F(Variables, MemberStoreCreatesAnEmptyBaseOnFirstUse) {
    Set(u"r.x", Num(5));
    PExprItem r = Read(u"r");
    ASSERT_TRUE(r.HasValue());
    EXPECT_EQ(r->Kind(), kind::kEmpty);
    EXPECT_EQ(NumberOf(u"r.x"), 5.0);
    EXPECT_FALSE(Read(u"r.y").HasValue());
    EXPECT_FALSE(Exists(u"r.y"));
    // An existing member is replaced in its cell, not added twice.
    Set(u"r.x", Num(6));
    EXPECT_EQ(r->Members()->members.size(), 1u);
    EXPECT_EQ(NumberOf(u"r.x"), 6.0);
}

TEST_F(Variables, MembersOfAValueWithoutMembersOrWithoutValueReadAsNothing) {
    Set(u"n", Num(1));
    EXPECT_FALSE(Read(u"n.x").HasValue());
    EXPECT_FALSE(Read(u"nothere.x").HasValue());
    // A base that holds no value takes no members.
    Set(u"v", VarNode(u"missing"));
    Set(u"v.x", Num(1));
    EXPECT_FALSE(Exists(u"v.x"));
}

TEST_F(Variables, NestedMembersAndMemberAdds) {
    Set(u"r.a", Num(0));
    Set(u"r.a.b", Text(u"deep"));
    EXPECT_EQ(TextOf(u"r.a.b"), u"deep");
    Add(u"r.a", Num(3));
    EXPECT_EQ(NumberOf(u"r.a"), 3.0);
    EXPECT_EQ(TextOf(u"r.a.b"), u"deep");
    // A missing middle member is created without a value, so nothing lands below it.
    Set(u"r.m.z", Num(1));
    EXPECT_TRUE(Exists(u"r.m"));
    EXPECT_FALSE(Exists(u"r.m.z"));
}

// --- Add ----------------------------------------------------------------------

TEST_F(Variables, AddToNumbers) {
    Set(u"n", Num(1.5));
    Add(u"n", Text(u"2"));
    EXPECT_EQ(NumberOf(u"n"), 3.5);
    Add(u"n", VarNode(u"missing"));
    EXPECT_EQ(NumberOf(u"n"), 3.5);

    Set(u"h", Num(16, numflag::kHex));
    Add(u"h", Text(u"5"));  // not a number: nothing
    EXPECT_EQ(TextOf(u"h"), u"0x10");
    Add(u"h", Num(1, numflag::kHex));
    EXPECT_EQ(TextOf(u"h"), u"0x11");
    Add(u"h", Num(1));  // a plain number takes the hex form away
    EXPECT_EQ(TextOf(u"h"), u"18");
}

TEST_F(Variables, AddToTextBoolAndHex) {
    Set(u"t", Text(u"ab"));
    Add(u"t", Num(2.5));
    EXPECT_EQ(TextOf(u"t"), u"ab2.5");
    Add(u"t", VarNode(u"t"));
    EXPECT_EQ(TextOf(u"t"), u"ab2.5ab2.5");

    Set(u"b", MakeItem<ExprItem_Bool>(false));
    Add(u"b", Num(0.4));
    EXPECT_EQ(TextOf(u"b"), u"False");
    Add(u"b", Num(2.5));
    EXPECT_EQ(TextOf(u"b"), u"True");
    Add(u"b", Num(0));
    EXPECT_EQ(TextOf(u"b"), u"True");

    Set(u"x", MakeItem<ExprItem_Hex>(std::vector<uint8_t>{0x01}));
    Add(u"x", MakeItem<ExprItem_Hex>(std::vector<uint8_t>{0xAB, 0xCD}));
    EXPECT_EQ(TextOf(u"x"), u"0x01ABCD");
    Add(u"x", VarNode(u"x"));
    EXPECT_EQ(TextOf(u"x"), u"0x01ABCD01ABCD");
    Add(u"x", Text(u"ff"));
    Add(u"x", MakeItem<ExprItem_BinData>(std::vector<uint8_t>{0xEE}));
    EXPECT_EQ(TextOf(u"x"), u"0x01ABCD01ABCD");
}

TEST_F(Variables, AddToTimesAndSpans) {
    Set(u"d", MakeItem<ExprItem_DateTime>(1000));
    Add(u"d", MakeItem<ExprItem_TimeSpan>(60));
    EXPECT_EQ(ItemAs<ExprItem_DateTime>(Read(u"d"))->seconds, 1060);
    Add(u"d", Num(2.9));  // whole days
    EXPECT_EQ(ItemAs<ExprItem_DateTime>(Read(u"d"))->seconds, 1060 + 2 * 86400);
    Add(u"d", Num(-1));
    EXPECT_EQ(ItemAs<ExprItem_DateTime>(Read(u"d"))->seconds, 1060 + 86400);

    Set(u"s", MakeItem<ExprItem_TimeSpan>(10));
    Add(u"s", MakeItem<ExprItem_TimeSpan>(-15));
    EXPECT_EQ(ItemAs<ExprItem_TimeSpan>(Read(u"s"))->seconds, -5);
    Add(u"s", Num(100));
    EXPECT_EQ(ItemAs<ExprItem_TimeSpan>(Read(u"s"))->seconds, -5);
}

TEST_F(Variables, AddLeavesOtherKindsAlone) {
    auto makeArray = +[] { return MakeItem<AnyArray>(); };
    Set(u"arr", MakeItem<FreshValueNode>(makeArray));
    PExprItem before = Read(u"arr");
    Add(u"arr", Num(1));
    PExprItem after = Read(u"arr");
    EXPECT_EQ(after.Item(), before.Item());
    EXPECT_TRUE(ItemAs<AnyArray>(after)->elements.empty());

    Set(u"e", MakeItem<ExprItem_Empty>());
    Add(u"e", Num(1));
    EXPECT_EQ(Read(u"e")->Kind(), kind::kEmpty);
}

TEST_F(Variables, AddIsSeenThroughAnAlias) {
    Set(u"t", Text(u"a"));
    Alias(u"u", VarNode(u"t"));
    Add(u"u", Text(u"b"));
    EXPECT_EQ(TextOf(u"t"), u"ab");
}

TEST_F(Variables, AddToMissingOrValuelessTargetIsSet) {
    Add(u"t", Text(u"abc"));
    EXPECT_EQ(TextOf(u"t"), u"abc");

    Set(u"a", Num(1));
    Add(u"u", VarNode(u"a"));  // copied, as Set would
    Add(u"a", Num(1));
    EXPECT_EQ(NumberOf(u"u"), 1.0);

    Set(u"v", VarNode(u"missing"));
    Add(u"v", Num(4));
    EXPECT_EQ(NumberOf(u"v"), 4.0);

    Add(u"r.x", Num(2));
    EXPECT_EQ(NumberOf(u"r.x"), 2.0);
}

// --- Remove -------------------------------------------------------------------

TEST_F(Variables, RemoveDropsOnlyTheNamedEntry) {
    Set(u"a", Num(1));
    Set(u"@a", Num(2));
    Remove(u"a");
    EXPECT_FALSE(Exists(u"a"));
    EXPECT_EQ(NumberOf(u"@a"), 2.0);
    Remove(u"a");  // missing: nothing happens
    Remove(u"never");
    EXPECT_EQ(frame.ScriptVariables().size(), 1u);
}

TEST_F(Variables, RemoveWithMemberPartsNamesNoEntry) {
    Set(u"r.x", Num(1));
    Remove(u"r.x");
    EXPECT_TRUE(Exists(u"r"));
    EXPECT_EQ(NumberOf(u"r.x"), 1.0);
}

TEST_F(Variables, RemovedVariableKeepsItsValueForOtherHolders) {
    Set(u"a", Num(1));
    Alias(u"b", VarNode(u"a"));
    Remove(u"a");
    EXPECT_EQ(NumberOf(u"b"), 1.0);
    Set(u"a", Num(5));  // a new variable, no longer shared with b
    EXPECT_EQ(NumberOf(u"b"), 1.0);
}

// --- Program-wide tables --------------------------------------------------------

TEST_F(Variables, PassClearEmptiesBangButKeepsHashAndLocals) {
    Set(u"!p", Num(1));
    Set(u"#q", Num(2));
    Set(u"l", Num(3));
    ClearPassVariables();
    EXPECT_FALSE(Exists(u"!p"));
    EXPECT_EQ(NumberOf(u"#q"), 2.0);
    EXPECT_EQ(NumberOf(u"l"), 3.0);
    Set(u"!p", Num(4));
    ClearProgramVariables();
    EXPECT_FALSE(Exists(u"!p"));
    EXPECT_FALSE(Exists(u"#q"));
    EXPECT_EQ(NumberOf(u"l"), 3.0);
}

TEST_F(Variables, ClearingReleasesTheValues) {
    liveItems = 0;
    auto make = +[] { return PExprItem::Of(new CountedItem()); };
    Set(u"!c", MakeItem<FreshValueNode>(make));
    Set(u"#c", MakeItem<FreshValueNode>(make));
    EXPECT_EQ(liveItems, 2);
    ClearPassVariables();
    EXPECT_EQ(liveItems, 1);
    ClearProgramVariables();
    EXPECT_EQ(liveItems, 0);
}

// --- Engine variables -----------------------------------------------------------

TEST(EngineVariables, LookupsAreLowerCasedAndCreatedOnlyWithACreator) {
    VariableFrame f;
    EXPECT_EQ(f.GetOrCreateLocal(u"@idx0"), nullptr);
    EXPECT_EQ(f.GetOrCreateLocal(u"@idx0"), nullptr);  // looking did not create it
    IntVar* idx = f.GetIntVar(u"@IDX0", true);
    ASSERT_NE(idx, nullptr);
    EXPECT_EQ(idx->Set(5), 5);
    EXPECT_EQ(f.GetIntVar(u"@idx0"), idx);
    EXPECT_EQ(f.GetOrCreateLocal(u"@Idx0", &CreateTimeVar), idx);  // existing one answered
    EXPECT_EQ(f.GetTimeVar(u"@idx0"), nullptr);                    // of the other kind

    TimeVar* start = f.GetTimeVar(u"@StartT0", true);
    ASSERT_NE(start, nullptr);
    start->Set(1234567890123LL);
    EXPECT_EQ(f.GetTimeVar(u"@startt0")->Get(), 1234567890123LL);
}

TEST(EngineVariables, ScriptLookupsNeverReachTheEngineTable) {
    VariableFrame f;
    CurrentFrameScope s(f);
    f.GetIntVar(u"@idx0", true)->Set(3);
    EXPECT_FALSE(Exists(u"@idx0"));
    Set(u"@idx0", Num(9));
    EXPECT_EQ(f.GetIntVar(u"@idx0")->Get(), 3);
}

TEST(EngineVariables, IntegerCountingWrapsAndSharesOneTypeKey) {
    IntVar i(-1);
    i.Increment();
    i.Increment();
    EXPECT_EQ(i.Get(), 1);
    i.Set(INT32_MIN);
    i.Decrement();
    EXPECT_EQ(i.Get(), INT32_MAX);
    // One program-wide key text shared by every integer variable.
    EXPECT_EQ(&IntVar().GetTypeKey(), &i.GetTypeKey());
}

}  // namespace
}  // namespace ovrix
