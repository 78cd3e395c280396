// The calculator's grammar, shared by the calculator (whose values are
// numbers) and the equation solver (whose values are polynomials). Six
// parse levels, from the primary (level 0) to addition (level 5), are
// called through one table, and every binary level reads its operands from
// the level below it, so the order of the levels is the precedence:
//   5 "+" "-"   4 "*"   3 "/"   2 "^"   1 a run of signs   0 a primary
// Each binary level is left-associative; "*" binds looser than "/", so
// a*b/c is a*(b/c), and -2^2 is (-2)^2.
//
// The grammar only reads; what a number, a name, a call, an assignment or
// an operator means is its host's (the Host type supplies Value, Number,
// Lookup, Assign, CallFunction, Apply, Negate, IsNameStart, IsNameChar).
// The text holds no blanks: the callers remove them first.
//
// Nesting (parentheses, function arguments, the value and the rest of an
// assignment) recurses through all six levels, about a dozen frames per
// level of nesting. It stops at kMaxCalcNesting: hand-written arithmetic
// never nests near that deep, and at that depth a parse takes about 35 KiB
// of stack for numbers and 105 KiB for polynomials (measured, x86-64,
// optimised; about 100 KiB for either unoptimised), a tenth of the 1 MiB
// the player's thread has, so no text - thousands of "(" included - can
// run the stack out. A chain of assignments nests too and stops there.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace ovrix {

constexpr int32_t kMaxCalcNesting = 100;

template <class Host>
class CalcGrammar {
public:
    using Value = typename Host::Value;

    CalcGrammar(Host& host, std::u16string_view text) : host_(host), text_(text) {}

    // One full expression from the current position; false when it fails.
    bool Parse(Value& out) { return Nested(out); }
    // How far the parse read (text after a complete expression is left).
    size_t Position() const { return pos_; }

private:
    using Level = bool (CalcGrammar::*)(Value&);

    char16_t Peek() const { return pos_ < text_.size() ? text_[pos_] : u'\0'; }
    bool Accept(char16_t ch) {
        if (pos_ >= text_.size() || text_[pos_] != ch) return false;
        ++pos_;
        return true;
    }
    static bool IsDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }
    static int HexDigit(char16_t ch) {
        if (IsDigit(ch)) return ch - u'0';
        if (ch >= u'a' && ch <= u'f') return ch - u'a' + 10;
        if (ch >= u'A' && ch <= u'F') return ch - u'A' + 10;
        return -1;
    }

    // A full expression one level of nesting deeper.
    bool Nested(Value& out) {
        if (depth_ >= kMaxCalcNesting) return false;
        ++depth_;
        const bool ok = (this->*kLevels[5])(out);
        --depth_;
        return ok;
    }

    // Operands of the level below, joined by any of `operators`.
    bool Binary(int level, std::u16string_view operators, Value& out) {
        const Level operand = kLevels[level - 1];
        if (!(this->*operand)(out)) return false;
        while (pos_ < text_.size() && operators.find(text_[pos_]) != std::u16string_view::npos) {
            const char16_t op = text_[pos_++];
            Value right;
            if (!(this->*operand)(right) || !host_.Apply(op, out, right)) return false;
        }
        return true;
    }
    bool Sum(Value& out) { return Binary(5, u"+-", out); }
    bool Product(Value& out) { return Binary(4, u"*", out); }
    bool Quotient(Value& out) { return Binary(3, u"/", out); }
    bool Power(Value& out) { return Binary(2, u"^", out); }

    // Any run of "+" and "-"; an odd number of "-" negates the primary.
    bool Sign(Value& out) {
        bool negative = false;
        while (Peek() == u'+' || Peek() == u'-') negative ^= text_[pos_++] == u'-';
        if (!(this->*kLevels[0])(out)) return false;
        return !negative || host_.Negate(out);
    }

    bool Primary(Value& out) {
        const char16_t ch = Peek();
        if (ch == u'0' && pos_ + 1 < text_.size() && (text_[pos_ + 1] == u'x' || text_[pos_ + 1] == u'X')) {
            return HexNumber(out);
        }
        if (IsDigit(ch)) return DecimalNumber(out);
        if (Accept(u'(')) return Nested(out) && Accept(u')');
        if (pos_ < text_.size() && host_.IsNameStart(ch)) return Named(out);
        return false;
    }

    // "0x" and hex digits, read as 32 bits (longer runs keep their low 32
    // bits) and taken as unsigned.
    bool HexNumber(Value& out) {
        pos_ += 2;
        uint32_t value = 0;
        const size_t start = pos_;
        while (pos_ < text_.size() && HexDigit(text_[pos_]) >= 0) value = value * 16 + HexDigit(text_[pos_++]);
        return pos_ > start && host_.Number(static_cast<double>(value), false, out);
    }

    // Digits, "." and digits, then "e" or "E", a sign and at least one digit.
    bool DecimalNumber(Value& out) {
        const size_t start = pos_;
        while (IsDigit(Peek())) ++pos_;
        if (Accept(u'.')) {
            while (IsDigit(Peek())) ++pos_;
        }
        bool exponent = false;
        if (Peek() == u'e' || Peek() == u'E') {
            exponent = true;
            ++pos_;
            if (Peek() == u'+' || Peek() == u'-') ++pos_;
            if (!IsDigit(Peek())) return false;
            while (IsDigit(Peek())) ++pos_;
        }
        // Only ASCII digits, signs, "." and "e" were taken, so the narrowing is exact.
        const std::string ascii(text_.begin() + static_cast<std::ptrdiff_t>(start),
                                text_.begin() + static_cast<std::ptrdiff_t>(pos_));
        return host_.Number(std::strtod(ascii.c_str(), nullptr), exponent, out);
    }

    // A call, an assignment ("name=value;rest", worth the rest), or the
    // value of a constant or variable.
    bool Named(Value& out) {
        const size_t start = pos_++;
        while (pos_ < text_.size() && host_.IsNameChar(text_[pos_])) ++pos_;
        const std::u16string name(text_.substr(start, pos_ - start));
        if (Accept(u'(')) {
            std::vector<Value> arguments;
            if (!Accept(u')')) {
                do {
                    Value argument;
                    if (!Nested(argument)) return false;
                    arguments.push_back(std::move(argument));
                } while (Accept(u','));
                if (!Accept(u')')) return false;
            }
            return host_.CallFunction(name, arguments, out);
        }
        if (Accept(u'=')) {
            Value value;
            if (!Nested(value) || !(Accept(u',') || Accept(u';'))) return false;
            return host_.Assign(name, value) && Nested(out);
        }
        return host_.Lookup(name, out);
    }

    // The levels by number, tightest first.
    static constexpr Level kLevels[6] = {&CalcGrammar::Primary,  &CalcGrammar::Sign,    &CalcGrammar::Power,
                                         &CalcGrammar::Quotient, &CalcGrammar::Product, &CalcGrammar::Sum};

    Host& host_;
    std::u16string_view text_;
    size_t pos_ = 0;
    int32_t depth_ = 0;
};

}  // namespace ovrix
