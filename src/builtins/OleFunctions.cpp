// The OLE objects family: making automation objects and calling their
// methods and properties. The generic members carry no member name: their
// second argument names the member, so a call shows as obj.Name(...).
// Every row needs the desktop's object system, so the rows are registered
// with no implementation yet: a call shows and saves as usual and
// evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const ArgSpec kObject{u"OleObject", fkind::kObject, {}, 0, u"OleObject OleObject"};

const FunctionSpec kOle[] = {
    {u"OleInvoke", fkind::kObject, nullptr,
     {kObject,
      {u"Method", fkind::kText},
      {u"Flag", fkind::kNumber, DefNumber(1, u"DispatchFlag")},
      {u"Parameters", fkind::kValueList}}},
    {u"<OleObject.InvokeMethod>", fkind::kObject, nullptr,
     {kObject, {u"Method", fkind::kMember}, {u"Parameters", fkind::kValueList}}, nullptr, nullptr, nullptr, true},
    {u"<OleObject.GetProperty>", fkind::kObject, nullptr, {kObject, {u"Property", fkind::kMember}}, nullptr, nullptr,
     nullptr, true, nullptr, true, false},
    {u"<OleObject.SetProperty>", fkind::kNothing, nullptr,
     {kObject, {u"Property", fkind::kMember}, {u"Value", fkind::kAny}}, nullptr, nullptr, nullptr, true, nullptr,
     false, true},
    {u"CreateObject", fkind::kObject, nullptr, {{u"ProgID", fkind::kText, DefText(u"WScript.Shell")}},
     u"OleObject", nullptr, u"<OleObject>"},
};

}  // namespace

std::span<const FunctionSpec> OleFunctions() { return kOle; }

}  // namespace ovrix
