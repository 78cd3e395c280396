// Comparison and logical operators. They all answer the Number 1 or 0.
// Ordering is numeric (two date-times compare their second counts);
// equality is decided by the kind of the left operand, so 1 == "1.0" holds
// (numeric) while "1.0" == 1 does not (textual). The logical operators get
// both operands already evaluated; they only skip the second truth test
// once the first decides.
#include <functional>
#include <string_view>

#include "expr/OperatorsFamilies.h"

namespace ovrix::operators {

namespace {

// The value text of an item (empty for no value), read without copying a
// Text's own text.
class ValueTextView {
public:
    explicit ValueTextView(const ExprItem* item) {
        if (const ExprItem_Text* text = AsTextItem(item)) {
            view_ = text->text;
        } else if (item != nullptr) {
            owned_ = item->GetValueText();
            view_ = owned_;
        }
    }
    ValueTextView(const ValueTextView&) = delete;
    ValueTextView& operator=(const ValueTextView&) = delete;

    std::u16string_view View() const { return view_; }

private:
    std::u16string owned_;
    std::u16string_view view_;
};

bool SameValueText(const ExprItem* left, const ExprItem* right) {
    return ValueTextView(left).View() == ValueTextView(right).View();
}

bool ValuesEqual(const Operand& left, const Operand& right) {
    const ExprItem* l = left.Item();
    const ExprItem* r = right.Item();
    if (l == nullptr) {
        if (r == nullptr) return true;
        if (IsNumeric(r)) return r->GetNumber() == 0.0;
        return ValueTextView(r).View().empty();
    }
    if (IsNumeric(l)) return l->GetNumber() == right.Number();
    if (l->Kind() == kind::kText) return SameValueText(l, r);
    if (r != nullptr && r->Kind() == l->Kind()) return l->IsEqual(*r);
    return SameValueText(l, r);
}

// Two date-times compare as signed second counts; anything else by number.
// A NaN on either side makes every relation false.
template <class Relation>
PExprItem Order(const Operand& left, const Operand& right, Relation holds) {
    const ExprItem_DateTime* l = AsDate(left.Item());
    const ExprItem_DateTime* r = AsDate(right.Item());
    if (l != nullptr && r != nullptr) return MakeTruth(holds(l->seconds, r->seconds));
    return MakeTruth(holds(left.Number(), right.Number()));
}

}  // namespace

PExprItem Less(const Operand& left, const Operand& right) { return Order(left, right, std::less<>()); }
PExprItem Greater(const Operand& left, const Operand& right) { return Order(left, right, std::greater<>()); }
PExprItem LessEqual(const Operand& left, const Operand& right) { return Order(left, right, std::less_equal<>()); }
PExprItem GreaterEqual(const Operand& left, const Operand& right) {
    return Order(left, right, std::greater_equal<>());
}

PExprItem Equal(const Operand& left, const Operand& right) { return MakeTruth(ValuesEqual(left, right)); }
PExprItem NotEqual(const Operand& left, const Operand& right) { return MakeTruth(!ValuesEqual(left, right)); }

PExprItem And(const Operand& left, const Operand& right) { return MakeTruth(left.Truth() && right.Truth()); }
PExprItem Or(const Operand& left, const Operand& right) { return MakeTruth(left.Truth() || right.Truth()); }

}  // namespace ovrix::operators
