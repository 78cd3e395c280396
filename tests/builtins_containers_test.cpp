// The Arrays, Named data and Binary data families as a loaded script calls
// them: the descriptors' shapes and the wiring of each row to its
// container operation (the operations themselves are tested with the
// containers).
#include <gtest/gtest.h>

#include "builtins/FamilyTable.h"
#include "builtins_test_support.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"

namespace ovrix {
namespace {

using namespace testing_builtins;

// Calls with already evaluated values (an object cannot be stored in a
// loaded call's arguments).
PExprItem Invoke(std::u16string_view key, std::vector<PExprItem> args) {
    const PLX_FunctionBase* f = FindFunction(key);
    if (f == nullptr || f->GetImpl() == nullptr) return {};
    PExprItem result;
    f->GetImpl()(&result, static_cast<int32_t>(args.size()), args.data(), f->GetUserWord());
    return result;
}

class BuiltinContainers : public ::testing::Test {
protected:
    static void SetUpTestSuite() { InitFunctionRegistry(); }
};

TEST_F(BuiltinContainers, Descriptors) {
    const PLX_FunctionBase* create = FindFunction(u"Array_Create");
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create->GetReturnType(), fkind::kObject);
    EXPECT_EQ(create->GetReturnTypeName(), u"Array");
    EXPECT_EQ(FindFunction(u"Array_Pop")->GetReturnType(), fkind::kVariable);
    EXPECT_EQ(FindFunction(u"Array_Get")->GetReturnTypeName(), u"");
    const PLX_FunctionBase* remove = FindFunction(u"Array_Remove");
    ASSERT_EQ(remove->GetArgCount(), 3);
    EXPECT_EQ(remove->GetArg(0)->GetLabel(), u"Array Array");
    EXPECT_EQ(AsNumber(remove->GetArg(2)->defaultValue), 1.0);
    EXPECT_EQ(FindFunction(u"Array_Set")->GetArg(2)->GetLabel(), u"Value");
    const PLX_FunctionBase* print = FindFunction(u"Array_Print");
    ASSERT_EQ(print->GetArgCount(), 4);
    EXPECT_EQ(print->GetArg(3)->GetLabel(), u"Bool PrintRawText");
    EXPECT_FALSE(print->GetArg(1)->defaultValue);
    EXPECT_EQ(LoadCall(u"Array_Print", {Num(1), Num(2), Num(3)})->GetDisplayText(), u"Array_Print(1, 2, 3, False)");

    EXPECT_EQ(FindFunction(u"NamedData_Create")->GetReturnTypeName(), u"NamedData");
    EXPECT_EQ(FindFunction(u"NamedData_Set")->GetArg(0)->GetLabel(), u"NamedData NamedData");
    EXPECT_EQ(FindFunction(u"NamedData_Set")->GetArg(2)->GetLabel(), u"DataValue");
    EXPECT_EQ(FindFunction(u"NamedData_GetName")->GetArg(1)->GetLabel(), u"Number ItemIndex");

    EXPECT_EQ(FindFunction(u"Hex_GetSize")->GetArg(0)->GetLabel(), u"HexData HexData");
    EXPECT_EQ(FindFunction(u"BinData_GetByte")->GetArg(0)->GetLabel(), u"BinData BinData");
    EXPECT_EQ(FindFunction(u"BinData_GetByte")->GetArg(0)->kind, fkind::kObject);
    EXPECT_EQ(FindFunction(u"BinData_FromText")->GetReturnTypeName(), u"BinData");
}

TEST_F(BuiltinContainers, ArrayRowsReachTheirOperations) {
    PExprItem array = Call(u"Array_Create", {});
    ASSERT_NE(ItemAs<AnyArray>(array), nullptr);
    EXPECT_FALSE(Invoke(u"Array_Push", {array, Num(3)}));
    Invoke(u"Array_Push", {array, Text(u"b")});
    Invoke(u"Array_Push", {array, Num(1)});
    EXPECT_EQ(AsNumber(Invoke(u"Array_GetSize", {array})), 3.0);
    EXPECT_EQ(AsText(Invoke(u"Array_Get", {array, Num(1)})), u"b");
    Invoke(u"Array_Set", {array, Num(1), Num(2)});
    Invoke(u"Array_Insert", {array, Num(0), Num(9)});
    Invoke(u"Array_Sort", {array, MakeItem<ExprItem_Bool>(true)});
    EXPECT_EQ(AsNumber(Invoke(u"Array_Get", {array, Num(0)})), 1.0);
    EXPECT_EQ(AsNumber(Invoke(u"Array_Get", {array, Num(3)})), 9.0);
    EXPECT_EQ(AsNumber(Invoke(u"Array_Pop", {array})), 9.0);
    Invoke(u"Array_Remove", {array, Num(0), Num(2)});
    EXPECT_EQ(AsNumber(Invoke(u"Array_GetSize", {array})), 1.0);
    EXPECT_EQ(AsText(Invoke(u"Array_Print", {array, Num(0), Num(1)})),
              AsText(Invoke(u"Array_Print", {array, Num(0), Num(1), MakeItem<ExprItem_Bool>(false)})));
    EXPECT_TRUE(Invoke(u"Array_Print", {array, Num(0), Num(1)}));
    Invoke(u"Array_Clear", {array});
    EXPECT_EQ(AsNumber(Invoke(u"Array_GetSize", {array})), 0.0);
    // Not an array, or too few arguments: no value.
    EXPECT_FALSE(Invoke(u"Array_GetSize", {Num(1)}));
    EXPECT_FALSE(Invoke(u"Array_Get", {array}));
    EXPECT_FALSE(Invoke(u"Array_GetSize", {}));
}

TEST_F(BuiltinContainers, NamedDataRowsReachTheirOperations) {
    PExprItem data = Call(u"NamedData_Create", {});
    ASSERT_NE(ItemAs<ExprItem_NamedData>(data), nullptr);
    Invoke(u"NamedData_Set", {data, Text(u"b"), Num(2)});
    Invoke(u"NamedData_Set", {data, Text(u"a"), Text(u"x")});
    EXPECT_EQ(AsNumber(Invoke(u"NamedData_GetSize", {data})), 2.0);
    EXPECT_EQ(AsText(Invoke(u"NamedData_Get", {data, Text(u"a")})), u"x");
    EXPECT_EQ(AsText(Invoke(u"NamedData_GetName", {data, Num(0)})), AsText(Invoke(u"NamedData_GetName", {data, Num(0)})));
    EXPECT_NE(AsText(Invoke(u"NamedData_Print", {data})).find(u"b = 2"), std::u16string::npos);
    Invoke(u"NamedData_Remove", {data, Text(u"b")});
    EXPECT_FALSE(Invoke(u"NamedData_Get", {data, Text(u"b")}));
    Invoke(u"NamedData_Clear", {data});
    EXPECT_EQ(AsNumber(Invoke(u"NamedData_GetSize", {data})), 0.0);
    EXPECT_FALSE(Invoke(u"NamedData_GetSize", {Text(u"not named data")}));
}

TEST_F(BuiltinContainers, BinaryDataRows) {
    PExprItem bin = Call(u"BinData_FromText", {Text(u"0A ff 10")});
    ASSERT_NE(ItemAs<ExprItem_BinData>(bin), nullptr);
    EXPECT_EQ(AsNumber(Invoke(u"BinData_GetSize", {bin})), 3.0);
    EXPECT_EQ(AsNumber(Invoke(u"BinData_GetByte", {bin, Num(1)})), 255.0);
    EXPECT_FALSE(Invoke(u"BinData_GetByte", {bin, Num(3)}));
    PExprItem hex = MakeItem<ExprItem_Hex>(std::vector<uint8_t>{1, 2});
    EXPECT_EQ(AsNumber(Call(u"Hex_GetSize", {hex})), 2.0);
    EXPECT_FALSE(Call(u"BinData_FromText", {Text(u"abc")}));
    EXPECT_FALSE(Invoke(u"BinData_GetSize", {Num(4)}));
}

}  // namespace
}  // namespace ovrix
