// The Arrays family of built-in functions: descriptors over the array
// operations of the containers, which own their behaviour (indexes, growth,
// sorting, printing).
#include "builtins/FamilyTable.h"
#include "expr/Array.h"

namespace ovrix {

namespace {

using Operation = PExprItem (*)(containers::Arguments);

template <Operation Op>
PExprItem* Call(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    *result = Op(containers::Arguments(args, count > 0 ? static_cast<size_t>(count) : 0));
    return result;
}

const ArgSpec kArray{u"Array", fkind::kArray};
const ArgSpec kIndex{u"Index", fkind::kNumber};
const ArgSpec kValue{u"Value", fkind::kAny};

const FunctionSpec kArrays[] = {
    {u"Array_Create", fkind::kObject, Call<containers::Array_Create>, {}, u"Array"},
    {u"Array_Push", fkind::kNothing, Call<containers::Array_Push>, {kArray, kValue}},
    {u"Array_Pop", fkind::kVariable, Call<containers::Array_Pop>, {kArray}},
    {u"Array_Get", fkind::kObject, Call<containers::Array_Get>, {kArray, kIndex}},
    {u"Array_Set", fkind::kNothing, Call<containers::Array_Set>, {kArray, kIndex, kValue}},
    {u"Array_Insert", fkind::kNothing, Call<containers::Array_Insert>, {kArray, kIndex, kValue}},
    {u"Array_Remove", fkind::kNothing, Call<containers::Array_Remove>,
     {kArray, kIndex, {u"Count", fkind::kNumber, DefNumber(1)}}},
    {u"Array_Clear", fkind::kNothing, Call<containers::Array_Clear>, {kArray}},
    {u"Array_Sort", fkind::kNothing, Call<containers::Array_Sort>, {kArray, {u"Ascend", fkind::kBool}}},
    {u"Array_GetSize", fkind::kNumber, Call<containers::Array_GetSize>, {kArray}},
    {u"Array_Print", fkind::kText, Call<containers::Array_Print>,
     {kArray, {u"StartIndex", fkind::kNumber}, {u"Count", fkind::kNumber},
      {u"PrintRawText", fkind::kBool, DefBool(false)}}},
};

}  // namespace

std::span<const FunctionSpec> ArrayFunctions() { return kArrays; }

}  // namespace ovrix
