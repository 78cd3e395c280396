// The Strings family, called as a loaded script calls it: the texts the
// functions make and their rules for missing, empty or out-of-range
// arguments, and the by-reference functions that change a variable.
#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "builtins/FamilyTable.h"
#include "builtins_test_support.h"
#include "expr/KindsObject.h"
#include "expr/KindsPattern.h"
#include "expr/KindsValue.h"
#include "expr/Variables.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

class BuiltinStrings : public ::testing::Test {};

TEST_F(BuiltinStrings, CaseLengthAndCharacters) {
    EXPECT_EQ(AsText(Call(u"Lowercase", {Text(u"AbC \u00C9\u0416")})), u"abc \u00E9\u0436");
    EXPECT_EQ(AsText(Call(u"Uppercase", {Text(u"aBc \u00E9\u0436\u00F7")})), u"ABC \u00C9\u0416\u00F7");
    EXPECT_EQ(AsNumber(Call(u"StringLength", {Num(12.5)})), 4.0);  // read as its text
    EXPECT_FALSE(Call(u"CharToNumber", {Text(u"")}));
    EXPECT_EQ(AsText(Call(u"NumberToChar", {Num(0x416)})), u"\u0416");
    for (double bad : {0.0, 65536.0}) EXPECT_FALSE(Call(u"NumberToChar", {Num(bad)})) << bad;
    EXPECT_EQ(AsNumber(Call(u"StringGetChar", {Text(u"abc"), Num(2.9)})), 99.0);
    for (double bad : {3.0, -1.0}) EXPECT_FALSE(Call(u"StringGetChar", {Text(u"abc"), Num(bad)})) << bad;
    EXPECT_EQ(AsNumber(Call(u"CompareString", {Text(u"abc"), Text(u"ab")})), 1.0);
    EXPECT_EQ(AsNumber(Call(u"CompareString", {Text(u"B"), Text(u"a")})), -1.0);  // by code unit, not by case
}

TEST_F(BuiltinStrings, SearchingAndCutting) {
    EXPECT_EQ(AsNumber(Call(u"FindSubString", {Text(u"abcabc"), Text(u"bc"), Num(2)})), 4.0);
    EXPECT_EQ(AsNumber(Call(u"FindSubString", {Text(u"abcabc"), Text(u"bc"), Num(5)})), -1.0);
    EXPECT_EQ(AsNumber(Call(u"FindSubString", {Text(u"abc"), Text(u""), Num(3)})), 3.0);
    EXPECT_EQ(AsNumber(Call(u"FindSubString", {Text(u"abc"), Text(u"a"), Num(-4)})), 0.0);
    EXPECT_EQ(AsNumber(Call(u"FindSubString", {Text(u"abc"), Text(u""), Num(4)})), -1.0);
    EXPECT_EQ(AsNumber(Call(u"ReverseFindSubString", {Text(u"abcabc"), Text(u"bc")})), 4.0);
    EXPECT_EQ(AsText(Call(u"SubString", {Text(u"abcdef"), Num(4), Num(30)})), u"ef");
    EXPECT_EQ(AsText(Call(u"SubString", {Text(u"abcdef"), Num(-2), Num(2)})), u"ab");
    EXPECT_EQ(AsText(Call(u"SubString", {Text(u"abcdef"), Num(9), Num(2)})), u"");
    EXPECT_EQ(AsText(Call(u"SubString", {Text(u"abcdef"), Num(1), Num(-1)})), u"");
    EXPECT_FALSE(CallBare(u"FindSubString", {Text(u"abc")}));
}

// The parts of a split, "|"-joined; "<none>" when there is no array.
std::u16string Split(std::u16string text, std::u16string separator) {
    const PExprItem parts = Call(u"SplitString", {Text(std::move(text)), Text(std::move(separator))});
    const auto* array = ItemAs<AnyArray>(parts);
    if (array == nullptr) return u"<none>";
    std::u16string joined;
    for (int64_t i = 0; i < array->Size(); ++i) joined += (i ? u"|" : u"") + AsText(array->Get(i));
    return joined;
}

TEST_F(BuiltinStrings, SplitStringSkipsEmptyItems) {
    EXPECT_EQ(Split(u",,a,,b ,", u","), u"a|b ");  // not trimmed
    EXPECT_EQ(Split(u"a b", u"::"), u"a b");
    EXPECT_EQ(Split(u"x::y:z", u"::"), u"x|y:z");
    EXPECT_EQ(Split(u",,,", u","), u"<none>");  // nothing but separators: no array
    EXPECT_EQ(Split(u"", u","), u"<none>");
    EXPECT_EQ(Split(u"a,b", u""), u"<none>");
    EXPECT_FALSE(CallBare(u"SplitString", {Text(u"a,b")}));
}

TEST_F(BuiltinStrings, StringToNumberReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"StringToNumber", {Text(u"  -12.5e1xyz")})), -125.0);
    EXPECT_EQ(AsNumber(Call(u"StringToNumber", {Text(u" -0x1A"), Num(16)})), -26.0);
    EXPECT_EQ(AsNumber(Call(u"StringToNumber", {Text(u"0x10"), Num(0)})), 16.0);
    EXPECT_EQ(AsNumber(Call(u"StringToNumber", {Text(u"1012"), Num(2)})), 5.0);  // stops at the 2
    EXPECT_EQ(AsNumber(Call(u"StringToNumber", {Text(u"12.9"), Num(8)})), 10.0);
    EXPECT_EQ(AsNumber(Call(u"StringToNumber", {Text(u"12"), Num(1)})), 0.0);
}

TEST_F(BuiltinStrings, MD5Digest) {
    EXPECT_EQ(AsText(Call(u"MD5", {Text(u"abc"), MakeItem<ExprItem_Bool>(false)})),
              u"900150983CD24FB0D6963F7D28E17F72");
    // 64 bytes: the padding takes a second block.
    EXPECT_EQ(AsText(Call(u"MD5", {Text(u"1234567890123456789012345678901234567890123456789012345678901234"),
                                  MakeItem<ExprItem_Bool>(false)})),
              u"EB6C4179C0A7C82CC2828C1E6338E165");
    // ANSI bytes: Latin-1 as it stands, other characters as '?'.
    EXPECT_EQ(AsText(Call(u"MD5", {Text(u"\u00E9\u0416"), MakeItem<ExprItem_Bool>(false)})),
              u"88DAE2D01E43506C30C1B3EE6076009E");
    // UTF-16LE bytes: "a" is 61 00.
    EXPECT_EQ(AsText(Call(u"MD5", {Text(u"a"), MakeItem<ExprItem_Bool>(true)})),
              u"4144E195F46DE78A3623DA7364D04F11");
    EXPECT_FALSE(Call(u"MD5", {Text(u""), MakeItem<ExprItem_Bool>(true)}));
    EXPECT_FALSE(CallBare(u"MD5", {Text(u"abc")}));
    // The loaded short call gets the default false.
    EXPECT_EQ(AsText(Call(u"MD5", {Text(u"abc")})), u"900150983CD24FB0D6963F7D28E17F72");
}

TEST_F(BuiltinStrings, RandomString) {
    EXPECT_EQ(AsNumber(CallBare(u"RandomString", {Num(5)})), 0.0);
    EXPECT_TRUE(CallBare(u"RandomString", {Num(5)}));
    EXPECT_FALSE(Call(u"RandomString", {Num(-3), Text(u"ab")}));
    const std::u16string picked = AsText(Call(u"RandomString", {Num(200.7), Text(u"xy")}));
    ASSERT_EQ(picked.size(), 200u);
    EXPECT_EQ(picked.find_first_not_of(u"xy"), std::u16string::npos);
    const std::u16string defaulted = AsText(Call(u"RandomString", {Num(300), Text(u"")}));
    ASSERT_EQ(defaulted.size(), 300u);
    const std::set<char16_t> seen(defaulted.begin(), defaulted.end());
    EXPECT_GT(seen.size(), 30u);
    for (char16_t c : seen) EXPECT_TRUE(std::isalnum(static_cast<int>(c)) != 0);
}

TEST_F(BuiltinStrings, ByReferenceFunctionsChangeTheVariable) {
    SetVariable(u"#s", Text(u"a-b-c"));
    EXPECT_FALSE(Call(u"ReplaceString", {Variable(u"#s"), Text(u"-"), Text(u"++")}));
    EXPECT_EQ(AsText(GetVariable(u"#s")), u"a++b++c");
    Call(u"ReplaceString", {Variable(u"#s"), Text(u""), Text(u"x")});
    EXPECT_EQ(AsText(GetVariable(u"#s")), u"a++b++c");
    // Not a variable: nothing to change, no value.
    EXPECT_FALSE(Call(u"ReplaceString", {Text(u"abc"), Text(u"a"), Text(u"b")}));

    Call(u"StringSetChar", {Variable(u"#s"), Num(0)});  // the default "A"
    EXPECT_EQ(AsText(GetVariable(u"#s")), u"A++b++c");
    Call(u"StringSetChar", {Variable(u"#s"), Num(1), Num(0x416)});
    EXPECT_EQ(AsText(GetVariable(u"#s")), u"A\u0416+b++c");
    Call(u"StringSetChar", {Variable(u"#s"), Num(2), Text(u"xyz")});
    Call(u"StringSetChar", {Variable(u"#s"), Num(7), Text(u"q")});
    Call(u"StringSetChar", {Variable(u"#s"), Num(0), Num(0)});
    EXPECT_EQ(AsText(GetVariable(u"#s")), u"A\u0416xb++c");

    // A number variable is changed through its text.
    SetVariable(u"#n", Num(1234));
    Call(u"ReplaceString", {Variable(u"#n"), Text(u"23"), Text(u"")});
    EXPECT_EQ(GetVariable(u"#n")->Kind(), kind::kText);
    EXPECT_EQ(AsText(GetVariable(u"#n")), u"14");
}

TEST_F(BuiltinStrings, FormattingAndConversions) {
    auto list = MakeItem<ExprItem_ValueList>();
    ItemAs<ExprItem_ValueList>(list)->elements = {Num(3), Text(u"x"), Variable(u"#fmt")};
    SetVariable(u"#fmt", Text(u"var"));
    EXPECT_EQ(AsText(Call(u"StringFormat", {Text(u"{1}={0} {{{2}}} {3} {x} {"), list})), u"x=3 {var} {3} {x} {");
    EXPECT_EQ(AsText(Call(u"StringFormat", {Text(u"plain }}")})), u"plain }");
    EXPECT_EQ(AsText(Call(u"VariableToString", {MakeItem<ExprItem_Bool>(true)})), u"True");
    EXPECT_EQ(AsText(Call(u"PrintScientificNotation", {Num(-0.00012)})), u"-1.200000e-04");
    // The row reaches the matcher (its rules are tested with the patterns).
    auto literal = MakeItem<ExprItem_RegExpr>();
    ItemAs<ExprItem_RegExpr>(literal)->nodeType = pattern::kLiteral;
    ItemAs<ExprItem_RegExpr>(literal)->text = u"ab";
    EXPECT_TRUE(AsTruth(Call(u"RegExpMatch", {literal, Text(u"ab")})));
    EXPECT_FALSE(AsTruth(Call(u"RegExpMatch", {literal, Text(u"abc")})));
}

}  // namespace
}  // namespace ovrix
