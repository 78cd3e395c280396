// Kind ids of values and expression nodes, the operator codes (which are
// kind ids of operator nodes), and the record tags of the stored form.
// Stored nodes name their kind in 'TYPE'; these numbers are part of the
// script image format and never change.
#pragma once

#include <cstdint>

#include "container/Tags.h"

namespace ovrix {

namespace kind {
constexpr uint32_t kVariable = 256;
constexpr uint32_t kNumber = 257;
constexpr uint32_t kText = 258;
constexpr uint32_t kDateTime = 259;
constexpr uint32_t kHandle = 260;
constexpr uint32_t kTimeSpan = 261;
constexpr uint32_t kValueList = 262;
constexpr uint32_t kMember = 263;
constexpr uint32_t kRegExp = 264;
constexpr uint32_t kEmpty = 265;
constexpr uint32_t kHex = 266;
constexpr uint32_t kFunction = 2049;
constexpr uint32_t kSetVar = 2050;
constexpr uint32_t kAddValue = 2051;
constexpr uint32_t kBool = 2052;
constexpr uint32_t kArray = 2053;
constexpr uint32_t kNamedData = 2054;
constexpr uint32_t kFileFinder = 2055;
constexpr uint32_t kWorkbook = 2056;
constexpr uint32_t kRemoveVar = 2057;
constexpr uint32_t kProcess = 2058;
constexpr uint32_t kBinData = 2059;
constexpr uint32_t kDynFun = 2060;
constexpr uint32_t kImage = 2061;
constexpr uint32_t kOleObject = 2062;
constexpr uint32_t kWindowHandle = 2063;
constexpr uint32_t kSolver = 2064;
constexpr uint32_t kRect = 2065;
constexpr uint32_t kAlias = 2066;
constexpr uint32_t kPoint = 2068;
}  // namespace kind

// Operator codes: the kind id of an operator node.
namespace op {
constexpr uint32_t kRemainder = 37;   // %
constexpr uint32_t kProduct = 42;     // *
constexpr uint32_t kSum = 43;         // +
constexpr uint32_t kDifference = 45;  // - (also unary minus)
constexpr uint32_t kQuotient = 47;    // /
constexpr uint32_t kLess = 60;        // <
constexpr uint32_t kGreater = 62;     // >
constexpr uint32_t kPower = 94;       // ^
constexpr uint32_t kEqual = 1024;     // ==
constexpr uint32_t kNotEqual = 1025;  // !=
constexpr uint32_t kLessEqual = 1026;
constexpr uint32_t kGreaterEqual = 1027;
constexpr uint32_t kAnd = 1028;
constexpr uint32_t kOr = 1029;
}  // namespace op

// Whether a node kind is one of the operators above.
constexpr bool IsOperatorCode(uint32_t code) {
    switch (code) {
        case op::kRemainder:
        case op::kProduct:
        case op::kSum:
        case op::kDifference:
        case op::kQuotient:
        case op::kLess:
        case op::kGreater:
        case op::kPower: return true;
        default: return code >= op::kEqual && code <= op::kOr;
    }
}

namespace tag {
constexpr uint32_t kText = MakeTag("TEXT");
constexpr uint32_t kNumberFlags = MakeTag("NFLG");
constexpr uint32_t kNumber = MakeTag("NUM");
constexpr uint32_t kEnum = MakeTag("ENUM");
constexpr uint32_t kBool = MakeTag("BOOL");
constexpr uint32_t kTime = MakeTag("TIME");
constexpr uint32_t kSpan = MakeTag("SPAN");
constexpr uint32_t kHandle = MakeTag("HDL");
constexpr uint32_t kHex = MakeTag("HEX");
constexpr uint32_t kVar = MakeTag("VAR");
constexpr uint32_t kValue = MakeTag("VAL");
constexpr uint32_t kMember = MakeTag("MEM");
constexpr uint32_t kOperand1 = MakeTag("OPR1");
constexpr uint32_t kOperand2 = MakeTag("OPR2");
constexpr uint32_t kFunction = MakeTag("FUN");
constexpr uint32_t kCallForm = MakeTag("LIST");
constexpr uint32_t Argument(uint32_t n) { return IndexedTag('A', n); }
constexpr uint32_t Element(uint32_t n) { return IndexedTag('I', n); }
}  // namespace tag

static_assert(tag::kNumber == 0x4E554Du);
static_assert(tag::kHex == 0x484558u);
static_assert(tag::kHandle == 0x48444Cu);
static_assert(tag::kMember == 0x4D454Du);
static_assert(tag::kVar == 0x564152u);

}  // namespace ovrix
