#include "builtins/AutomationValues.h"

#include "builtins/BuiltinHost.h"
#include "expr/KindsNode.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"
#include "platform/Desktop.h"

namespace ovrix {

AutoValue ToAutoValue(const PExprItem& value, int depth) {
    const ExprItem* item = value.Item();
    if (item == nullptr || depth > kMaxNesting) return {};
    switch (item->Kind()) {
        case kind::kEmpty: return {};
        case kind::kNumber:
        case kind::kHandle: return AutoValue::Number(item->GetNumber());
        case kind::kWindowHandle: return AutoValue::Number(static_cast<const ExprItem_WindowHandle*>(item)->window);
        case kind::kText: return AutoValue::Text(item->GetValueText());
        case kind::kBool: return AutoValue::Bool(item->GetBool());
        case kind::kDateTime: return AutoValue::Date(static_cast<const ExprItem_DateTime*>(item)->seconds);
        case kind::kOleObject: {
            const auto* ole = static_cast<const ExprItem_OcxObj*>(item);
            return ole->object ? AutoValue::Object(ole->object) : AutoValue{};
        }
        case kind::kArray: {
            AutoValue list{AutoValue::Type::Array};
            for (const PExprItem& e : static_cast<const AnyArray*>(item)->elements) {
                list.array.push_back(ToAutoValue(e, depth + 1));
            }
            return list;
        }
        default: return AutoValue::Text(item->GetValueText());
    }
}

PExprItem FromAutoValue(const AutoValue& value) {
    switch (value.type) {
        case AutoValue::Type::Empty: return MakeItem<ExprItem_Empty>();
        case AutoValue::Type::Number: return MakeItem<ExprItem_Num>(value.number);
        case AutoValue::Type::Text: return MakeItem<ExprItem_Text>(value.text);
        case AutoValue::Type::Bool: return MakeItem<ExprItem_Bool>(value.truth);
        case AutoValue::Type::Date: return MakeItem<ExprItem_DateTime>(value.date);
        case AutoValue::Type::Error: return MakeItem<ExprItem_Num>(value.number, numflag::kHex);
        case AutoValue::Type::Object:
            return value.object ? MakeItem<ExprItem_OcxObj>(value.object) : MakeItem<ExprItem_Empty>();
        case AutoValue::Type::Array: {
            auto list = MakeItem<AnyArray>();
            for (const AutoValue& e : value.array) ItemAs<AnyArray>(list)->Push(FromAutoValue(e));
            return list;
        }
    }
    return {};
}

std::vector<AutoValue> AutoArguments(const PExprItem& list) {
    std::vector<AutoValue> out;
    const auto* values = ItemAs<ExprItem_ValueList>(list);
    if (values == nullptr) return out;
    for (const PExprItem& e : values->elements) out.push_back(e ? ToAutoValue(e->Evaluate()) : AutoValue{});
    return out;
}

Automation* CurrentAutomation() {
    BuiltinHost* host = GetBuiltinHost();
    return host != nullptr ? &host->GetDesktop().automation : nullptr;
}

}  // namespace ovrix
