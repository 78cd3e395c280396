// Descriptor operations: argument labels and AddArg's refusals.
#include "builtins/Function.h"

#include "expr/KindsValue.h"
#include "expr/NumberEnum.h"

namespace ovrix {

std::u16string ArgumentLabelPrefix(uint32_t kind, const PExprItem& defaultValue) {
    switch (kind) {
        case fkind::kNumber: {
            const auto* number = ItemAs<ExprItem_Num>(defaultValue);
            if (number != nullptr && number->enumeration != nullptr) return number->enumeration->Name() + u" ";
            return u"Number ";
        }
        case fkind::kText: return u"Text ";
        case fkind::kDateTime: return u"DateTime ";
        case fkind::kTimeSpan: return u"TimeSpan ";
        case fkind::kValueList: return u"ValueList ";
        case fkind::kRegExp: return u"RegExp ";
        case fkind::kHexData: return u"HexData ";
        case fkind::kBool: return u"Bool ";
        case fkind::kArray: return u"Array ";
        case fkind::kNamedData: return u"NamedData ";
        case fkind::kFileFinder: return u"FileFinder ";
        default: return {};
    }
}

const PLX_FunArg* PLX_Function::GetArg(int32_t i) const {
    if (i < 0 || i >= argCount) return nullptr;
    return &args[static_cast<size_t>(i)];
}

std::u16string PLX_Function::GetReturnTypeName() const {
    switch (returnKind) {
        case fkind::kArray: return u"Array";
        case fkind::kNamedData: return u"NamedData ";
        case fkind::kFileFinder: return u"FileFinder";
        case fkind::kBool: return u"Bool";
        case fkind::kNumber: return u"Number";
        case fkind::kText: return u"Text";
        case fkind::kDateTime: return u"DateTime";
        case fkind::kTimeSpan: return u"TimeSpan";
        case fkind::kRegExp: return u"RegExp";
        case fkind::kHexData: return u"HexData";
        default: return returnTypeName != nullptr ? std::u16string(returnTypeName) : std::u16string();
    }
}

PLX_FunArg* PLX_Function::AddArg(std::u16string argName, uint32_t kind, PExprItem defaultValue, uint32_t flags,
                                 const char16_t* label) {
    if (argCount >= kMaxArgs) return nullptr;
    if ((flags & funarg::kByReference) != 0 && kind != fkind::kObject) return nullptr;
    PLX_FunArg& arg = args[static_cast<size_t>(argCount++)];
    arg.kind = kind;
    arg.flags = flags;
    arg.label = label != nullptr ? std::u16string(label) : ArgumentLabelPrefix(kind, defaultValue) + argName;
    arg.defaultValue = std::move(defaultValue);
    arg.name = std::move(argName);
    return &arg;
}

}  // namespace ovrix
