// What every part of the macro source language shares: positions in a
// source file, the errors a compile collects and how they are shown, a
// cursor over the text, and text literals.
//
// A source file is UTF-8; the compiler works on its UTF-16 text. Lines and
// columns count from 1; a column counts UTF-16 units from the line's start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ovrix {

struct SourcePos {
    uint32_t line = 1;
    uint32_t column = 1;
};

struct SourceError {
    SourcePos pos;
    std::string message;  // UTF-8, without the position
};

// The errors of one compile, in the order found. After kMaxErrors the rest
// are counted but not kept, so a broken file cannot flood the terminal.
class SourceErrors {
public:
    static constexpr size_t kMaxErrors = 50;

    void Add(SourcePos pos, std::string message);
    bool Any() const { return count_ > 0; }
    size_t Count() const { return count_; }
    const std::vector<SourceError>& List() const { return errors_; }

    // Each error as "FILE:LINE:COLUMN: error: MESSAGE", then the source line
    // and a caret under the column; a last line says how many were left out.
    std::string Format(std::string_view fileName, std::u16string_view source) const;

private:
    std::vector<SourceError> errors_;
    size_t count_ = 0;
};

// A position in a span of source text that knows its line and column.
class SourceCursor {
public:
    SourceCursor(std::u16string_view text, SourcePos start = {}) : text_(text), pos_(start) {}

    bool AtEnd() const { return offset_ >= text_.size(); }
    char16_t Peek(size_t ahead = 0) const {
        return offset_ + ahead < text_.size() ? text_[offset_ + ahead] : u'\0';
    }
    void Advance(size_t count = 1);
    // Spaces and tabs only: line ends mean something in the source.
    void SkipSpaces();
    // Takes `ch` when it comes next.
    bool Accept(char16_t ch);
    // Takes `word` when it comes next and is not followed by a letter, digit or '_'.
    bool AcceptWord(std::u16string_view word);
    // A name: a letter or '_', then letters, digits and '_'; empty when none.
    std::u16string_view TakeName();

    SourcePos Pos() const { return pos_; }
    size_t Offset() const { return offset_; }
    std::u16string_view Rest() const { return text_.substr(offset_); }
    std::u16string_view Text() const { return text_; }

private:
    std::u16string_view text_;
    size_t offset_ = 0;
    SourcePos pos_;
};

bool IsNameStart(char16_t ch);
bool IsNamePart(char16_t ch);

// The value of a hexadecimal digit of either case, or -1.
int HexDigit(char16_t ch);

// How many single-unit insertions, deletions and replacements turn `a` into
// `b`, letters compared without regard to case when `foldCase` is set: how
// near a misspelt name is to each known one.
size_t EditDistance(std::u16string_view a, std::u16string_view b, bool foldCase);

// A text as a double-quoted literal: \\ \" \n \r \t stand for themselves,
// other control characters, lone surrogates and U+FFFE/U+FFFF as \u{hex};
// everything else is written as it is.
std::u16string TextLiteral(std::u16string_view text);
// Reads a literal that starts at the cursor (at its opening quote). On a
// mistake it adds an error at the mistake and answers false; the cursor
// then stands behind the literal or at the line's end.
bool ReadTextLiteral(SourceCursor& cursor, std::u16string& out, SourceErrors& errors);

}  // namespace ovrix
