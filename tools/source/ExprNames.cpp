#include "ExprNames.h"

#include <algorithm>
#include <array>
#include <map>
#include <tuple>
#include <vector>

#include "SourceText.h"
#include "builtins/FamilyTable.h"
#include "builtins/Registry.h"
#include "container/Text.h"
#include "expr/ExprKinds.h"

namespace ovrix {

namespace {

constexpr std::array<OperatorForm, 14> kOperators = {{
    {op::kOr, u"or", level::kOr},
    {op::kAnd, u"and", level::kAnd},
    {op::kEqual, u"==", level::kEquality},
    {op::kNotEqual, u"!=", level::kEquality},
    {op::kLessEqual, u"<=", level::kOrder},
    {op::kGreaterEqual, u">=", level::kOrder},
    {op::kLess, u"<", level::kOrder},
    {op::kGreater, u">", level::kOrder},
    {op::kSum, u"+", level::kSum},
    {op::kDifference, u"-", level::kSum},
    {op::kProduct, u"*", level::kProduct},
    {op::kQuotient, u"/", level::kProduct},
    {op::kRemainder, u"%", level::kProduct},
    {op::kPower, u"^", level::kPower},
}};

constexpr std::array<std::u16string_view, 15> kReserved = {
    u"Set", u"Alias", u"Add", u"Remove", u"Call", u"True", u"False", u"Empty",
    u"new", u"Pattern", u"Number", u"RGB", u"Handle", u"NaN", u"Inf"};

struct EmptyName {
    uint32_t kind;
    const char16_t* name;
};
constexpr std::array<EmptyName, 7> kEmptyValues = {{
    {kind::kArray, u"Array"},
    {kind::kNamedData, u"NamedData"},
    {kind::kFileFinder, u"FileFinder"},
    {kind::kWorkbook, u"Workbook"},
    {kind::kProcess, u"Process"},
    {kind::kWindowHandle, u"WindowHandle"},
    {kind::kSolver, u"Solver"},
}};

constexpr std::array<const char16_t*, 16> kPatternTypes = {
    nullptr,        u"Literal",   u"Sequence",  u"Class",    u"NotClass", u"Either",  u"UpTo",    u"ZeroOrMore",
    u"OneOrMore",   u"Optional",  u"Repeat",    u"Exactly",  u"AtLeast",  u"Integer", u"Decimal", u"Rest"};

// The member functions of the catalogue by how they are written.
class MemberTable {
public:
    MemberTable() {
        for (const FamilySpec& family : Catalogue()) {
            for (const FunctionSpec& spec : family.functions) Add(spec.key);
        }
    }

    std::optional<MemberForm> FormOf(std::u16string_view key) const {
        const auto it = forms_.find(key);
        return it != forms_.end() ? std::optional<MemberForm>(it->second) : std::nullopt;
    }

    std::optional<std::u16string> Key(std::u16string_view type, std::u16string_view member, MemberUse use,
                                      bool& named) const {
        const auto n = named_.find({std::u16string(type), std::u16string(member), use});
        if (n != named_.end()) {
            named = true;
            return n->second.size() == 1 ? std::optional<std::u16string>(n->second[0]) : std::nullopt;
        }
        named = false;
        const auto u = nameless_.find({std::u16string(type), use});
        return u != nameless_.end() && u->second.size() == 1 ? std::optional<std::u16string>(u->second[0])
                                                               : std::nullopt;
    }

    bool HasType(std::u16string_view type) const {
        return std::any_of(forms_.begin(), forms_.end(), [&](const auto& f) { return f.second.type == type; });
    }

private:
    void Add(std::u16string_view key) {
        const PLX_FunctionBase* f = FindBuiltin(key);
        const size_t dot = key.find(u'.');
        if (f == nullptr || !f->IsMember() || key.size() < 4 || key.front() != u'<' || key.back() != u'>' ||
            dot == std::u16string_view::npos || forms_.find(key) != forms_.end()) {
            return;
        }
        MemberForm form;
        form.type = std::u16string(key.substr(1, dot - 1));
        if (!IsCallName(form.type)) return;
        form.use = f->IsPropertySet() ? MemberUse::Set : f->IsPropertyGet() ? MemberUse::Get : MemberUse::Method;
        if (const char16_t* member = f->GetMemberName()) {
            form.member = member;
            named_[{form.type, form.member, form.use}].emplace_back(key);
        } else {
            nameless_[{form.type, form.use}].emplace_back(key);
        }
        forms_.emplace(std::u16string(key), form);
    }

    std::map<std::u16string, MemberForm, std::less<>> forms_;
    std::map<std::tuple<std::u16string, std::u16string, MemberUse>, std::vector<std::u16string>> named_;
    std::map<std::pair<std::u16string, MemberUse>, std::vector<std::u16string>> nameless_;
};

const MemberTable& Members() {
    static const MemberTable table;
    return table;
}

}  // namespace

const OperatorForm* OperatorOfCode(uint32_t code) {
    for (const OperatorForm& op : kOperators) {
        if (op.code == code) return &op;
    }
    return nullptr;
}

const OperatorForm* OperatorAt(std::u16string_view text) {
    for (const OperatorForm& op : kOperators) {  // two-character symbols come first
        if (text.substr(0, op.symbol.size()) != op.symbol) continue;
        const bool word = op.symbol == u"and" || op.symbol == u"or";
        if (word && op.symbol.size() < text.size()) {
            const char16_t next = text[op.symbol.size()];
            if ((next >= u'a' && next <= u'z') || (next >= u'A' && next <= u'Z') || (next >= u'0' && next <= u'9') ||
                next == u'_') {
                continue;
            }
        }
        return &op;
    }
    return nullptr;
}

int LeftOperandLevel(const OperatorForm& op) { return op.level == level::kPower ? level::kPrimary : op.level; }
int RightOperandLevel(const OperatorForm& op) { return op.level == level::kPower ? level::kUnary : op.level + 1; }

bool IsReservedWord(std::u16string_view word) {
    return std::find(kReserved.begin(), kReserved.end(), word) != kReserved.end();
}

uint32_t EmptyValueKind(std::u16string_view name) {
    for (const EmptyName& e : kEmptyValues) {
        if (name == e.name) return e.kind;
    }
    return 0;
}

const char16_t* EmptyValueName(uint32_t kind) {
    for (const EmptyName& e : kEmptyValues) {
        if (kind == e.kind) return e.name;
    }
    return nullptr;
}

uint32_t PatternTypeOfName(std::u16string_view name) {
    for (uint32_t t = 1; t < kPatternTypes.size(); ++t) {
        if (name == kPatternTypes[t]) return t;
    }
    return 0;
}

const char16_t* PatternTypeName(uint32_t type) { return type < kPatternTypes.size() ? kPatternTypes[type] : nullptr; }

const PLX_FunctionBase* FindBuiltin(std::u16string_view key) {
    static const FunctionRegistry registry;
    return registry.Find(key);
}

bool IsCallName(std::u16string_view key) {
    size_t i = 0;
    auto letter = [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_'; };
    auto digit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    if (key.empty() || !letter(key[0])) return false;
    while (i < key.size() && (letter(key[i]) || digit(key[i]))) ++i;
    if (i == key.size()) return true;
    if (key[i] != u'#' || i + 1 == key.size()) return false;
    for (++i; i < key.size(); ++i) {
        if (!digit(key[i])) return false;
    }
    return true;
}

std::optional<std::u16string> NearestBuiltinName(std::u16string_view name) {
    std::optional<std::u16string> best;
    size_t bestDistance = std::max<size_t>(2, name.size() / 3) + 1;
    for (const FamilySpec& family : Catalogue()) {
        for (const FunctionSpec& spec : family.functions) {
            const std::u16string_view key = spec.key;
            if (!IsCallName(key)) continue;
            // A name that differs only in case is the likeliest meant.
            const size_t d = EqualsNoCase(name, key) ? 0 : EditDistance(name, key, false);
            if (d < bestDistance) {
                bestDistance = d;
                best = std::u16string(key);
            }
        }
    }
    return best;
}

std::optional<MemberForm> MemberFormOf(std::u16string_view key) {
    const auto form = Members().FormOf(key);
    if (!form) return std::nullopt;
    bool named = false;
    const auto back = Members().Key(form->type, form->member, form->use, named);
    if (!form->member.empty() && (!back || *back != key)) return std::nullopt;
    return form;
}

std::optional<std::u16string> MemberKey(std::u16string_view type, std::u16string_view member, MemberUse use,
                                        bool& named) {
    return Members().Key(type, member, use, named);
}

bool IsMemberType(std::u16string_view type) { return Members().HasType(type); }

}  // namespace ovrix
