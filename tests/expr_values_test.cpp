// Value kinds: text forms, numbers, truth, cloning, equality, and the
// sharing rules of value handles.
#include <gtest/gtest.h>

#include <cmath>

#include "expr/ExprHandle.h"
#include "expr/KindsNode.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "expr/LocalTime.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"
#include "expr/VariableName.h"

namespace ovrix {
namespace {

std::u16string Shown(const PExprItem& v) { return v->GetDisplayText(); }

// Counts live items of its class so tests can see when an item dies.
int liveCounted = 0;
class CountedItem : public ExprItem_Empty {
public:
    CountedItem() { ++liveCounted; }
    ~CountedItem() override { --liveCounted; }
};

TEST(ExprText, ShortensAfterTwentyOneCharactersAndEscapesLineBreaks) {
    EXPECT_EQ(Shown(MakeItem<ExprItem_Text>(u"abcdefghijklmnopqrstu")), u"\"abcdefghijklmnopqrstu\"");
    EXPECT_EQ(Shown(MakeItem<ExprItem_Text>(u"abcdefghijklmnopqrstuv")), u"\"abcdefghi...nopqrstuv\"");
    // 19 characters with a line break become 21 escaped ones: still whole.
    EXPECT_EQ(Shown(MakeItem<ExprItem_Text>(u"12345678\r\n901234567")), u"\"12345678\\r\\n901234567\"");
    // 20 with a line break become 22: shortened in the escaped form.
    EXPECT_EQ(Shown(MakeItem<ExprItem_Text>(u"123456789\r\n012345678")), u"\"123456789...012345678\"");
    EXPECT_EQ(Shown(MakeItem<ExprItem_Text>(u"")), u"Empty");
}

TEST(ExprText, ValueNumberTruthAndMarker) {
    auto t = MakeItem<ExprItem_Text>(u"a\r\nb");
    EXPECT_EQ(t->GetValueText(), u"a\r\nb");
    EXPECT_EQ(t->GetMarkedText(), u"**P[8]\"a\\r\\nb\"");
    EXPECT_EQ(MakeItem<ExprItem_Text>(u"  12abc")->GetNumber(), 12.0);
    EXPECT_EQ(MakeItem<ExprItem_Text>(u"-1.5e2x")->GetNumber(), -150.0);
    EXPECT_EQ(MakeItem<ExprItem_Text>(u"3e")->GetNumber(), 3.0);
    EXPECT_EQ(MakeItem<ExprItem_Text>(u".")->GetNumber(), 0.0);
    EXPECT_TRUE(MakeItem<ExprItem_Text>(u"0")->GetBool());
    EXPECT_FALSE(MakeItem<ExprItem_Text>(u"")->GetBool());
}

TEST(ExprNumber, PlainAndExponentForms) {
    EXPECT_EQ(FormatNumber(2.5, 0, nullptr), u"2.5");
    EXPECT_EQ(FormatNumber(-0.0000001, 0, nullptr), u"-0");
    EXPECT_EQ(FormatNumber(1e21, 0, nullptr), u"1000000000000000000000");
    EXPECT_EQ(FormatNumber(12345, numflag::kExponent, nullptr), u"1.2345E+4");
    EXPECT_EQ(FormatNumber(0, numflag::kExponent, nullptr), u"0E+0");
    EXPECT_EQ(FormatNumber(0.00025, numflag::kExponent, nullptr), u"2.5E-4");
}

TEST(ExprNumber, HexColourAndEnumerationForms) {
    EXPECT_EQ(FormatNumber(-1, numflag::kHex, nullptr), u"0xFFFFFFFF");
    EXPECT_EQ(FormatNumber(255.9, numflag::kHex, nullptr), u"0xFF");
    EXPECT_EQ(FormatNumber(0x123456, numflag::kColour, nullptr), u"RGB(86,52,18)");
    // Hex wins over colour, colour over exponent.
    EXPECT_EQ(FormatNumber(255, numflag::kHex | numflag::kColour, nullptr), u"0xFF");
    EXPECT_EQ(FormatNumber(255, numflag::kColour | numflag::kExponent, nullptr), u"RGB(255,0,0)");

    NumberEnum shows(u"TestShowState");
    shows.Add(3, u"Maximized");
    EXPECT_EQ(FormatNumber(3.7, numflag::kHex, &shows), u"Maximized");
    EXPECT_EQ(FormatNumber(7, 0, &shows), u"0x7");
    auto n = MakeItem<ExprItem_Num>(3.0, 0, &shows);
    EXPECT_EQ(n->GetTypeName(), u"TestShowState");
    EXPECT_EQ(n->GetMarkedText(), u"**N[9]Maximized");
}

TEST(ExprNumber, TruthAndTruncation) {
    EXPECT_TRUE(MakeItem<ExprItem_Num>(std::nan(""))->GetBool());
    EXPECT_FALSE(MakeItem<ExprItem_Num>(0.0)->GetBool());
    EXPECT_EQ(AsInteger(MakeItem<ExprItem_Num>(-2.9)), -2);
    EXPECT_EQ(TruncateToInt64(std::nan("")), INT64_MIN);
    EXPECT_EQ(TruncateToInt64(1e300), INT64_MIN);
}

TEST(ExprBoolEmpty, TextsNumbersAndTruth) {
    EXPECT_EQ(MakeItem<ExprItem_Bool>(true)->GetNumber(), 1.0);
    auto e = MakeItem<ExprItem_Empty>();
    EXPECT_EQ(Shown(e), u"Empty");
    EXPECT_EQ(e->GetValueText(), u"");
    EXPECT_EQ(e->GetMarkedText(), u"**P[5]Empty");
}

TEST(ExprHexData, DigitsShorteningNumberAndTruth) {
    auto none = MakeItem<ExprItem_Hex>();
    EXPECT_EQ(Shown(none), u"Empty");
    EXPECT_EQ(none->GetValueText(), u"0x");
    EXPECT_FALSE(none->GetBool());
    std::vector<uint8_t> sixteen(16, 0xAB), seventeen(17, 0xAB);
    EXPECT_EQ(Shown(MakeItem<ExprItem_Hex>(sixteen)), u"0xABABABABABABABABABABABABABABABAB");
    EXPECT_EQ(Shown(MakeItem<ExprItem_Hex>(seventeen)), u"0xABABABABABABABABABABABABABABABAB...");
    EXPECT_EQ(MakeItem<ExprItem_Hex>(seventeen)->GetValueText().size(), 2u + 34u);
    EXPECT_EQ(MakeItem<ExprItem_Hex>(std::vector<uint8_t>{1, 2, 3, 4, 5})->GetNumber(), 0x04030201);
    EXPECT_EQ(Shown(MakeItem<ExprItem_BinData>(std::vector<uint8_t>{1})).rfind(u"[HexData:0x", 0), 0u);
}

// A conversion that shifts UTC by one hour, as a time zone would.
bool OneHourEast(int64_t seconds, CivilTime& out) { return UtcCivilTime(seconds + 3600, out); }

TEST(ExprTime, DateTimeShowsLocalTime) {
    const int64_t t = SecondsFromCivil(2024, 2, 29, 23, 5, 9);
    EXPECT_EQ(Shown(MakeItem<ExprItem_DateTime>(t)), u"2024-02-29 23:05:09");
    SetLocalTimeFunction(&OneHourEast);
    EXPECT_EQ(Shown(MakeItem<ExprItem_DateTime>(t)), u"2024-03-01 00:05:09");
    SetLocalTimeFunction(nullptr);
    EXPECT_EQ(Shown(MakeItem<ExprItem_DateTime>(-1)), u"0-00-00 -1:-1:-1");
    EXPECT_FALSE(MakeItem<ExprItem_DateTime>(t)->GetBool());
    EXPECT_EQ(SecondsFromCivil(1970, 13, 1, 0, 0, 0), SecondsFromCivil(1971, 1, 1, 0, 0, 0));
}

TEST(ExprTime, TimeSpanFields) {
    EXPECT_EQ(Shown(MakeItem<ExprItem_TimeSpan>(90061)), u"[TimeSpan:1:01:01:01]");
    EXPECT_EQ(Shown(MakeItem<ExprItem_TimeSpan>(-90061)), u"[TimeSpan:-1:-1:-1:-1]");
    EXPECT_EQ(MakeItem<ExprItem_TimeSpan>(59)->GetNumber(), 0.0);
}

int closedHandle = 0;
void CloseTestHandle(uint32_t value) { closedHandle = static_cast<int>(value); }

TEST(ExprObjects, HandleClosesWithItsLastHolderAndHasNoClone) {
    closedHandle = 0;
    {
        auto h = MakeItem<ExprItem_Handle>(0xBEEF, &CloseTestHandle);
        EXPECT_EQ(Shown(h), u"[0xBEEF]");
        EXPECT_EQ(h->GetNumber(), 0xBEEF);
        EXPECT_FALSE(h->Clone());
        PExprItem other = h;
        h.Reset();
        EXPECT_EQ(closedHandle, 0);
    }
    EXPECT_EQ(closedHandle, 0xBEEF);
}

TEST(ExprObjects, RectPointAndIdentityKinds) {
    auto r = MakeItem<ExprItem_Rect>(1, -2, 3, 4);
    EXPECT_EQ(Shown(r->Clone()), u"[Rect - 1,-2,3,4]");

    auto a = MakeItem<AnyArray>();
    EXPECT_EQ(Shown(a).rfind(u"[Array:0x", 0), 0u);
    EXPECT_EQ(a->GetNumber(), ItemAs<AnyArray>(a)->Identity());
    EXPECT_FALSE(a->IsEqual(*MakeItem<AnyArray>().Item()));
    EXPECT_FALSE(MakeItem<ExprItem_Workbook>()->Clone());
    EXPECT_FALSE(MakeItem<ExprItem_Solver>()->GetBool());

    auto w = MakeItem<ExprItem_WindowHandle>(0x1234);
    ItemAs<ExprItem_WindowHandle>(w)->ownsWindow = true;
    auto wc = w->Clone();
    EXPECT_EQ(Shown(wc), u"[WindowHandle:0x1234]");
    EXPECT_FALSE(ItemAs<ExprItem_WindowHandle>(wc)->ownsWindow);
}

TEST(ExprObjects, NamedDataWalksInItsOrder) {
    auto nd = MakeItem<ExprItem_NamedData>();
    ItemAs<ExprItem_NamedData>(nd)->Set(u"b", MakeItem<ExprItem_Num>(1.0));
    ItemAs<ExprItem_NamedData>(nd)->Set(u"a", MakeItem<ExprItem_Num>(2.0));
    std::vector<double> seen;
    const auto record = [](ExprItem* item, void* context) {
        static_cast<std::vector<double>*>(context)->push_back(item->GetNumber());
        return true;
    };
    nd->Walk(record, &seen);
    ASSERT_EQ(seen.size(), 3u);  // the named data itself, then its entries
    EXPECT_EQ(seen[1], 1.0);
    EXPECT_EQ(seen[2], 2.0);
}

TEST(ExprNames, MemberAndVariable) {
    EXPECT_EQ(MakeItem<ExprItem_Member>(u"Year")->GetMarkedText(), u"**P[4]Year");
    EXPECT_FALSE(MakeItem<ExprItem_Member>()->GetBool());

    auto v = MakeItem<ExprItem_Var>(u"x");
    EXPECT_EQ(v->GetMarkedText(), u"**B[2]$x");
    EXPECT_TRUE(v->IsEqual(*MakeItem<ExprItem_Var>(u"$x").Item()));
    EXPECT_FALSE(v->IsEqual(*MakeItem<ExprItem_Text>(u"$x").Item()));
}

TEST(ExprNames, CanonicalVariableNames) {
    EXPECT_EQ(CanonicalVariableName(u"@x"), u"@x");
    EXPECT_EQ(CanonicalVariableName(u"my var"), u"$(my var)");
    EXPECT_EQ(CanonicalVariableName(u"a.b.c"), u"$a.b.c");
    EXPECT_EQ(CanonicalVariableName(u"#9lives.x"), u"#(9lives).x");
    EXPECT_EQ(CanonicalVariableName(u"!(a b)"), u"!(a b)");
    EXPECT_EQ(CanonicalVariableName(u"$"), u"");
}

TEST(ExprEquality, KindAndExactValueText) {
    EXPECT_FALSE(MakeItem<ExprItem_Text>(u"1")->IsEqual(*MakeItem<ExprItem_Num>(1.0).Item()));
    EXPECT_TRUE(MakeItem<ExprItem_Num>(1.0)->IsEqual(*MakeItem<ExprItem_Num>(1.0000001).Item()));
    EXPECT_FALSE(MakeItem<ExprItem_Text>(u"a")->IsEqual(*MakeItem<ExprItem_Text>(u"A").Item()));
}

TEST(ExprHandles, AssignmentThroughAHandleIsSeenByEverySharer) {
    PExprItem a = MakeItem<ExprItem_Num>(1.0);
    PExprItem b = a;
    EXPECT_EQ(a.CellShareCount(), 2);
    a.Assign(new ExprItem_Text(u"new"));
    EXPECT_EQ(AsText(b), u"new");
    EXPECT_TRUE(a.SharesCellWith(b));
    // A plain copy of a handle is not affected by assigning another cell.
    PExprItem c = MakeItem<ExprItem_Num>(5.0);
    c = a;
    EXPECT_EQ(AsText(c), u"new");
}

TEST(ExprHandles, SelfAssignmentIsHarmlessAndItemsDieWithTheirLastHolder) {
    liveCounted = 0;
    {
        PExprItem a = MakeItem<CountedItem>();
        a.Assign(a.Item());
        EXPECT_EQ(liveCounted, 1);
        EXPECT_EQ(a->RefCount(), 1);
        PExprItem again = a->Evaluate();  // a second cell on the same item
        EXPECT_TRUE(a.IsItemShared());
        a.Assign(nullptr);
        EXPECT_EQ(liveCounted, 1);
        EXPECT_TRUE(a.HasCell());
        EXPECT_FALSE(a.HasValue());
        again.Reset();
        EXPECT_EQ(liveCounted, 0);
    }
    PExprItem none;
    none.Assign(nullptr);
    EXPECT_TRUE(none.HasCell());
    EXPECT_FALSE(none);
    EXPECT_EQ(AsText(none), u"");
    EXPECT_FALSE(AsTruth(PExprItem()));
}

TEST(ExprHandles, DeepCopyClonesMembersButCloneDoesNot) {
    PExprItem v = MakeItem<ExprItem_Num>(1.0);
    v->EnsureMembers().members[u"x"] = MakeItem<ExprItem_Text>(u"in");
    EXPECT_FALSE(v.IsItemShared());
    PExprItem deep = v.DeepCopy();
    ASSERT_NE(deep->Members(), nullptr);
    PExprItem& member = deep->Members()->members[u"x"];
    EXPECT_EQ(AsText(member), u"in");
    EXPECT_FALSE(member.SharesCellWith(v->Members()->members[u"x"]));
    EXPECT_EQ(v->Clone()->Members(), nullptr);
    // A value that is its own member copies without endless recursion.
    v->Members()->members[u"self"] = v;
    PExprItem selfCopy = v.DeepCopy();
    EXPECT_NE(selfCopy->Members(), nullptr);
    v->Members()->members.erase(u"self");
}

}  // namespace
}  // namespace ovrix
