#include "expr/VariableName.h"

namespace ovrix {

namespace {

bool IsPrefix(char16_t c) { return c == u'$' || c == u'@' || c == u'!' || c == u'#'; }
bool IsLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsIdentifier(std::u16string_view part) {
    if (part.empty() || !IsLetter(part[0])) return false;
    for (char16_t c : part) {
        if (!IsLetter(c) && !IsDigit(c)) return false;
    }
    return true;
}

}  // namespace

std::u16string CanonicalVariableName(std::u16string_view name) {
    char16_t prefix = u'$';
    if (!name.empty() && IsPrefix(name[0])) {
        prefix = name[0];
        name.remove_prefix(1);
    }
    if (name.empty()) return {};
    const size_t dot = name.find(u'.');
    const std::u16string_view first = name.substr(0, dot);
    std::u16string out(1, prefix);
    if ((!first.empty() && first[0] == u'(') || IsIdentifier(first)) {
        out += first;
    } else {
        out += u"(";
        out += first;
        out += u")";
    }
    if (dot != std::u16string_view::npos) out += name.substr(dot);
    return out;
}

}  // namespace ovrix
