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

// The dot-separated parts of a canonical name, in order ("$a." has two,
// the second empty).
class NameParts {
public:
    explicit NameParts(std::u16string_view name) : rest_(name) {}
    bool More() const { return more_; }
    // The next part; only while More().
    std::u16string_view Next() {
        const size_t dot = rest_.find(u'.');
        if (dot == std::u16string_view::npos) {
            more_ = false;
            return rest_;
        }
        const std::u16string_view part = rest_.substr(0, dot);
        rest_ = rest_.substr(dot + 1);
        return part;
    }

private:
    std::u16string_view rest_;
    bool more_ = true;
};

// A cell for a new entry: the value's own cell, or a fresh empty one when
// there is no value.
PExprItem CellFor(const PExprItem& value) {
    if (value.HasValue()) return value;
    PExprItem cell;
    cell.Assign(nullptr);
    return cell;
}

// Inserts or replaces one entry of a member table.
void StoreEntry(std::map<std::u16string, PExprItem>& table, std::u16string_view key, const PExprItem& value) {
    auto it = table.find(std::u16string(key));
    if (it == table.end()) {
        table.emplace(std::u16string(key), CellFor(value));
    } else {
        it->second.Assign(value.Item());
    }
}

// The cell of a base name in its table, through the slot when one is given.
PExprItem* FindCell(VariableTable& table, std::u16string_view baseName, VariableSlot* slot) {
    if (slot != nullptr && slot->stamp == table.Stamp()) return slot->cell;
    PExprItem* cell = table.Find(baseName);
    if (cell != nullptr && slot != nullptr) *slot = VariableSlot{table.Stamp(), cell};
    return cell;
}

// The cell that a canonical name with member parts reaches now in its
// table, or null.
const PExprItem* ReachCellByName(VariableTable& table, std::u16string_view name, VariableSlot* slot) {
    NameParts parts(name);
    const PExprItem* cell = FindCell(table, parts.Next(), slot);
    if (cell != nullptr && slot != nullptr) slot->whole = !parts.More();
    while (cell != nullptr && parts.More()) {
        const std::u16string_view part = parts.Next();
        ExprItem* item = cell->Item();
        VarExtInf* members = item ? item->Members() : nullptr;
        if (members == nullptr) return nullptr;
        auto it = members->members.find(std::u16string(part));
        if (it == members->members.end()) return nullptr;
        cell = &it->second;
    }
    return cell;
}

// The same through the slot when it still holds; kept apart from the walk
// so that this, the usual case, stays a few instructions.
inline const PExprItem* ReachCell(std::u16string_view name, VariableSlot* slot) {
    VariableTable* table = VariableTableFor(name);
    if (table == nullptr) return nullptr;
    if (slot != nullptr && slot->whole && slot->stamp == table->Stamp()) return slot->cell;
    return ReachCellByName(*table, name, slot);
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
            VariableFrame* frame = state ? state->currentFrame : nullptr;
            return frame ? &frame->ScriptVariables() : nullptr;
        }
        case u'!': return state ? &state->passVariables : nullptr;
        case u'#': return state ? &state->programVariables : nullptr;
        default: return nullptr;
    }
}

PExprItem FindVariable(std::u16string_view baseName) {
    VariableTable* table = VariableTableFor(baseName);
    const PExprItem* cell = table ? table->Find(baseName) : nullptr;
    return cell ? *cell : PExprItem();
}

PExprItem GetVariable(std::u16string_view name, bool* found, VariableSlot* slot) {
    const PExprItem* cell = ReachCell(name, slot);
    if (found) *found = cell != nullptr;
    return cell ? PExprItem::Of(cell->Item()) : PExprItem();
}

ExprItem* VariableItem(std::u16string_view name, VariableSlot* slot) {
    const PExprItem* cell = ReachCell(name, slot);
    return cell ? cell->Item() : nullptr;
}

void StoreVariable(std::u16string_view name, const PExprItem& value, VariableSlot* slot) {
    VariableTable* table = VariableTableFor(name);
    if (table == nullptr) return;
    if (slot != nullptr && slot->whole && slot->stamp == table->Stamp()) {
        slot->cell->Assign(value.Item());
        return;
    }
    NameParts parts(name);
    const std::u16string_view base = parts.Next();
    PExprItem* entry = FindCell(*table, base, slot);
    if (!parts.More()) {
        if (entry != nullptr) {
            entry->Assign(value.Item());
            if (slot != nullptr) slot->whole = true;
        } else {
            PExprItem& added = table->Insert(base, CellFor(value));
            if (slot != nullptr) *slot = VariableSlot{table->Stamp(), &added, true};
        }
        return;
    }
    if (entry == nullptr) entry = &table->Insert(base, CellFor(MakeItem<ExprItem_Empty>()));
    // Keeps the item alive while its members are walked.
    PExprItem cell = *entry;
    std::u16string_view part = parts.Next();
    for (; parts.More(); part = parts.Next()) {
        ExprItem* item = cell.Item();
        if (item == nullptr) return;
        auto& members = item->EnsureMembers().members;
        auto it = members.find(std::u16string(part));
        if (it == members.end()) it = members.emplace(std::u16string(part), CellFor({})).first;
        cell = it->second;
    }
    ExprItem* owner = cell.Item();
    if (owner == nullptr) return;
    StoreEntry(owner->EnsureMembers().members, part, value);
}

void RemoveVariable(std::u16string_view baseName) {
    if (VariableTable* table = VariableTableFor(baseName)) table->Remove(baseName);
}

void SetVariable(std::u16string_view name, const PExprItem& value, VariableSlot* slot) {
    StoreVariable(name, HeldElsewhere(value) ? value.DeepCopy() : value, slot);
}

void SetVariableNumber(std::u16string_view name, double value, uint32_t flags, VariableSlot* slot) {
    const PExprItem* cell = ReachCell(name, slot);
    ExprItem* item = cell ? cell->Item() : nullptr;
    if (item != nullptr && item->Kind() == kind::kNumber && item->RefCount() == 1 && item->Members() == nullptr) {
        auto* number = static_cast<ExprItem_Num*>(item);
        if (number->enumeration == nullptr) {
            number->value = value;
            number->flags = flags;
            return;
        }
    }
    SetVariable(name, MakeItem<ExprItem_Num>(value, flags), slot);
}

void AddToVariable(std::u16string_view name, const PExprItem& value, VariableSlot* slot) {
    // Counted: the added value may be the target itself, or let it go.
    const Ref<ExprItem> target(VariableItem(name, slot));
    if (!target) {
        SetVariable(name, value, slot);
        return;
    }
    AddInPlace(*target, value);
}

void ClearPassVariables() {
    if (ExprState* state = CurrentExprState()) state->passVariables.Clear();
}

void ClearProgramVariables() {
    if (ExprState* state = CurrentExprState()) {
        state->passVariables.Clear();
        state->programVariables.Clear();
    }
}

PExprItem ExprItem_Var::Evaluate() { return GetVariable(name_, nullptr, &slot_); }

}  // namespace ovrix
