// Byte-data operations. The buffers themselves belong to the Hex and
// BinData kinds; these only read them or make new ones.
#include "expr/ByteData.h"

#include "expr/KindsValue.h"

namespace ovrix {

const std::vector<uint8_t>* BytesOf(const PExprItem& value) {
    if (const auto* hex = ItemAs<ExprItem_Hex>(value)) return &hex->bytes;
    if (const auto* bin = ItemAs<ExprItem_BinData>(value)) return &bin->bytes;
    return nullptr;
}

namespace {

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

std::optional<std::vector<uint8_t>> ParseHexBytes(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) i += 2;
    std::vector<uint8_t> bytes;
    while (i < text.size()) {
        if (IsBlank(text[i])) {
            ++i;
            continue;
        }
        if (i + 1 >= text.size()) return std::nullopt;
        const int high = HexDigitValue(text[i]);
        const int low = HexDigitValue(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
        i += 2;
    }
    return bytes;
}

namespace containers {

namespace {

const std::vector<uint8_t>* BytesArgument(Arguments args, size_t needed) {
    if (args.size() < needed || args.empty()) return nullptr;
    return BytesOf(args[0]);
}

PExprItem SizeOf(Arguments args) {
    const std::vector<uint8_t>* bytes = BytesArgument(args, 1);
    return bytes ? MakeItem<ExprItem_Num>(static_cast<double>(bytes->size())) : PExprItem();
}

}  // namespace

PExprItem Hex_GetSize(Arguments args) { return SizeOf(args); }

PExprItem BinData_GetSize(Arguments args) { return SizeOf(args); }

PExprItem BinData_FromText(Arguments args) {
    if (args.empty()) return {};
    const std::u16string text = AsText(args[0]);
    if (text.empty()) return {};
    std::optional<std::vector<uint8_t>> bytes = ParseHexBytes(text);
    return bytes ? MakeItem<ExprItem_BinData>(std::move(*bytes)) : PExprItem();
}

PExprItem BinData_GetByte(Arguments args) {
    const std::vector<uint8_t>* bytes = BytesArgument(args, 2);
    if (bytes == nullptr) return {};
    const int64_t position = AsInteger(args[1]);
    if (position < 0 || position >= static_cast<int64_t>(bytes->size())) return {};
    return MakeItem<ExprItem_Num>(static_cast<double>((*bytes)[static_cast<size_t>(position)]));
}

}  // namespace containers

}  // namespace ovrix
