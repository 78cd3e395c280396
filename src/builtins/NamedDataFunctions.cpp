// The Named data family of built-in functions: descriptors over the
// named-data operations of the containers, which own their behaviour.
#include "builtins/FamilyTable.h"
#include "expr/NamedData.h"

namespace ovrix {

namespace {

using Operation = PExprItem (*)(containers::Arguments);

template <Operation Op>
PExprItem* Call(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    *result = Op(containers::Arguments(args, count > 0 ? static_cast<size_t>(count) : 0));
    return result;
}

const ArgSpec kNamedData{u"NamedData", fkind::kNamedData};
const ArgSpec kDataName{u"DataName", fkind::kText};

const FunctionSpec kNamedDataRows[] = {
    {u"NamedData_Create", fkind::kObject, Call<containers::NamedData_Create>, {}, u"NamedData"},
    {u"NamedData_Set", fkind::kNothing, Call<containers::NamedData_Set>,
     {kNamedData, kDataName, {u"DataValue", fkind::kAny}}},
    {u"NamedData_Get", fkind::kObject, Call<containers::NamedData_Get>, {kNamedData, kDataName}},
    {u"NamedData_GetName", fkind::kText, Call<containers::NamedData_GetName>,
     {kNamedData, {u"ItemIndex", fkind::kNumber}}},
    {u"NamedData_GetSize", fkind::kNumber, Call<containers::NamedData_GetSize>, {kNamedData}},
    {u"NamedData_Remove", fkind::kNothing, Call<containers::NamedData_Remove>, {kNamedData, kDataName}},
    {u"NamedData_Clear", fkind::kNothing, Call<containers::NamedData_Clear>, {kNamedData}},
    {u"NamedData_Print", fkind::kText, Call<containers::NamedData_Print>, {kNamedData}},
};

}  // namespace

std::span<const FunctionSpec> NamedDataFunctions() { return kNamedDataRows; }

}  // namespace ovrix
