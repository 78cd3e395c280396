// Text, byte data and member names: the kinds whose stored form is a text
// or raw bytes.
#include "container/Text.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

constexpr size_t kShortTextLimit = 21;  // longer texts show as 9 + "..." + 9
constexpr size_t kShortHexDigits = 32;

std::u16string HexDigits(const std::vector<uint8_t>& bytes, size_t maxDigits) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string out;
    for (uint8_t b : bytes) {
        if (out.size() >= maxDigits) break;
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

std::vector<uint8_t> ReadBytes(Region region) {
    const auto r = FindRecord(region, tag::kHex);
    if (!r) return {};
    return {r->base, r->base + r->size};
}

void WriteBytes(RecordBuffer& buffer, const std::vector<uint8_t>& bytes) {
    // A zero-length record would end every later scan of the node.
    if (!bytes.empty()) WriteRecord(buffer, tag::kHex, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

}  // namespace

std::u16string ExprItem_Text::GetDisplayText() const {
    if (text.empty()) return u"Empty";
    std::u16string shown = ReplaceAll(text, u"\r\n", u"\\r\\n");
    if (shown.size() > kShortTextLimit) shown = shown.substr(0, 9) + u"..." + shown.substr(shown.size() - 9);
    return Quote(shown);
}

std::u16string ExprItem_Text::GetMarkedText() const { return Marker(u'P', GetDisplayText()); }

double ExprItem_Text::GetNumber() const { return LeadingNumber(text); }

void ExprItem_Text::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    WriteString(buffer, tag::kText, text);
}

void ExprItem_Text::Load(Region region) { text = ReadString(region, tag::kText, u""); }

PExprItem ExprItem_Text::Clone() const { return MakeItem<ExprItem_Text>(text); }

std::u16string ExprItem_Hex::GetDisplayText() const {
    if (bytes.empty()) return u"Empty";
    std::u16string digits = HexDigits(bytes, kShortHexDigits);
    if (bytes.size() * 2 > kShortHexDigits) digits += u"...";
    return u"0x" + digits;
}

std::u16string ExprItem_Hex::GetMarkedText() const { return Marker(u'P', GetDisplayText()); }

std::u16string ExprItem_Hex::GetValueText() const { return u"0x" + HexDigits(bytes, SIZE_MAX); }

double ExprItem_Hex::GetNumber() const {
    uint32_t v = 0;
    for (size_t i = 0; i < bytes.size() && i < 4; ++i) v |= static_cast<uint32_t>(bytes[i]) << (8 * i);
    return v;
}

void ExprItem_Hex::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    WriteBytes(buffer, bytes);
}

void ExprItem_Hex::Load(Region region) { bytes = ReadBytes(region); }

PExprItem ExprItem_Hex::Clone() const { return MakeItem<ExprItem_Hex>(bytes); }

void ExprItem_BinData::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    WriteBytes(buffer, bytes);
}

void ExprItem_BinData::Load(Region region) { bytes = ReadBytes(region); }

PExprItem ExprItem_BinData::Clone() const { return MakeItem<ExprItem_BinData>(bytes); }

void ExprItem_Member::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    WriteString(buffer, tag::kMember, name);
}

void ExprItem_Member::Load(Region region) { name = ReadString(region, tag::kMember, u""); }

PExprItem ExprItem_Member::Clone() const { return MakeItem<ExprItem_Member>(name); }

}  // namespace ovrix
