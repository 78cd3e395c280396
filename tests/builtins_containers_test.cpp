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

class BuiltinContainers : public ::testing::Test {};

TEST_F(BuiltinContainers, Descriptors) {
    EXPECT_EQ(FindFunction(u"Array_Create")->GetReturnType(), fkind::kObject);
    EXPECT_EQ(FindFunction(u"Array_Pop")->GetReturnType(), fkind::kVariable);
    EXPECT_EQ(FindFunction(u"BinData_GetByte")->GetArg(0)->kind, fkind::kObject);
    EXPECT_EQ(FindFunction(u"BinData_FromText")->GetReturnTypeName(), u"BinData");
    // Optional trailing arguments are filled by the loader; required ones are not.
    EXPECT_FALSE(FindFunction(u"Array_Print")->GetArg(1)->defaultValue);
    EXPECT_EQ(LoadCall(u"Array_Print", {Num(1), Num(2), Num(3)})->GetDisplayText(), u"Array_Print(1, 2, 3, False)");
    EXPECT_EQ(LoadCall(u"Array_Remove", {Num(1), Num(2)})->GetDisplayText(), u"Call Array_Remove(1, 2, 1)");
}

// Each row reaches its own operation (the operations' rules are tested with
// the containers).
TEST_F(BuiltinContainers, RowsReachTheirOperations) {
    PExprItem array = Call(u"Array_Create", {});
    ASSERT_NE(ItemAs<AnyArray>(array), nullptr);
    EXPECT_FALSE(Invoke(u"Array_Push", {array, Num(3)}));
    Invoke(u"Array_Push", {array, Text(u"b")});
    Invoke(u"Array_Set", {array, Num(1), Num(2)});
    Invoke(u"Array_Insert", {array, Num(0), Num(9)});
    Invoke(u"Array_Sort", {array, MakeItem<ExprItem_Bool>(true)});
    EXPECT_EQ(AsNumber(Invoke(u"Array_Get", {array, Num(0)})), 2.0);
    EXPECT_EQ(AsNumber(Invoke(u"Array_Pop", {array})), 9.0);
    Invoke(u"Array_Remove", {array, Num(0), Num(1)});
    EXPECT_EQ(AsText(Invoke(u"Array_Print", {array, Num(0), Num(0), MakeItem<ExprItem_Bool>(true)})), u"3\r\n");
    Invoke(u"Array_Clear", {array});
    EXPECT_EQ(AsNumber(Invoke(u"Array_GetSize", {array})), 0.0);

    PExprItem data = Call(u"NamedData_Create", {});
    ASSERT_NE(ItemAs<ExprItem_NamedData>(data), nullptr);
    Invoke(u"NamedData_Set", {data, Text(u"b"), Num(2)});
    Invoke(u"NamedData_Set", {data, Text(u"a"), Text(u"x")});
    Invoke(u"NamedData_Remove", {data, Text(u"b")});
    EXPECT_EQ(AsText(Invoke(u"NamedData_GetName", {data, Num(0)})), u"a");
    EXPECT_EQ(AsText(Invoke(u"NamedData_Get", {data, Text(u"a")})), u"x");
    EXPECT_EQ(AsText(Invoke(u"NamedData_Print", {data})), u"a = \"x\"\r\n");
    Invoke(u"NamedData_Clear", {data});
    EXPECT_EQ(AsNumber(Invoke(u"NamedData_GetSize", {data})), 0.0);

    PExprItem bin = Call(u"BinData_FromText", {Text(u"0A ff 10")});
    ASSERT_NE(ItemAs<ExprItem_BinData>(bin), nullptr);
    EXPECT_EQ(AsNumber(Invoke(u"BinData_GetSize", {bin})), 3.0);
    EXPECT_EQ(AsNumber(Invoke(u"BinData_GetByte", {bin, Num(1)})), 255.0);
    EXPECT_EQ(AsNumber(Call(u"Hex_GetSize", {MakeItem<ExprItem_Hex>(std::vector<uint8_t>{1, 2})})), 2.0);
}

}  // namespace
}  // namespace ovrix
