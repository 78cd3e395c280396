// The dialogs' portable decisions: parameter rows and the OK check, selection
// list items and preselection, and the number an input box's answer reads as.
#include <gtest/gtest.h>

#include <limits>

#include "dialogs/InputDialogs.h"
#include "dialogs/ParameterItems.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"

namespace ovrix {
namespace {

using Texts = std::vector<std::u16string>;

std::u16string Rows(const std::vector<ParameterItem>& items) {
    std::u16string out;
    for (const auto& item : items) out += u"[" + item.name + (item.required ? u"*" : u"") + u"|" + item.value + u"]";
    return out;
}

TEST(ParameterText, EachLineWithANameIsOneRow) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"Name* = Alice\r\nAge = 16\r\nAddress", u"[Name*|Alice][Age|16][Address|]"},
        // Leading '=' belong to no name; every trailing star goes; the value
        // keeps its trailing blanks and any further '='.
        {u"==Key = a=b  \r\n  Pin** =\t7\r\nx=", u"[Key|a=b  ][Pin*|7][x|]"},
        {u"a\nb = 1", u"[a\nb|1]"},  // a lone LF is blank space inside the name
        {u"", u""},
        {u"\r\n\r\n\r\n", u""},
        {u"====\r\n***\r\n = value\r\n * = 1\r\n   \r\n\r", u""},
        {u"\r\nA\r\n\r", u"[A|]"},  // ends inside a CR LF: the blank last piece is kept
    };
    for (const auto& [text, rows] : cases) EXPECT_EQ(Rows(ParseParameterText(text)), rows);

    std::u16string text;
    for (int i = 0; i < 20000; ++i) text += u"P" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) + u"*=v\r\n";
    EXPECT_EQ(ParseParameterText(text).size(), 20000u);
    EXPECT_TRUE(ParseParameterText(std::u16string(100000, u'=')).empty());
    EXPECT_EQ(ParseParameterText(std::u16string(100000, u'x')).front().name.size(), 100000u);
}

TEST(ParameterText, OkIsRefusedAtTheFirstEmptyRequiredValue) {
    const auto items = ParseParameterText(u"A = 1\r\nB* = 2\r\nC\r\nD* \r\nE*");
    const Texts filled = {u"", u"x", u"", u"y", u"z"};
    EXPECT_FALSE(CheckParameters(items, filled));
    const auto refused = CheckParameters(items, Texts{u"1", u"2", u"3", u"", u""});
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->row, 3u);
    EXPECT_EQ(refused->message, u"The value of \"D\" can not be empty!");
    // Values the dialog did not hand back count as empty.
    EXPECT_EQ(CheckParameters(items, Texts{u"1"})->row, 1u);
    EXPECT_FALSE(CheckParameters(ParseParameterText(u"Opt"), Texts{}));
}

TEST(ParameterText, TheResultHoldsEveryRowInOrder) {
    const auto items = ParseParameterText(u"Zed = 1\r\nAlpha* = 2\r\nMid");
    const PExprItem result = ParametersResult(items, Texts{u"one", u"two"});
    const auto* data = ItemAs<ExprItem_NamedData>(result);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->order, (Texts{u"Zed", u"Alpha", u"Mid"}));
    EXPECT_EQ(AsText(data->Get(u"Alpha")), u"two");
    // A row without a value is an empty text, not a missing member.
    ASSERT_TRUE(data->Get(u"Mid").HasValue());
    EXPECT_EQ(data->Get(u"Mid")->Kind(), kind::kText);
}

PExprItem ArrayOf(std::vector<PExprItem> values) {
    PExprItem array = MakeItem<AnyArray>();
    for (const auto& v : values) ItemAs<AnyArray>(array)->Push(v);
    return array;
}

TEST(SelectionList, ItemsComeFromLinesOrArrayElements) {
    EXPECT_EQ(SelectListItems(MakeItem<ExprItem_Text>(u"b\r\n\r\na\r\n")), (Texts{u"b", u"a"}));
    EXPECT_EQ(SelectListItems(MakeItem<ExprItem_Text>(u"one\ntwo\r\n")), (Texts{u"one\ntwo"}));
    EXPECT_TRUE(SelectListItems(PExprItem()).empty());
    EXPECT_EQ(SelectListItems(MakeItem<ExprItem_Num>(12.0)), (Texts{u"12"}));
    // Array elements of any kind show as their texts; empty ones and slots
    // without a value are left out, and a line break inside one stays.
    const PExprItem array = ArrayOf({MakeItem<ExprItem_Num>(3.0), MakeItem<ExprItem_Text>(u""), PExprItem(),
                                     MakeItem<ExprItem_Text>(u"x\r\ny"), ArrayOf({})});
    const Texts items = SelectListItems(array);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], u"3");
    EXPECT_EQ(items[1], u"x\r\ny");
    EXPECT_EQ(items[2].rfind(u"[Array:", 0), 0u);
}

TEST(SelectionList, SelectOnlySortsAndPreselectsByPrefix) {
    const SelectListRequest only = MakeSelectListRequest({u"beta", u"Alpha", u"alpine", u"Beta2"}, true, u"", u"", u"AL");
    const Texts shown = ShownItems(only);
    EXPECT_EQ(shown, (Texts{u"Alpha", u"alpine", u"beta", u"Beta2"}));
    EXPECT_EQ(PreselectedItem(shown, u"AL"), 0u);
    EXPECT_EQ(PreselectedItem(shown, u"bet"), 2u);
    EXPECT_EQ(PreselectedItem(shown, u"betamax"), std::nullopt);
    EXPECT_EQ(PreselectedItem(shown, u""), std::nullopt);
    EXPECT_EQ(OpeningSelection(only), u"Alpha");

    // The other form keeps the given order: its first match is another item.
    const SelectListRequest enter = MakeSelectListRequest({u"beta", u"Alpha", u"alpine"}, false, u"", u"", u"al");
    EXPECT_EQ(ShownItems(enter), (Texts{u"beta", u"Alpha", u"alpine"}));
    EXPECT_EQ(OpeningSelection(enter), u"Alpha");
    // Without a match the select-only list opens on nothing, the other
    // with the default item in its edit field.
    EXPECT_EQ(OpeningSelection(MakeSelectListRequest({u"a"}, true, u"", u"", u"zz")), u"");
    EXPECT_EQ(OpeningSelection(MakeSelectListRequest({u"a"}, false, u"", u"", u"zz")), u"zz");
}

TEST(InputNumber, ReadsRealHexOrDecimal) {
    const std::pair<std::u16string, double> rows[] = {
        {u"0x1F", 31},          {u"0X1f", 31},         {u"3.5", 3.5},       {u"abc", 0},
        {u" 42abc", 42},        {u"-7", -7},           {u"+8", 8},          {u"", 0},
        // Without a '.' an exponent is not read.
        {u"1e5", 1},            {u"1.5e2", 150},       {u"  -.25", -0.25},  {u".", 0},
        {u"x.5", 0},            {u"0x", 0},                   {u"0x7FFFFFFF", 2147483647},
        // "%X" fills a 32-bit word: its top bit makes it negative.
        {u"0xFFFFFFFF", -1},    {u"0x123456789", 0x23456789},
        // The prefix must open the text; after a blank it is a decimal 0.
        {u" 0x10", 0},          {u"2147483647", 2147483647}, {u"2147483648", 2147483647},
        {u"-2147483648", -2147483648.0}, {u"-99999999999999999999", -2147483648.0},
        {u"\uFF11\uFF12", 0},   {u"1.\u00B2", 1},
    };
    for (const auto& [answer, value] : rows) {
        EXPECT_EQ(ReadInputNumber(answer), value) << std::string(answer.begin(), answer.end());
    }
    EXPECT_EQ(ReadInputNumber(std::u16string(5000, u'9')), 2147483647);
    EXPECT_EQ(ReadInputNumber(u"1" + std::u16string(400, u'0') + u".0"), std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace ovrix
