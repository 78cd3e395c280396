// Stored fields and text forms of the condition, loop and switch steps.
#include "engine/FlowSteps.h"

#include <cstdio>

#include "container/Text.h"
#include "expr/VariableName.h"

namespace ovrix {

namespace {

constexpr uint32_t kFileTag = MakeTag("FILE");
constexpr uint32_t kLoopKindTag = MakeTag("LPTP");
constexpr uint32_t kCountTag = MakeTag("TO");
constexpr uint32_t kDurationTag = MakeTag("TIME");
constexpr uint32_t kLoopVarTag = MakeTag("VAR");
constexpr uint32_t kStartTag = MakeTag("VAL1");
constexpr uint32_t kEndTag = MakeTag("VAL2");
constexpr char kCaseValueLetter = 'C';
constexpr uint32_t kCaseIntTag = MakeTag("Val");
constexpr uint32_t kCaseStrTag = MakeTag("Str");
constexpr size_t kMaxCaseValues = 0xFFFFFF;  // the index field of the tag

int32_t ReadI32(Region record, uint32_t tag) { return static_cast<int32_t>(ReadU32(record, tag, 0)); }

void WriteI32(RecordBuffer& buffer, uint32_t tag, int32_t value) {
    WriteU32(buffer, tag, static_cast<uint32_t>(value));
}

}  // namespace

// --- conditions -------------------------------------------------------------

std::u16string IfVarEvent::GetText() const { return u"If " + condition.DisplayText() + u", Then"; }

void IfVarEvent::Save(RecordBuffer& buffer) const {
    condition.Save(buffer, tag::kCode);
    SaveChildren(buffer);
}

void IfVarEvent::Load(Region data, EventList& owner) {
    condition.Load(data, tag::kCode);
    LoadChildren(data, owner);
}

std::u16string IfFileExistEvent::GetText() const {
    return u"If IsFileExist(" + fileName.DisplayText() + u"), Then";
}

void IfFileExistEvent::Save(RecordBuffer& buffer) const {
    fileName.Save(buffer, tag::kCode);
    SaveChildren(buffer);
}

void IfFileExistEvent::Load(Region data, EventList& owner) {
    fileName.Load(data, tag::kCode);
    if (!fileName.Present()) fileName = TextExpr(ReadString(data, kFileTag, u""));
    LoadChildren(data, owner);
}

// --- loops ------------------------------------------------------------------

std::u16string ForLoopEvent::GetText() const {
    switch (kind) {
        case kLoopCount: return u"For 1 to " + Decimal(static_cast<int32_t>(count));
        case kLoopTime: return u"For " + duration;
        case kLoopWhile: return u"While " + condition.DisplayText();
        case kLoopRange:
        case kLoopRangeExclusive: {
            std::u16string text = u"For " + variable + u" = " + start.DisplayText() + u" to " + end.DisplayText();
            if (kind == kLoopRangeExclusive) text += u" - 1";
            return text;
        }
        default: return u"For Infinite";
    }
}

void ForLoopEvent::Save(RecordBuffer& buffer) const {
    WriteU32(buffer, kLoopKindTag, kind);
    WriteU32(buffer, kCountTag, count);
    WriteString(buffer, kDurationTag, duration);
    condition.Save(buffer, tag::kCode);
    // An empty name stands for no loop variable at all.
    if (!variable.empty()) WriteString(buffer, kLoopVarTag, variable);
    start.Save(buffer, kStartTag);
    end.Save(buffer, kEndTag);
    SaveChildren(buffer);
}

void ForLoopEvent::Load(Region data, EventList& owner) {
    kind = ReadU32(data, kLoopKindTag, kLoopCount);
    count = ReadU32(data, kCountTag, 3);
    duration = ReadString(data, kDurationTag, u"");
    condition.Load(data, tag::kCode);
    // The stored name becomes a variable node, which keeps it in canonical form.
    variable = CanonicalVariableName(ReadString(data, kLoopVarTag, u""));
    start.Load(data, kStartTag);
    end.Load(data, kEndTag);
    LoadChildren(data, owner);
}

// --- switch -----------------------------------------------------------------

std::u16string SwitchEvent::GetText() const { return u"Switch " + expression.DisplayText(); }

void SwitchEvent::Save(RecordBuffer& buffer) const {
    expression.Save(buffer, tag::kCode);
    SaveChildren(buffer);
}

void SwitchEvent::Load(Region data, EventList& owner) {
    expression.Load(data, tag::kCode);
    LoadChildren(data, owner);
}

std::u16string CaseValueInt::GetKey() const { return Decimal(value); }

void CaseValueInt::Save(RecordBuffer& buffer) const {
    WriteU32(buffer, tag::kType, kKind);
    WriteI32(buffer, kCaseIntTag, value);
}

void CaseValueInt::Load(Region record) { value = ReadI32(record, kCaseIntTag); }

std::u16string CaseValueHex::GetKey() const { return Decimal(value); }

std::u16string CaseValueHex::GetText() const { return HexText(value); }

void CaseValueHex::Save(RecordBuffer& buffer) const {
    WriteU32(buffer, tag::kType, kKind);
    WriteI32(buffer, kCaseIntTag, value);
}

void CaseValueHex::Load(Region record) { value = ReadI32(record, kCaseIntTag); }

void CaseValueStr::Save(RecordBuffer& buffer) const {
    WriteU32(buffer, tag::kType, kKind);
    WriteString(buffer, kCaseStrTag, text);
}

void CaseValueStr::Load(Region record) { text = ReadString(record, kCaseStrTag, u""); }

Ref<CaseValue> CreateCaseValue(uint32_t kind) {
    switch (kind) {
        case CaseValueInt::kKind: return MakeRef<CaseValueInt>();
        case CaseValueHex::kKind: return MakeRef<CaseValueHex>();
        case CaseValueStr::kKind: return MakeRef<CaseValueStr>();
        default: return nullptr;
    }
}

std::u16string SwitchCaseEvent::GetText() const {
    std::u16string text = u"Case ";
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) text += u",";
        text += values[i]->GetText();
    }
    return text;
}

void SwitchCaseEvent::Save(RecordBuffer& buffer) const {
    for (size_t i = 0; i < values.size() && i < kMaxCaseValues; ++i) {
        RecordBuffer record;
        values[i]->Save(record);
        WriteContainer(buffer, IndexedTag(kCaseValueLetter, static_cast<uint32_t>(i)), record);
    }
    SaveChildren(buffer);
}

// Values are read while the indexed records run on without a gap; a record
// of an unknown kind ends the values too.
void SwitchCaseEvent::Load(Region data, EventList& owner) {
    values.clear();
    for (uint32_t i = 0; i < kMaxCaseValues; ++i) {
        const auto record = FindRecord(data, IndexedTag(kCaseValueLetter, i));
        if (!record) break;
        Ref<CaseValue> value = CreateCaseValue(ReadU32(*record, tag::kType, 0));
        if (!value) break;
        value->Load(*record);
        values.push_back(std::move(value));
    }
    LoadChildren(data, owner);
}

bool CaseValuesField::operator==(const CaseValuesField& other) const {
    if (values.size() != other.values.size()) return false;
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i]->GetKind() != other.values[i]->GetKind() || values[i]->GetKey() != other.values[i]->GetKey())
            return false;
    }
    return true;
}

}  // namespace ovrix
