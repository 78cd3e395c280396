// The desktop families' descriptors where a row is easy to get wrong (the
// defaults a loaded call fills), and the rectangles and points family.
#include <gtest/gtest.h>

#include "builtins_test_support.h"
#include "container/Text.h"
#include "expr/KindsValue.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

const ExprItem_Rect* AsRect(const PExprItem& v) { return ItemAs<ExprItem_Rect>(v); }

class DesktopFamilies : public ::testing::Test {};

// A loaded call fills the defaults the way the descriptors give them: an
// enumeration's name, a hex number above the signed range, a negative, a
// fraction, and Empty where the default is the Empty value (not missing);
// alias keys load as the function they stand for.
TEST_F(DesktopFamilies, CallsShowTheirFilledDefaults) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"Beep", u"Call Beep($v, 150)"},
        {u"XLS_GetCell", u"XLS_GetCell($v, \"Sheet1\", 1, 1)"},
        {u"ShowWindow", u"Call ShowWindow($v, Normal)"},
        {u"CreateDialog", u"CreateDialog($v, Empty, Empty, 600, 400, , 0x80C80000)"},
        {u"MessageBoxEx", u"MessageBoxEx($v, , , 0x40040)"},
        {u"ListCtrl_InsertColumn", u"Call ListCtrl_InsertColumn($v, , \"Column\", , -1)"},
        {u"FindScreenImages", u"FindScreenImages($v, 0.95, True, )"},
        {u"CreateStatic", u"CreateStatic($v, , , 100, 14, , Empty, )"},
        {u"<OleObject.GetProperty>", u"$v."},  // the property is named by the next argument
        {u"<OleObject>", u"CreateObject($v)"},
        {u"<Solver>", u"CreateSolver($v, False)"},
    };
    for (const auto& [key, text] : cases) {
        EXPECT_EQ(LoadCall(key, {Variable(u"v")})->GetDisplayText(), text) << ToUtf8(key);
    }
    EXPECT_EQ(LoadCall(u"<Rect.PtInRect>", {Variable(u"r"), Variable(u"p")})->GetDisplayText(), u"$r.PtInRect($p)");
    EXPECT_EQ(LoadCall(u"<Rect.SetWidth>", {Variable(u"r"), Num(8)})->GetDisplayText(), u"Set $r.Width = 8");
    EXPECT_EQ(LoadCall(u"<Point.GetY>", {Variable(u"p")})->GetDisplayText(), u"$p.Y");
}

TEST_F(DesktopFamilies, RectanglesKeepTheirSizeWhenMoved) {
    const PExprItem made = Call(u"CreateRect", {Num(10), Num(20), Num(30), Num(40)});
    const ExprItem_Rect* r = AsRect(made);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->right, 40);
    EXPECT_EQ(r->bottom, 60);

    // The loader fills width and height with 100; the alias key makes the same value.
    const PExprItem filledValue = Call(u"<Rect>", {Num(-5), Num(2.9)});
    const ExprItem_Rect* filled = AsRect(filledValue);
    ASSERT_NE(filled, nullptr);
    EXPECT_EQ(filled->top, 2);  // truncated
    EXPECT_EQ(filled->right, 95);
    EXPECT_EQ(filled->bottom, 102);

    // Members change the value they are called on.
    CallBare(u"<Rect.SetX>", {made, Num(100)});
    CallBare(u"<Rect.SetY>", {made, Num(-7)});
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetY>", {made})), -7.0);
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetWidth>", {made})), 30.0);
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetHeight>", {made})), 40.0);
    CallBare(u"<Rect.SetWidth>", {made, Num(-4)});
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetX>", {made})), 100.0);
    EXPECT_EQ(r->right, 96);
}

TEST_F(DesktopFamilies, CentresPointsAndContainment) {
    const PExprItem r = Call(u"CreateRect", {Num(-5), Num(0), Num(5), Num(3)});
    const PExprItem centre = CallBare(u"<Rect.CenterPoint>", {r});
    const auto* c = ItemAs<ExprItem_Point>(centre);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->x, -2);  // (-5 + 0) / 2 rounds toward zero
    EXPECT_EQ(c->y, 1);

    const auto inside = [&](double x, double y) {
        const PExprItem v = CallBare(u"<Rect.PtInRect>", {r, Call(u"CreatePoint", {Num(x), Num(y)})});
        EXPECT_TRUE(v && v->Kind() == kind::kBool);
        return AsTruth(v);
    };
    EXPECT_TRUE(inside(-5, 0));   // left and top edges are inside
    EXPECT_FALSE(inside(0, 2));   // the right edge is outside
    EXPECT_FALSE(inside(-3, 3));  // and so is the bottom

    const PExprItem p = Call(u"<Point>", {Num(3), Num(4)});
    CallBare(u"<Point.SetY>", {p, Text(u"12")});
    EXPECT_EQ(AsNumber(CallBare(u"<Point.GetY>", {p})), 12.0);
}

TEST_F(DesktopFamilies, RectangleMembersRefuseOtherValues) {
    const PExprItem point = Call(u"CreatePoint", {Num(1), Num(2)});
    const PExprItem rect = Call(u"CreateRect", {Num(0), Num(0)});
    EXPECT_FALSE(CallBare(u"<Rect.GetX>", {point}));
    EXPECT_FALSE(CallBare(u"<Rect.GetHeight>", {}));
    EXPECT_FALSE(CallBare(u"<Point.GetX>", {rect}));
    EXPECT_FALSE(CallBare(u"<Rect.PtInRect>", {rect, rect}));
    // A setter without a value leaves the rectangle alone.
    CallBare(u"<Rect.SetX>", {rect});
    EXPECT_EQ(AsRect(rect)->left, 0);
    EXPECT_EQ(AsRect(rect)->right, 100);
}

}  // namespace
}  // namespace ovrix
