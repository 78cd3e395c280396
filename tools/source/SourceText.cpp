#include "SourceText.h"

#include <algorithm>

#include "container/Text.h"

namespace ovrix {

void SourceErrors::Add(SourcePos pos, std::string message) {
    ++count_;
    if (errors_.size() < kMaxErrors) errors_.push_back(SourceError{pos, std::move(message)});
}

namespace {

std::u16string_view LineOf(std::u16string_view source, uint32_t line) {
    size_t start = 0;
    for (uint32_t n = 1; n < line; ++n) {
        const size_t end = source.find(u'\n', start);
        if (end == std::u16string_view::npos) return {};
        start = end + 1;
    }
    size_t end = source.find(u'\n', start);
    if (end == std::u16string_view::npos) end = source.size();
    if (end > start && source[end - 1] == u'\r') --end;
    return source.substr(start, end - start);
}

}  // namespace

std::string SourceErrors::Format(std::string_view fileName, std::u16string_view source) const {
    std::string out;
    for (const SourceError& error : errors_) {
        out += std::string(fileName) + ":" + std::to_string(error.pos.line) + ":" +
               std::to_string(error.pos.column) + ": error: " + error.message + "\n";
        const std::u16string_view line = LineOf(source, error.pos.line);
        out += "    " + ToUtf8(line) + "\n    ";
        // Tabs stay tabs under the caret so it lines up in any terminal.
        const size_t before = std::min<size_t>(error.pos.column - 1, line.size());
        for (size_t i = 0; i < before; ++i) out += line[i] == u'\t' ? '\t' : ' ';
        out += "^\n";
    }
    if (count_ > errors_.size()) {
        out += std::to_string(count_ - errors_.size()) + " more errors not shown\n";
    }
    return out;
}

void SourceCursor::Advance(size_t count) {
    for (; count > 0 && offset_ < text_.size(); --count, ++offset_) {
        if (text_[offset_] == u'\n') {
            ++pos_.line;
            pos_.column = 1;
        } else {
            ++pos_.column;
        }
    }
}

void SourceCursor::SkipSpaces() {
    while (Peek() == u' ' || Peek() == u'\t') Advance();
}

bool SourceCursor::Accept(char16_t ch) {
    if (AtEnd() || Peek() != ch) return false;
    Advance();
    return true;
}

bool SourceCursor::AcceptWord(std::u16string_view word) {
    if (Rest().substr(0, word.size()) != word || IsNamePart(Peek(word.size()))) return false;
    Advance(word.size());
    return true;
}

std::u16string_view SourceCursor::TakeName() {
    if (!IsNameStart(Peek())) return {};
    const size_t start = offset_;
    while (IsNamePart(Peek())) Advance();
    return text_.substr(start, offset_ - start);
}

bool IsNameStart(char16_t ch) {
    return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z') || ch == u'_';
}

bool IsNamePart(char16_t ch) { return IsNameStart(ch) || (ch >= u'0' && ch <= u'9'); }

int HexDigit(char16_t ch) {
    if (ch >= u'0' && ch <= u'9') return ch - u'0';
    if (ch >= u'a' && ch <= u'f') return ch - u'a' + 10;
    if (ch >= u'A' && ch <= u'F') return ch - u'A' + 10;
    return -1;
}

size_t EditDistance(std::u16string_view a, std::u16string_view b, bool foldCase) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            const bool same = foldCase ? FoldCase(a[i - 1]) == FoldCase(b[j - 1]) : a[i - 1] == b[j - 1];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

namespace {

bool NeedsHexEscape(char16_t ch, char16_t next, char16_t previous) {
    if (ch < 0x20 || ch == 0x7F || ch == 0xFFFE || ch == 0xFFFF) return true;
    // A surrogate is written as it is only as half of a whole pair, which
    // UTF-8 can carry; a lone half cannot be.
    if (ch >= 0xD800 && ch <= 0xDBFF) return !(next >= 0xDC00 && next <= 0xDFFF);
    if (ch >= 0xDC00 && ch <= 0xDFFF) return !(previous >= 0xD800 && previous <= 0xDBFF);
    return false;
}

}  // namespace

std::u16string TextLiteral(std::u16string_view text) {
    std::u16string out = u"\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        switch (ch) {
            case u'\\': out += u"\\\\"; continue;
            case u'"': out += u"\\\""; continue;
            case u'\n': out += u"\\n"; continue;
            case u'\r': out += u"\\r"; continue;
            case u'\t': out += u"\\t"; continue;
            default: break;
        }
        const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
        const char16_t previous = i > 0 ? text[i - 1] : 0;
        if (NeedsHexEscape(ch, next, previous)) {
            static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
            std::u16string hex;
            for (uint32_t v = ch; v != 0 || hex.empty(); v >>= 4) hex.insert(hex.begin(), kDigits[v & 15]);
            out += u"\\u{" + hex + u"}";
        } else {
            out += ch;
        }
    }
    return out + u"\"";
}

bool ReadTextLiteral(SourceCursor& cursor, std::u16string& out, SourceErrors& errors) {
    out.clear();
    const SourcePos start = cursor.Pos();
    if (!cursor.Accept(u'"')) {
        errors.Add(start, "expected a text in double quotes");
        return false;
    }
    bool ok = true;
    while (true) {
        if (cursor.AtEnd() || cursor.Peek() == u'\n') {
            errors.Add(start, "text not closed: a '\"' is missing before the line's end");
            return false;
        }
        const char16_t ch = cursor.Peek();
        if (ch == u'"') {
            cursor.Advance();
            return ok;
        }
        if (ch != u'\\') {
            out += ch;
            cursor.Advance();
            continue;
        }
        const SourcePos escape = cursor.Pos();
        cursor.Advance();
        switch (cursor.Peek()) {
            case u'\\': out += u'\\'; cursor.Advance(); continue;
            case u'"': out += u'"'; cursor.Advance(); continue;
            case u'n': out += u'\n'; cursor.Advance(); continue;
            case u'r': out += u'\r'; cursor.Advance(); continue;
            case u't': out += u'\t'; cursor.Advance(); continue;
            case u'u': break;
            default:
                errors.Add(escape, "unknown escape in text: use \\\\ \\\" \\n \\r \\t or \\u{hex}");
                ok = false;
                continue;
        }
        cursor.Advance();
        uint32_t value = 0;
        size_t digits = 0;
        if (cursor.Accept(u'{')) {
            for (int d; (d = HexDigit(cursor.Peek())) >= 0 && digits < 5; ++digits, cursor.Advance()) {
                value = value * 16 + static_cast<uint32_t>(d);
            }
        }
        if (digits == 0 || value > 0xFFFF || !cursor.Accept(u'}')) {
            errors.Add(escape, "expected \\u{hex} with one to four hex digits");
            ok = false;
            continue;
        }
        out += static_cast<char16_t>(value);
    }
}

}  // namespace ovrix
