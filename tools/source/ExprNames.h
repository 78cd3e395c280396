// The words and tables the expression writer and parser share: operators
// with their precedence, the words of the value forms, the pattern node
// types, and what the source form needs to know of the built-in functions
// (which keys exist, how member functions are written, the nearest name to
// a misspelt one).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ovrix {

class PLX_FunctionBase;

// Binding levels, loosest first. Set, Alias, Add, Remove and property sets
// sit below every operator; '^' binds tighter than unary minus and groups
// to the right; all other binary operators group to the left.
namespace level {
constexpr int kStatement = 0;
constexpr int kOr = 1;
constexpr int kAnd = 2;
constexpr int kEquality = 3;
constexpr int kOrder = 4;
constexpr int kSum = 5;
constexpr int kProduct = 6;
constexpr int kUnary = 7;
constexpr int kPower = 8;
constexpr int kPrimary = 9;
}  // namespace level

struct OperatorForm {
    uint32_t code;
    std::u16string_view symbol;
    int level;
};

// The operator of a code, or null.
const OperatorForm* OperatorOfCode(uint32_t code);
// The binary operator whose symbol starts `text` (the longest match; "and"
// and "or" only as whole words), or null.
const OperatorForm* OperatorAt(std::u16string_view text);
// The levels an operator's operands must reach to stand without parentheses.
int LeftOperandLevel(const OperatorForm& op);
int RightOperandLevel(const OperatorForm& op);

// Words that start a value form or a statement; never a function's name in
// the readable call form.
bool IsReservedWord(std::u16string_view word);

// The empty-value kinds written as "new Array" ...; 0 / null when none.
uint32_t EmptyValueKind(std::u16string_view name);
const char16_t* EmptyValueName(uint32_t kind);

// Pattern node types 1 to 15 by name; 0 / null when none.
uint32_t PatternTypeOfName(std::u16string_view name);
const char16_t* PatternTypeName(uint32_t type);

// Built-in functions. A key is written as a name when it is one (letters,
// digits, '_', then optionally '#' and digits) of a registered function.
const PLX_FunctionBase* FindBuiltin(std::u16string_view key);
bool IsCallName(std::u16string_view key);
// The registered name closest to `name` by edit distance, when one is close.
std::optional<std::u16string> NearestBuiltinName(std::u16string_view name);

// Member functions ("<Rect.GetX>") are written obj:Rect.X, obj:Rect.Name(...)
// or Set obj:Rect.X = v. Functions without a member name of their own (the
// automation object's) take the written name as a Member argument.
enum class MemberUse { Method, Get, Set };
struct MemberForm {
    std::u16string type;    // "Rect"
    std::u16string member;  // "X"; empty for the functions named by an argument
    MemberUse use = MemberUse::Method;
};
// How the member function filed under `key` is written; nullopt when it is
// no member function or the form would not lead back to exactly this key.
std::optional<MemberForm> MemberFormOf(std::u16string_view key);
// The key that a written member form names; nullopt when none. `named`
// says whether the key has the member name of its own.
std::optional<std::u16string> MemberKey(std::u16string_view type, std::u16string_view member, MemberUse use,
                                        bool& named);
bool IsMemberType(std::u16string_view type);

}  // namespace ovrix
