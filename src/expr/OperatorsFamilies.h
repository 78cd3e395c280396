// Shared by the operator families: the evaluated operand and the kind tests
// the families dispatch on. Private to the Operators*.cpp files.
#pragma once

#include <cstdint>

#include "expr/ExprHandle.h"
#include "expr/ExprItem.h"
#include "expr/KindsValue.h"

namespace ovrix::operators {

// One evaluated operand. When `borrowed` is set, `value` is the operator
// node's own handle on a constant (which would evaluate to itself) rather
// than a fresh handle: it saves an allocation per operand, but it must never
// be handed out as a result, since a caller may assign through the handle
// it gets back and must not reach into the expression tree. A variable's
// value is held by its item's count alone (`held`), for the same saving;
// a result made of it gets a fresh handle, as reading the variable would.
struct Operand {
    PExprItem value;
    bool borrowed = false;
    Ref<ExprItem> held{};

    ExprItem* Item() const { return held ? held.Get() : value.Item(); }
    bool HasValue() const { return Item() != nullptr; }
    double Number() const {
        const ExprItem* item = Item();
        return item ? item->GetNumber() : 0.0;
    }
    bool Truth() const {
        const ExprItem* item = Item();
        return item ? item->GetBool() : false;
    }
    // This operand as an operator's result.
    PExprItem AsResult() const {
        if (held) return PExprItem::Of(held.Get());
        return borrowed ? PExprItem::Of(value.Item()) : value;
    }
};

using OperatorFn = PExprItem (*)(const Operand& left, const Operand& right);

// The item as its kind's class when it has that kind, else null. Each of
// these kind ids is given only by its own class's constructor, so the kind
// test stands in for a dynamic cast on the hot paths.
template <class T>
const T* KindAs(const ExprItem* item, uint32_t kindId) {
    return item != nullptr && item->Kind() == kindId ? static_cast<const T*>(item) : nullptr;
}
inline const ExprItem_Num* AsNum(const ExprItem* item) { return KindAs<ExprItem_Num>(item, kind::kNumber); }
inline const ExprItem_Text* AsTextItem(const ExprItem* item) { return KindAs<ExprItem_Text>(item, kind::kText); }
inline const ExprItem_DateTime* AsDate(const ExprItem* item) {
    return KindAs<ExprItem_DateTime>(item, kind::kDateTime);
}
inline const ExprItem_TimeSpan* AsSpan(const ExprItem* item) {
    return KindAs<ExprItem_TimeSpan>(item, kind::kTimeSpan);
}
inline const ExprItem_Hex* AsHex(const ExprItem* item) { return KindAs<ExprItem_Hex>(item, kind::kHex); }

inline bool IsNumeric(const ExprItem* item) {
    return item != nullptr && (item->Kind() == kind::kNumber || item->Kind() == kind::kBool);
}

// A new Number without enumeration.
inline PExprItem MakeNumber(double value, uint32_t flags = 0) { return MakeItem<ExprItem_Num>(value, flags); }
// The Number 1 or 0 that comparisons and the logical operators answer.
inline PExprItem MakeTruth(bool holds) { return MakeNumber(holds ? 1.0 : 0.0); }

// Arithmetic families (OperatorsArithmetic.cpp).
PExprItem Sum(const Operand& left, const Operand& right);
PExprItem Difference(const Operand& left, const Operand& right);
PExprItem Product(const Operand& left, const Operand& right);
PExprItem Quotient(const Operand& left, const Operand& right);
PExprItem Remainder(const Operand& left, const Operand& right);
PExprItem Power(const Operand& left, const Operand& right);

// Comparison and logical families (OperatorsCompare.cpp).
PExprItem Less(const Operand& left, const Operand& right);
PExprItem Greater(const Operand& left, const Operand& right);
PExprItem LessEqual(const Operand& left, const Operand& right);
PExprItem GreaterEqual(const Operand& left, const Operand& right);
PExprItem Equal(const Operand& left, const Operand& right);
PExprItem NotEqual(const Operand& left, const Operand& right);
PExprItem And(const Operand& left, const Operand& right);
PExprItem Or(const Operand& left, const Operand& right);

}  // namespace ovrix::operators
