#include "FieldValues.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include "ExprSource.h"
#include "container/RecordBuffer.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "platform/PictureRecord.h"
#include "platform/sim/PictureCodec.h"

namespace ovrix {

namespace {

constexpr uint32_t kCaseInt = 1;
constexpr uint32_t kCaseHex = 2;
constexpr uint32_t kCaseText = 3;
constexpr uint32_t kCaseValueTag = MakeTag("Val");
constexpr uint32_t kCaseTextTag = MakeTag("Str");
constexpr uint32_t kArgNameTag = MakeTag("AVN");
constexpr uint32_t kArgTypeTag = MakeTag("ValT");
constexpr uint32_t kArgDefaultTag = MakeTag("DefV");

bool IsDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

Bytes AsBytes(Region r) { return r.Empty() ? Bytes{} : Bytes(r.base, r.base + r.size); }

Bytes I64Data(int64_t value) {
    Bytes out(8);
    for (int i = 0; i < 8; ++i) out[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
    return out;
}

// A text record's characters when it is exactly a text with its zero unit.
std::optional<std::u16string> TextOf(Region data) {
    if (data.size < 2 || data.size % 2 != 0) return std::nullopt;
    std::u16string text(data.size / 2 - 1, u'\0');
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(data.base[2 * i] | data.base[2 * i + 1] << 8);
    if (data.base[data.size - 2] != 0 || data.base[data.size - 1] != 0) return std::nullopt;
    return text;
}

std::u16string RealText(double value) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    std::u16string text = Widen(std::string_view(buf, static_cast<size_t>(result.ptr - buf)));
    // A whole number still reads as a real number.
    if (std::isfinite(value) && text.find_first_of(u".e") == std::u16string::npos) text += u".0";
    return text;
}

bool ReadReal(SourceCursor& cursor, double& value, SourceErrors& errors) {
    const SourcePos pos = cursor.Pos();
    std::string ascii;
    while (!cursor.AtEnd() && cursor.Peek() < 0x80 &&
           (IsNamePart(cursor.Peek()) || cursor.Peek() == u'.' || cursor.Peek() == u'-' || cursor.Peek() == u'+')) {
        ascii += static_cast<char>(cursor.Peek());
        cursor.Advance();
    }
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (ascii.empty() || result.ec != std::errc() || result.ptr != ascii.data() + ascii.size()) {
        errors.Add(pos, "expected a real number (such as 100.0, -2.5e3, inf or nan)");
        return false;
    }
    return true;
}

std::u16string EnumText(const FieldRow& row, uint32_t value) {
    for (const EnumName& name : row.names) {
        if (name.value == value) return std::u16string(name.name);
    }
    return Decimal(value);
}

std::u16string BitsText(const FieldRow& row, uint32_t value) {
    if (value == 0) return u"none";
    std::u16string text;
    uint32_t left = value;
    for (const EnumName& bit : row.names) {
        if ((left & bit.value) == 0) continue;
        text += (text.empty() ? u"" : u"+") + std::u16string(bit.name);
        left &= ~bit.value;
    }
    return left == 0 ? text : Decimal(value);
}

// A number, or a word of the row's names (true and false for flags; bits'
// names joined by '+', or none).
bool ReadWordOrNumber(const FieldRow& row, SourceCursor& cursor, uint32_t& value, SourceErrors& errors) {
    const SourcePos pos = cursor.Pos();
    if (!IsNameStart(cursor.Peek())) {
        uint64_t number = 0;
        if (!ReadUnsigned(cursor, 0xFFFFFFFFu, number, errors)) return false;
        value = static_cast<uint32_t>(number);
        return true;
    }
    const std::u16string_view word = cursor.TakeName();
    if (row.type == FieldType::Bits && word == u"none") {
        value = 0;
        return true;
    }
    if (row.type == FieldType::Bits) {
        value = 0;
        for (std::u16string_view part = word;;) {
            auto bit = std::find_if(row.names.begin(), row.names.end(), [&](const EnumName& n) { return n.name == part; });
            if (bit == row.names.end()) {
                errors.Add(pos, "unknown " + ToUtf8(row.name) + " '" + ToUtf8(part) +
                                    "': expected shift, ctrl, alt, extended joined by '+', none or a number");
                return false;
            }
            value |= bit->value;
            if (!cursor.Accept(u'+')) return true;
            part = cursor.TakeName();
        }
    }
    if (row.type == FieldType::Flag) {
        if (word == u"true" || word == u"false") {
            value = word == u"true" ? 1 : 0;
            return true;
        }
        errors.Add(pos, "expected true, false or a number for " + ToUtf8(row.name));
        return false;
    }
    std::string choices;
    for (const EnumName& name : row.names) {
        if (name.name == word) {
            value = name.value;
            return true;
        }
        choices += (choices.empty() ? "" : ", ") + ToUtf8(name.name);
    }
    errors.Add(pos, "unknown " + ToUtf8(row.name) + " '" + ToUtf8(word) + "': expected one of " + choices +
                        " or a number");
    return false;
}

bool ReadExpr(SourceCursor& cursor, Bytes& out, SourceErrors& errors) {
    const size_t end = ExprSpanEnd(cursor.Text(), cursor.Offset());
    const SourcePos pos = cursor.Pos();
    std::u16string_view span = cursor.Text().substr(cursor.Offset(), end - cursor.Offset());
    while (!span.empty() && (span.back() == u' ' || span.back() == u'\t')) span.remove_suffix(1);
    if (span.empty()) {
        errors.Add(pos, "expected an expression");
        return false;
    }
    RecordBuffer buffer;
    const bool ok = ParseExprSource(span, pos, buffer, errors);
    cursor.Advance(span.size());
    if (ok) out = buffer.ToVector();
    return ok;
}

std::u16string CaseText(Region data) {
    const uint32_t kind = ReadU32(data, tag::kType, 0);
    if (kind == kCaseText) return TextLiteral(ReadString(data, kCaseTextTag, u""));
    const uint32_t value = ReadU32(data, kCaseValueTag, 0);
    return kind == kCaseHex ? HexText(value) : Decimal(static_cast<int32_t>(value));
}

bool ReadCase(SourceCursor& cursor, Bytes& out, SourceErrors& errors) {
    RecordBuffer buffer;
    if (cursor.Peek() == u'"') {
        std::u16string text;
        if (!ReadTextLiteral(cursor, text, errors)) return false;
        WriteU32(buffer, tag::kType, kCaseText);
        WriteString(buffer, kCaseTextTag, text);
    } else if (cursor.Peek() == u'0' && (cursor.Peek(1) == u'x' || cursor.Peek(1) == u'X')) {
        uint64_t value = 0;
        if (!ReadUnsigned(cursor, 0xFFFFFFFFu, value, errors)) return false;
        WriteU32(buffer, tag::kType, kCaseHex);
        WriteU32(buffer, kCaseValueTag, static_cast<uint32_t>(value));
    } else {
        int64_t value = 0;
        if (!ReadSigned(cursor, INT32_MIN, INT32_MAX, value, errors)) return false;
        WriteU32(buffer, tag::kType, kCaseInt);
        WriteU32(buffer, kCaseValueTag, static_cast<uint32_t>(value));
    }
    out = buffer.ToVector();
    return true;
}

std::u16string ArgText(Region data) {
    std::u16string text = TextLiteral(ReadString(data, kArgNameTag, u"")) + u":" +
                          Decimal(ReadU32(data, kArgTypeTag, 0));
    if (auto fallback = FindRecord(data, kArgDefaultTag)) {
        text += u" = ";
        WriteExprSource(*fallback, text);
    }
    return text;
}

bool ReadArg(SourceCursor& cursor, Bytes& out, SourceErrors& errors) {
    std::u16string name;
    if (!ReadTextLiteral(cursor, name, errors)) return false;
    if (!cursor.Accept(u':')) {
        errors.Add(cursor.Pos(), "expected ':' and the argument's value type after its name");
        return false;
    }
    uint64_t type = 0;
    if (!ReadUnsigned(cursor, 0xFFFFFFFFu, type, errors)) return false;
    RecordBuffer buffer;
    WriteString(buffer, kArgNameTag, name);
    WriteU32(buffer, kArgTypeTag, static_cast<uint32_t>(type));
    cursor.SkipSpaces();
    if (cursor.Accept(u'=')) {
        cursor.SkipSpaces();
        Bytes fallback;
        if (!ReadExpr(cursor, fallback, errors)) return false;
        WriteRecord(buffer, kArgDefaultTag, fallback.data(), static_cast<uint32_t>(fallback.size()));
    }
    out = buffer.ToVector();
    return true;
}

// A picture container as a PNG file, when the file reads back to exactly it.
std::optional<std::u16string> PictureFileText(Region data, PictureFiles& files) {
    const std::optional<VBmp> picture = ReadPictureRecord(data);
    if (!picture || picture->bitsPerPixel != 32) return std::nullopt;
    auto png = EncodePicture(*picture, ImageEncoding{u"image/png", true});
    if (!png) return std::nullopt;
    return u"picture" + TextLiteral(files.Add(u"png", std::move(*png)));
}

std::optional<std::u16string> BitmapFileText(Region data, PictureFiles& files) {
    if (data.size < 2) return std::nullopt;
    const bool bmp = data.base[0] == 'B' && data.base[1] == 'M';
    const bool png = data.size >= 8 && std::memcmp(data.base, "\x89PNG", 4) == 0;
    if (!bmp && !png) return std::nullopt;
    return u"file" + TextLiteral(files.Add(bmp ? u"bmp" : u"png", AsBytes(data)));
}

bool ReadPicture(SourceCursor& cursor, Bytes& out, SourceErrors& errors, PictureFiles* files) {
    const SourcePos pos = cursor.Pos();
    const bool asPicture = cursor.AcceptWord(u"picture");
    const bool asFile = !asPicture && cursor.AcceptWord(u"file");
    if (!asPicture && !asFile) return ReadHexLiteral(cursor, out, errors);
    std::u16string name;
    if (!ReadTextLiteral(cursor, name, errors)) return false;
    std::optional<Bytes> bytes = files ? files->Get(name) : std::nullopt;
    if (!bytes) {
        errors.Add(pos, "cannot read the picture file \"" + ToUtf8(name) + "\"");
        return false;
    }
    if (asFile) {
        out = std::move(*bytes);
        return true;
    }
    const std::optional<VBmp> picture = DecodePicture(*bytes);
    if (!picture) {
        errors.Add(pos, "\"" + ToUtf8(name) + "\" is no picture file that can be read (PNG, BMP, JPEG or GIF)");
        return false;
    }
    RecordBuffer buffer;
    WritePictureRecord(buffer, *picture);
    out = buffer.ToVector();
    return true;
}

std::optional<std::u16string> FormatValue(const FieldRow& row, Region data, PictureFiles* files) {
    switch (row.type) {
        case FieldType::U32:
        case FieldType::I32:
        case FieldType::Flag:
        case FieldType::Enum:
        case FieldType::Bits: {
            if (data.size != 4) return std::nullopt;
            const uint32_t value = LoadU32(data.base);
            if (row.type == FieldType::I32) return Decimal(static_cast<int32_t>(value));
            if (row.type == FieldType::Bits) return BitsText(row, value);
            if (row.type == FieldType::Flag && value <= 1) return value ? u"true" : u"false";
            if (row.type == FieldType::Enum) return EnumText(row, value);
            return Decimal(value);
        }
        case FieldType::I64:
            if (data.size != 8) return std::nullopt;
            return Decimal(LoadI64(data.base));
        case FieldType::F64: {
            if (data.size != 8) return std::nullopt;
            double value = 0;
            std::memcpy(&value, data.base, 8);
            return RealText(value);
        }
        case FieldType::Text:
            if (auto text = TextOf(data)) return TextLiteral(*text);
            return std::nullopt;
        case FieldType::Picture:
            if (files) {
                if (auto text = PictureFileText(data, *files)) return text;
                if (auto text = BitmapFileText(data, *files)) return text;
            }
            return HexLiteral(data);
        case FieldType::Bytes: return HexLiteral(data);
        case FieldType::Expr: {
            std::u16string text;
            WriteExprSource(data, text);
            return text;
        }
        case FieldType::Case: return CaseText(data);
        case FieldType::Arg: return ArgText(data);
        case FieldType::Sub: break;
    }
    return std::nullopt;
}

}  // namespace

std::u16string PictureFiles::Add(std::u16string_view extension, Bytes bytes) {
    std::u16string name = prefix_ + u"-" + Decimal(next_++) + u"." + std::u16string(extension);
    files_[name] = std::move(bytes);
    last_ = name;
    return name;
}

std::optional<Bytes> PictureFiles::Get(const std::u16string& name) {
    if (auto it = files_.find(name); it != files_.end()) return it->second;
    // Only plain names beside the source: a path could reach any file.
    if (!reads_ || name.empty() || name.find_first_of(u"/\\:") != std::u16string::npos || name[0] == u'.') {
        return std::nullopt;
    }
    std::ifstream in(folder_ + "/" + ToUtf8(name), std::ios::binary);
    if (!in) return std::nullopt;
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    files_[name] = bytes;
    return bytes;
}

std::optional<std::u16string> FieldText(const FieldRow& row, Region data, PictureFiles* files) {
    const size_t before = files ? files->Files().size() : 0;
    std::optional<std::u16string> text = FormatValue(row, data, files);
    if (!text) return std::nullopt;
    SourceCursor cursor(*text);
    SourceErrors errors;
    Bytes again;
    const bool same = ParseFieldValue(row, cursor, again, errors, files) && cursor.AtEnd() && again == AsBytes(data);
    if (same) return text;
    // A picture file that does not give the same record back is not kept.
    if (files && files->Files().size() > before) files->DropLast();
    if (row.type == FieldType::Picture && files) return FieldText(row, data, nullptr);
    return std::nullopt;
}

bool ParseFieldValue(const FieldRow& row, SourceCursor& cursor, Bytes& out, SourceErrors& errors,
                     PictureFiles* files) {
    switch (row.type) {
        case FieldType::U32:
        case FieldType::Flag:
        case FieldType::Enum:
        case FieldType::Bits: {
            uint32_t value = 0;
            if (!ReadWordOrNumber(row, cursor, value, errors)) return false;
            out = U32Data(value);
            return true;
        }
        case FieldType::I32: {
            int64_t value = 0;
            if (!ReadSigned(cursor, INT32_MIN, UINT32_MAX, value, errors)) return false;
            out = U32Data(static_cast<uint32_t>(value));
            return true;
        }
        case FieldType::I64: {
            int64_t value = 0;
            if (!ReadSigned(cursor, INT64_MIN, INT64_MAX, value, errors)) return false;
            out = I64Data(value);
            return true;
        }
        case FieldType::F64: {
            double value = 0;
            if (!ReadReal(cursor, value, errors)) return false;
            out.resize(8);
            std::memcpy(out.data(), &value, 8);
            return true;
        }
        case FieldType::Text: {
            std::u16string text;
            if (!ReadTextLiteral(cursor, text, errors)) return false;
            out = TextData(text);
            return true;
        }
        case FieldType::Bytes: return ReadHexLiteral(cursor, out, errors);
        case FieldType::Picture: return ReadPicture(cursor, out, errors, files);
        case FieldType::Expr: return ReadExpr(cursor, out, errors);
        case FieldType::Case: return ReadCase(cursor, out, errors);
        case FieldType::Arg: return ReadArg(cursor, out, errors);
        case FieldType::Sub: break;
    }
    errors.Add(cursor.Pos(), "the nested steps are written as indented lines below the step");
    return false;
}

Bytes DefaultFieldData(const FieldRow& row) {
    if (row.makeDefault) return row.makeDefault();
    switch (row.type) {
        case FieldType::I64: return I64Data(row.numberDefault);
        case FieldType::F64: {
            Bytes out(8);
            std::memcpy(out.data(), &row.realDefault, 8);
            return out;
        }
        case FieldType::Text: return TextData(row.textDefault);
        default: return U32Data(static_cast<uint32_t>(row.numberDefault));
    }
}

std::u16string HexLiteral(Region bytes) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    std::u16string out = u"hex\"";
    for (uint32_t i = 0; i < bytes.size; ++i) {
        if (i > 0 && i % 4 == 0) out += u' ';
        out += kDigits[bytes.base[i] >> 4];
        out += kDigits[bytes.base[i] & 15];
    }
    return out + u"\"";
}

bool ReadHexLiteral(SourceCursor& cursor, Bytes& out, SourceErrors& errors) {
    const SourcePos start = cursor.Pos();
    if (cursor.Rest().substr(0, 4) != u"hex\"") {
        errors.Add(start, "expected bytes as hex\"...\"");
        return false;
    }
    cursor.Advance(4);
    out.clear();
    while (true) {
        cursor.SkipSpaces();
        if (cursor.Accept(u'"')) return true;
        const int high = HexDigit(cursor.Peek());
        const int low = HexDigit(cursor.Peek(1));
        if (high < 0 || low < 0) {
            errors.Add(cursor.Pos(), cursor.AtEnd() ? "hex bytes not closed: a '\"' is missing"
                                                    : "expected a pair of hex digits or the closing '\"'");
            return false;
        }
        out.push_back(static_cast<uint8_t>(high * 16 + low));
        cursor.Advance(2);
    }
}

std::u16string TagText(uint32_t tag) {
    std::u16string code;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto ch = static_cast<char16_t>((tag >> shift) & 0xFF);
        if (ch == 0 && code.empty()) continue;
        if (!IsNamePart(ch)) return HexText(tag);
        code += ch;
    }
    if (code.empty()) return HexText(tag);
    return u"'" + code + u"'";
}

bool ReadTag(SourceCursor& cursor, uint32_t& tag, SourceErrors& errors) {
    const SourcePos pos = cursor.Pos();
    if (cursor.Accept(u'\'')) {
        tag = 0;
        size_t count = 0;
        while (IsNamePart(cursor.Peek()) && count < 4) {
            tag = (tag << 8) | cursor.Peek();
            cursor.Advance();
            ++count;
        }
        if (count == 0 || !cursor.Accept(u'\'')) {
            errors.Add(pos, "expected a tag of one to four letters, digits or '_' in single quotes");
            return false;
        }
        return true;
    }
    uint64_t value = 0;
    if (!ReadUnsigned(cursor, 0xFFFFFFFFu, value, errors)) return false;
    tag = static_cast<uint32_t>(value);
    return true;
}

bool ReadUnsigned(SourceCursor& cursor, uint64_t limit, uint64_t& value, SourceErrors& errors) {
    const SourcePos pos = cursor.Pos();
    value = 0;
    const bool hex = cursor.Peek() == u'0' && (cursor.Peek(1) == u'x' || cursor.Peek(1) == u'X');
    if (hex) cursor.Advance(2);
    size_t digits = 0;
    bool tooBig = false;
    for (;; ++digits, cursor.Advance()) {
        const int d = hex ? HexDigit(cursor.Peek()) : (IsDigit(cursor.Peek()) ? cursor.Peek() - u'0' : -1);
        if (d < 0) break;
        const uint64_t base = hex ? 16 : 10;
        if (value > (limit - static_cast<uint64_t>(d)) / base) tooBig = true;
        if (!tooBig) value = value * base + static_cast<uint64_t>(d);
    }
    if (digits == 0 || IsNamePart(cursor.Peek())) {
        errors.Add(pos, "expected a number");
        return false;
    }
    if (tooBig) {
        errors.Add(pos, "number too large: at most " + std::to_string(limit));
        return false;
    }
    return true;
}

bool ReadSigned(SourceCursor& cursor, int64_t low, int64_t high, int64_t& value, SourceErrors& errors) {
    const SourcePos pos = cursor.Pos();
    const bool negative = cursor.Accept(u'-');
    uint64_t magnitude = 0;
    SourceErrors tooBig;
    const uint64_t limit = negative ? static_cast<uint64_t>(-(low + 1)) + 1 : static_cast<uint64_t>(high);
    if (!ReadUnsigned(cursor, limit, magnitude, tooBig)) {
        if (tooBig.List()[0].message.rfind("expected", 0) == 0) {
            errors.Add(tooBig.List()[0].pos, tooBig.List()[0].message);
        } else {
            errors.Add(pos, "number out of range: from " + std::to_string(low) + " to " + std::to_string(high));
        }
        return false;
    }
    value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}

Bytes U32Data(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
            static_cast<uint8_t>(value >> 24)};
}

void Put(Bytes& out, uint32_t tag, const Bytes& data) {
    const Bytes head = U32Data(tag);
    const Bytes length = U32Data(static_cast<uint32_t>(data.size()));
    out.insert(out.end(), head.begin(), head.end());
    out.insert(out.end(), length.begin(), length.end());
    out.insert(out.end(), data.begin(), data.end());
}

Bytes TextData(std::u16string_view text) {
    Bytes out;
    out.reserve(2 * text.size() + 2);
    for (char16_t ch : text) {
        out.push_back(static_cast<uint8_t>(ch));
        out.push_back(static_cast<uint8_t>(ch >> 8));
    }
    out.push_back(0);
    out.push_back(0);
    return out;
}

}  // namespace ovrix
