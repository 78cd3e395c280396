// Helpers shared by the step-class tests: hand-written step records loaded
// through the real loader, the bytes a step's own Save writes, and a record
// of every kind with every field of the source table set.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "container/RecordBuffer.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "platform/PictureRecord.h"
#include "script/Event.h"
#include "script/ScriptStream.h"
#include "script/StepKinds.h"
#include "script/StoredExpr.h"
#include "source/FieldValues.h"
#include "source/StepFields.h"

namespace ovrix {

// Writes a step record's class records.
using FieldWriter = std::function<void(RecordBuffer&)>;

inline Region RegionOf(const std::vector<uint8_t>& bytes) {
    return Region{bytes.data(), static_cast<uint32_t>(bytes.size())};
}

// A stream of hand-written step records, each of a type with its class records.
inline std::vector<uint8_t> StreamOf(const std::vector<std::pair<uint32_t, FieldWriter>>& steps) {
    RecordBuffer stream;
    WriteU32(stream, tag::kStreamMagic, 0);
    WriteU32(stream, tag::kVersion, kNewestStreamVersion);
    uint32_t i = 0;
    for (const auto& [type, fields] : steps) {
        RecordBuffer record;
        WriteU32(record, tag::kType, type);
        if (fields) fields(record);
        WriteContainer(stream, tag::Step(i++), record);
    }
    return stream.ToVector();
}

// One step record of `type` loaded through the real loader; null when the
// loader made no step of it. The list it was loaded into is gone: a block
// step's child list then has no live parent (use LoadedList for that).
inline Ref<Event> LoadRecord(uint32_t type, const FieldWriter& fields = {}) {
    const auto bytes = StreamOf({{type, fields}});
    EventList list;
    LoadSteps(RegionOf(bytes), list);
    return list.Count() == 1 ? list.Steps()[0] : nullptr;
}

template <class T>
Ref<T> LoadAs(const FieldWriter& fields = {}) {
    Ref<Event> step = LoadRecord(T::kTypeId, fields);
    T* typed = dynamic_cast<T*>(step.Get());
    EXPECT_NE(typed, nullptr) << "type " << T::kTypeId << " did not load as its class";
    return Ref<T>(typed);
}

// The class records a step's own Save writes.
inline std::vector<uint8_t> FieldBytes(const Event& step) {
    RecordBuffer buffer;
    step.Save(buffer);
    return buffer.ToVector();
}

inline std::string Text(const Event& step) { return ToUtf8(step.GetText()); }

// A fresh step of class T with `fill` applied.
template <class T>
Ref<Event> Made(std::function<void(T&)> fill) {
    auto step = MakeRef<T>();
    fill(*step);
    return step;
}

// --- a step record of every kind with every field set ------------------------

// A 2 x 1 picture with an alpha channel, as a picture record holds it.
inline Bytes PictureContainer(uint8_t firstPixel = 1) {
    VBmp picture;
    picture.width = 2;
    picture.height = 1;
    picture.bitsPerPixel = 32;
    picture.pixels = {firstPixel, 2, 3, 255, 4, 5, 6, 128};
    RecordBuffer buffer;
    WritePictureRecord(buffer, picture);
    return buffer.ToVector();
}

// A switch case value of `kind` (1 decimal, 2 hex: 'Val'; 3 text: 'Str').
inline Bytes CaseData(uint32_t kind, uint32_t number, std::u16string_view text = u"") {
    RecordBuffer buffer;
    WriteU32(buffer, tag::kType, kind);
    if (kind == 3) WriteString(buffer, MakeTag("Str"), text);
    else WriteU32(buffer, MakeTag("Val"), number);
    return buffer.ToVector();
}

// A function argument: its name, its value type and, when `fallback` holds
// one, its default.
inline Bytes ArgData(std::u16string_view name, uint32_t type, const StoredExpr& fallback) {
    RecordBuffer buffer;
    WriteString(buffer, MakeTag("AVN"), name);
    WriteU32(buffer, MakeTag("ValT"), type);
    if (fallback.Present()) fallback.Save(buffer, MakeTag("DefV"));
    return buffer.ToVector();
}

// A nested step list of one comment.
inline Bytes CommentList(std::u16string_view text) {
    return StreamOf({{43, [&](RecordBuffer& b) { WriteString(b, MakeTag("CMT"), text); }}});
}

// The value of item `item` of the row in the rich step of `form`: never the
// row's default. A count holds the number of items, or of bytes, it counts.
inline Bytes RichValue(const StepForm& form, const FieldRow& row, uint32_t item) {
    if (const FieldRow* counted = row.countOf.empty() ? nullptr : form.RowNamed(row.countOf)) {
        const size_t count = counted->type == FieldType::Bytes ? RichValue(form, *counted, 0).size() : 2;
        return U32Data(static_cast<uint32_t>(count));
    }
    switch (row.type) {
        case FieldType::U32:
        case FieldType::Bits:
        case FieldType::Enum: return U32Data(static_cast<uint32_t>(row.numberDefault) + 1);
        case FieldType::Flag: return U32Data(row.numberDefault == 0 ? 1 : 0);
        case FieldType::I32: return U32Data(static_cast<uint32_t>(-5));
        case FieldType::I64: return {0x15, 0xCD, 0x5B, 0x07, 0, 0, 0, 0x80};
        case FieldType::F64: return {0, 0, 0, 0, 0, 0, 4, 0x40};  // 2.5
        case FieldType::Text: return TextData(u"$a\tb\"c\u00e9");
        case FieldType::Bytes: return {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
        case FieldType::Picture: return PictureContainer();
        case FieldType::Expr: return NumberExpr(5).Bytes();
        case FieldType::Case: return item == 0 ? CaseData(3, 0, u"x, y") : CaseData(2, 0xFF);
        case FieldType::Arg: return ArgData(u"$a", 1, NumberExpr(7));
        case FieldType::Sub: return CommentList(u"inner");
    }
    return {};
}

// Values a step must not be equal with when one item of the row holds it in
// place of the rich value: the row's default or another value of its type.
// A text's first change is one of letter case only.
inline std::vector<Bytes> ChangedValues(const FieldRow& row) {
    switch (row.type) {
        case FieldType::U32:
        case FieldType::Bits:
        case FieldType::Enum:
        case FieldType::Flag:
        case FieldType::I32: return {U32Data(static_cast<uint32_t>(row.numberDefault))};
        case FieldType::I64: return {{0x15, 0xCD, 0x5B, 0x07, 0, 0, 0, 0}};
        case FieldType::F64: return {{0, 0, 0, 0, 0, 0, 0x59, 0x40}};  // 100.0
        case FieldType::Text: return {TextData(u"$A\tb\"c\u00e9"), TextData(u"$a\tb\"c\u00e8")};
        case FieldType::Bytes: return {{1, 3, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}};
        case FieldType::Picture: return {PictureContainer(9)};
        case FieldType::Expr: return {NumberExpr(6).Bytes()};
        // Decimal and hex 255 share a key yet are different values.
        case FieldType::Case: return {CaseData(1, 0xFF), CaseData(2, 0xFE), CaseData(3, 0, u"x,y")};
        case FieldType::Arg:
            return {ArgData(u"$b", 1, NumberExpr(7)), ArgData(u"$a", 2, NumberExpr(7)),
                    ArgData(u"$a", 1, NumberExpr(8)), ArgData(u"$a", 1, StoredExpr())};
        case FieldType::Sub: return {CommentList(u"Inner"), StreamOf({})};
    }
    return {};
}

// The data of item `item` of a row; none leaves the record out.
using RowValue = std::function<std::optional<Bytes>(const FieldRow& row, uint32_t item)>;

// A step record of the kind with every field of the table set, in the order
// Save writes them: the rows of an indexed group once per item, two items.
inline RecordBuffer RichRecord(const StepForm& form, const RowValue& value = {}) {
    RecordBuffer record;
    WriteU32(record, tag::kType, form.typeId);
    for (size_t first = 0; first < form.RowCount();) {
        const bool indexed = form.Row(first).indexing != Indexing::None;
        size_t end = first + 1;
        while (indexed && end < form.RowCount() && form.Row(end).indexing != Indexing::None &&
               !form.Row(end).startsItem) {
            ++end;
        }
        for (uint32_t i = 0; i < (indexed ? 2u : 1u); ++i) {
            for (size_t r = first; r < end; ++r) {
                const FieldRow& row = form.Row(r);
                const auto data = value ? value(row, i) : RichValue(form, row, i);
                if (data) WriteRecord(record, row.TagFor(i), data->data(), static_cast<uint32_t>(data->size()));
            }
        }
        first = end;
    }
    return record;
}

}  // namespace ovrix
