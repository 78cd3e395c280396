// The registry family: reading, writing and deleting values and keys of
// the system registry. Every row needs the desktop, so the rows are
// registered with no implementation yet: a call shows and saves as usual
// and evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const ArgSpec kKey{u"Key", fkind::kText};
const ArgSpec kValueName{u"ValueName", fkind::kText};

const FunctionSpec kRegistry[] = {
    {u"Reg_GetValue", fkind::kText, nullptr,
     {{u"Key", fkind::kText, DefText(u"HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Internet Explorer\\Main")},
      {u"ValueName", fkind::kText, DefText(u"Start Page")}}},
    {u"Reg_SetDWORDValue", fkind::kNothing, nullptr, {kKey, kValueName, {u"Value", fkind::kHexData}}},
    {u"Reg_SetStringValue", fkind::kNothing, nullptr, {kKey, kValueName, {u"Value", fkind::kText}}},
    {u"Reg_SetExpandStringValue", fkind::kNothing, nullptr, {kKey, kValueName, {u"Value", fkind::kText}}},
    {u"Reg_DeleteValue", fkind::kNothing, nullptr, {kKey, kValueName}},
    {u"Reg_CreateKey", fkind::kNothing, nullptr, {kKey}},
    {u"Reg_DeleteKey", fkind::kNothing, nullptr, {kKey}},
};

}  // namespace

std::span<const FunctionSpec> RegistryFunctions() { return kRegistry; }

}  // namespace ovrix
