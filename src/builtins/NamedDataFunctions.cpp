// The Named data family of built-in functions: descriptors over the
// named-data operations of the containers, which own their behaviour.
#include "builtins/FamilyTable.h"
#include "expr/NamedData.h"

namespace ovrix {

namespace {

const ArgSpec kNamedData{u"NamedData", fkind::kNamedData};
const ArgSpec kDataName{u"DataName", fkind::kText};

const FunctionSpec kNamedDataRows[] = {
    {u"NamedData_Create", fkind::kObject, fnargs::CallOperation<containers::NamedData_Create>, {}, u"NamedData"},
    {u"NamedData_Set", fkind::kNothing, fnargs::CallOperation<containers::NamedData_Set>,
     {kNamedData, kDataName, {u"DataValue", fkind::kAny}}},
    {u"NamedData_Get", fkind::kObject, fnargs::CallOperation<containers::NamedData_Get>, {kNamedData, kDataName}},
    {u"NamedData_GetName", fkind::kText, fnargs::CallOperation<containers::NamedData_GetName>,
     {kNamedData, {u"ItemIndex", fkind::kNumber}}},
    {u"NamedData_GetSize", fkind::kNumber, fnargs::CallOperation<containers::NamedData_GetSize>, {kNamedData}},
    {u"NamedData_Remove", fkind::kNothing, fnargs::CallOperation<containers::NamedData_Remove>, {kNamedData, kDataName}},
    {u"NamedData_Clear", fkind::kNothing, fnargs::CallOperation<containers::NamedData_Clear>, {kNamedData}},
    {u"NamedData_Print", fkind::kText, fnargs::CallOperation<containers::NamedData_Print>, {kNamedData}},
};

}  // namespace

std::span<const FunctionSpec> NamedDataFunctions() { return kNamedDataRows; }

}  // namespace ovrix
