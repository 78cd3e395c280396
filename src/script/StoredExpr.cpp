// Stored expressions kept as bytes. The display text renders the plain value
// kinds exactly; operators, calls and the other composite kinds are rendered
// by the expression language and show here as "?".
#include "script/StoredExpr.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "container/Tags.h"
#include "container/Text.h"

namespace ovrix {

namespace {

constexpr uint32_t kKindVariable = 256;
constexpr uint32_t kKindNumber = 257;
constexpr uint32_t kKindText = 258;
constexpr uint32_t kKindEmpty = 265;
constexpr uint32_t kKindBool = 2052;

std::u16string TextDisplay(std::u16string_view text) {
    if (text.empty()) return u"Empty";
    std::u16string s = ReplaceAll(text, u"\r\n", u"\\r\\n");
    if (s.size() > 21) s = s.substr(0, 9) + u"..." + s.substr(s.size() - 9);
    return u"\"" + s + u"\"";
}

std::string StripZeros(std::string s) {
    while (!s.empty() && s.back() == '0') s.pop_back();
    while (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

// Number display without an enumeration (the flag bits 0, 2 and 1).
std::u16string NumberDisplay(uint32_t flags, double value) {
    char buf[512];
    if (flags & 1) {
        std::snprintf(buf, sizeof buf, "0x%X", static_cast<uint32_t>(static_cast<int64_t>(std::trunc(value))));
        return Widen(buf);
    }
    if (flags & 4) {
        const auto v = static_cast<int64_t>(std::trunc(value));
        std::snprintf(buf, sizeof buf, "RGB(%d,%d,%d)", static_cast<int>(v & 255), static_cast<int>((v >> 8) & 255),
                      static_cast<int>((v >> 16) & 255));
        return Widen(buf);
    }
    if (flags & 2) {
        std::snprintf(buf, sizeof buf, "%E", value);
        std::string text = buf;
        const size_t e = text.find_first_of("Ee");
        if (e == std::string::npos) return Widen(text);
        std::string out = StripZeros(text.substr(0, e)) + "E";
        size_t i = e + 1;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) out += text[i++];
        std::string digits = text.substr(i);
        const size_t nz = digits.find_first_not_of('0');
        out += nz == std::string::npos ? "0" : digits.substr(nz);
        return Widen(out);
    }
    std::snprintf(buf, sizeof buf, "%f", value);
    return Widen(StripZeros(buf));
}

}  // namespace

void StoredExpr::Load(Region step, uint32_t tag) {
    present_ = false;
    bytes_.clear();
    if (auto r = FindRecord(step, tag)) {
        present_ = true;
        bytes_.assign(r->base, r->base + r->size);
    }
}

void StoredExpr::Save(RecordBuffer& buffer, uint32_t tag) const {
    if (!present_) return;
    WriteRecord(buffer, tag, bytes_.data(), static_cast<uint32_t>(bytes_.size()));
}

std::u16string StoredExpr::DisplayText() const {
    if (!present_) return u"";
    const Region r = AsRegion();
    switch (ReadU32(r, tag::kType, 0)) {
        case kKindText: return TextDisplay(ReadString(r, MakeTag("TEXT"), u""));
        case kKindNumber:
            if (FindRecord(r, MakeTag("ENUM"))) return u"?";  // enumeration names come with the registry
            return NumberDisplay(ReadU32(r, MakeTag("NFLG"), 0), ReadF64(r, MakeTag("NUM"), 0.0));
        case kKindBool: return ReadU32(r, MakeTag("BOOL"), 0) ? u"True" : u"False";
        case kKindEmpty: return u"Empty";
        case kKindVariable: return ReadString(r, MakeTag("VAR"), u"");
        default: return u"?";
    }
}

namespace {

StoredExpr Node(uint32_t kind, const std::function<void(RecordBuffer&)>& fields) {
    RecordBuffer node;
    WriteU32(node, tag::kType, kind);
    fields(node);
    return StoredExpr(node.ToVector());
}

}  // namespace

StoredExpr NumberExpr(double value, uint32_t displayFlags) {
    return Node(kKindNumber, [&](RecordBuffer& b) {
        WriteU32(b, MakeTag("NFLG"), displayFlags);
        WriteF64(b, MakeTag("NUM"), value);
    });
}

StoredExpr TextExpr(std::u16string_view text) {
    return Node(kKindText, [&](RecordBuffer& b) { WriteString(b, MakeTag("TEXT"), text); });
}

StoredExpr BoolExpr(bool value) {
    return Node(kKindBool, [&](RecordBuffer& b) { WriteU32(b, MakeTag("BOOL"), value ? 1 : 0); });
}

StoredExpr VariableExpr(std::u16string_view name) {
    return Node(kKindVariable, [&](RecordBuffer& b) { WriteString(b, MakeTag("VAR"), name); });
}

}  // namespace ovrix
