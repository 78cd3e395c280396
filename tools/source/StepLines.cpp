#include "StepLines.h"

#include <algorithm>
#include <span>

#include "container/RecordBuffer.h"
#include "container/Tags.h"
#include "container/Text.h"

namespace ovrix {

namespace {

Bytes AsBytes(Region r) { return r.Empty() ? Bytes{} : Bytes(r.base, r.base + r.size); }

// The rows of one indexed group: from its starting row to the next row that
// is not indexed.
size_t GroupEnd(const StepForm& form, size_t start) {
    size_t end = start + 1;
    while (end < form.RowCount() && form.Row(end).indexing != Indexing::None && !form.Row(end).startsItem) ++end;
    return end;
}

const FieldRow* GroupStart(const StepForm& form, const FieldRow* row);

// What a left-out row holds: its default, or the count of what it counts.
Bytes RowDefault(const StepForm& form, const FieldRow& row, const std::vector<StepItem>& items) {
    if (row.tag == tag::kDelay && row.indexing == Indexing::None) return U32Data(form.delayDefault);
    if (row.countOf.empty()) return DefaultFieldData(row);
    uint32_t count = 0;
    for (const StepItem& item : items) {
        if (!item.row || item.row->name != row.countOf) continue;
        count += item.row->type == FieldType::Bytes ? static_cast<uint32_t>(item.data.size()) : 1;
    }
    return U32Data(count);
}

const StepItem* ItemOf(const std::vector<StepItem>& items, const FieldRow& row) {
    for (const StepItem& item : items) {
        if (item.row == &row) return &item;
    }
    return nullptr;
}

// Canonical order: every row as Save writes it, defaults where left out.
void AssembleCanonical(const StepForm& form, const std::vector<StepItem>& items, const Bytes* sub, Bytes& out) {
    for (size_t r = 0; r < form.RowCount();) {
        const FieldRow& row = form.Row(r);
        if (row.type == FieldType::Sub) {
            if (sub) Put(out, row.tag, *sub);
            ++r;
            continue;
        }
        if (row.indexing == Indexing::None) {
            if (const StepItem* item = ItemOf(items, row)) {
                Put(out, row.tag, item->data);
            } else if (row.always) {
                Put(out, row.tag, RowDefault(form, row, items));
            }
            ++r;
            continue;
        }
        const size_t end = GroupEnd(form, r);
        // Each starting item opens one instance; the group's other rows
        // given after it belong to it.
        struct Instance {
            const StepItem* start;
            std::vector<const StepItem*> members;
        };
        std::vector<Instance> instances;
        for (const StepItem& item : items) {
            if (item.row == &row) {
                instances.push_back({&item, {}});
            } else if (!instances.empty() && GroupStart(form, item.row) == &row) {
                instances.back().members.push_back(&item);
            }
        }
        for (size_t i = 0; i < instances.size(); ++i) {
            const auto index = static_cast<uint32_t>(i);
            Put(out, row.TagFor(index), instances[i].start->data);
            for (size_t g = r + 1; g < end; ++g) {
                const FieldRow& member = form.Row(g);
                const auto& members = instances[i].members;
                auto given = std::find_if(members.begin(), members.end(),
                                          [&](const StepItem* item) { return item->row == &member; });
                if (given != members.end()) {
                    Put(out, member.TagFor(index), (*given)->data);
                } else if (member.always) {
                    Put(out, member.TagFor(index), RowDefault(form, member, items));
                }
            }
        }
        r = end;
    }
}

// The group row that starts the item a row belongs to (the row itself when
// it starts one).
const FieldRow* GroupStart(const StepForm& form, const FieldRow* row) {
    for (size_t r = 0; r < form.RowCount(); ++r) {
        if (!form.Row(r).startsItem) continue;
        const size_t end = GroupEnd(form, r);
        for (size_t g = r; g < end; ++g) {
            if (&form.Row(g) == row) return &form.Row(r);
        }
    }
    return nullptr;
}

const FieldRow* RowForTag(const StepForm& form, uint32_t tag) {
    for (size_t r = 0; r < form.RowCount(); ++r) {
        const FieldRow& row = form.Row(r);
        if (row.indexing == Indexing::None && row.type != FieldType::Sub && row.tag == tag) return &row;
    }
    for (size_t r = 0; r < form.RowCount(); ++r) {
        if (form.Row(r).indexing != Indexing::None && form.Row(r).IndexOf(tag)) return &form.Row(r);
    }
    return nullptr;
}

// The index the compiler gives an item of an indexed row: the number of
// items started before it (the current one for the group's other rows).
std::optional<uint32_t> ItemIndex(const StepForm& form, std::span<const StepItem> before, const FieldRow& row) {
    const FieldRow* start = GroupStart(form, &row);
    const auto started = static_cast<uint32_t>(
        std::count_if(before.begin(), before.end(), [&](const StepItem& item) { return item.row == start; }));
    if (row.startsItem) return started;
    if (started == 0) return std::nullopt;
    return started - 1;
}

bool IsStepBlock(const StepForm& form) {
    return form.rows.size() > 0 && form.rows.back().type == FieldType::Sub;
}

}  // namespace

Bytes AssembleStep(const StepForm& form, bool exact, const std::vector<StepItem>& items, const Bytes* sub) {
    Bytes out;
    Put(out, tag::kType, U32Data(form.typeId));
    if (!exact) {
        AssembleCanonical(form, items, sub, out);
        return out;
    }
    for (size_t i = 0; i < items.size(); ++i) {
        const StepItem& item = items[i];
        if (item.tail) {
            out.insert(out.end(), item.data.begin(), item.data.end());
        } else if (!item.row) {
            Put(out, item.tag, item.data);
        } else if (item.row->indexing == Indexing::None) {
            Put(out, item.row->tag, item.data);
        } else {
            const std::span<const StepItem> before(items.data(), i);
            Put(out, item.row->TagFor(ItemIndex(form, before, *item.row).value_or(0)), item.data);
        }
    }
    if (sub) Put(out, tag::kSub, *sub);
    return out;
}

std::optional<StepLine> SplitStep(Region record) {
    std::optional<uint32_t> at = FirstWholeRecord(record);
    if (!at) return std::nullopt;
    const Record type = RecordAt(record, *at);
    if (type.tag != tag::kType || type.data.size != 4 || *at != 0) return std::nullopt;
    StepLine line;
    line.form = FindStepForm(LoadU32(type.data.base));
    if (!line.form) return std::nullopt;

    // Records laid whole back to back; what is left behind them is the tail.
    uint32_t offset = 8 + type.data.size;
    while (offset < record.size) {
        const uint32_t left = record.size - offset;
        const int32_t length = left >= 8 ? LoadI32(record.base + offset + 4) : 0;
        if (length < 1 || static_cast<uint32_t>(length) > left - 8) {
            line.items.push_back({nullptr, 0, true, Bytes(record.base + offset, record.base + record.size)});
            break;
        }
        const uint32_t tag = LoadU32(record.base + offset);
        const Region data{record.base + offset + 8, static_cast<uint32_t>(length)};
        offset += 8 + static_cast<uint32_t>(length);
        if (tag == tag::kSub && IsStepBlock(*line.form) && offset == record.size) {
            line.sub = data;
            break;
        }
        const FieldRow* row = RowForTag(*line.form, tag);
        if (row && row->indexing != Indexing::None && ItemIndex(*line.form, line.items, *row) != row->IndexOf(tag)) {
            row = nullptr;
        }
        if (row && FieldText(*row, data, nullptr)) {
            line.items.push_back({row, 0, false, AsBytes(data)});
        } else {
            line.items.push_back({nullptr, tag, false, AsBytes(data)});
        }
    }

    // The canonical form when it gives back the same record, left-out
    // defaults and all.
    const bool plain = std::none_of(line.items.begin(), line.items.end(), [](const StepItem& item) { return !item.row; });
    const Bytes original = AsBytes(record);
    const Bytes sub = line.sub ? AsBytes(*line.sub) : Bytes{};
    const Bytes* subData = line.sub ? &sub : nullptr;
    if (plain) {
        std::vector<StepItem> shortened;
        for (const StepItem& item : line.items) {
            if (item.row->always && item.data == RowDefault(*line.form, *item.row, line.items)) continue;
            shortened.push_back(item);
        }
        if (AssembleStep(*line.form, false, shortened, subData) == original) {
            line.items = std::move(shortened);
            return line;
        }
        if (AssembleStep(*line.form, false, line.items, subData) == original) return line;
    }
    line.exact = true;
    return line;
}

std::u16string StepLineText(const StepLine& line, PictureFiles* files) {
    std::u16string text(line.form->word);
    if (line.exact) text += u'!';
    for (size_t i = 0; i < line.items.size(); ++i) {
        const StepItem& item = line.items[i];
        text += i == 0 ? u" " : u", ";
        const Region data{item.data.data(), static_cast<uint32_t>(item.data.size())};
        if (item.tail) {
            text += u"tail=" + HexLiteral(data);
        } else if (!item.row) {
            text += TagText(item.tag) + u"=" + HexLiteral(data);
        } else {
            text += std::u16string(item.row->name) + u"=" + FieldText(*item.row, data, files).value_or(u"");
        }
    }
    return text;
}

std::optional<ParsedStep> ParseStepLine(SourceCursor& cursor, SourceErrors& errors, PictureFiles* files) {
    const SourcePos wordPos = cursor.Pos();
    const std::u16string_view word = cursor.TakeName();
    ParsedStep step;
    step.form = word.empty() ? nullptr : FindStepFormByWord(word);
    if (!step.form) {
        std::vector<std::u16string_view> words;
        for (const StepForm& form : AllStepForms()) words.push_back(form.word);
        const std::string near = NearestNames(word, words);
        errors.Add(wordPos, word.empty() ? "expected a step word"
                                         : "unknown step word '" + ToUtf8(word) + "'" +
                                               (near.empty() ? "" : "; did you mean " + near + "?"));
        return std::nullopt;
    }
    step.exact = cursor.Accept(u'!');
    cursor.SkipSpaces();
    while (!cursor.AtEnd()) {
        const SourcePos itemPos = cursor.Pos();
        StepItem item;
        if (cursor.Peek() == u'\'' || (cursor.Peek() >= u'0' && cursor.Peek() <= u'9')) {
            if (!ReadTag(cursor, item.tag, errors)) return std::nullopt;
        } else {
            const std::u16string_view name = cursor.TakeName();
            item.tail = name == u"tail";
            item.row = item.tail ? nullptr : step.form->RowNamed(name);
            if (!item.tail && (!item.row || item.row->type == FieldType::Sub)) {
                std::vector<std::u16string_view> names;
                for (size_t r = 0; r < step.form->RowCount(); ++r) {
                    if (step.form->Row(r).type != FieldType::Sub) names.push_back(step.form->Row(r).name);
                }
                const std::string near = NearestNames(name, names);
                errors.Add(itemPos, name.empty() ? "expected a field name"
                                                 : ToUtf8(step.form->word) + " has no field '" + ToUtf8(name) + "'" +
                                                       (near.empty() ? "" : "; did you mean " + near + "?"));
                return std::nullopt;
            }
        }
        cursor.SkipSpaces();
        if (!cursor.Accept(u'=')) {
            errors.Add(cursor.Pos(), "expected '=' and the field's value");
            return std::nullopt;
        }
        cursor.SkipSpaces();
        const bool ok = item.row ? ParseFieldValue(*item.row, cursor, item.data, errors, files)
                                 : ReadHexLiteral(cursor, item.data, errors);
        if (!ok) return std::nullopt;
        if (!step.exact) {
            if (!item.row) {
                errors.Add(itemPos, "raw records and tails belong to the exact form: write " +
                                        ToUtf8(step.form->word) + "! and every record in order");
                return std::nullopt;
            }
            if (item.row->indexing == Indexing::None && ItemOf(step.items, *item.row)) {
                errors.Add(itemPos, "field '" + ToUtf8(item.row->name) + "' given twice");
                return std::nullopt;
            }
        }
        if (item.row && item.row->indexing != Indexing::None && !ItemIndex(*step.form, step.items, *item.row)) {
            errors.Add(itemPos, "'" + ToUtf8(item.row->name) + "' belongs to an item: write '" +
                                    ToUtf8(GroupStart(*step.form, item.row)->name) + "=' before it");
            return std::nullopt;
        }
        step.items.push_back(std::move(item));
        cursor.SkipSpaces();
        if (cursor.AtEnd()) break;
        if (!cursor.Accept(u',')) {
            errors.Add(cursor.Pos(), "expected ',' and the next field, or the line's end");
            return std::nullopt;
        }
        cursor.SkipSpaces();
    }
    return step;
}

std::string NearestNames(std::u16string_view word, const std::vector<std::u16string_view>& names) {
    std::vector<std::pair<size_t, std::u16string_view>> ranked;
    const size_t limit = std::max<size_t>(2, word.size() / 2);
    for (std::u16string_view name : names) {
        const size_t d = EditDistance(word, name, true);
        if (d <= limit && std::none_of(ranked.begin(), ranked.end(), [&](auto& r) { return r.second == name; })) {
            ranked.emplace_back(d, name);
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](auto& a, auto& b) { return a.first < b.first; });
    if (ranked.size() > 3) ranked.resize(3);
    std::string text;
    for (size_t i = 0; i < ranked.size(); ++i) {
        if (i > 0) text += i + 1 == ranked.size() ? " or " : ", ";
        text += ToUtf8(ranked[i].second);
    }
    return text;
}

}  // namespace ovrix
