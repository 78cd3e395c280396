// The math and script-state families, called as a loaded script calls
// them: descriptors as the catalogue lists them, results and the rules for
// missing or unusable arguments.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "builtins/FamilyTable.h"
#include "builtins_test_support.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

class BuiltinFamilies : public ::testing::Test {};

TEST_F(BuiltinFamilies, MathDescriptors) {
    const PLX_FunctionBase* random = FindFunction(u"RandomNumber");
    ASSERT_NE(random, nullptr);
    EXPECT_EQ(random->GetReturnType(), fkind::kNumber);
    ASSERT_EQ(random->GetArgCount(), 2);
    EXPECT_EQ(random->GetArg(0)->GetLabel(), u"Number MinNum");
    EXPECT_FALSE(random->GetArg(0)->defaultValue);
    EXPECT_EQ(AsNumber(random->GetArg(1)->defaultValue), 100.0);
    const PLX_FunctionBase* pow = FindFunction(u"pow");
    ASSERT_NE(pow, nullptr);
    EXPECT_EQ(pow->GetArg(1)->GetLabel(), u"Number y");
    EXPECT_EQ(FindFunction(u"Sqrt")->GetArg(0)->GetLabel(), u"Number Num");
    EXPECT_EQ(FindFunction(u"Pow"), nullptr);
}

TEST_F(BuiltinFamilies, StandardFunctions) {
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"Sqrt", {Num(16)})), 4.0);
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"sqrt", {Num(2)})), AsNumber(Call(u"Sqrt", {Num(2)})));
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"Exp", {Num(1)})), std::exp(1.0));
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"exp", {Num(0)})), 1.0);
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"sin", {Num(std::numbers::pi / 2)})), 1.0);
    EXPECT_NEAR(AsNumber(Call(u"cos", {Num(std::numbers::pi)})), -1.0, 1e-12);
    EXPECT_NEAR(AsNumber(Call(u"tan", {Num(std::numbers::pi / 4)})), 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"pow", {Num(2), Num(10)})), 1024.0);
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"pow", {Num(9), Num(0.5)})), 3.0);
    // Arguments are read as numbers: a numeric text counts, other text is 0.
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"Sqrt", {Text(u"25")})), 5.0);
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"cos", {Text(u"abc")})), 1.0);
    EXPECT_EQ(Call(u"Sqrt", {Num(16)})->Kind(), kind::kNumber);
}

TEST_F(BuiltinFamilies, BadArgumentsOfMathFunctions) {
    // Fewer arguments than the function reads: no value.
    EXPECT_FALSE(CallBare(u"Sqrt", {}));
    EXPECT_FALSE(CallBare(u"pow", {Num(2)}));
    EXPECT_FALSE(CallBare(u"RandomNumber", {Num(1)}));
    // A loaded call without arguments gets null handles, read as 0.
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"Sqrt", {})), 0.0);
    EXPECT_DOUBLE_EQ(AsNumber(Call(u"pow", {})), 1.0);
    // Outside the domain the result is what the standard functions answer.
    EXPECT_TRUE(std::isnan(AsNumber(Call(u"Sqrt", {Num(-1)}))));
    EXPECT_TRUE(std::isinf(AsNumber(Call(u"Exp", {Num(1000)}))));
}

TEST_F(BuiltinFamilies, RandomNumberStaysWithinItsBounds) {
    FakeBuiltinHost host;
    host.randoms = {0, 1, 32767, 12345, 777, 31000, 5};
    for (int i = 0; i < 40; ++i) {
        const double r = AsNumber(Call(u"RandomNumber", {Num(5), Num(8)}));
        EXPECT_GE(r, 5.0);
        EXPECT_LE(r, 8.0);
        EXPECT_EQ(r, std::trunc(r));
    }
    // Reversed bounds and fractions: truncated, then swapped.
    for (int i = 0; i < 10; ++i) {
        const double r = AsNumber(Call(u"RandomNumber", {Num(10.9), Num(-2.5)}));
        EXPECT_GE(r, -2.0);
        EXPECT_LE(r, 10.0);
    }
    EXPECT_EQ(AsNumber(Call(u"RandomNumber", {Num(3), Num(3)})), 3.0);
    // The default maximum is 100.
    const double d = AsNumber(Call(u"RandomNumber", {Num(99)}));
    EXPECT_TRUE(d == 99.0 || d == 100.0);
    // Different random words give different results over a wide range.
    host.randoms = {1};
    const double a = AsNumber(Call(u"RandomNumber", {Num(0), Num(1000000)}));
    host.randoms = {2};
    EXPECT_NE(AsNumber(Call(u"RandomNumber", {Num(0), Num(1000000)})), a);
}

TEST_F(BuiltinFamilies, ScriptStateReadsThePlayer) {
    FakeBuiltinHost host;
    host.loopIndex = 4;
    host.repeat = 2;
    host.picture = {10, 20, 110, 70};
    EXPECT_EQ(AsNumber(Call(u"GetCurrentLoopIndex", {})), 4.0);
    EXPECT_EQ(AsNumber(Call(u"GetCurrentRepeat", {})), 2.0);
    EXPECT_EQ(AsNumber(Call(u"GetLastBmpRegionX", {})), 10.0);
    EXPECT_EQ(AsNumber(Call(u"GetLastBmpRegionY", {})), 20.0);
    EXPECT_EQ(AsNumber(Call(u"GetLastBmpRegionWdith", {})), 100.0);
    EXPECT_EQ(AsNumber(Call(u"GetLastBmpRegionHeight", {})), 50.0);

    host.commandLine = {u"player.exe", u"-x"};
    PExprItem args = Call(u"GetCommandLineArgs", {});
    auto* array = ItemAs<AnyArray>(args);
    ASSERT_NE(array, nullptr);
    ASSERT_EQ(array->Size(), 2);
    EXPECT_EQ(AsText(array->Get(1)), u"-x");
    EXPECT_EQ(FindFunction(u"GetCommandLineArgs")->GetReturnTypeName(), u"Array");
}

TEST_F(BuiltinFamilies, ScriptArgumentsCountFromOne) {
    FakeBuiltinHost host;
    host.scriptArgs = {Text(u"C:\\s\\played.mac"), Text(u"first"), Num(2)};
    EXPECT_EQ(AsText(Call(u"GetScriptArg", {})), u"first");  // the default index is 1
    EXPECT_EQ(AsNumber(Call(u"GetScriptArg", {Num(2.9)})), 2.0);
    EXPECT_EQ(AsText(Call(u"GetScriptArg", {Num(0)})), u"C:\\s\\played.mac");
    EXPECT_FALSE(Call(u"GetScriptArg", {Num(3)}));
    EXPECT_FALSE(Call(u"GetScriptArg", {Num(-1)}));
    EXPECT_EQ(AsNumber(Call(u"GetScriptArgCount", {})), 2.0);
    EXPECT_EQ(FindFunction(u"GetScriptArg")->GetArg(0)->GetLabel(), u"Number ArgIndex");

    host.scriptArgs.clear();
    EXPECT_EQ(AsNumber(Call(u"GetScriptArgCount", {})), 0.0);
    EXPECT_FALSE(Call(u"GetScriptArg", {}));
}

TEST_F(BuiltinFamilies, SetScriptOptionsSetsTheDefaultTitle) {
    FakeBuiltinHost host;
    EXPECT_FALSE(Call(u"SetScriptOptions", {}));  // the default text
    Call(u"SetScriptOptions", {Text(u"Other = 1\r\n  defaulttitle =  My Box  \r\nno equals sign")});
    Call(u"SetScriptOptions", {Text(u"DefaultTitle")});
    Call(u"SetScriptOptions", {Text(u"Title = x")});
    ASSERT_EQ(host.titles.size(), 2u);
    EXPECT_EQ(host.titles[0], u"Vantorel");
    EXPECT_EQ(host.titles[1], u"My Box");
    PExprItem loaded = LoadCall(u"SetScriptOptions", {});
    EXPECT_EQ(AsText(CallOf(loaded).args.at(0)), u"DefaultTitle = Vantorel");
    EXPECT_EQ(loaded->GetDisplayText().rfind(u"Call SetScriptOptions(\"", 0), 0u);
}

TEST_F(BuiltinFamilies, WithoutAHostPlayerStateGivesNoValue) {
    EXPECT_FALSE(Call(u"GetCurrentRepeat", {}));
    EXPECT_FALSE(Call(u"GetScriptArg", {Num(1)}));
    EXPECT_FALSE(Call(u"GetCommandLineArgs", {}));
    EXPECT_TRUE(Call(u"RandomNumber", {Num(1), Num(2)}));
}

}  // namespace
}  // namespace ovrix
