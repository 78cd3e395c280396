// The desktop families' descriptors (windows, script-created windows,
// images, files, clipboard, keyboard, mouse, dialogs, system, processes,
// registry, web, OLE, calculator, database, workbooks) where a row is easy
// to get wrong, and the rectangles and points family, which is complete.
#include <gtest/gtest.h>

#include <algorithm>

#include "builtins/FamilyTable.h"
#include "builtins_test_support.h"
#include "container/Text.h"
#include "expr/KindsValue.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

const PLX_FunctionBase& Fn(std::u16string_view key) {
    const PLX_FunctionBase* f = FindFunction(key);
    if (f == nullptr) ADD_FAILURE() << "no descriptor " << ToUtf8(std::u16string(key));
    static const PLX_Function missing(u"", 0, nullptr);
    return f != nullptr ? *f : missing;
}

const PLX_FunArg& Arg(std::u16string_view key, int32_t i) {
    static const PLX_FunArg none;
    const PLX_FunArg* arg = Fn(key).GetArg(i);
    if (arg == nullptr) ADD_FAILURE() << "no argument " << i << " of " << ToUtf8(std::u16string(key));
    return arg != nullptr ? *arg : none;
}

uint32_t NumFlags(const PExprItem& v) {
    const auto* n = ItemAs<ExprItem_Num>(v);
    return n != nullptr ? n->flags : ~0u;
}

const NumberEnum* Enumeration(const PExprItem& v) {
    const auto* n = ItemAs<ExprItem_Num>(v);
    return n != nullptr ? n->enumeration : nullptr;
}

std::u16string FlagName(const PLX_FunArg& arg, int64_t value) {
    if (arg.flagNames == nullptr) return u"<no table>";
    const std::u16string* name = arg.flagNames->NameOf(value);
    return name != nullptr ? *name : u"<none>";
}

const ExprItem_Rect* AsRect(const PExprItem& v) { return ItemAs<ExprItem_Rect>(v); }

class DesktopFamilies : public ::testing::Test {};

const char16_t* const kDesktopFamilies[] = {
    u"Windows", u"Script-created windows", u"Images", u"Files",     u"Clipboard", u"Keyboard",
    u"Mouse",   u"Dialogs",                u"System", u"Processes and process memory",
    u"Registry", u"Web",                   u"OLE objects", u"Calculator and solver", u"Database", u"Workbooks",
};

// Every row of these families is registered whole (a refused argument would
// silently shorten a descriptor); all but the rectangles are still missing
// their implementations and answer no value.
TEST_F(DesktopFamilies, FamiliesAreCompleteAndTheirMissingImplementationsAreVisible) {
    int32_t families = 0;
    for (const FamilySpec& family : Catalogue()) {
        const std::u16string name = family.name;
        const bool rectangles = name == u"Rectangles and points";
        const bool desktop = std::find(std::begin(kDesktopFamilies), std::end(kDesktopFamilies), name) !=
                             std::end(kDesktopFamilies);
        if (!rectangles && !desktop) continue;
        ++families;
        EXPECT_EQ(static_cast<int32_t>(family.functions.size()), family.total) << ToUtf8(name);
        for (const FunctionSpec& spec : family.functions) {
            const PLX_FunctionBase* f = FindFunction(spec.key);
            ASSERT_NE(f, nullptr) << ToUtf8(spec.key);
            EXPECT_EQ(f->GetArgCount(), static_cast<int32_t>(spec.args.size())) << ToUtf8(spec.key);
            if (rectangles) {
                EXPECT_NE(spec.impl, nullptr) << ToUtf8(spec.key);
            }
            for (int32_t i = 0; i < f->GetArgCount(); ++i) EXPECT_EQ(f->GetArg(i)->flags, 0u) << ToUtf8(spec.key);
        }
    }
    EXPECT_EQ(families, 17);
    // A missing implementation evaluates to no value.
    EXPECT_FALSE(Call(u"GetForegroundWindow", {}));
    EXPECT_FALSE(Call(u"GetCurrentDirectory", {}));
}

TEST_F(DesktopFamilies, DefaultsKeepTheirEnumerationHexFormAndEmptiness) {
    const PLX_FunArg& show = Arg(u"ShowWindow", 1);
    EXPECT_EQ(show.GetLabel(), u"ShowWindowType ShowWindowType");
    EXPECT_EQ(AsNumber(show.defaultValue), 5.0);
    EXPECT_EQ(Enumeration(show.defaultValue), FindNumberEnum(u"ShowWindowType"));
    // InvokeDefaultHandler's message is a plain Number.
    EXPECT_EQ(Arg(u"InvokeDefaultHandler", 1).GetLabel(), u"Number WindowMessage");

    const PLX_FunArg& dialogStyle = Arg(u"CreateDialog", 6);
    EXPECT_EQ(dialogStyle.GetLabel(), u"HexData Style");
    EXPECT_EQ(AsNumber(dialogStyle.defaultValue), 2160590848.0);  // 0x80C80000, above the signed range
    EXPECT_EQ(NumFlags(dialogStyle.defaultValue), numflag::kHex);
    EXPECT_EQ(NumFlags(Arg(u"MessageBoxEx", 3).defaultValue), numflag::kHex);
    EXPECT_EQ(AsNumber(Arg(u"ListCtrl_InsertColumn", 4).defaultValue), -1.0);
    EXPECT_DOUBLE_EQ(AsNumber(Arg(u"FindScreenImages", 1).defaultValue), 0.95);

    // Empty defaults are the Empty value, not a missing default.
    ASSERT_TRUE(Arg(u"CreateStatic", 6).defaultValue);
    EXPECT_EQ(Arg(u"CreateStatic", 6).defaultValue->Kind(), kind::kEmpty);
    EXPECT_FALSE(Arg(u"CreateStatic", 1).defaultValue);
}

TEST_F(DesktopFamilies, FlagNameTablesAndAliases) {
    EXPECT_EQ(FlagName(Arg(u"MessageBoxEx", 3), 0x0), u"<none>");
    // The dialog table is the window table without the overlapped window.
    EXPECT_EQ(FlagName(Arg(u"CreateWindow", 5), 0xCF0000), u"WS_OVERLAPPEDWINDOW");
    EXPECT_EQ(FlagName(Arg(u"CreateDialog", 6), 0xCF0000), u"<none>");
    EXPECT_EQ(FlagName(Arg(u"CreateDialog", 6), 0x0), u"WS_TILED");
    // Only the listed Style arguments carry a table.
    EXPECT_EQ(Arg(u"CreateListCtrl", 6).flagNames, nullptr);

    EXPECT_EQ(Fn(u"<OleObject.GetProperty>").GetMemberName(), nullptr);
    EXPECT_EQ(FindFunction(u"<OleObject>"), FindFunction(u"CreateObject"));
    EXPECT_EQ(FindFunction(u"<Solver>"), FindFunction(u"CreateSolver"));
    EXPECT_EQ(FindFunction(u"<Point>"), FindFunction(u"CreatePoint"));
    EXPECT_EQ(Fn(u"SetMousePosition#1").GetDisplayName(), u"SetMousePosition");
}

TEST_F(DesktopFamilies, CallsShowTheirFilledDefaults) {
    EXPECT_EQ(LoadCall(u"Beep", {Num(440)})->GetDisplayText(), u"Call Beep(440, 150)");
    EXPECT_EQ(LoadCall(u"XLS_GetCell", {Variable(u"wb")})->GetDisplayText(), u"XLS_GetCell($wb, \"Sheet1\", 1, 1)");
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
