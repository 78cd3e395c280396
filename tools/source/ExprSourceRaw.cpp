// Expressions in their raw stored form only: stored"<hex bytes>".
#include "ExprSource.h"

namespace ovrix {

namespace {

int HexValue(char16_t ch) {
    if (ch >= u'0' && ch <= u'9') return ch - u'0';
    if (ch >= u'a' && ch <= u'f') return ch - u'a' + 10;
    if (ch >= u'A' && ch <= u'F') return ch - u'A' + 10;
    return -1;
}

}  // namespace

void WriteExprSource(Region node, std::u16string& out) {
    static constexpr char16_t kDigits[] = u"0123456789abcdef";
    out += u"stored\"";
    for (uint32_t i = 0; i < node.size; ++i) {
        if (i > 0 && i % 4 == 0) out += u' ';
        out += kDigits[node.base[i] >> 4];
        out += kDigits[node.base[i] & 15];
    }
    out += u'"';
}

bool ParseExprSource(std::u16string_view span, SourcePos start, RecordBuffer& out, SourceErrors& errors) {
    SourceCursor cursor(span, start);
    if (!cursor.AcceptWord(u"stored") || !cursor.Accept(u'"')) {
        errors.Add(start, "expected an expression as stored\"<hex bytes>\"");
        return false;
    }
    while (true) {
        cursor.SkipSpaces();
        if (cursor.Accept(u'"')) break;
        const int high = HexValue(cursor.Peek());
        const int low = HexValue(cursor.Peek(1));
        if (high < 0 || low < 0) {
            errors.Add(cursor.Pos(), "expected a pair of hex digits or the closing '\"'");
            return false;
        }
        const auto byte = static_cast<uint8_t>(high * 16 + low);
        out.AppendBytes(&byte, 1);
        cursor.Advance(2);
    }
    cursor.SkipSpaces();
    if (!cursor.AtEnd()) {
        errors.Add(cursor.Pos(), "expected the expression's end");
        return false;
    }
    return true;
}

size_t ExprSpanEnd(std::u16string_view line, size_t from) {
    int depth = 0;
    bool quoted = false;
    for (size_t i = from; i < line.size(); ++i) {
        const char16_t ch = line[i];
        if (quoted) {
            if (ch == u'\\') ++i;
            else if (ch == u'"') quoted = false;
        } else if (ch == u'"') {
            quoted = true;
        } else if (ch == u'(' || ch == u'[' || ch == u'{') {
            ++depth;
        } else if (ch == u',' || ch == u')' || ch == u']' || ch == u'}') {
            if (depth == 0) return i;
            if (ch != u',') --depth;
        } else if (ch == u'\n') {
            return i;
        }
    }
    return line.size();
}

}  // namespace ovrix
