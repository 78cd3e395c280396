// The arithmetic operators. The sum is the one that looks at kinds: numbers
// add, date-times and time spans move by spans or by whole days, hex data
// joins bytes, and every other pair joins the two value texts. The other
// operators work on the operands' numbers, where a date-time or a time span
// counts as 0, except that two date-times subtract to a time span.
//
// Second counts wrap on overflow instead of trapping: a script can ask for
// any number of days, and evaluation never fails.
#include <cmath>

#include "expr/NumberFormat.h"
#include "expr/OperatorsFamilies.h"

namespace ovrix::operators {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

int64_t WrapAdd(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}
int64_t WrapSub(int64_t a, int64_t b) {
    return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}
int64_t DaysToSeconds(int64_t days) {
    return static_cast<int64_t>(static_cast<uint64_t>(days) * static_cast<uint64_t>(kSecondsPerDay));
}

// A sum of two Numbers keeps a display form that both share: hex first,
// then exponent form; a Bool on either side, or any other flag, gives none.
uint32_t SumFlags(const ExprItem* left, const ExprItem* right) {
    const ExprItem_Num* l = AsNum(left);
    const ExprItem_Num* r = AsNum(right);
    if (l == nullptr || r == nullptr) return 0;
    const uint32_t shared = l->flags & r->flags;
    if (shared & numflag::kHex) return numflag::kHex;
    if (shared & numflag::kExponent) return numflag::kExponent;
    return 0;
}

// Date-time plus a span, or plus whole days (the number truncated toward
// zero); zero days answers the date-time itself.
PExprItem DatePlus(const ExprItem_DateTime& date, const Operand& left, const Operand& right) {
    if (const ExprItem_TimeSpan* span = AsSpan(right.Item()))
        return MakeItem<ExprItem_DateTime>(WrapAdd(date.seconds, span->seconds));
    const int64_t days = TruncateToInt64(right.Number());
    if (days == 0) return left.AsResult();
    return MakeItem<ExprItem_DateTime>(WrapAdd(date.seconds, DaysToSeconds(days)));
}

// Span plus span, span plus date-time (a date-time), or span plus days.
PExprItem SpanPlus(const ExprItem_TimeSpan& span, const Operand& left, const Operand& right) {
    if (const ExprItem_TimeSpan* other = AsSpan(right.Item()))
        return MakeItem<ExprItem_TimeSpan>(WrapAdd(span.seconds, other->seconds));
    if (const ExprItem_DateTime* date = AsDate(right.Item()))
        return MakeItem<ExprItem_DateTime>(WrapAdd(date->seconds, span.seconds));
    const int64_t days = TruncateToInt64(right.Number());
    if (days == 0) return left.AsResult();
    return MakeItem<ExprItem_TimeSpan>(WrapAdd(span.seconds, DaysToSeconds(days)));
}

PExprItem JoinBytes(const ExprItem_Hex& left, const ExprItem_Hex& right) {
    std::vector<uint8_t> bytes;
    bytes.reserve(left.bytes.size() + right.bytes.size());
    bytes.insert(bytes.end(), left.bytes.begin(), left.bytes.end());
    bytes.insert(bytes.end(), right.bytes.begin(), right.bytes.end());
    return MakeItem<ExprItem_Hex>(std::move(bytes));
}

// A text's value text is its text: append it without the copy that
// GetValueText would make.
void AppendValueText(std::u16string& out, const ExprItem& item) {
    if (const ExprItem_Text* text = AsTextItem(&item))
        out += text->text;
    else
        out += item.GetValueText();
}

PExprItem JoinTexts(const ExprItem& left, const ExprItem& right) {
    std::u16string joined;
    const ExprItem_Text* l = AsTextItem(&left);
    const ExprItem_Text* r = AsTextItem(&right);
    if (l != nullptr && r != nullptr) joined.reserve(l->text.size() + r->text.size());
    AppendValueText(joined, left);
    AppendValueText(joined, right);
    return MakeItem<ExprItem_Text>(std::move(joined));
}

}  // namespace

PExprItem Sum(const Operand& left, const Operand& right) {
    if (!left.HasValue()) return right.AsResult();
    if (!right.HasValue()) return left.AsResult();
    const ExprItem& l = *left.Item();
    const ExprItem& r = *right.Item();
    if (IsNumeric(&l) && IsNumeric(&r)) return MakeNumber(l.GetNumber() + r.GetNumber(), SumFlags(&l, &r));
    if (const ExprItem_DateTime* date = AsDate(&l)) return DatePlus(*date, left, right);
    if (const ExprItem_TimeSpan* span = AsSpan(&l)) return SpanPlus(*span, left, right);
    const ExprItem_Hex* lh = AsHex(&l);
    const ExprItem_Hex* rh = AsHex(&r);
    if (lh != nullptr && rh != nullptr) return JoinBytes(*lh, *rh);
    return JoinTexts(l, r);
}

PExprItem Difference(const Operand& left, const Operand& right) {
    const ExprItem_DateTime* l = AsDate(left.Item());
    const ExprItem_DateTime* r = AsDate(right.Item());
    if (l != nullptr && r != nullptr) return MakeItem<ExprItem_TimeSpan>(WrapSub(l->seconds, r->seconds));
    return MakeNumber(left.Number() - right.Number());
}

PExprItem Product(const Operand& left, const Operand& right) { return MakeNumber(left.Number() * right.Number()); }

PExprItem Quotient(const Operand& left, const Operand& right) {
    if (!left.HasValue() || !right.HasValue()) return MakeNumber(0.0);
    const double divisor = right.Number();
    if (divisor == 0.0) return MakeNumber(0.0);
    return MakeNumber(left.Number() / divisor);
}

// Both sides truncate toward zero and take part as unsigned 32-bit numbers,
// so a negative operand counts as its two's complement: -1 % 10 is 5.
PExprItem Remainder(const Operand& left, const Operand& right) {
    if (!right.HasValue()) return MakeNumber(0.0);
    const double r = right.Number();
    if (r == 0.0) return MakeNumber(0.0);
    // A divisor whose low 32 bits are all zero (0.5, 2^32, NaN) divides by
    // zero too, and yields 0 like it.
    const auto divisor = static_cast<uint32_t>(TruncateToInt64(r));
    if (divisor == 0) return MakeNumber(0.0);
    const auto dividend = static_cast<uint32_t>(TruncateToInt64(left.Number()));
    return MakeNumber(static_cast<double>(dividend % divisor));
}

PExprItem Power(const Operand& left, const Operand& right) {
    return MakeNumber(std::pow(left.Number(), right.Number()));
}

}  // namespace ovrix::operators
