// The writer of the expression source form. It reads the stored records,
// never loaded nodes: a node is written in its readable form only when its
// decoded shape encodes back to exactly its bytes and every field has a
// readable spelling; otherwise the node goes out raw, as stored"<hex>".
// Each node decides for itself, so a readable parent may hold a raw child.
// Parentheses go only where the parser would otherwise group differently.
#include <bit>
#include <cmath>

#include "ExprLiterals.h"
#include "ExprNames.h"
#include "ExprShape.h"
#include "ExprSource.h"
#include "builtins/Function.h"
#include "builtins/Registry.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "expr/ExprKinds.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsIdentifier(std::u16string_view s) {
    if (s.empty() || !IsLetter(s[0])) return false;
    for (char16_t c : s) {
        if (!IsLetter(c) && !IsDigit(c)) return false;
    }
    return true;
}

bool IsNameRun(std::u16string_view s) {
    if (s.empty()) return false;
    for (char16_t c : s) {
        if (!IsLetter(c) && !IsDigit(c)) return false;
    }
    return true;
}

// Whether a stored variable name is one the variable token spells:
// a prefix, a name or "(" any text without brackets, dots or quotes ")",
// then ".member" parts.
bool IsVariableToken(std::u16string_view s) {
    if (s.size() < 2 || std::u16string_view(u"$@!#").find(s[0]) == std::u16string_view::npos) return false;
    size_t i = 1;
    if (s[i] == u'(') {
        const size_t close = s.find(u')', i);
        if (close == std::u16string_view::npos) return false;
        for (size_t k = i + 1; k < close; ++k) {
            const char16_t c = s[k];
            if (c < 0x20 || std::u16string_view(u"()[]{}.\",").find(c) != std::u16string_view::npos) return false;
        }
        i = close + 1;
    } else {
        if (!IsLetter(s[i])) return false;
        while (i < s.size() && (IsLetter(s[i]) || IsDigit(s[i]))) ++i;
    }
    while (i < s.size()) {
        if (s[i] != u'.') return false;
        const size_t start = ++i;
        while (i < s.size() && (IsLetter(s[i]) || IsDigit(s[i]))) ++i;
        if (i == start) return false;
    }
    return true;
}

std::u16string Hex(uint64_t value) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string out;
    do {
        out.insert(out.begin(), kDigits[value & 15]);
        value >>= 4;
    } while (value != 0);
    return u"0x" + out;
}

// The readable text of a Number node, or nullopt when it has none.
std::u16string NumberText(const ExprShape& s) {
    const double value = std::bit_cast<double>(s.bits);
    const bool integral = std::isfinite(value) && value == std::trunc(value);
    if (!s.enumName) {
        if (s.word == 0) return PlainNumberLiteral(s.bits);
        if (s.word == numflag::kHex && integral && std::fabs(value) < 18446744073709551616.0) {
            const uint64_t magnitude = static_cast<uint64_t>(std::fabs(value));
            return (std::signbit(value) ? u"-" : u"") + Hex(magnitude);
        }
        if (s.word == numflag::kExponent && std::isfinite(value)) return ExponentNumberLiteral(value);
        if (s.word == numflag::kColour && integral && value >= 0 && value <= 0xFFFFFF && !std::signbit(value)) {
            const auto v = static_cast<uint32_t>(value);
            return u"RGB(" + Decimal(v & 255) + u", " + Decimal((v >> 8) & 255) + u", " + Decimal((v >> 16) & 255) + u")";
        }
    } else if (s.word == 0 && IsIdentifier(*s.enumName) && integral && std::fabs(value) < 9.0e18 && !std::signbit(value)) {
        if (const NumberEnum* table = FindLibraryEnumeration(*s.enumName)) {
            const auto v = static_cast<int64_t>(value);
            const std::u16string* name = table->NameOf(v);
            int64_t back = 0;
            if (name != nullptr && IsNameRun(*name) && table->ValueOf(*name, back) && back == v) {
                return *s.enumName + u"." + *name;
            }
        }
    }
    std::u16string out = u"Number(" + PlainNumberLiteral(s.bits);
    if (s.word != 0) out += u", flags " + Hex(s.word);
    if (s.enumName) out += u", enum " + TextLiteral(*s.enumName);
    return out + u")";
}

class Writer {
public:
    explicit Writer(std::u16string& out) : out_(out) {}

    // Writes the node in parentheses when it binds looser than `minLevel`.
    void Node(Region node, int depth, int minLevel) {
        std::optional<ExprShape> shape;
        if (depth < kMaxSourceDepth) shape = DecodeShape(node);
        const size_t start = out_.size();
        const int written = shape ? Readable(*shape, depth) : -1;
        if (written < 0) {
            out_.resize(start);
            Raw(node);
            return;
        }
        if (written < minLevel) {
            out_.insert(start, u"(");
            out_ += u")";
        }
    }

private:
    void Part(const std::optional<Region>& part, int depth, int minLevel) {
        if (part) {
            Node(*part, depth, minLevel);
        } else {
            out_ += u"()";
        }
    }

    void Raw(Region node) {
        std::u16string digits;
        static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
        for (uint32_t i = 0; i < node.size; ++i) {
            digits += kDigits[node.base[i] >> 4];
            digits += kDigits[node.base[i] & 15];
        }
        out_ += u"stored\"" + digits + u"\"";
    }

    void Arguments(const std::vector<std::optional<Region>>& parts, size_t first, int depth) {
        out_ += u"(";
        for (size_t i = first; i < parts.size(); ++i) {
            if (i > first) out_ += u", ";
            Part(parts[i], depth + 1, level::kStatement);
        }
        out_ += u")";
    }

    void FormWord(uint32_t word) {
        if (word != 0) out_ += u"{form " + Decimal(word) + u"}";
    }

    // Writes the node and answers its binding level, or -1 when it has no
    // readable form (decided before anything is written).
    int Readable(const ExprShape& s, int depth) {
        switch (FamilyOf(s.kind)) {
            case ShapeFamily::Raw: return -1;
            case ShapeFamily::Text: out_ += TextLiteral(s.text); return level::kPrimary;
            case ShapeFamily::Number: out_ += NumberText(s); return level::kPrimary;
            case ShapeFamily::Bool:
                if (s.word > 1) return -1;
                out_ += s.word != 0 ? u"True" : u"False";
                return level::kPrimary;
            case ShapeFamily::DateTime:
                out_ += u"date\"" + DateText(static_cast<int64_t>(s.bits)) + u"\"";
                return level::kPrimary;
            case ShapeFamily::TimeSpan:
                out_ += u"span\"" + SpanText(static_cast<int64_t>(s.bits)) + u"\"";
                return level::kPrimary;
            case ShapeFamily::Handle: out_ += u"Handle(" + Hex(s.word) + u")"; return level::kPrimary;
            case ShapeFamily::Bytes:
                out_ += (s.kind == kind::kHex ? u"hex\"" : u"bindata\"") + HexBytesText(s.bytes) + u"\"";
                return level::kPrimary;
            case ShapeFamily::Variable:
                out_ += IsVariableToken(s.text) ? s.text : u"var" + TextLiteral(s.text);
                return level::kPrimary;
            case ShapeFamily::Member:
                out_ += IsIdentifier(s.text) ? u"." + s.text : u"member" + TextLiteral(s.text);
                return level::kPrimary;
            case ShapeFamily::Operator: return Operator(s, depth);
            case ShapeFamily::Call: return Call(s, depth);
            case ShapeFamily::ScriptCall:
                out_ += u"Call " + (IsIdentifier(s.text) ? s.text : TextLiteral(s.text));
                Arguments(s.parts, 0, depth);
                return level::kPrimary;
            case ShapeFamily::Assign: return Assign(s, depth);
            case ShapeFamily::Remove:
                out_ += u"Remove ";
                Part(s.parts[0], depth + 1, level::kPrimary);
                return level::kStatement;
            case ShapeFamily::ValueList:
                out_ += u"[";
                for (size_t i = 0; i < s.parts.size(); ++i) {
                    if (i > 0) out_ += u", ";
                    if (s.parts[i]->size == 0) {
                        out_ += u"()";
                    } else {
                        Node(*s.parts[i], depth + 1, level::kStatement);
                    }
                }
                out_ += u"]";
                return level::kPrimary;
            case ShapeFamily::Pattern: return Pattern(s, depth);
            case ShapeFamily::EmptyValue:
                out_ += s.kind == kind::kEmpty ? std::u16string(u"Empty") : u"new " + std::u16string(EmptyValueName(s.kind));
                return level::kPrimary;
        }
        return -1;
    }

    int Operator(const ExprShape& s, int depth) {
        const OperatorForm& op = *OperatorOfCode(s.kind);
        if (s.kind == op::kDifference && s.parts[0] && !s.parts[1]) {
            out_ += u"-";
            const size_t start = out_.size();
            Node(*s.parts[0], depth + 1, level::kUnary);
            // A digit or Inf/NaN right behind '-' would read as a negative
            // number; a second '-' is kept apart for the eye.
            const std::u16string_view rest = std::u16string_view(out_).substr(start);
            const bool literal = IsDigit(rest[0]) || rest[0] == u'-' ||
                                 ((rest.starts_with(u"Inf") || rest.starts_with(u"NaN")) &&
                                  (rest.size() == 3 || !(IsLetter(rest[3]) || IsDigit(rest[3]))));
            if (literal) {
                out_.insert(start, u"(");
                out_ += u")";
            }
            return level::kUnary;
        }
        Part(s.parts[0], depth + 1, LeftOperandLevel(op));
        out_ += u" " + std::u16string(op.symbol) + u" ";
        Part(s.parts[1], depth + 1, RightOperandLevel(op));
        return op.level;
    }

    int Call(const ExprShape& s, int depth) {
        if (const auto form = MemberFormOf(s.text)) {
            const int written = MemberCall(s, *form, depth);
            if (written >= 0) return written;
        }
        const PLX_FunctionBase* f = FindBuiltin(s.text);
        const bool named = IsCallName(s.text) && !IsReservedWord(s.text) && f != nullptr &&
                           static_cast<int32_t>(s.parts.size()) <= f->GetArgCount();
        out_ += named ? s.text : TextLiteral(s.text);
        FormWord(s.word);
        Arguments(s.parts, 0, depth);
        return level::kPrimary;
    }

    // obj:Type.Member, obj:Type.Member(...), Set obj:Type.Member = v; -1
    // when the stored call does not fit the form.
    int MemberCall(const ExprShape& s, const MemberForm& form, int depth) {
        const PLX_FunctionBase* f = FindBuiltin(s.text);
        std::u16string member = form.member;
        size_t first = 1;
        if (member.empty()) {  // named by its second argument, a Member node
            if (s.parts.size() < 2) return -1;
            const auto name = DecodeShape(*s.parts[1]);
            bool named = true;
            if (!name || name->kind != kind::kMember || !IsIdentifier(name->text)) return -1;
            const auto key = MemberKey(form.type, name->text, form.use, named);
            if (!key || named || *key != s.text) return -1;
            member = name->text;
            first = 2;
        }
        const size_t count = s.parts.size();
        const bool fits = form.use == MemberUse::Get   ? count == first
                          : form.use == MemberUse::Set ? count == first + 1
                                                       : count >= first;
        if (!fits || f == nullptr || static_cast<int32_t>(count) > f->GetArgCount()) return -1;
        if (form.use == MemberUse::Set) out_ += u"Set ";
        Node(*s.parts[0], depth + 1, level::kPrimary);
        out_ += u":" + form.type + u"." + member;
        FormWord(s.word);
        if (form.use == MemberUse::Method) Arguments(s.parts, first, depth);
        if (form.use != MemberUse::Set) return level::kPrimary;
        out_ += u" = ";
        Node(*s.parts[first], depth + 1, level::kStatement);
        return level::kStatement;
    }

    int Assign(const ExprShape& s, int depth) {
        if (s.kind == kind::kAddValue) {
            out_ += u"Add ";
            Part(s.parts[1], depth + 1, level::kStatement);
            out_ += u" to ";
            Part(s.parts[0], depth + 1, level::kPrimary);
            return level::kStatement;
        }
        out_ += s.kind == kind::kSetVar ? u"Set " : u"Alias ";
        // A call as the target of Set would read as a property set.
        const bool call = s.parts[0] && s.parts[0]->size >= 12 && LoadU32(s.parts[0]->base) == tag::kType &&
                          LoadU32(s.parts[0]->base + 8) == kind::kFunction;
        Part(s.parts[0], depth + 1, call && s.kind == kind::kSetVar ? level::kPrimary + 1 : level::kPrimary);
        out_ += u" = ";
        Part(s.parts[1], depth + 1, level::kStatement);
        return level::kStatement;
    }

    int Pattern(const ExprShape& s, int depth) {
        const char16_t* name = PatternTypeName(s.word);
        out_ += u"Pattern(" + (name != nullptr ? std::u16string(name) : Decimal(s.word));
        if (s.flat != 0) out_ += u", flags " + Decimal(s.flat);
        if (s.word == 14) {
            if (s.low != 0) out_ += u", low " + PlainNumberLiteral(s.low);
            if (s.high != 0) out_ += u", high " + PlainNumberLiteral(s.high);
        } else {
            if (s.n != 0) out_ += u", n " + Decimal(static_cast<int32_t>(s.n));
            if (s.m != 0) out_ += u", m " + Decimal(static_cast<int32_t>(s.m));
        }
        if (!s.text.empty()) out_ += u", text " + TextLiteral(s.text);
        if (!s.parts.empty() && s.parts[0]) {
            out_ += u", sub ";
            Node(*s.parts[0], depth + 1, level::kStatement);
        }
        out_ += u")";
        return level::kPrimary;
    }

    std::u16string& out_;
};

}  // namespace

void WriteExprSource(Region node, std::u16string& out) { Writer(out).Node(node, 1, level::kStatement); }

}  // namespace ovrix
