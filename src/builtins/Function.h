// Descriptors of built-in functions: one PLX_Function per callable key,
// with up to 16 argument descriptors. A call node finds its descriptor by
// key and reads from it how to show itself (member, property, "Call "),
// which arguments go by reference and which defaults fill a short call.
// Descriptors are built with their registry and never change afterwards.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "expr/ExprHandle.h"
#include "expr/ExprKinds.h"
#include "expr/FunctionDescriptor.h"

namespace ovrix {

struct PLX_Module;

// Kind ids used by descriptors beyond the value kinds: 0 is "any value" for
// arguments and "nothing" for results; 0x104 is an object told by the label.
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

// The label prefix of an argument kind ("Number ", "Text ", ...); a Number
// whose default carries an enumeration is prefixed with that enumeration's
// name instead. Kinds without a fixed prefix give the empty text.
std::u16string ArgumentLabelPrefix(uint32_t kind, const PExprItem& defaultValue);

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
