#include "expr/Variables.h"

#include <vector>

#include "expr/ExprItem.h"
#include "expr/ExprState.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Second counts wrap like the processor's 64-bit arithmetic instead of
// overflowing (a NaN day count truncates to the lowest integer).
int64_t WrappingAdd(int64_t a, int64_t b) { return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b)); }
int64_t WrappingDays(int64_t days) { return static_cast<int64_t>(static_cast<uint64_t>(days) * kSecondsPerDay); }

// Empties a table so that it is already empty while its values die.
void Empty(VariableTable& table) {
    VariableTable dying;
    dying.swap(table);
}

std::vector<std::u16string_view> SplitParts(std::u16string_view name) {
    std::vector<std::u16string_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t dot = name.find(u'.', start);
        parts.push_back(name.substr(start, dot == std::u16string_view::npos ? std::u16string_view::npos : dot - start));
        if (dot == std::u16string_view::npos) return parts;
        start = dot + 1;
    }
}

// A cell for a new entry: the value's own cell, or a fresh empty one when
// there is no value.
PExprItem CellFor(const PExprItem& value) {
    if (value.HasValue()) return value;
    PExprItem cell;
    cell.Assign(nullptr);
    return cell;
}

// Inserts or replaces one entry of a variable or member table.
void StoreEntry(std::map<std::u16string, PExprItem>& table, std::u16string_view key, const PExprItem& value) {
    auto it = table.find(std::u16string(key));
    if (it == table.end()) {
        table.emplace(std::u16string(key), CellFor(value));
    } else {
        it->second.Assign(value.Item());
    }
}

// A value reached through a cell that others also hold is held elsewhere
// even when the item itself is counted once.
bool HeldElsewhere(const PExprItem& value) { return value.IsItemShared() || value.CellShareCount() > 1; }

void AddToNumber(ExprItem_Num& target, const PExprItem& v) {
    if ((target.flags & numflag::kHex) == 0) {
        if (v.HasValue()) target.value += AsNumber(v);
        return;
    }
    const auto* number = v && v->Kind() == kind::kNumber ? ItemAs<ExprItem_Num>(v) : nullptr;
    if (number == nullptr) return;
    target.value += number->value;
    if ((number->flags & numflag::kHex) == 0) target.flags &= ~numflag::kHex;
}

// Changes the target item in place; kinds without an Add rule stay as they are.
void AddInPlace(ExprItem& target, const PExprItem& v) {
    const uint32_t addedKind = v ? v->Kind() : 0;
    const auto* span = addedKind == kind::kTimeSpan ? ItemAs<ExprItem_TimeSpan>(v) : nullptr;
    const auto* hex = addedKind == kind::kHex ? ItemAs<ExprItem_Hex>(v) : nullptr;
    switch (target.Kind()) {
        case kind::kNumber:
            if (auto* n = dynamic_cast<ExprItem_Num*>(&target)) AddToNumber(*n, v);
            break;
        case kind::kText:
            if (auto* t = dynamic_cast<ExprItem_Text*>(&target)) t->text += AsText(v);
            break;
        case kind::kBool:
            if (auto* b = dynamic_cast<ExprItem_Bool*>(&target); b && AsInteger(v) != 0) b->value = true;
            break;
        case kind::kDateTime:
            if (auto* d = dynamic_cast<ExprItem_DateTime*>(&target)) {
                if (span != nullptr) {
                    d->seconds = WrappingAdd(d->seconds, span->seconds);
                } else if (const int64_t days = AsInteger(v); days != 0) {
                    d->seconds = WrappingAdd(d->seconds, WrappingDays(days));
                }
            }
            break;
        case kind::kTimeSpan:
            if (auto* s = dynamic_cast<ExprItem_TimeSpan*>(&target); s && span != nullptr) s->seconds = WrappingAdd(s->seconds, span->seconds);
            break;
        case kind::kHex:
            if (auto* h = dynamic_cast<ExprItem_Hex*>(&target); h && hex != nullptr) {
                const std::vector<uint8_t> added = hex->bytes;  // the added value may be the target itself
                h->bytes.insert(h->bytes.end(), added.begin(), added.end());
            }
            break;
        default:
            break;
    }
}

}  // namespace

VariableTable* VariableTableFor(std::u16string_view name) {
    if (name.empty()) return nullptr;
    ExprState* const state = CurrentExprState();
    switch (name[0]) {
        case u'$':
        case u'@': {
            VariableFrame* frame = CurrentFrame();
            return frame ? &frame->ScriptVariables() : nullptr;
        }
        case u'!': return state ? &state->passVariables : nullptr;
        case u'#': return state ? &state->programVariables : nullptr;
        default: return nullptr;
    }
}

PExprItem FindVariable(std::u16string_view baseName) {
    VariableTable* table = VariableTableFor(baseName);
    if (table == nullptr) return {};
    auto it = table->find(std::u16string(baseName));
    return it == table->end() ? PExprItem() : it->second;
}

PExprItem GetVariable(std::u16string_view name, bool* found) {
    if (found) *found = false;
    const std::vector<std::u16string_view> parts = SplitParts(name);
    PExprItem cell = FindVariable(parts[0]);
    if (!cell.HasCell()) return {};
    for (size_t i = 1; i < parts.size(); ++i) {
        ExprItem* item = cell.Item();
        VarExtInf* members = item ? item->Members() : nullptr;
        if (members == nullptr) return {};
        auto it = members->members.find(std::u16string(parts[i]));
        if (it == members->members.end()) return {};
        cell = it->second;
    }
    if (found) *found = true;
    return PExprItem::Of(cell.Item());
}

void StoreVariable(std::u16string_view name, const PExprItem& value) {
    VariableTable* table = VariableTableFor(name);
    if (table == nullptr) return;
    const std::vector<std::u16string_view> parts = SplitParts(name);
    if (parts.size() == 1) {
        StoreEntry(*table, parts[0], value);
        return;
    }
    if (table->find(std::u16string(parts[0])) == table->end()) StoreEntry(*table, parts[0], MakeItem<ExprItem_Empty>());
    // Keeps the item alive while its members are walked.
    PExprItem cell = table->find(std::u16string(parts[0]))->second;
    for (size_t i = 1; i + 1 < parts.size(); ++i) {
        ExprItem* item = cell.Item();
        if (item == nullptr) return;
        auto& members = item->EnsureMembers().members;
        auto it = members.find(std::u16string(parts[i]));
        if (it == members.end()) it = members.emplace(std::u16string(parts[i]), CellFor({})).first;
        cell = it->second;
    }
    ExprItem* owner = cell.Item();
    if (owner == nullptr) return;
    StoreEntry(owner->EnsureMembers().members, parts.back(), value);
}

void RemoveVariable(std::u16string_view baseName) {
    VariableTable* table = VariableTableFor(baseName);
    if (table == nullptr) return;
    auto it = table->find(std::u16string(baseName));
    if (it == table->end()) return;
    // The entry leaves the table before its value can die.
    PExprItem dying = std::move(it->second);
    table->erase(it);
}

void SetVariable(std::u16string_view name, const PExprItem& value) {
    StoreVariable(name, HeldElsewhere(value) ? value.DeepCopy() : value);
}

void AddToVariable(std::u16string_view name, const PExprItem& value) {
    PExprItem target = GetVariable(name);
    if (!target) {
        SetVariable(name, value);
        return;
    }
    AddInPlace(*target.Item(), value);
}

void ClearPassVariables() {
    if (ExprState* state = CurrentExprState()) Empty(state->passVariables);
}

void ClearProgramVariables() {
    if (ExprState* state = CurrentExprState()) {
        Empty(state->passVariables);
        Empty(state->programVariables);
    }
}

PExprItem ExprItem_Var::Evaluate() { return GetVariable(name_); }

}  // namespace ovrix
