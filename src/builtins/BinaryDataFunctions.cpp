// The Binary data family of built-in functions: descriptors over the
// byte-data operations, which accept Hex and BinData values alike.
#include "builtins/FamilyTable.h"
#include "expr/ByteData.h"

namespace ovrix {

namespace {

using Operation = PExprItem (*)(containers::Arguments);

template <Operation Op>
PExprItem* Call(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    *result = Op(containers::Arguments(args, count > 0 ? static_cast<size_t>(count) : 0));
    return result;
}

const ArgSpec kBinData{u"BinData", fkind::kObject, NoDefault(), 0, u"BinData BinData"};

const FunctionSpec kBinary[] = {
    {u"Hex_GetSize", fkind::kNumber, Call<containers::Hex_GetSize>, {{u"HexData", fkind::kHexData}}},
    {u"BinData_FromText", fkind::kObject, Call<containers::BinData_FromText>, {{u"HexText", fkind::kText}},
     u"BinData"},
    {u"BinData_GetSize", fkind::kNumber, Call<containers::BinData_GetSize>, {kBinData}},
    {u"BinData_GetByte", fkind::kNumber, Call<containers::BinData_GetByte>,
     {kBinData, {u"Position", fkind::kNumber}}},
};

}  // namespace

std::span<const FunctionSpec> BinaryDataFunctions() { return kBinary; }

}  // namespace ovrix
