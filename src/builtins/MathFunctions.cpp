// The math family: random numbers and the standard functions. "Sqrt" and
// "sqrt" (and "Exp" and "exp") are separate keys on one implementation.
// A call with fewer arguments than a function reads gives no value; the
// standard functions otherwise answer what the C library answers (the
// square root of a negative number is not a number).
#include <cmath>
#include <cstdlib>

#include "builtins/BuiltinHost.h"
#include "platform/Desktop.h"
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

using namespace fnargs;

// Fifteen random bits from the host's generator, or the C library's.
uint32_t RandomBits() {
    if (BuiltinHost* host = GetBuiltinHost()) return host->GetDesktop().system.Random() & 0x7FFF;
    return static_cast<uint32_t>(std::rand()) & 0x7FFF;
}

// An integer from MinNum to MaxNum inclusive (both truncated; swapped when
// given the wrong way round).
PExprItem* RandomNumber(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 2) return None(result);
    double low = std::trunc(Number(args, count, 0));
    double high = std::trunc(Number(args, count, 1));
    if (!std::isfinite(low) || !std::isfinite(high)) return None(result);
    if (high < low) std::swap(low, high);
    const double span = high - low + 1.0;
    const uint64_t bits = (static_cast<uint64_t>(RandomBits()) << 45) | (static_cast<uint64_t>(RandomBits()) << 30) |
                          (static_cast<uint64_t>(RandomBits()) << 15) | RandomBits();
    return ReturnNumber(result, low + std::floor(std::fmod(static_cast<double>(bits), span)));
}

template <double (*Fn)(double)>
PExprItem* Unary(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 1) return None(result);
    return ReturnNumber(result, Fn(Number(args, count, 0)));
}

double Sqrt(double x) { return std::sqrt(x); }
double Exp(double x) { return std::exp(x); }
double Sin(double x) { return std::sin(x); }
double Cos(double x) { return std::cos(x); }
double Tan(double x) { return std::tan(x); }

PExprItem* Pow(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 2) return None(result);
    return ReturnNumber(result, std::pow(Number(args, count, 0), Number(args, count, 1)));
}

const ArgSpec kNum{u"Num", fkind::kNumber};

const FunctionSpec kMath[] = {
    {u"RandomNumber", fkind::kNumber, RandomNumber,
     {{u"MinNum", fkind::kNumber}, {u"MaxNum", fkind::kNumber, DefNumber(100)}}},
    {u"Sqrt", fkind::kNumber, Unary<Sqrt>, {kNum}},
    {u"Exp", fkind::kNumber, Unary<Exp>, {kNum}},
    {u"sqrt", fkind::kNumber, Unary<Sqrt>, {kNum}},
    {u"exp", fkind::kNumber, Unary<Exp>, {kNum}},
    {u"sin", fkind::kNumber, Unary<Sin>, {kNum}},
    {u"cos", fkind::kNumber, Unary<Cos>, {kNum}},
    {u"tan", fkind::kNumber, Unary<Tan>, {kNum}},
    {u"pow", fkind::kNumber, Pow, {{u"x", fkind::kNumber}, {u"y", fkind::kNumber}}},
};

}  // namespace

std::span<const FunctionSpec> MathFunctions() { return kMath; }

}  // namespace ovrix
