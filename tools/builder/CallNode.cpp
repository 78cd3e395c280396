#include "builder/CallNode.h"

#include "container/RecordBuffer.h"
#include "expr/ExprKinds.h"
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"

namespace ovrix {

PExprItem LoadCall(std::u16string_view key, const std::vector<PExprItem>& args) {
    RecordBuffer b;
    WriteU32(b, tag::kType, kind::kFunction);
    WriteString(b, tag::kFunction, key);
    WriteU32(b, tag::kCallForm, 0);
    for (size_t i = 0; i < args.size(); ++i) SaveSubNode(b, tag::Argument(static_cast<uint32_t>(i)), args[i]);
    const std::vector<uint8_t> bytes = b.ToVector();
    return ReadExprItem(Region{bytes.data(), static_cast<uint32_t>(bytes.size())});
}

}  // namespace ovrix
