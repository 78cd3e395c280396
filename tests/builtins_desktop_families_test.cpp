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

class DesktopFamilies : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFunctionRegistry(); }
};

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

TEST_F(DesktopFamilies, EnumeratedAndHexadecimalDefaults) {
    const PLX_FunArg& show = Arg(u"ShowWindow", 1);
    EXPECT_EQ(show.GetLabel(), u"ShowWindowType ShowWindowType");
    EXPECT_EQ(AsNumber(show.defaultValue), 5.0);
    EXPECT_EQ(Enumeration(show.defaultValue), FindNumberEnum(u"ShowWindowType"));
    EXPECT_EQ(Arg(u"ExecuteFile", 2).GetLabel(), u"ShowWindowType ShowWindow");
    EXPECT_EQ(Arg(u"Command", 1).GetLabel(), u"ShowWindowType ShowWindow");
    EXPECT_EQ(Arg(u"SendMessage", 1).GetLabel(), u"WindowMessage WindowMessage");
    EXPECT_EQ(Arg(u"KeyUp", 0).GetLabel(), u"VirtualKey Key");
    EXPECT_EQ(AsNumber(Arg(u"IsKeyDown", 0).defaultValue), 17.0);
    EXPECT_EQ(Arg(u"OleInvoke", 2).GetLabel(), u"DispatchFlag Flag");
    // InvokeDefaultHandler's message is a plain Number.
    EXPECT_EQ(Arg(u"InvokeDefaultHandler", 1).GetLabel(), u"Number WindowMessage");

    const PLX_FunArg& type = Arg(u"MessageBoxEx", 3);
    EXPECT_EQ(type.GetLabel(), u"Number Type");
    EXPECT_EQ(AsNumber(type.defaultValue), 0x40040);
    EXPECT_EQ(NumFlags(type.defaultValue), numflag::kHex);
    EXPECT_EQ(Arg(u"MessageBoxEx", 2).GetLabel(), u"Number Timeout(ms)");

    const PLX_FunArg& dialogStyle = Arg(u"CreateDialog", 6);
    EXPECT_EQ(dialogStyle.kind, fkind::kHexData);
    EXPECT_EQ(dialogStyle.GetLabel(), u"HexData Style");
    EXPECT_EQ(AsNumber(dialogStyle.defaultValue), 2160590848.0);  // 0x80C80000, above the signed range
    EXPECT_EQ(NumFlags(dialogStyle.defaultValue), numflag::kHex);
    EXPECT_EQ(AsNumber(Arg(u"CreateWindow", 5).defaultValue), 0xCF0000);
    EXPECT_EQ(AsNumber(Arg(u"CreateEdit", 7).defaultValue), 0x800080);
    EXPECT_FALSE(Arg(u"CreateButton", 7).defaultValue);

    // Empty defaults are the Empty value, not a missing default.
    for (int32_t i = 1; i <= 4; ++i) {
        ASSERT_TRUE(Arg(u"CreateWindow", i).defaultValue);
        EXPECT_EQ(Arg(u"CreateWindow", i).defaultValue->Kind(), kind::kEmpty);
    }
    EXPECT_EQ(Arg(u"CreateStatic", 6).defaultValue->Kind(), kind::kEmpty);
    EXPECT_FALSE(Arg(u"CreateStatic", 1).defaultValue);

    for (int32_t i = 1; i <= 3; ++i) EXPECT_EQ(NumFlags(Arg(u"SetWindowColors", i).defaultValue), numflag::kHex);
    EXPECT_EQ(AsNumber(Arg(u"SetWindowColors", 1).defaultValue), 0.0);
    EXPECT_EQ(AsNumber(Arg(u"SetWindowColors", 3).defaultValue), 0xFFFFFF);
    EXPECT_EQ(AsNumber(Arg(u"ListCtrl_InsertColumn", 4).defaultValue), -1.0);
    EXPECT_DOUBLE_EQ(AsNumber(Arg(u"FindScreenImages", 1).defaultValue), 0.95);
}

TEST_F(DesktopFamilies, FlagNameTables) {
    const PLX_FunArg& type = Arg(u"MessageBoxEx", 3);
    EXPECT_EQ(FlagName(type, 0x40), u"MB_ICONINFORMATION");
    EXPECT_EQ(FlagName(type, 0x10), u"MB_ICONERROR");
    EXPECT_EQ(FlagName(type, 0x100000), u"MB_RTLREADING");
    EXPECT_EQ(FlagName(type, 0x0), u"<none>");

    EXPECT_EQ(FlagName(Arg(u"CreateWindow", 5), 0xCF0000), u"WS_OVERLAPPEDWINDOW");
    EXPECT_EQ(FlagName(Arg(u"CreateWindow", 5), 0x0), u"WS_TILED");
    // The dialog table is the window table without the overlapped window.
    EXPECT_EQ(FlagName(Arg(u"CreateDialog", 6), 0xCF0000), u"<none>");
    EXPECT_EQ(FlagName(Arg(u"CreateDialog", 6), 0x20000000), u"WS_ICONIC");
    EXPECT_EQ(FlagName(Arg(u"CreateDialog", 6), 0x0), u"WS_TILED");

    EXPECT_EQ(FlagName(Arg(u"CreateButton", 7), 0x0), u"BS_TEXT");
    EXPECT_EQ(FlagName(Arg(u"CreateButton", 7), 0x20000), u"WS_GROUP");
    EXPECT_EQ(FlagName(Arg(u"CreateButton", 7), 0x8000), u"BS_FLAT");
    EXPECT_EQ(FlagName(Arg(u"CreateEdit", 7), 0x2000), u"ES_NUMBER");
    EXPECT_EQ(FlagName(Arg(u"CreateProgressBar", 6), 0x4), u"PBS_VERTICAL");
    EXPECT_EQ(FlagName(Arg(u"CreatePictureBox", 4), 0x800000), u"WS_BORDER");
    EXPECT_EQ(FlagName(Arg(u"CreatePictureBox", 4), 0x1), u"<none>");
    EXPECT_EQ(FlagName(Arg(u"CreateStatic", 7), 0x80), u"SS_NOPREFIX (Don't do \"&\" character translation)");
    EXPECT_EQ(Arg(u"CreateStatic", 7).kind, fkind::kNumber);

    // Only the listed Style arguments carry a table.
    EXPECT_EQ(Arg(u"CreateListCtrl", 6).flagNames, nullptr);
    EXPECT_EQ(Arg(u"CreatePictureBox", 5).flagNames, nullptr);
}

TEST_F(DesktopFamilies, MembersAndAliases) {
    const PLX_FunctionBase& get = Fn(u"<OleObject.GetProperty>");
    EXPECT_TRUE(get.IsMember());
    EXPECT_EQ(get.GetMemberName(), nullptr);
    EXPECT_TRUE(get.IsPropertyGet());
    EXPECT_EQ(Arg(u"<OleObject.GetProperty>", 1).kind, fkind::kMember);
    EXPECT_EQ(Arg(u"<OleObject.GetProperty>", 1).GetLabel(), u"Property");
    EXPECT_TRUE(Fn(u"<OleObject.SetProperty>").IsPropertySet());
    EXPECT_EQ(Arg(u"<OleObject.InvokeMethod>", 2).kind, fkind::kValueList);
    EXPECT_FALSE(Fn(u"<OleObject.InvokeMethod>").IsPropertyGet());

    const PLX_FunctionBase& set = Fn(u"<Solver.SetVariable>");
    EXPECT_TRUE(set.IsPropertySet());
    EXPECT_EQ(set.GetMemberName(), nullptr);
    EXPECT_EQ(Arg(u"<Solver.SetVariable>", 1).kind, fkind::kMember);
    EXPECT_EQ(Arg(u"<Solver.SetVariable>", 2).kind, fkind::kAny);
    EXPECT_EQ(std::u16string(Fn(u"<Solver.Solve>").GetMemberName()), u"Solve");
    EXPECT_EQ(Fn(u"<Solver.Solve>").GetReturnTypeName(), u"Array");
    EXPECT_EQ(AsText(Arg(u"<Solver.Expand>", 1).defaultValue), u"x");

    EXPECT_EQ(FindFunction(u"<OleObject>"), FindFunction(u"CreateObject"));
    EXPECT_EQ(FindFunction(u"<Solver>"), FindFunction(u"CreateSolver"));
    EXPECT_EQ(FindFunction(u"<Rect>"), FindFunction(u"CreateRect"));
    EXPECT_EQ(FindFunction(u"<Point>"), FindFunction(u"CreatePoint"));
    EXPECT_EQ(Fn(u"SetMousePosition#1").GetDisplayName(), u"SetMousePosition");
    EXPECT_EQ(Arg(u"SetMousePosition#1", 0).GetLabel(), u"Point Point");
}

TEST_F(DesktopFamilies, CallsShowTheirFilledDefaults) {
    EXPECT_EQ(LoadCall(u"MouseRelativeDrag", {})->GetDisplayText(), u"Call MouseRelativeDrag(100, 100, 10)");
    EXPECT_EQ(LoadCall(u"Beep", {Num(440)})->GetDisplayText(), u"Call Beep(440, 150)");
    EXPECT_EQ(LoadCall(u"XLS_GetCell", {Variable(u"wb")})->GetDisplayText(), u"XLS_GetCell($wb, \"Sheet1\", 1, 1)");
    EXPECT_EQ(LoadCall(u"SetMousePosition#1", {Variable(u"p")})->GetDisplayText(), u"Call SetMousePosition($p)");
    EXPECT_EQ(LoadCall(u"<Rect.PtInRect>", {Variable(u"r"), Variable(u"p")})->GetDisplayText(), u"$r.PtInRect($p)");
    EXPECT_EQ(LoadCall(u"<Rect.SetWidth>", {Variable(u"r"), Num(8)})->GetDisplayText(), u"Set $r.Width = 8");
    EXPECT_EQ(LoadCall(u"<Point.GetY>", {Variable(u"p")})->GetDisplayText(), u"$p.Y");
}

TEST_F(DesktopFamilies, RectanglesKeepTheirSizeWhenMoved) {
    const PExprItem made = Call(u"CreateRect", {Num(10), Num(20), Num(30), Num(40)});
    const ExprItem_Rect* r = AsRect(made);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->left, 10);
    EXPECT_EQ(r->top, 20);
    EXPECT_EQ(r->right, 40);
    EXPECT_EQ(r->bottom, 60);

    // The loader fills width and height with 100; the alias key makes the same value.
    const PExprItem filledValue = Call(u"<Rect>", {Num(-5), Num(2.9)});
    const ExprItem_Rect* filled = AsRect(filledValue);
    ASSERT_NE(filled, nullptr);
    EXPECT_EQ(filled->left, -5);
    EXPECT_EQ(filled->top, 2);  // truncated
    EXPECT_EQ(filled->right, 95);
    EXPECT_EQ(filled->bottom, 102);

    // Members change the value they are called on.
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetWidth>", {made})), 30.0);
    CallBare(u"<Rect.SetX>", {made, Num(100)});
    CallBare(u"<Rect.SetY>", {made, Num(-7)});
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetX>", {made})), 100.0);
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetY>", {made})), -7.0);
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetWidth>", {made})), 30.0);
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetHeight>", {made})), 40.0);
    CallBare(u"<Rect.SetWidth>", {made, Num(-4)});
    CallBare(u"<Rect.SetHeight>", {made, Num(0)});
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetX>", {made})), 100.0);
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetWidth>", {made})), -4.0);
    EXPECT_EQ(AsNumber(CallBare(u"<Rect.GetHeight>", {made})), 0.0);
    EXPECT_EQ(r->left, 100);
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
    EXPECT_TRUE(inside(-1, 2));
    EXPECT_FALSE(inside(0, 2));   // the right edge is outside
    EXPECT_FALSE(inside(-3, 3));  // and so is the bottom
    EXPECT_FALSE(inside(-6, 1));

    const PExprItem p = Call(u"<Point>", {Num(3), Num(4)});
    CallBare(u"<Point.SetX>", {p, Num(-9)});
    EXPECT_EQ(AsNumber(CallBare(u"<Point.GetX>", {p})), -9.0);
    EXPECT_EQ(AsNumber(CallBare(u"<Point.GetY>", {p})), 4.0);
    CallBare(u"<Point.SetY>", {p, Text(u"12")});
    EXPECT_EQ(AsNumber(CallBare(u"<Point.GetY>", {p})), 12.0);
}

TEST_F(DesktopFamilies, RectangleMembersRefuseOtherValues) {
    const PExprItem point = Call(u"CreatePoint", {Num(1), Num(2)});
    const PExprItem rect = Call(u"CreateRect", {Num(0), Num(0)});
    EXPECT_FALSE(CallBare(u"<Rect.GetX>", {point}));
    EXPECT_FALSE(CallBare(u"<Rect.GetWidth>", {Num(5)}));
    EXPECT_FALSE(CallBare(u"<Rect.GetHeight>", {}));
    EXPECT_FALSE(CallBare(u"<Point.GetX>", {rect}));
    EXPECT_FALSE(CallBare(u"<Rect.PtInRect>", {rect, rect}));
    EXPECT_FALSE(CallBare(u"<Rect.CenterPoint>", {Text(u"r")}));
    // A setter without a value leaves the rectangle alone.
    CallBare(u"<Rect.SetX>", {rect});
    CallBare(u"<Point.SetY>", {point});
    EXPECT_EQ(AsRect(rect)->left, 0);
    EXPECT_EQ(AsRect(rect)->right, 100);
    EXPECT_EQ(ItemAs<ExprItem_Point>(point)->y, 2);
}

}  // namespace
}  // namespace ovrix
