#include "expr/NumberEnum.h"

#include <memory>

namespace ovrix {

namespace {

std::map<std::u16string, std::unique_ptr<NumberEnum>, std::less<>>& Registry() {
    static std::map<std::u16string, std::unique_ptr<NumberEnum>, std::less<>> registry;
    return registry;
}

}  // namespace

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

NumberEnum& RegisterNumberEnum(std::u16string_view name) {
    auto& registry = Registry();
    auto it = registry.find(name);
    if (it == registry.end()) {
        it = registry.emplace(std::u16string(name), std::make_unique<NumberEnum>(std::u16string(name))).first;
    }
    return *it->second;
}

NumberEnum* FindNumberEnum(std::u16string_view name) {
    auto& registry = Registry();
    const auto it = registry.find(name);
    return it == registry.end() ? nullptr : it->second.get();
}

}  // namespace ovrix
