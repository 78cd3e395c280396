#include "expr/NumberEnum.h"

#include "expr/ExprState.h"
#include "expr/FunctionDescriptor.h"

namespace ovrix {

void NumberEnum::Add(int64_t value, std::u16string name) { names_[value] = std::move(name); }

const std::u16string* NumberEnum::NameOf(int64_t value) const {
    const auto it = names_.find(value);
    return it == names_.end() ? nullptr : &it->second;
}

bool NumberEnum::ValueOf(std::u16string_view name, int64_t& value) const {
    for (const auto& [v, n] : names_) {
        if (n == name) {
            value = v;
            return true;
        }
    }
    return false;
}

const NumberEnum* FindNumberEnum(std::u16string_view name) {
    const ExprState* state = CurrentExprState();
    return state != nullptr && state->functions != nullptr ? state->functions->FindEnumeration(name) : nullptr;
}

}  // namespace ovrix
