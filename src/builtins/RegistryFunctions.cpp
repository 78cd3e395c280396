// The registry family: reading, writing and deleting values and keys of
// the system registry through the desktop's registry. A key text that names
// no key (RegistryKeyText.h) does nothing and reads as no value.
#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "builtins/RegistryKeyText.h"
#include "expr/NumberFormat.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace {

// The desktop's registry and the key of the first argument, when there is
// a host, `needed` arguments and a key text that names a key.
struct KeyCall {
    Registry* registry = nullptr;
    RegistryKey key;
};

std::optional<KeyCall> KeyOf(int32_t count, PExprItem* args, int32_t needed) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr || count < needed) return std::nullopt;
    std::optional<RegistryKey> key = ParseRegistryKey(fnargs::Text(args, count, 0));
    if (!key) return std::nullopt;
    return KeyCall{&host->GetDesktop().registry, std::move(*key)};
}

PExprItem* GetValue(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const std::optional<KeyCall> call = KeyOf(count, args, 2);
    if (!call) return fnargs::None(result);
    const std::optional<RegistryValue> value = call->registry->ReadValue(call->key, fnargs::Text(args, count, 1));
    const std::optional<std::u16string> text = value ? RegistryValueText(*value) : std::nullopt;
    return text ? fnargs::ReturnText(result, *text) : fnargs::None(result);
}

PExprItem* SetDwordValue(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const std::optional<KeyCall> call = KeyOf(count, args, 3)) {
        // The low 32 bits of the integer part: -1 writes 0xFFFFFFFF.
        const auto number = static_cast<uint32_t>(TruncateToInt64(fnargs::Number(args, count, 2)));
        call->registry->WriteValue(call->key, fnargs::Text(args, count, 1), RegistryValue::FromDword(number));
    }
    return fnargs::None(result);
}

template <uint32_t Type>
PExprItem* SetTextValue(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const std::optional<KeyCall> call = KeyOf(count, args, 3)) {
        call->registry->WriteValue(call->key, fnargs::Text(args, count, 1),
                                   RegistryValue::FromText(Type, fnargs::Text(args, count, 2)));
    }
    return fnargs::None(result);
}

PExprItem* DeleteValue(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const std::optional<KeyCall> call = KeyOf(count, args, 2)) {
        call->registry->DeleteValue(call->key, fnargs::Text(args, count, 1));
    }
    return fnargs::None(result);
}

PExprItem* CreateKey(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const std::optional<KeyCall> call = KeyOf(count, args, 1)) call->registry->CreateKey(call->key);
    return fnargs::None(result);
}

PExprItem* DeleteKey(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const std::optional<KeyCall> call = KeyOf(count, args, 1)) call->registry->DeleteKey(call->key);
    return fnargs::None(result);
}

const ArgSpec kKey{u"Key", fkind::kText};
const ArgSpec kValueName{u"ValueName", fkind::kText};

const FunctionSpec kRegistry[] = {
    {u"Reg_GetValue", fkind::kText, GetValue,
     {{u"Key", fkind::kText, DefText(u"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Internet Explorer\\Main")},
      {u"ValueName", fkind::kText, DefText(u"Start Page")}}},
    {u"Reg_SetDWORDValue", fkind::kNothing, SetDwordValue, {kKey, kValueName, {u"Value", fkind::kHexData}}},
    {u"Reg_SetStringValue", fkind::kNothing, SetTextValue<regtype::kString>,
     {kKey, kValueName, {u"Value", fkind::kText}}},
    {u"Reg_SetExpandStringValue", fkind::kNothing, SetTextValue<regtype::kExpandString>,
     {kKey, kValueName, {u"Value", fkind::kText}}},
    {u"Reg_DeleteValue", fkind::kNothing, DeleteValue, {kKey, kValueName}},
    {u"Reg_CreateKey", fkind::kNothing, CreateKey, {kKey}},
    {u"Reg_DeleteKey", fkind::kNothing, DeleteKey, {kKey}},
};

}  // namespace

std::span<const FunctionSpec> RegistryFunctions() { return kRegistry; }

}  // namespace ovrix
