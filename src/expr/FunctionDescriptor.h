// What a call node knows of a function: the descriptor interface shared by
// built-in and script-defined functions, and the registry it finds them in.
// Both are implemented above the expression language (the built-in library,
// the engine's script functions); call nodes reach them only through this
// interface, which the runtime installs in the expression state.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "expr/ExprHandle.h"

namespace ovrix {

class NumberEnum;

// Writes the result (a null handle for none) and answers `result`.
using PLX_FunImpl = PExprItem* (*)(PExprItem* result, int32_t argCount, PExprItem* args, uint32_t userWord);

namespace funarg {
constexpr uint32_t kByReference = 1;  // the argument is passed as its unevaluated node
}

class PLX_FunArg {
public:
    virtual ~PLX_FunArg() = default;
    virtual std::u16string GetName() const { return name; }
    virtual std::u16string GetLabel() const { return label.empty() ? name : label; }

    uint32_t kind = 0;
    uint32_t flags = 0;
    PExprItem defaultValue;
    // A default made afresh whenever a call needs it, for defaults that
    // depend on the playing runtime (a date-time in its local time).
    PExprItem (*makeDefault)() = nullptr;
    const NumberEnum* flagNames = nullptr;
    std::u16string name;
    std::u16string label;
};

class PLX_FunctionBase {
public:
    static constexpr int32_t kMaxArgs = 16;

    virtual ~PLX_FunctionBase() = default;
    virtual std::u16string GetName() const = 0;
    virtual std::u16string GetKeyName() const { return GetName(); }
    virtual uint32_t GetReturnType() const = 0;
    virtual PLX_FunImpl GetImpl() const = 0;
    virtual int32_t GetArgCount() const = 0;
    virtual const PLX_FunArg* GetArg(int32_t i) const = 0;
    virtual const PLX_FunArg* GetArgAt(int32_t i) const { return GetArg(i); }
    virtual std::u16string GetReturnTypeName() const = 0;
    virtual bool IsMember() const { return false; }
    virtual const char16_t* GetMemberName() const { return nullptr; }
    virtual bool IsPropertyGet() const { return false; }
    virtual bool IsPropertySet() const { return false; }
    virtual uint32_t GetUserWord() const { return 0; }

    // The name cut before its last '#': overloads filed under "Name#1",
    // "Name#2" all show as "Name".
    const std::u16string& GetDisplayName() const;

private:
    mutable std::u16string displayName_;
};

// The function registry as call nodes and stored numbers see it.
class FunctionLookup {
public:
    // The descriptor or placeholder for a key, without side effects (null
    // when neither exists).
    virtual const PLX_FunctionBase* Lookup(std::u16string_view key) const = 0;
    // The lookup of a call node being loaded: a key found nowhere gets the
    // missing-plug-in message and a placeholder, so the answer is never null.
    virtual const PLX_FunctionBase* ResolveLoaded(std::u16string_view key) = 0;
    // The library's named value table of that name, or null.
    virtual const NumberEnum* FindEnumeration(std::u16string_view name) const = 0;

protected:
    ~FunctionLookup() = default;
};

}  // namespace ovrix
