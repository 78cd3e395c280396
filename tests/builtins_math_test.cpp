// The math and script-state families, called as a loaded script calls
// them: results and the rules for missing or unusable arguments.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "builtins/FamilyTable.h"
#include "builtins_test_support.h"
#include "container/Text.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

class BuiltinFamilies : public ::testing::Test {};

// Each key reaches its own function; arguments are read as numbers (a
// numeric text counts, other text is 0).
TEST_F(BuiltinFamilies, StandardFunctions) {
    const struct { const char16_t* key; std::vector<PExprItem> args; double expected; } rows[] = {
        {u"Sqrt", {Num(16)}, 4.0}, {u"sqrt", {Num(2)}, std::sqrt(2.0)}, {u"Exp", {Num(1)}, std::exp(1.0)},
        {u"exp", {Num(0)}, 1.0}, {u"sin", {Num(std::numbers::pi / 2)}, 1.0}, {u"cos", {Num(std::numbers::pi)}, -1.0},
        {u"tan", {Num(std::numbers::pi / 4)}, 1.0}, {u"pow", {Num(2), Num(10)}, 1024.0}, {u"pow", {Num(9), Num(0.5)}, 3.0},
        {u"Sqrt", {Text(u"25")}, 5.0}, {u"cos", {Text(u"abc")}, 1.0},
    };
    for (const auto& row : rows) {
        const PExprItem result = Call(row.key, row.args);
        ASSERT_TRUE(result) << ToUtf8(row.key);
        EXPECT_EQ(result->Kind(), kind::kNumber);
        EXPECT_NEAR(AsNumber(result), row.expected, 1e-12) << ToUtf8(row.key);
    }
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
    host.sim.randoms = {0, 1, 32767, 12345, 777, 31000, 5};
    // Reversed bounds and fractions: truncated, then swapped.
    for (auto [low, high, min, max] : {std::array{5.0, 8.0, 5.0, 8.0}, {10.9, -2.5, -2.0, 10.0}, {3.0, 3.0, 3.0, 3.0}}) {
        for (int i = 0; i < 20; ++i) {
            const double r = AsNumber(Call(u"RandomNumber", {Num(low), Num(high)}));
            EXPECT_TRUE(r >= min && r <= max && r == std::trunc(r)) << r << " from " << low << ", " << high;
        }
    }
    // The default maximum is 100.
    const double d = AsNumber(Call(u"RandomNumber", {Num(99)}));
    EXPECT_TRUE(d == 99.0 || d == 100.0);
    // Different random words give different results over a wide range.
    host.sim.randoms = {1};
    const double a = AsNumber(Call(u"RandomNumber", {Num(0), Num(1000000)}));
    host.sim.randoms = {2};
    EXPECT_NE(AsNumber(Call(u"RandomNumber", {Num(0), Num(1000000)})), a);
}

TEST_F(BuiltinFamilies, ScriptStateReadsThePlayer) {
    FakeBuiltinHost host;
    host.loopIndex = 4;
    host.repeat = 2;
    host.picture = {10, 20, 110, 70};
    for (auto [key, value] : {std::pair<const char16_t*, double>{u"GetCurrentLoopIndex", 4}, {u"GetCurrentRepeat", 2},
                              {u"GetLastBmpRegionX", 10}, {u"GetLastBmpRegionY", 20},
                              {u"GetLastBmpRegionWdith", 100}, {u"GetLastBmpRegionHeight", 50}}) {
        EXPECT_EQ(AsNumber(Call(key, {})), value) << ToUtf8(key);
    }

    host.commandLine = {u"player.exe", u"-x"};
    PExprItem args = Call(u"GetCommandLineArgs", {});
    auto* array = ItemAs<AnyArray>(args);
    ASSERT_NE(array, nullptr);
    ASSERT_EQ(array->Size(), 2);
    EXPECT_EQ(AsText(array->Get(1)), u"-x");
}

TEST_F(BuiltinFamilies, ScriptArgumentsCountFromOne) {
    FakeBuiltinHost host;
    host.scriptArgs = {Text(u"C:\\s\\played.mac"), Text(u"first"), Num(2)};
    EXPECT_EQ(AsText(Call(u"GetScriptArg", {})), u"first");  // the default index is 1
    EXPECT_EQ(AsNumber(Call(u"GetScriptArg", {Num(2.9)})), 2.0);
    EXPECT_EQ(AsText(Call(u"GetScriptArg", {Num(0)})), u"C:\\s\\played.mac");
    for (double bad : {3.0, -1.0}) EXPECT_FALSE(Call(u"GetScriptArg", {Num(bad)})) << bad;
    EXPECT_EQ(AsNumber(Call(u"GetScriptArgCount", {})), 2.0);

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
