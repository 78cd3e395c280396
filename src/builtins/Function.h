// Descriptors of built-in functions: one PLX_Function per callable key,
// with up to 16 argument descriptors. A call node finds its descriptor by
// key and reads from it how to show itself (member, property, "Call "),
// which arguments go by reference and which defaults fill a short call.
// Descriptors are built once and never change afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "expr/ExprHandle.h"
#include "expr/ExprKinds.h"

namespace ovrix {

class NumberEnum;
struct PLX_Module;

// Writes the result (a null handle for none) and answers `result`.
using PLX_FunImpl = PExprItem* (*)(PExprItem* result, int32_t argCount, PExprItem* args, uint32_t userWord);

namespace funarg {
constexpr uint32_t kByReference = 1;  // the argument is passed as its unevaluated node
}

// Kind ids used by descriptors: the value kinds, and beyond them 0, which is
// "any value" for arguments and "nothing" for results, and 0x104, an object
// told by the label.
namespace fkind {
constexpr uint32_t kNothing = 0;
constexpr uint32_t kAny = 0;
constexpr uint32_t kVariable = kind::kVariable;
constexpr uint32_t kNumber = kind::kNumber;
constexpr uint32_t kText = kind::kText;
constexpr uint32_t kDateTime = kind::kDateTime;
constexpr uint32_t kObject = 0x104;
constexpr uint32_t kTimeSpan = kind::kTimeSpan;
constexpr uint32_t kValueList = kind::kValueList;
constexpr uint32_t kMember = kind::kMember;
constexpr uint32_t kRegExp = kind::kRegExp;
constexpr uint32_t kHexData = kind::kHex;
constexpr uint32_t kBool = kind::kBool;
constexpr uint32_t kArray = kind::kArray;
constexpr uint32_t kNamedData = kind::kNamedData;
constexpr uint32_t kFileFinder = kind::kFileFinder;
}  // namespace fkind

class PLX_FunArg {
public:
    virtual ~PLX_FunArg() = default;
    virtual std::u16string GetName() const { return name; }
    virtual std::u16string GetLabel() const { return label.empty() ? name : label; }

    uint32_t kind = 0;
    uint32_t flags = 0;
    PExprItem defaultValue;
    const NumberEnum* flagNames = nullptr;
    std::u16string name;
    std::u16string label;
};

// The label prefix of an argument kind ("Number ", "Text ", ...); a Number
// whose default carries an enumeration is prefixed with that enumeration's
// name instead. Kinds without a fixed prefix give the empty text.
std::u16string ArgumentLabelPrefix(uint32_t kind, const PExprItem& defaultValue);

// The descriptor interface shared by built-in and script-defined functions.
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

class PLX_Function : public PLX_FunctionBase {
public:
    PLX_Function(std::u16string key, uint32_t returnKind, PLX_FunImpl impl, const char16_t* returnTypeName = nullptr)
        : name(std::move(key)), returnKind(returnKind), returnTypeName(returnTypeName), impl(impl) {}

    std::u16string GetName() const override { return name; }
    uint32_t GetReturnType() const override { return returnKind; }
    PLX_FunImpl GetImpl() const override { return impl; }
    int32_t GetArgCount() const override { return argCount; }
    const PLX_FunArg* GetArg(int32_t i) const override;
    std::u16string GetReturnTypeName() const override;
    uint32_t GetUserWord() const override { return userWord; }

    // Appends an argument; refuses (null, nothing added, the default
    // dropped) past 16 arguments or for a by-reference argument whose kind
    // is not 0x104. Without a label the label is the kind's prefix and name.
    PLX_FunArg* AddArg(std::u16string argName, uint32_t kind, PExprItem defaultValue = {}, uint32_t flags = 0,
                       const char16_t* label = nullptr);

    std::u16string note;
    std::u16string secondText;
    const PLX_Module* owner = nullptr;
    const char16_t* aliasKey = nullptr;
    uint32_t userWord = 0;
    std::u16string name;
    uint32_t returnKind;
    const char16_t* returnTypeName;
    PLX_FunImpl impl;
    int32_t argCount = 0;
    std::array<PLX_FunArg, kMaxArgs> args;
};

// A member of an object value: the first argument is the object.
class ThisCall_Function : public PLX_Function {
public:
    ThisCall_Function(std::u16string key, uint32_t returnKind, PLX_FunImpl impl, const char16_t* returnTypeName,
                      const char16_t* member, bool get, bool set)
        : PLX_Function(std::move(key), returnKind, impl, returnTypeName),
          memberName(member), propertyGet(get), propertySet(set) {}

    bool IsMember() const override { return true; }
    const char16_t* GetMemberName() const override { return memberName; }
    bool IsPropertyGet() const override { return propertyGet; }
    bool IsPropertySet() const override { return propertySet; }

    const char16_t* memberName;
    uint8_t propertyGet;
    uint8_t propertySet;
};

}  // namespace ovrix
