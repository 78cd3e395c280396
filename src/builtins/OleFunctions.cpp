// The OLE objects family: making automation objects and calling their
// methods and properties. The generic members carry no member name: their
// second argument names the member, so a call shows as obj.Name(...).
// Objects and values go through the desktop's automation facet; every
// failure (no host, no object, a member that refuses) is no value.
#include "builtins/AutomationValues.h"
#include "builtins/FamilyTable.h"
#include "expr/KindsObject.h"

namespace ovrix {

namespace {

const ArgSpec kObject{u"OleObject", fkind::kObject, {}, 0, u"OleObject OleObject"};

AutoObject* ObjectOf(const PExprItem* args, int32_t count) {
    const auto* ole = count >= 1 ? ItemAs<ExprItem_OcxObj>(args[0]) : nullptr;
    return ole != nullptr ? ole->object.get() : nullptr;
}

// The call every row makes: the member named by argument 1 with `flag`.
PExprItem* Invoke(PExprItem* result, const PExprItem* args, int32_t count, uint16_t flag,
                  std::span<const AutoValue> values) {
    Automation* automation = CurrentAutomation();
    AutoObject* object = ObjectOf(args, count);
    if (automation == nullptr || object == nullptr || count < 2) return fnargs::None(result);
    const std::optional<AutoValue> answer =
        automation->Invoke(*object, AutoMember{fnargs::Text(args, count, 1)}, flag, values);
    return answer ? fnargs::ReturnValue(result, FromAutoValue(*answer)) : fnargs::None(result);
}

PExprItem* CreateObject(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Automation* automation = CurrentAutomation();
    if (automation == nullptr) return fnargs::None(result);
    AutoObjectRef object = automation->CreateObject(fnargs::Text(args, count, 0));
    return object ? fnargs::ReturnValue(result, MakeItem<ExprItem_OcxObj>(std::move(object))) : fnargs::None(result);
}

// A flag outside the 16 bits the system takes is passed as 0, which no
// member accepts.
PExprItem* OleInvoke(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const double flag = count >= 3 ? fnargs::Number(args, count, 2) : dispatch::kMethod;
    const uint16_t flags = flag >= 0 && flag <= 0xFFFF ? static_cast<uint16_t>(flag) : 0;
    const std::vector<AutoValue> values = AutoArguments(count >= 4 ? args[3] : PExprItem());
    return Invoke(result, args, count, flags, values);
}

PExprItem* InvokeMethod(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const std::vector<AutoValue> values = AutoArguments(count >= 3 ? args[2] : PExprItem());
    return Invoke(result, args, count, dispatch::kMethod, values);
}

PExprItem* GetProperty(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return Invoke(result, args, count, dispatch::kPropertyGet, {});
}

PExprItem* SetProperty(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const AutoValue value = ToAutoValue(count >= 3 ? args[2] : PExprItem());
    Invoke(result, args, count, dispatch::kPropertyPut, std::span(&value, 1));
    return fnargs::None(result);
}

const FunctionSpec kOle[] = {
    {u"OleInvoke", fkind::kObject, OleInvoke,
     {kObject,
      {u"Method", fkind::kText},
      {u"Flag", fkind::kNumber, DefNumber(1, u"DispatchFlag")},
      {u"Parameters", fkind::kValueList}}},
    {u"<OleObject.InvokeMethod>", fkind::kObject, InvokeMethod,
     {kObject, {u"Method", fkind::kMember}, {u"Parameters", fkind::kValueList}}, nullptr, nullptr, nullptr, true},
    {u"<OleObject.GetProperty>", fkind::kObject, GetProperty, {kObject, {u"Property", fkind::kMember}}, nullptr,
     nullptr, nullptr, true, nullptr, true, false},
    {u"<OleObject.SetProperty>", fkind::kNothing, SetProperty,
     {kObject, {u"Property", fkind::kMember}, {u"Value", fkind::kAny}}, nullptr, nullptr, nullptr, true, nullptr,
     false, true},
    {u"CreateObject", fkind::kObject, CreateObject, {{u"ProgID", fkind::kText, DefText(u"WScript.Shell")}},
     u"OleObject", nullptr, u"<OleObject>"},
};

}  // namespace

std::span<const FunctionSpec> OleFunctions() { return kOle; }

}  // namespace ovrix
