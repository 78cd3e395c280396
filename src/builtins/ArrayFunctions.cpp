// The Arrays family of built-in functions: descriptors over the array
// operations of the containers, which own their behaviour (indexes, growth,
// sorting, printing).
#include "builtins/FamilyTable.h"
#include "expr/Array.h"

namespace ovrix {

namespace {

const ArgSpec kArray{u"Array", fkind::kArray};
const ArgSpec kIndex{u"Index", fkind::kNumber};
const ArgSpec kValue{u"Value", fkind::kAny};

const FunctionSpec kArrays[] = {
    {u"Array_Create", fkind::kObject, fnargs::CallOperation<containers::Array_Create>, {}, u"Array"},
    {u"Array_Push", fkind::kNothing, fnargs::CallOperation<containers::Array_Push>, {kArray, kValue}},
    {u"Array_Pop", fkind::kVariable, fnargs::CallOperation<containers::Array_Pop>, {kArray}},
    {u"Array_Get", fkind::kObject, fnargs::CallOperation<containers::Array_Get>, {kArray, kIndex}},
    {u"Array_Set", fkind::kNothing, fnargs::CallOperation<containers::Array_Set>, {kArray, kIndex, kValue}},
    {u"Array_Insert", fkind::kNothing, fnargs::CallOperation<containers::Array_Insert>, {kArray, kIndex, kValue}},
    {u"Array_Remove", fkind::kNothing, fnargs::CallOperation<containers::Array_Remove>,
     {kArray, kIndex, {u"Count", fkind::kNumber, DefNumber(1)}}},
    {u"Array_Clear", fkind::kNothing, fnargs::CallOperation<containers::Array_Clear>, {kArray}},
    {u"Array_Sort", fkind::kNothing, fnargs::CallOperation<containers::Array_Sort>, {kArray, {u"Ascend", fkind::kBool}}},
    {u"Array_GetSize", fkind::kNumber, fnargs::CallOperation<containers::Array_GetSize>, {kArray}},
    {u"Array_Print", fkind::kText, fnargs::CallOperation<containers::Array_Print>,
     {kArray, {u"StartIndex", fkind::kNumber}, {u"Count", fkind::kNumber},
      {u"PrintRawText", fkind::kBool, DefBool(false)}}},
};

}  // namespace

std::span<const FunctionSpec> ArrayFunctions() { return kArrays; }

}  // namespace ovrix
