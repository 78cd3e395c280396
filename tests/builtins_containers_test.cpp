// The Arrays, Named data and Binary data families as a loaded script calls
// them: each row reaches its own container operation, and the operations'
// rules for missing arguments and arguments of the wrong kind.
#include <gtest/gtest.h>

#include "builtins/FamilyTable.h"
#include "builtins_test_support.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

PExprItem True() { return MakeItem<ExprItem_Bool>(true); }

class BuiltinContainers : public ::testing::Test {};

TEST_F(BuiltinContainers, ArrayRowsAndTheirArgumentRules) {
    PExprItem a = Call(u"Array_Create", {});
    ASSERT_NE(ItemAs<AnyArray>(a), nullptr);
    EXPECT_FALSE(CallImpl(u"Array_Push", {a, Num(3)}));
    CallImpl(u"Array_Push", {a, Text(u"b")});
    CallImpl(u"Array_Push", {a});                  // too few: nothing
    CallImpl(u"Array_Push", {Text(u"x"), Num(1)});  // not an array: nothing
    EXPECT_FALSE(CallImpl(u"Array_GetSize", {Num(1)}));
    EXPECT_EQ(AsText(CallImpl(u"Array_Get", {a, Num(1.9)})), u"b");
    EXPECT_EQ(AsText(CallImpl(u"Array_Get", {a, Num(-0.5)})), u"3");  // truncates to 0
    EXPECT_FALSE(CallImpl(u"Array_Get", {a}));
    CallImpl(u"Array_Set", {a, Num(0)});  // too few: nothing
    CallImpl(u"Array_Set", {a, Num(1), Num(2)});
    CallImpl(u"Array_Insert", {a, Num(0), Num(9)});
    CallImpl(u"Array_Sort", {a});  // needs the direction
    EXPECT_EQ(AsText(CallImpl(u"Array_Print", {a, Num(0), Num(0), True()})), u"9\r\n3\r\n2\r\n");
    CallImpl(u"Array_Sort", {a, True()});
    EXPECT_EQ(AsNumber(CallImpl(u"Array_Pop", {a})), 9.0);
    CallImpl(u"Array_Remove", {a, Num(0)});  // count defaults to 1
    CallImpl(u"Array_Remove", {a});
    EXPECT_FALSE(CallImpl(u"Array_Print", {a, Num(0)}));
    EXPECT_EQ(AsText(CallImpl(u"Array_Print", {a, Num(0), Num(0)})), u"[0] = 3\r\n");
    EXPECT_EQ(CallImpl(u"Array_Print", {a, Num(5), Num(0)})->Kind(), kind::kText);  // empty text, still a value
    CallImpl(u"Array_Clear", {a});
    EXPECT_EQ(AsNumber(CallImpl(u"Array_GetSize", {a})), 0.0);
}

TEST_F(BuiltinContainers, NamedDataRowsAndTheirArgumentRules) {
    PExprItem d = Call(u"NamedData_Create", {});
    ASSERT_NE(ItemAs<ExprItem_NamedData>(d), nullptr);
    CallImpl(u"NamedData_Set", {d, Num(5), Text(u"five")});  // the name is read as text
    CallImpl(u"NamedData_Set", {d, Text(u"x")});             // too few: nothing
    CallImpl(u"NamedData_Set", {MakeItem<AnyArray>(), Text(u"x"), Num(1)});
    CallImpl(u"NamedData_Set", {d, Text(u"a"), Text(u"x")});
    EXPECT_EQ(AsText(CallImpl(u"NamedData_Print", {d})), u"5 = \"five\"\r\na = \"x\"\r\n");
    EXPECT_FALSE(CallImpl(u"NamedData_Print", {Num(1)}));
    EXPECT_EQ(AsText(CallImpl(u"NamedData_Get", {d, Text(u"a")})), u"x");
    EXPECT_FALSE(CallImpl(u"NamedData_Get", {d}));
    EXPECT_EQ(AsText(CallImpl(u"NamedData_GetName", {d, Num(0.7)})), u"5");
    EXPECT_FALSE(CallImpl(u"NamedData_GetName", {d, Num(2)}));
    CallImpl(u"NamedData_Remove", {d, Text(u"5")});
    EXPECT_EQ(AsNumber(CallImpl(u"NamedData_GetSize", {d})), 1.0);
    CallImpl(u"NamedData_Clear", {d});
    EXPECT_EQ(AsNumber(CallImpl(u"NamedData_GetSize", {d})), 0.0);
}

TEST_F(BuiltinContainers, ByteDataRowsAndTheirArgumentRules) {
    PExprItem bin = Call(u"BinData_FromText", {Text(u"0x0A ff 10")});
    ASSERT_NE(ItemAs<ExprItem_BinData>(bin), nullptr);
    EXPECT_EQ(AsNumber(CallImpl(u"BinData_GetSize", {bin})), 3.0);
    EXPECT_EQ(AsNumber(CallImpl(u"BinData_GetByte", {bin, Num(2.9)})), 16.0);
    for (const PExprItem& bad : {Num(3), Num(-1)}) EXPECT_FALSE(CallImpl(u"BinData_GetByte", {bin, bad}));
    EXPECT_FALSE(CallImpl(u"BinData_GetByte", {bin}));
    PExprItem hex = MakeItem<ExprItem_Hex>(std::vector<uint8_t>{9, 8});
    EXPECT_EQ(AsNumber(CallImpl(u"BinData_GetByte", {hex, Num(1)})), 8.0);  // Hex data reads alike
    EXPECT_EQ(AsNumber(Call(u"Hex_GetSize", {hex})), 2.0);
    EXPECT_EQ(CallImpl(u"Hex_GetSize", {MakeItem<ExprItem_Hex>()})->Kind(), kind::kNumber);  // 0, still a value
    EXPECT_FALSE(CallImpl(u"Hex_GetSize", {Text(u"0x01")}));
    for (const char16_t* bad : {u"", u"xyz"}) EXPECT_FALSE(Call(u"BinData_FromText", {Text(bad)}));
    EXPECT_EQ(AsNumber(CallImpl(u"BinData_GetSize", {Call(u"BinData_FromText", {Text(u"0x")})})), 0.0);
}

}  // namespace
}  // namespace ovrix
