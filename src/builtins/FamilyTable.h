// The declarative form of the built-in library: each family is one table
// of FunctionSpec rows (key, result, arguments with labels and defaults,
// member flags), turned into descriptors once by the registration routine.
// The catalogue lists every family with the number of functions it has in
// the complete library, so that what is not registered yet stays visible.
//
// Also the small argument and result helpers that implementations share:
// arguments are read through the value conversions (missing = empty, 0,
// false) and results are made through the host services.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "builtins/Function.h"

namespace ovrix {

struct DefaultSpec {
    enum class Type { None, Number, Integer, Text, Bool, Empty, Made };
    Type type = Type::None;
    double number = 0.0;
    const char16_t* text = nullptr;      // Text default
    const char16_t* enumName = nullptr;  // enumeration of a Number default
    PExprItem (*make)() = nullptr;       // Made default
};

constexpr DefaultSpec NoDefault() { return {}; }
constexpr DefaultSpec DefNumber(double v, const char16_t* enumName = nullptr) {
    return {DefaultSpec::Type::Number, v, nullptr, enumName};
}
// A Number with the integer display flag (hexadecimal and colour defaults).
constexpr DefaultSpec DefInteger(double v) { return {DefaultSpec::Type::Integer, v, nullptr, nullptr}; }
constexpr DefaultSpec DefText(const char16_t* t) { return {DefaultSpec::Type::Text, 0.0, t, nullptr}; }
constexpr DefaultSpec DefBool(bool v) { return {DefaultSpec::Type::Bool, v ? 1.0 : 0.0, nullptr, nullptr}; }
constexpr DefaultSpec DefEmpty() { return {DefaultSpec::Type::Empty, 0.0, nullptr, nullptr}; }
// A default its family makes when the descriptor is built, for values that
// are no plain constant (a date-time in local time).
constexpr DefaultSpec DefMade(PExprItem (*make)()) { return {DefaultSpec::Type::Made, 0.0, nullptr, nullptr, make}; }

struct ArgSpec {
    const char16_t* name;
    uint32_t kind = fkind::kAny;
    DefaultSpec def = {};
    uint32_t flags = 0;
    const char16_t* label = nullptr;      // null: the kind's prefix and the name
    const char16_t* flagNames = nullptr;  // name of a NumberEnum of named flag values
};

struct FunctionSpec {
    const char16_t* key;
    uint32_t returnKind = fkind::kNothing;
    PLX_FunImpl impl = nullptr;
    std::vector<ArgSpec> args = {};
    const char16_t* returnTypeName = nullptr;
    const char16_t* note = nullptr;
    const char16_t* alias = nullptr;
    // Members of an object value.
    bool member = false;
    const char16_t* memberName = nullptr;
    bool propertyGet = false;
    bool propertySet = false;
};

// One family of the catalogue: its name, its size in the complete library
// and the rows registered so far.
struct FamilySpec {
    const char16_t* name;
    int32_t total;
    std::span<const FunctionSpec> functions;
};

// The families in the order of the descriptor table.
std::span<const FamilySpec> Catalogue();

// The descriptor a row describes.
std::unique_ptr<PLX_Function> BuildDescriptor(const FunctionSpec& spec);

// Family tables.
std::span<const FunctionSpec> MathFunctions();
std::span<const FunctionSpec> ScriptStateFunctions();
std::span<const FunctionSpec> ArrayFunctions();
std::span<const FunctionSpec> NamedDataFunctions();
std::span<const FunctionSpec> OleFunctions();
std::span<const FunctionSpec> CalculatorFunctions();
std::span<const FunctionSpec> RectangleFunctions();
std::span<const FunctionSpec> FileFunctions();
std::span<const FunctionSpec> ProcessFunctions();
std::span<const FunctionSpec> WebFunctions();
std::span<const FunctionSpec> DialogFunctions();
std::span<const FunctionSpec> KeyboardFunctions();
std::span<const FunctionSpec> MouseFunctions();
std::span<const FunctionSpec> BinaryDataFunctions();
std::span<const FunctionSpec> DatabaseFunctions();
std::span<const FunctionSpec> DateTimeFunctions();
std::span<const FunctionSpec> ClipboardFunctions();
std::span<const FunctionSpec> RegistryFunctions();
std::span<const FunctionSpec> ScriptWindowFunctions();
std::span<const FunctionSpec> WindowFunctions();
std::span<const FunctionSpec> ImageFunctions();
std::span<const FunctionSpec> SystemFunctions();
std::span<const FunctionSpec> WorkbookFunctions();
std::span<const FunctionSpec> StringFunctions();

// A named value of a flag-name table (message box types, window styles).
struct FlagName {
    int64_t value;
    const char16_t* name;
};

// A family's flag-name table, filed as a library enumeration under `name`.
struct FlagTable {
    const char16_t* name;
    std::span<const FlagName> pairs;
};
std::span<const FlagTable> DialogFlagTables();
std::span<const FlagTable> ScriptWindowFlagTables();

// Argument and result helpers for implementations.
namespace fnargs {
double Number(const PExprItem* args, int32_t count, int32_t i);
std::u16string Text(const PExprItem* args, int32_t count, int32_t i);
PExprItem* None(PExprItem* result);
PExprItem* ReturnNumber(PExprItem* result, double value);
PExprItem* ReturnText(PExprItem* result, const std::u16string& text);
PExprItem* ReturnValue(PExprItem* result, PExprItem value);
// Adapts an operation on the call's evaluated arguments (the containers'
// form) to an implementation.
template <PExprItem (*Operation)(std::span<const PExprItem>)>
PExprItem* CallOperation(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    *result = Operation(std::span<const PExprItem>(args, count > 0 ? static_cast<size_t>(count) : 0));
    return result;
}

}  // namespace fnargs

}  // namespace ovrix
