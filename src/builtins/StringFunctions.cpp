// The Strings family of built-in functions. Texts are UTF-16 and positions
// count code units from 0; a search that finds nothing answers -1. The two
// functions that change a text (ReplaceString, StringSetChar) take the
// variable's node by reference and store the changed text back into it; a
// node that is not a variable is left alone.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "builtins/FamilyTable.h"
#include "container/Text.h"
#include "expr/Array.h"
#include "expr/KindsNode.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"
#include "expr/PatternMatch.h"
#include "expr/Variables.h"

namespace ovrix {

namespace {

using namespace fnargs;

constexpr int64_t kNotFound = -1;

// The inverse of FoldCase over the same ranges.
char16_t UpperChar(char16_t ch) {
    if (ch >= u'a' && ch <= u'z') return ch - 32;
    if (ch >= 0xE0 && ch <= 0xFE && ch != 0xF7) return ch - 32;
    if (ch >= 0x101 && ch <= 0x17F && (ch & 1) == 1 && ch != 0x131) return ch - 1;
    if (ch >= 0x3B1 && ch <= 0x3CB && ch != 0x3C2) return ch - 32;
    if (ch >= 0x430 && ch <= 0x44F) return ch - 32;
    if (ch >= 0x450 && ch <= 0x45F) return ch - 80;
    return ch;
}

// The text as single bytes for the C library's readers: characters outside
// ASCII become '?', which no number or date pattern accepts.
std::string AsciiBytes(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

PExprItem* Lowercase(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 1) return None(result);
    return ReturnText(result, LowerCase(Text(args, count, 0)));
}

PExprItem* Uppercase(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 1) return None(result);
    std::u16string text = Text(args, count, 0);
    for (char16_t& c : text) c = UpperChar(c);
    return ReturnText(result, text);
}

// MD5 of a byte string (the standard algorithm: 64-byte blocks, four
// rounds, little-endian words, the bit length appended).
std::array<uint8_t, 16> Md5Digest(const std::string& message) {
    static constexpr uint32_t kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
    uint32_t k[64];
    for (int i = 0; i < 64; ++i) k[i] = static_cast<uint32_t>(std::floor(std::fabs(std::sin(i + 1.0)) * 4294967296.0));
    std::string data = message;
    const uint64_t bitLength = static_cast<uint64_t>(message.size()) * 8;
    data.push_back(static_cast<char>(0x80));
    while (data.size() % 64 != 56) data.push_back('\0');
    for (int i = 0; i < 8; ++i) data.push_back(static_cast<char>((bitLength >> (8 * i)) & 0xFF));

    uint32_t h[4] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};
    for (size_t block = 0; block < data.size(); block += 64) {
        uint32_t w[16];
        for (int i = 0; i < 16; ++i) {
            const auto* p = reinterpret_cast<const uint8_t*>(data.data() + block + 4 * i);
            w[i] = p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
        }
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
        for (int i = 0; i < 64; ++i) {
            uint32_t f = 0;
            int g = 0;
            if (i < 16) {
                f = (b & c) | (~b & d);
                g = i;
            } else if (i < 32) {
                f = (d & b) | (~d & c);
                g = (5 * i + 1) % 16;
            } else if (i < 48) {
                f = b ^ c ^ d;
                g = (3 * i + 5) % 16;
            } else {
                f = c ^ (b | ~d);
                g = (7 * i) % 16;
            }
            const uint32_t sum = a + f + k[i] + w[g];
            a = d;
            d = c;
            c = b;
            b = b + ((sum << kShift[i]) | (sum >> (32 - kShift[i])));
        }
        h[0] += a;
        h[1] += b;
        h[2] += c;
        h[3] += d;
    }
    std::array<uint8_t, 16> digest{};
    for (int i = 0; i < 16; ++i) digest[i] = static_cast<uint8_t>(h[i / 4] >> (8 * (i % 4)));
    return digest;
}

// The ANSI form of a text is its Latin-1 bytes: the system code page is not
// a service of this layer, and a character outside Latin-1 becomes '?' as
// the ANSI conversion writes unmappable characters.
PExprItem* MD5(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 2) return None(result);
    const std::u16string text = Text(args, count, 0);
    std::string bytes;
    if (AsTruth(args[1])) {
        for (char16_t c : text) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
        }
    } else {
        for (char16_t c : text) bytes.push_back(c < 0x100 ? static_cast<char>(c) : '?');
    }
    if (bytes.empty()) return None(result);
    std::string hex;
    char digits[3];
    for (uint8_t byte : Md5Digest(bytes)) {
        std::snprintf(digits, sizeof digits, "%02X", byte);
        hex += digits;
    }
    return ReturnText(result, Widen(hex));
}

PExprItem* StringToNumber(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 1) return None(result);
    const std::string bytes = AsciiBytes(Text(args, count, 0));
    const int64_t base = count >= 2 && args[1] ? TruncateToInt64(AsNumber(args[1])) : 10;
    if (base == 10) {
        double value = 0.0;
        if (std::sscanf(bytes.c_str(), "%lf", &value) != 1) value = 0.0;
        return ReturnNumber(result, value);
    }
    if (base < 0 || base == 1 || base > 36) return ReturnNumber(result, 0.0);
    return ReturnNumber(result, static_cast<double>(std::strtoll(bytes.c_str(), nullptr, static_cast<int>(base))));
}

PExprItem* SplitString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 2) return None(result);
    const std::u16string text = Text(args, count, 0);
    const std::u16string separator = Text(args, count, 1);
    if (text.empty() || separator.empty()) return None(result);
    AnyArray* array = nullptr;
    PExprItem made;
    size_t position = 0;
    while (position < text.size()) {
        if (text.compare(position, separator.size(), separator) == 0) {
            position += separator.size();
            continue;
        }
        size_t end = text.find(separator, position);
        if (end == std::u16string::npos) end = text.size();
        if (array == nullptr) {
            array = new AnyArray();
            made = PExprItem::Of(array);
        }
        array->Push(MakeItem<ExprItem_Text>(text.substr(position, end - position)));
        position = end;
    }
    return array != nullptr ? ReturnValue(result, made) : None(result);
}

// Placeholders are {n}, n counting the list's elements from 0; "{{" and
// "}}" stand for single braces. A placeholder past the list, or one that
// is not closed or not a number, is copied as it stands.
PExprItem* StringFormat(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 1) return None(result);
    const std::u16string format = Text(args, count, 0);
    const auto* list = count >= 2 ? ItemAs<ExprItem_ValueList>(args[1]) : nullptr;
    std::u16string out;
    for (size_t i = 0; i < format.size(); ++i) {
        const char16_t c = format[i];
        if ((c == u'{' || c == u'}') && i + 1 < format.size() && format[i + 1] == c) {
            out += c;
            ++i;
            continue;
        }
        if (c == u'{') {
            size_t j = i + 1;
            size_t index = 0;
            while (j < format.size() && format[j] >= u'0' && format[j] <= u'9' && index < 100000) {
                index = index * 10 + (format[j] - u'0');
                ++j;
            }
            if (j > i + 1 && j < format.size() && format[j] == u'}' && list != nullptr &&
                index < list->elements.size()) {
                out += AsText(EvaluateListElement(*list, index));
                i = j;
                continue;
            }
        }
        out += c;
    }
    return ReturnText(result, out);
}

PExprItem* VariableToString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 1) return None(result);
    return ReturnText(result, AsText(args[0]));
}

PExprItem* FindSubString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 2) return None(result);
    const std::u16string text = Text(args, count, 0);
    const std::u16string sub = Text(args, count, 1);
    const int64_t start = std::max<int64_t>(0, TruncateToInt64(Number(args, count, 2)));
    if (start > static_cast<int64_t>(text.size())) return ReturnNumber(result, kNotFound);
    const size_t at = text.find(sub, static_cast<size_t>(start));
    return ReturnNumber(result, at == std::u16string::npos ? kNotFound : static_cast<double>(at));
}

PExprItem* ReverseFindSubString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 2) return None(result);
    const size_t at = Text(args, count, 0).rfind(Text(args, count, 1));
    return ReturnNumber(result, at == std::u16string::npos ? kNotFound : static_cast<double>(at));
}

PExprItem* RandomString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 2) return ReturnNumber(result, 0.0);
    const int64_t length = TruncateToInt64(Number(args, count, 0));
    if (length < 1) return None(result);
    std::u16string charset = Text(args, count, 1);
    if (charset.empty()) charset = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::u16string out;
    out.reserve(static_cast<size_t>(length));
    for (int64_t i = 0; i < length; ++i) out += charset[static_cast<size_t>(std::rand()) % charset.size()];
    return ReturnText(result, out);
}

// -1, 0 or 1 by the code units in order (a prefix sorts first).
PExprItem* CompareString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 2) return None(result);
    const int c = Text(args, count, 0).compare(Text(args, count, 1));
    return ReturnNumber(result, c < 0 ? -1.0 : (c > 0 ? 1.0 : 0.0));
}

// The variable node of a by-reference argument and its current text.
const ExprItem_Var* ReferencedVariable(const PExprItem& node, std::u16string& text) {
    const auto* var = ItemAs<ExprItem_Var>(node);
    if (var != nullptr) text = AsText(node->Evaluate());
    return var;
}

PExprItem* ReplaceString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 3) return None(result);
    std::u16string text;
    const ExprItem_Var* var = ReferencedVariable(args[0], text);
    const std::u16string from = Text(args, count, 1);
    if (var == nullptr || from.empty()) return None(result);
    SetVariable(var->Name(), MakeItem<ExprItem_Text>(ReplaceAll(text, from, Text(args, count, 2))));
    return None(result);
}

PExprItem* StringLength(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 1) return None(result);
    return ReturnNumber(result, static_cast<double>(Text(args, count, 0).size()));
}

// Start below 0 counts from 0; the length is cut at the end of the text.
PExprItem* SubString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 2) return None(result);
    const std::u16string text = Text(args, count, 0);
    const int64_t size = static_cast<int64_t>(text.size());
    const int64_t start = std::clamp<int64_t>(TruncateToInt64(Number(args, count, 1)), 0, size);
    const int64_t length = std::clamp<int64_t>(TruncateToInt64(Number(args, count, 2)), 0, size - start);
    return ReturnText(result, text.substr(static_cast<size_t>(start), static_cast<size_t>(length)));
}

// A loop over a text's characters calls this once per character: a Text
// argument is read in place rather than copied each time.
PExprItem* StringGetChar(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 2) return None(result);
    const ExprItem* item = args[0].Item();
    std::u16string copied;
    std::u16string_view text;
    if (item != nullptr && item->Kind() == kind::kText) {
        text = static_cast<const ExprItem_Text*>(item)->text;
    } else {
        copied = Text(args, count, 0);
        text = copied;
    }
    const int64_t at = TruncateToInt64(Number(args, count, 1));
    if (at < 0 || at >= static_cast<int64_t>(text.size())) return None(result);
    return ReturnNumber(result, text[static_cast<size_t>(at)]);
}

// The character is the first unit of a Text argument (the default "A") or
// the code of a number from 1 to 0xFFFF.
PExprItem* StringSetChar(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 3) return None(result);
    std::u16string text;
    const ExprItem_Var* var = ReferencedVariable(args[0], text);
    const int64_t at = TruncateToInt64(Number(args, count, 1));
    if (var == nullptr || at < 0 || at >= static_cast<int64_t>(text.size())) return None(result);
    int64_t code = 0;
    if (ItemAs<ExprItem_Text>(args[2]) != nullptr) {
        const std::u16string ch = AsText(args[2]);
        code = ch.empty() ? 0 : ch[0];
    } else {
        code = TruncateToInt64(AsNumber(args[2]));
    }
    if (code < 1 || code > 0xFFFF) return None(result);
    text[static_cast<size_t>(at)] = static_cast<char16_t>(code);
    SetVariable(var->Name(), MakeItem<ExprItem_Text>(text));
    return None(result);
}

PExprItem* CharToNumber(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 1) return None(result);
    const std::u16string text = Text(args, count, 0);
    return text.empty() ? None(result) : ReturnNumber(result, text[0]);
}

PExprItem* NumberToChar(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 1) return None(result);
    const int64_t code = TruncateToInt64(Number(args, count, 0));
    if (code < 1 || code > 0xFFFF) return None(result);
    return ReturnText(result, std::u16string(1, static_cast<char16_t>(code)));
}

// The C library's "%e": six decimals and a signed exponent of at least two
// digits.
PExprItem* PrintScientificNotation(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (count < 1) return None(result);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%e", Number(args, count, 0));
    return ReturnText(result, Widen(buf));
}

PExprItem* RegExpMatchFn(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return ReturnValue(result, RegExpMatch(std::span<const PExprItem>(args, static_cast<size_t>(count))));
}

const ArgSpec kString{u"String", fkind::kText};
const ArgSpec kStringVariable{u"StringVariable", fkind::kObject, NoDefault(), funarg::kByReference,
                              u"Text&& StringVariable"};

const FunctionSpec kStrings[] = {
    {u"Lowercase", fkind::kText, Lowercase, {kString}},
    {u"MD5", fkind::kText, MD5, {{u"Text", fkind::kText}, {u"UnicodeText", fkind::kBool, DefBool(false)}}},
    {u"StringToNumber", fkind::kNumber, StringToNumber,
     {{u"NumberString", fkind::kText}, {u"Base", fkind::kNumber, DefNumber(10)}}},
    {u"SplitString", fkind::kObject, SplitString, {kString, {u"SplitString", fkind::kText}}, u"Array"},
    {u"StringFormat", fkind::kText, StringFormat, {{u"Format", fkind::kText}, {u"Arguments", fkind::kValueList}}},
    {u"VariableToString", fkind::kText, VariableToString, {{u"Variable", fkind::kAny}}},
    {u"FindSubString", fkind::kNumber, FindSubString,
     {kString, {u"SubString", fkind::kText}, {u"Start", fkind::kNumber}}},
    {u"RandomString", fkind::kText, RandomString, {{u"Length", fkind::kNumber}, {u"Charset", fkind::kText}}},
    {u"CompareString", fkind::kNumber, CompareString, {{u"String1", fkind::kText}, {u"String2", fkind::kText}}},
    {u"ReplaceString", fkind::kNothing, ReplaceString,
     {kStringVariable, {u"OldString", fkind::kText}, {u"NewString", fkind::kText}}},
    {u"ReverseFindSubString", fkind::kNumber, ReverseFindSubString, {kString, {u"SubString", fkind::kText}}},
    {u"StringLength", fkind::kNumber, StringLength, {kString}},
    {u"SubString", fkind::kText, SubString, {kString, {u"Start", fkind::kNumber}, {u"Length", fkind::kNumber}}},
    {u"StringGetChar", fkind::kNumber, StringGetChar, {kString, {u"Position", fkind::kNumber}}},
    {u"StringSetChar", fkind::kNothing, StringSetChar,
     {kStringVariable, {u"Position", fkind::kNumber}, {u"Char", fkind::kNumber, DefText(u"A")}}},
    {u"CharToNumber", fkind::kNumber, CharToNumber, {{u"Char", fkind::kText}}},
    {u"NumberToChar", fkind::kText, NumberToChar, {{u"Number", fkind::kNumber}}},
    {u"PrintScientificNotation", fkind::kText, PrintScientificNotation, {{u"Number", fkind::kNumber}}},
    {u"RegExpMatch", fkind::kBool, RegExpMatchFn, {{u"Pattern", fkind::kRegExp}, kString}},
    {u"Uppercase", fkind::kText, Uppercase, {kString}},
};

}  // namespace

std::span<const FunctionSpec> StringFunctions() { return kStrings; }

}  // namespace ovrix
