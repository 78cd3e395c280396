// Automation objects and workbooks on the simulated desktop: a played script
// makes a keyed store and calls it in every member form; values of each
// kind go into an object and come back out; objects handed out by calls
// are the same objects and are released with their last value; the
// workbook functions run against the simulated spreadsheet application.
#include <gtest/gtest.h>

#include <set>

#include "ScriptTestSupport.h"
#include "SimFixture.h"
#include "builtins_test_support.h"
#include "engine/Playback.h"
#include "expr/KindsObject.h"
#include "expr/Variables.h"
#include "platform/sim/SimSpreadsheet.h"
#include "shell/PlayerBuiltinHost.h"

namespace ovrix {
namespace {

using namespace testing_builtins;
using Lines = std::vector<std::string>;

PExprItem Member(std::u16string name) { return MakeItem<ExprItem_Member>(std::move(name)); }
PExprItem Bool(bool v) { return MakeItem<ExprItem_Bool>(v); }
PExprItem ArrayOf(std::vector<PExprItem> values) {
    auto array = MakeItem<AnyArray>();
    for (auto& v : values) ItemAs<AnyArray>(array)->Push(v);
    return array;
}
std::vector<std::u16string> Texts(const PExprItem& array) {
    std::vector<std::u16string> out;
    if (const auto* a = ItemAs<AnyArray>(array)) {
        for (const PExprItem& e : a->elements) out.push_back(AsText(e));
    }
    return out;
}
// obj.Member(args...), obj.Member and OleInvoke(obj, member, flag, args).
PExprItem Method(PExprItem object, std::u16string member, std::vector<PExprItem> args = {}) {
    return CallNode(u"<OleObject.InvokeMethod>", {std::move(object), Member(std::move(member)), ListOf(std::move(args))});
}
PExprItem Property(PExprItem object, std::u16string member) {
    return CallNode(u"<OleObject.GetProperty>", {std::move(object), Member(std::move(member))});
}
PExprItem Invoke(PExprItem object, std::u16string member, double flag, std::vector<PExprItem> args = {}) {
    return CallNode(u"OleInvoke", {std::move(object), Text(std::move(member)), Num(flag), ListOf(std::move(args))});
}
PExprItem Global(std::u16string_view name) { return GetVariable(CanonicalVariableName(name)); }

struct AutomationPlay : ::testing::Test {
    void Play(std::vector<Ref<Event>> steps) {
        f.sim.automation.RegisterDictionary();
        f.PlaySteps(std::move(steps), true);
    }
    void TearDown() override { EndPlayback(f.player); }

    SimFixture f;
    PlayerBuiltinHost host{f.player};
};

TEST_F(AutomationPlay, ScriptMakesAnObjectAndCallsItsMembersInEveryForm) {
    using scripttest::Set, scripttest::Var;
    const PExprItem d = Var(u"#d");
    Play({Set(u"#d", LoadCall(u"CreateObject", {Text(u"Scripting.Dictionary")})),
          Set(u"#first", Method(d, u"Add", {Text(u"a"), Num(1)})),
          Set(u"#again", Method(d, u"Add", {Text(u"a"), Num(2)})),
          Set(u"#put", Invoke(d, u"Item", 4, {Text(u"b"), Bool(true)})),
          Set(u"#count", Property(d, u"Count")),
          Set(u"#a", Method(d, u"Item", {Text(u"a")})),
          Set(u"#keys", Method(d, u"Keys")),
          Set(u"#exists", Invoke(d, u"Exists", 1, {Text(u"zz")})),
          Set(u"#nope", Property(d, u"Nope"))});

    const std::string dictionary = "ole call \"Scripting.Dictionary\" ";
    EXPECT_EQ(f.Events("ole"),
              (Lines{"ole create \"Scripting.Dictionary\"", dictionary + "\"Add\"", dictionary + "\"Add\"",
                     dictionary + "\"Item\"", dictionary + "\"Count\"", dictionary + "\"Item\"",
                     dictionary + "\"Keys\"", dictionary + "\"Exists\"", dictionary + "\"Nope\""}));
    EXPECT_EQ(Global(u"#d")->GetDisplayText().rfind(u"[OleObject - IDictionary: 0x", 0), 0u);
    EXPECT_EQ(Global(u"#first")->Kind(), kind::kEmpty);
    EXPECT_FALSE(Global(u"#again"));  // the key is taken: the store refuses
    EXPECT_EQ(Global(u"#count")->Kind(), kind::kNumber);
    EXPECT_EQ(AsNumber(Global(u"#count")), 2);
    EXPECT_EQ(AsNumber(Global(u"#a")), 1);
    EXPECT_EQ(Texts(Global(u"#keys")), (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(Global(u"#exists")->Kind(), kind::kBool);
    EXPECT_FALSE(AsTruth(Global(u"#exists")));
    EXPECT_FALSE(Global(u"#nope"));
}

class AutomationValues : public ::testing::Test {
protected:
    void SetUp() override { host.sim.automation.RegisterDictionary(); }
    PExprItem Store() { return CallBare(u"CreateObject", {Text(u"Scripting.Dictionary")}); }
    FakeBuiltinHost host;
};

// Each value goes into the store and is read back: the kinds an object
// knows come back as they went; handles go as numbers and the kinds it
// does not know as their text.
TEST_F(AutomationValues, ValuesComeBackAsTheyWentOrAsTheirNearestKind) {
    const PExprItem store = Store();
    const PExprItem other = Store();
    const PExprItem date = MakeItem<ExprItem_DateTime>(1767225661);
    struct Case {
        PExprItem in;
        uint32_t kind;
        std::u16string text;
    };
    const Case cases[] = {
        {Num(2.5), kind::kNumber, u"2.5"},
        {Num(-3e12), kind::kNumber, u"-3000000000000"},
        {Text(u"x\u00e9y"), kind::kText, u"x\u00e9y"},
        {Bool(true), kind::kBool, u"True"},
        {date, kind::kDateTime, date->GetValueText()},
        {MakeItem<ExprItem_Empty>(), kind::kEmpty, u""},
        {PExprItem(), kind::kEmpty, u""},
        {MakeItem<ExprItem_Handle>(7), kind::kNumber, u"7"},
        {MakeItem<ExprItem_WindowHandle>(0x20), kind::kNumber, u"32"},
        {MakeItem<ExprItem_TimeSpan>(90061), kind::kText, u"[TimeSpan:1:01:01:01]"},
        {other, kind::kOleObject, other->GetDisplayText()},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        CallBare(u"OleInvoke", {store, Text(u"Item"), Num(4), ListOf({Num(double(i)), cases[i].in})});
        const PExprItem out = CallBare(u"OleInvoke", {store, Text(u"Item"), Num(2), ListOf({Num(double(i))})});
        ASSERT_TRUE(out) << i;
        EXPECT_EQ(out->Kind(), cases[i].kind) << i;
        EXPECT_EQ(out->GetValueText(), cases[i].text) << i;
    }
    // Arrays go element by element, nested ones too; an array that holds
    // itself stops going deeper.
    const PExprItem nested = ArrayOf({Num(1), ArrayOf({Text(u"two"), Bool(false)}), PExprItem()});
    ItemAs<AnyArray>(nested)->Push(nested);
    CallBare(u"OleInvoke", {store, Text(u"Item"), Num(4), ListOf({Text(u"list"), nested})});
    const PExprItem back = CallBare(u"<OleObject.InvokeMethod>", {store, Member(u"Item"), ListOf({Text(u"list")})});
    ASSERT_EQ(Texts(back).size(), 4u);
    EXPECT_EQ(Texts(back)[0], u"1");
    EXPECT_EQ(Texts(ItemAs<AnyArray>(back)->Get(1)), (std::vector<std::u16string>{u"two", u"False"}));
    EXPECT_EQ(ItemAs<AnyArray>(back)->Get(2)->Kind(), kind::kEmpty);
    PExprItem deepest = back;
    int depth = 0;
    while (const auto* a = ItemAs<AnyArray>(deepest)) {
        deepest = a->Get(3);
        ++depth;
    }
    EXPECT_GT(depth, 8);
    EXPECT_LT(depth, 64);
    ItemAs<AnyArray>(nested)->Clear();
}

// An object handed out by a call is the object put in, and a copy of its
// value shares it; objects live as long as some value or object holds them.
TEST_F(AutomationValues, ObjectsFromCallsAreSharedAndReleasedWithTheirLastHolder) {
    SimAutomation& automation = host.sim.automation;
    PExprItem outer = Store();
    PExprItem inner = Store();
    CallBare(u"OleInvoke", {outer, Text(u"Add"), Num(1), ListOf({Text(u"in"), inner})});
    PExprItem got = CallBare(u"<OleObject.InvokeMethod>", {outer, Member(u"Item"), ListOf({Text(u"in")})});
    ASSERT_TRUE(got);
    EXPECT_EQ(got->GetDisplayText(), inner->GetDisplayText());
    EXPECT_NE(got->GetDisplayText(), outer->GetDisplayText());
    PExprItem copy = got->Clone();
    CallBare(u"OleInvoke", {copy, Text(u"Add"), Num(1), ListOf({Text(u"k"), Num(5)})});
    EXPECT_EQ(AsNumber(CallBare(u"<OleObject.GetProperty>", {inner, Member(u"count")})), 1);

    EXPECT_EQ(automation.LiveObjects(), 2);
    inner = got = copy = {};
    EXPECT_EQ(automation.LiveObjects(), 2);  // the outer store still holds it
    outer = {};
    EXPECT_EQ(automation.LiveObjects(), 0);
    EXPECT_EQ(MakeItem<ExprItem_OcxObj>()->GetDisplayText(), u"[OleObject]");
}

// Calls that cannot be made give no value and leave the object as it was.
TEST_F(AutomationValues, RefusedCallsGiveNoValue) {
    const PExprItem store = Store();
    const PExprItem refused[] = {
        CallBare(u"OleInvoke", {Num(3), Text(u"Count"), Num(2), ListOf({})}),
        CallBare(u"OleInvoke", {store, Text(u"Count"), Num(70000), ListOf({})}),
        CallBare(u"OleInvoke", {store, Text(u"Add"), Num(1), ListOf({Text(u"only key")})}),
        CallBare(u"OleInvoke", {store, Text(u"Remove"), Num(1), ListOf({Text(u"absent")})}),
        CallBare(u"<OleObject.GetProperty>", {store}),
        CallBare(u"CreateObject", {}),  // "WScript.Shell" is not simulated
    };
    for (size_t i = 0; i < std::size(refused); ++i) EXPECT_FALSE(refused[i]) << i;
    CallBare(u"<OleObject.SetProperty>", {store, Member(u"Count"), Num(9)});
    EXPECT_EQ(AsNumber(CallBare(u"<OleObject.GetProperty>", {store, Member(u"Count")})), 0);
}

class Workbooks : public ::testing::Test {
protected:
    void SetUp() override {
        host.sim.automation.Register(u"Excel.Application", [files = files] { return MakeSimSpreadsheet(files); });
    }
    PExprItem Cell(const PExprItem& book, std::u16string sheet, double row, double column) {
        return CallBare(u"XLS_GetCell", {book, Text(std::move(sheet)), Num(row), Num(column)});
    }
    std::vector<std::u16string> Line(const char16_t* key, const PExprItem& book, double n) {
        return Texts(CallBare(key, {book, Text(u"Sheet1"), Num(n)}));
    }

    FakeBuiltinHost host;
    std::shared_ptr<SimSpreadsheetFiles> files = std::make_shared<SimSpreadsheetFiles>();
};

TEST_F(Workbooks, CellsRowsColumnsAndSheetsAreReadWrittenAndSaved) {
    const PExprItem book = CallBare(u"XLS_Create", {Text(u"C:\\book.xlsx"), Bool(false)});
    ASSERT_TRUE(book);
    EXPECT_EQ(book->GetTypeName(), u"Workbook");
    CallBare(u"XLS_SetRow", {book, Text(u"Sheet1"), Num(1), ArrayOf({Text(u"a"), Text(u"b"), Num(3)})});
    CallBare(u"XLS_SetCell", {book, Text(u"sheet1"), Num(2), Num(3), Text(u"x")});
    EXPECT_EQ(AsText(Cell(book, u"Sheet1", 2, 3)), u"x");
    EXPECT_EQ(Line(u"XLS_GetRow", book, 1), (std::vector<std::u16string>{u"a", u"b", u"3"}));
    EXPECT_EQ(Line(u"XLS_GetColumn", book, 3), (std::vector<std::u16string>{u"3", u"x"}));
    EXPECT_EQ(AsNumber(CallBare(u"XLS_SheetRowCount", {book, Text(u"Sheet1")})), 2);
    EXPECT_EQ(AsNumber(CallBare(u"XLS_SheetColumnCount", {book, Text(u"Sheet1")})), 3);

    CallBare(u"XLS_DelColumn", {book, Text(u"Sheet1"), Num(1)});
    EXPECT_EQ(Line(u"XLS_GetRow", book, 1), (std::vector<std::u16string>{u"b", u"3"}));
    CallBare(u"XLS_DelRow", {book, Text(u"Sheet1"), Num(1)});
    EXPECT_EQ(AsText(Cell(book, u"Sheet1", 1, 2)), u"x");
    CallBare(u"XLS_SetColumn", {book, Text(u"Sheet1"), Num(4), ArrayOf({Text(u"p"), Text(u"q")})});
    EXPECT_EQ(Line(u"XLS_GetColumn", book, 4), (std::vector<std::u16string>{u"p", u"q"}));

    CallBare(u"XLS_AddSheet", {book, Text(u"Data")});
    CallBare(u"XLS_SetCell", {book, Text(u"Data"), Num(1), Num(1), Text(u"d")});
    CallBare(u"XLS_DelSheet", {book, Text(u"Sheet1")});
    EXPECT_FALSE(Cell(book, u"Sheet1", 1, 1));
    CallBare(u"XLS_Save", {book});

    // The saved workbook opens in a new application as it was saved.
    const PExprItem reopened = CallBare(u"XLS_Open", {Text(u"c:\\BOOK.xlsx"), Bool(true)});
    ASSERT_TRUE(reopened);
    EXPECT_EQ(AsText(Cell(reopened, u"Data", 1, 1)), u"d");
    EXPECT_EQ(files->running, 2);
    EXPECT_FALSE(CallBare(u"XLS_Open", {Text(u"C:\\missing.xlsx"), Bool(false)}));
    EXPECT_EQ(files->running, 2);  // the application that found nothing was quit

    // The application's fixed members went by their dispatch identifiers.
    std::set<std::string> calls;
    for (const std::string& line : EventsOf(host.trace, "ole call")) {
        const size_t member = line.rfind(" \"#");
        if (member != std::string::npos) calls.insert(line.substr(member + 1));
    }
    EXPECT_EQ(calls, (std::set<std::string>{"\"#0x1EE\"", "\"#0xAA\"", "\"#0xEE\"", "\"#0xB5\"", "\"#0x6E\"",
                                            "\"#0x11B\""}));
}

}  // namespace
}  // namespace ovrix
