// Value kinds: text forms, numbers, truth, cloning, equality, and the
// sharing rules of value handles.
#include <gtest/gtest.h>

#include <cmath>

#include "builtins_test_support.h"
#include "container/Text.h"
#include "expr/ExprHandle.h"
#include "expr/KindsObject.h"
#include "expr/LocalTime.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"
#include "expr/VariableName.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

std::u16string Shown(const PExprItem& v) { return v->GetDisplayText(); }

// Counts live items of its class so tests can see when an item dies.
int liveCounted = 0;
class CountedItem : public ExprItem_Empty {
public:
    CountedItem() { ++liveCounted; }
    ~CountedItem() override { --liveCounted; }
};

TEST(ExprText, ShortensAfterTwentyOneCharactersAndEscapesLineBreaks) {
    const std::pair<std::u16string, std::u16string> rows[] = {
        {u"abcdefghijklmnopqrstu", u"\"abcdefghijklmnopqrstu\""},
        {u"abcdefghijklmnopqrstuv", u"\"abcdefghi...nopqrstuv\""},
        {u"12345678\r\n901234567", u"\"12345678\\r\\n901234567\""},  // 19 with a line break: 21 escaped, whole
        {u"123456789\r\n012345678", u"\"123456789...012345678\""},   // 20 become 22: shortened escaped
        {u"", u"Empty"},
    };
    for (const auto& [text, shown] : rows) EXPECT_EQ(Shown(Text(text)), shown) << ToUtf8(text);
    auto t = Text(u"a\r\nb");
    EXPECT_EQ(t->GetValueText(), u"a\r\nb");
    EXPECT_EQ(t->GetMarkedText(), u"**P[8]\"a\\r\\nb\"");
    // A text's number is its leading number; any non-empty text is true.
    for (auto [text, number] : {std::pair<const char16_t*, double>{u"  12abc", 12}, {u"-1.5e2x", -150}, {u"3e", 3},
                                {u".", 0}}) {
        EXPECT_EQ(Text(text)->GetNumber(), number) << ToUtf8(text);
    }
    EXPECT_TRUE(Text(u"0")->GetBool());
    EXPECT_FALSE(Text(u"")->GetBool());
}

TEST(ExprNumber, FormsByFlagAndEnumeration) {
    NumberEnum shows(u"TestShowState");
    shows.Add(3, u"Maximized");
    const struct { double value; uint32_t flags; const NumberEnum* names; std::u16string text; } rows[] = {
        {2.5, 0, nullptr, u"2.5"}, {-0.0000001, 0, nullptr, u"-0"}, {1e21, 0, nullptr, u"1000000000000000000000"},
        {12345, numflag::kExponent, nullptr, u"1.2345E+4"}, {0, numflag::kExponent, nullptr, u"0E+0"},
        {0.00025, numflag::kExponent, nullptr, u"2.5E-4"},
        {-1, numflag::kHex, nullptr, u"0xFFFFFFFF"}, {255.9, numflag::kHex, nullptr, u"0xFF"},
        {0x123456, numflag::kColour, nullptr, u"RGB(86,52,18)"},
        // Hex wins over colour, colour over exponent.
        {255, numflag::kHex | numflag::kColour, nullptr, u"0xFF"},
        {255, numflag::kColour | numflag::kExponent, nullptr, u"RGB(255,0,0)"},
        // A named value shows its name; others of the enumeration show as hex.
        {3.7, numflag::kHex, &shows, u"Maximized"}, {7, 0, &shows, u"0x7"},
    };
    for (const auto& r : rows) EXPECT_EQ(FormatNumber(r.value, r.flags, r.names), r.text) << r.value << "/" << r.flags;
    auto n = MakeItem<ExprItem_Num>(3.0, 0, &shows);
    EXPECT_EQ(n->GetTypeName(), u"TestShowState");
    EXPECT_EQ(n->GetMarkedText(), u"**N[9]Maximized");
}

TEST(ExprNumber, TruthAndTruncation) {
    EXPECT_TRUE(Num(std::nan(""))->GetBool());
    EXPECT_FALSE(Num(0.0)->GetBool());
    EXPECT_EQ(AsInteger(Num(-2.9)), -2);
    EXPECT_EQ(TruncateToInt64(std::nan("")), INT64_MIN);
    EXPECT_EQ(TruncateToInt64(1e300), INT64_MIN);
}

TEST(ExprScalars, BoolEmptyAndHexData) {
    EXPECT_EQ(MakeItem<ExprItem_Bool>(true)->GetNumber(), 1.0);
    auto e = MakeItem<ExprItem_Empty>();
    EXPECT_EQ(Shown(e), u"Empty");
    EXPECT_EQ(e->GetValueText(), u"");
    EXPECT_EQ(e->GetMarkedText(), u"**P[5]Empty");

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

TEST(ExprTime, DateTimeShowsLocalTimeAndSpansShowSignedFields) {
    const int64_t t = SecondsFromCivil(2024, 2, 29, 23, 5, 9);
    EXPECT_EQ(Shown(MakeItem<ExprItem_DateTime>(t)), u"2024-02-29 23:05:09");
    SetLocalTimeFunction(&OneHourEast);
    EXPECT_EQ(Shown(MakeItem<ExprItem_DateTime>(t)), u"2024-03-01 00:05:09");
    SetLocalTimeFunction(nullptr);
    EXPECT_EQ(Shown(MakeItem<ExprItem_DateTime>(-1)), u"0-00-00 -1:-1:-1");
    EXPECT_FALSE(MakeItem<ExprItem_DateTime>(t)->GetBool());
    EXPECT_EQ(SecondsFromCivil(1970, 13, 1, 0, 0, 0), SecondsFromCivil(1971, 1, 1, 0, 0, 0));

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

TEST(ExprObjects, RectIdentityKindsAndWindowOwnership) {
    EXPECT_EQ(Shown(MakeItem<ExprItem_Rect>(1, -2, 3, 4)->Clone()), u"[Rect - 1,-2,3,4]");
    auto a = MakeItem<AnyArray>();
    EXPECT_EQ(Shown(a).rfind(u"[Array:0x", 0), 0u);
    EXPECT_EQ(a->GetNumber(), ItemAs<AnyArray>(a)->Identity());
    EXPECT_FALSE(a->IsEqual(*MakeItem<AnyArray>().Item()));
    // A copy of a window handle never owns the window.
    auto w = MakeItem<ExprItem_WindowHandle>(0x1234);
    ItemAs<ExprItem_WindowHandle>(w)->ownsWindow = true;
    auto wc = w->Clone();
    EXPECT_EQ(Shown(wc), u"[WindowHandle:0x1234]");
    EXPECT_FALSE(ItemAs<ExprItem_WindowHandle>(wc)->ownsWindow);
}

TEST(ExprNames, MembersVariablesAndCanonicalNames) {
    EXPECT_EQ(MakeItem<ExprItem_Member>(u"Year")->GetMarkedText(), u"**P[4]Year");
    EXPECT_FALSE(MakeItem<ExprItem_Member>()->GetBool());
    auto v = Variable(u"x");
    EXPECT_EQ(v->GetMarkedText(), u"**B[2]$x");
    EXPECT_TRUE(v->IsEqual(*Variable(u"$x").Item()));
    EXPECT_FALSE(v->IsEqual(*Text(u"$x").Item()));
    for (auto [name, canonical] : {std::pair<const char16_t*, const char16_t*>{u"@x", u"@x"}, {u"my var", u"$(my var)"},
                                   {u"a.b.c", u"$a.b.c"}, {u"#9lives.x", u"#(9lives).x"}, {u"!(a b)", u"!(a b)"},
                                   {u"$", u""}}) {
        EXPECT_EQ(CanonicalVariableName(name), canonical) << ToUtf8(name);
    }
}

TEST(ExprEquality, KindAndExactValueText) {
    EXPECT_FALSE(Text(u"1")->IsEqual(*Num(1.0).Item()));
    EXPECT_TRUE(Num(1.0)->IsEqual(*Num(1.0000001).Item()));
    EXPECT_FALSE(Text(u"a")->IsEqual(*Text(u"A").Item()));
}

TEST(ExprHandles, AssignmentThroughAHandleIsSeenByEverySharer) {
    PExprItem a = Num(1.0);
    PExprItem b = a;
    EXPECT_EQ(a.CellShareCount(), 2);
    a.Assign(new ExprItem_Text(u"new"));
    EXPECT_EQ(AsText(b), u"new");
    EXPECT_TRUE(a.SharesCellWith(b));
    // A plain copy of a handle is not affected by assigning another cell.
    PExprItem c = Num(5.0);
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
    PExprItem v = Num(1.0);
    v->EnsureMembers().members[u"x"] = Text(u"in");
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
