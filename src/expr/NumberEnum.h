// Named tables that map integer values to names (window show states,
// virtual keys, ...). A Number value may carry one and then shows the name
// of its value. The tables belong to the built-in library, which builds
// them once and never changes them; a stored Number finds its table by name
// through the installed registry.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace ovrix {

class NumberEnum {
public:
    explicit NumberEnum(std::u16string name) : name_(std::move(name)) {}
    NumberEnum(const NumberEnum&) = delete;
    NumberEnum& operator=(const NumberEnum&) = delete;

    const std::u16string& Name() const { return name_; }

    void Add(int64_t value, std::u16string name);
    // The name of a value, or null when the table has none.
    const std::u16string* NameOf(int64_t value) const;
    // The value of a name (exact comparison), or false when absent.
    bool ValueOf(std::u16string_view name, int64_t& value) const;

private:
    std::u16string name_;
    std::map<int64_t, std::u16string> names_;
};

// The library's table of that name, or null (also when no expression
// state or registry is installed).
const NumberEnum* FindNumberEnum(std::u16string_view name);

}  // namespace ovrix
