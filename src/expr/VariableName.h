// Canonical variable names: a scope prefix ('$', '@', '!' or '#'; '$' when
// the name has none), the base name, and member parts joined by '.'. A base
// name that is not an identifier is wrapped in parentheses, so "my var"
// becomes "$(my var)". Variable nodes keep their names in this form.
#pragma once

#include <string>
#include <string_view>

namespace ovrix {

std::u16string CanonicalVariableName(std::u16string_view name);

}  // namespace ovrix
