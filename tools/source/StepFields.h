// The one table that describes the source form of every step kind: its step
// word and, for each record its Save writes (and the older records its Load
// still reads), the field's readable name, value type, enumeration names and
// whether the record is always written.
//
// Rows are listed in the order Save writes the records, so a step whose
// records follow that order can leave out every field that holds its
// default and still compile back to the same bytes. A group of rows with
// indexed tags ('A' + i, 'F' + i / 'P' + i, 'BMP1' ...) repeats once per
// item; its first row starts an item.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace ovrix {

enum class FieldType : uint8_t {
    U32,      // decimal (or 0x hex)
    I32,      // signed decimal, stored as a u32
    Flag,     // true / false, other words as decimal
    Enum,     // a word from the row's names, other values as decimal
    Bits,     // the row's names of the set bits joined by '+', none for 0
    I64,      // signed decimal, 8 bytes
    F64,      // a real number, 8 bytes
    Text,     // a text literal: UTF-16 with its zero unit
    Bytes,    // hex"..."
    Picture,  // a picture container or a bitmap file's bytes: hex"..." or file"NAME"
    Expr,     // a stored expression, in the expression source form
    Case,     // a switch case value: 12, 0x1F or "text"
    Arg,      // a function argument: "name":type, then optionally = default
    Sub,      // the nested step list: the indented lines below the step
};

struct EnumName {
    uint32_t value;
    std::u16string_view name;
};

// How an indexed row makes its tag from the item's index i (from 0).
enum class Indexing : uint8_t {
    None,
    Letter,       // letter in the high byte, i in the low three
    DigitSuffix,  // 'BMP1' ... : the digit i + 1 in the high byte of the base
};

struct FieldRow {
    uint32_t tag;  // Letter: the letter; DigitSuffix: the tag of digit 0
    std::u16string_view name;
    FieldType type;
    bool always = false;  // Save writes it even when it holds the default
    // The default as the compiler writes it (numbers; texts in textDefault).
    int64_t numberDefault = 0;
    double realDefault = 0.0;
    std::u16string_view textDefault{};
    std::span<const EnumName> names{};
    Indexing indexing = Indexing::None;
    bool startsItem = false;  // the first row of an indexed group
    // The default counts the items of the row with this name (an argument
    // count, a key count from the key bytes' length).
    std::u16string_view countOf{};
    // A default the kind's class makes (an expression's stored node).
    std::vector<uint8_t> (*makeDefault)() = nullptr;

    uint32_t TagFor(uint32_t index) const;
    // The item index of `tag` for this row; nullopt when the tag is no tag of it.
    std::optional<uint32_t> IndexOf(uint32_t tag) const;
};

struct StepForm {
    uint32_t typeId;
    std::u16string_view word;
    std::span<const FieldRow> rows;  // the kind's own fields
    uint32_t delayDefault = 1000;    // what a fresh step of the kind waits

    // Every row of a step record: the header (name, delay, disabled), then the kind's.
    size_t RowCount() const;
    const FieldRow& Row(size_t i) const;
    // The row a field name stands for; none when the kind has no such field.
    const FieldRow* RowNamed(std::u16string_view name) const;
};

// The image's settings records, by readable name.
std::span<const FieldRow> SettingRows();

// The forms of every kind the player knows, in type id order.
std::span<const StepForm> AllStepForms();
const StepForm* FindStepForm(uint32_t typeId);
// By step word, without regard to case.
const StepForm* FindStepFormByWord(std::u16string_view word);

}  // namespace ovrix
