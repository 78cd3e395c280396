// Decoding reads the records in the order the node kinds' own writers put
// them; whatever it accepts is then encoded again and compared with the
// stored bytes, so a shape is answered only for bytes it reproduces.
#include "ExprShape.h"

#include <algorithm>
#include <cstring>

#include "container/Tags.h"
#include "expr/ExprKinds.h"
#include "expr/KindsPattern.h"

namespace ovrix {

namespace {

using pattern::kTagNodeType, pattern::kTagBounds, pattern::kTagN, pattern::kTagM, pattern::kTagLow, pattern::kTagHigh,
    pattern::kTagSub;
constexpr uint32_t kDecimalRange = pattern::kDecimalIn;

// The records of a region that is exactly a run of whole records.
std::optional<std::vector<Record>> SplitRecords(Region region) {
    std::vector<Record> records;
    uint64_t p = 0;
    const uint64_t end = region.size;
    while (p < end) {
        if (p + 8 > end) return std::nullopt;
        const uint32_t t = LoadU32(region.base + p);
        const int32_t n = LoadI32(region.base + p + 4);
        if (n < 0 || p + 8 + static_cast<uint64_t>(n) > end) return std::nullopt;
        records.push_back(Record{t, Region{region.base + p + 8, static_cast<uint32_t>(n)}});
        p += 8 + static_cast<uint64_t>(n);
    }
    return records;
}

// Takes the records of one node in order.
class RecordReader {
public:
    explicit RecordReader(const std::vector<Record>& records) : records_(records) {}

    bool Done() const { return next_ == records_.size(); }
    const Record* Take(uint32_t tag) {
        if (next_ >= records_.size() || records_[next_].tag != tag) return nullptr;
        return &records_[next_++];
    }
    bool TakeU32(uint32_t tag, uint32_t& out) {
        const Record* r = Take(tag);
        if (r == nullptr || r->data.size != 4) return false;
        out = LoadU32(r->data.base);
        return true;
    }
    bool TakeU64(uint32_t tag, uint64_t& out) {
        const Record* r = Take(tag);
        if (r == nullptr || r->data.size != 8) return false;
        out = static_cast<uint64_t>(LoadI64(r->data.base));
        return true;
    }
    // A text with its terminating zero unit (zero units inside are kept).
    bool TakeText(uint32_t tag, std::u16string& out) {
        const Record* r = Take(tag);
        if (r == nullptr || r->data.size < 2 || r->data.size % 2 != 0) return false;
        out.clear();
        for (uint32_t i = 0; i + 2 < r->data.size; i += 2) {
            out += static_cast<char16_t>(r->data.base[i] | (r->data.base[i + 1] << 8));
        }
        return r->data.base[r->data.size - 2] == 0 && r->data.base[r->data.size - 1] == 0;
    }
    void TakeSub(uint32_t tag, std::vector<std::optional<Region>>& parts) {
        const Record* r = Take(tag);
        parts.push_back(r != nullptr ? std::optional<Region>(r->data) : std::nullopt);
    }
    // Records 'letter'+0, +1, ... in order.
    void TakeIndexed(char letter, std::vector<std::optional<Region>>& parts) {
        for (uint32_t i = 0;; ++i) {
            const Record* r = Take(IndexedTag(letter, i));
            if (r == nullptr) return;
            parts.push_back(r->data);
        }
    }

private:
    const std::vector<Record>& records_;
    size_t next_ = 0;
};

bool DecodeFields(ShapeFamily family, RecordReader& in, ExprShape& s) {
    switch (family) {
        case ShapeFamily::Raw: return false;
        case ShapeFamily::Text: return in.TakeText(tag::kText, s.text);
        case ShapeFamily::Number: {
            if (!in.TakeU32(tag::kNumberFlags, s.word) || !in.TakeU64(tag::kNumber, s.bits)) return false;
            std::u16string name;
            if (in.TakeText(tag::kEnum, name)) s.enumName = name;
            return true;
        }
        case ShapeFamily::Bool: return in.TakeU32(tag::kBool, s.word);
        case ShapeFamily::DateTime: return in.TakeU64(tag::kTime, s.bits);
        case ShapeFamily::TimeSpan: return in.TakeU64(tag::kSpan, s.bits);
        case ShapeFamily::Handle: return in.TakeU32(tag::kHandle, s.word);
        case ShapeFamily::Bytes:
            if (const Record* r = in.Take(tag::kHex)) s.bytes.assign(r->data.base, r->data.base + r->data.size);
            return true;
        case ShapeFamily::Variable: return in.TakeText(tag::kVar, s.text);
        case ShapeFamily::Member: return in.TakeText(tag::kMember, s.text);
        case ShapeFamily::Operator:
            in.TakeSub(tag::kOperand1, s.parts);
            in.TakeSub(tag::kOperand2, s.parts);
            return true;
        case ShapeFamily::Call:
            if (!in.TakeText(tag::kFunction, s.text) || !in.TakeU32(tag::kCallForm, s.word)) return false;
            in.TakeIndexed('A', s.parts);
            return true;
        case ShapeFamily::ScriptCall:
            if (!in.TakeText(tag::kFunction, s.text)) return false;
            in.TakeIndexed('A', s.parts);
            return true;
        case ShapeFamily::Assign:
            in.TakeSub(tag::kVar, s.parts);
            in.TakeSub(tag::kValue, s.parts);
            return true;
        case ShapeFamily::Remove: in.TakeSub(tag::kVar, s.parts); return true;
        case ShapeFamily::ValueList: in.TakeIndexed('I', s.parts); return true;
        case ShapeFamily::Pattern:
            if (!in.TakeU32(kTagNodeType, s.word) || !in.TakeU32(kTagBounds, s.flat) || !in.TakeU32(kTagN, s.n) ||
                !in.TakeU32(kTagM, s.m)) {
                return false;
            }
            if (s.word == kDecimalRange && (!in.TakeU64(kTagLow, s.low) || !in.TakeU64(kTagHigh, s.high))) return false;
            if (in.TakeText(tag::kText, s.text) && s.text.empty()) return false;
            in.TakeSub(kTagSub, s.parts);
            return true;
        case ShapeFamily::EmptyValue: return true;
    }
    return false;
}

void WriteSub(RecordBuffer& out, uint32_t tag, const std::optional<Region>& part) {
    if (part) WriteRecord(out, tag, part->base, part->size);
}

}  // namespace

ShapeFamily FamilyOf(uint32_t kind) {
    if (IsOperatorCode(kind)) return ShapeFamily::Operator;
    switch (kind) {
        case kind::kText: return ShapeFamily::Text;
        case kind::kNumber: return ShapeFamily::Number;
        case kind::kBool: return ShapeFamily::Bool;
        case kind::kDateTime: return ShapeFamily::DateTime;
        case kind::kTimeSpan: return ShapeFamily::TimeSpan;
        case kind::kHandle: return ShapeFamily::Handle;
        case kind::kHex:
        case kind::kBinData: return ShapeFamily::Bytes;
        case kind::kVariable: return ShapeFamily::Variable;
        case kind::kMember: return ShapeFamily::Member;
        case kind::kFunction: return ShapeFamily::Call;
        case kind::kDynFun: return ShapeFamily::ScriptCall;
        case kind::kSetVar:
        case kind::kAlias:
        case kind::kAddValue: return ShapeFamily::Assign;
        case kind::kRemoveVar: return ShapeFamily::Remove;
        case kind::kValueList: return ShapeFamily::ValueList;
        case kind::kRegExp: return ShapeFamily::Pattern;
        case kind::kEmpty:
        case kind::kArray:
        case kind::kNamedData:
        case kind::kFileFinder:
        case kind::kWorkbook:
        case kind::kProcess:
        case kind::kWindowHandle:
        case kind::kSolver: return ShapeFamily::EmptyValue;
        default: return ShapeFamily::Raw;
    }
}

uint32_t LowWord(uint64_t bits) { return static_cast<uint32_t>(bits); }
uint32_t HighWord(uint64_t bits) { return static_cast<uint32_t>(bits >> 32); }

std::optional<ExprShape> DecodeShape(Region node) {
    const auto records = SplitRecords(node);
    if (!records || records->empty()) return std::nullopt;
    RecordReader in(*records);
    ExprShape shape;
    if (!in.TakeU32(tag::kType, shape.kind)) return std::nullopt;
    if (!DecodeFields(FamilyOf(shape.kind), in, shape) || !in.Done()) return std::nullopt;
    RecordBuffer again;
    EncodeShape(shape, again);
    if (again.Used() != node.size || (node.size != 0 && std::memcmp(again.Data(), node.base, node.size) != 0)) {
        return std::nullopt;
    }
    return shape;
}

void EncodeShape(const ExprShape& s, RecordBuffer& out) {
    WriteU32(out, tag::kType, s.kind);
    switch (FamilyOf(s.kind)) {
        case ShapeFamily::Raw:
        case ShapeFamily::EmptyValue: return;
        case ShapeFamily::Text: WriteString(out, tag::kText, s.text); return;
        case ShapeFamily::Number:
            WriteU32(out, tag::kNumberFlags, s.word);
            Write64(out, tag::kNumber, static_cast<int64_t>(s.bits));
            if (s.enumName) WriteString(out, tag::kEnum, *s.enumName);
            return;
        case ShapeFamily::Bool: WriteU32(out, tag::kBool, s.word); return;
        case ShapeFamily::DateTime: Write64(out, tag::kTime, static_cast<int64_t>(s.bits)); return;
        case ShapeFamily::TimeSpan: Write64(out, tag::kSpan, static_cast<int64_t>(s.bits)); return;
        case ShapeFamily::Handle: WriteU32(out, tag::kHandle, s.word); return;
        case ShapeFamily::Bytes:
            if (!s.bytes.empty()) WriteRecord(out, tag::kHex, s.bytes.data(), static_cast<uint32_t>(s.bytes.size()));
            return;
        case ShapeFamily::Variable: WriteString(out, tag::kVar, s.text); return;
        case ShapeFamily::Member: WriteString(out, tag::kMember, s.text); return;
        case ShapeFamily::Operator:
            if (s.parts.size() > 0) WriteSub(out, tag::kOperand1, s.parts[0]);
            if (s.parts.size() > 1) WriteSub(out, tag::kOperand2, s.parts[1]);
            return;
        case ShapeFamily::Call:
        case ShapeFamily::ScriptCall:
            WriteString(out, tag::kFunction, s.text);
            if (s.kind == kind::kFunction) WriteU32(out, tag::kCallForm, s.word);
            for (size_t i = 0; i < s.parts.size(); ++i) WriteSub(out, tag::Argument(static_cast<uint32_t>(i)), s.parts[i]);
            return;
        case ShapeFamily::Assign:
            if (s.parts.size() > 0) WriteSub(out, tag::kVar, s.parts[0]);
            if (s.parts.size() > 1) WriteSub(out, tag::kValue, s.parts[1]);
            return;
        case ShapeFamily::Remove:
            if (!s.parts.empty()) WriteSub(out, tag::kVar, s.parts[0]);
            return;
        case ShapeFamily::ValueList:
            for (size_t i = 0; i < s.parts.size(); ++i) {
                const Region r = s.parts[i].value_or(Region{});
                WriteRecord(out, tag::Element(static_cast<uint32_t>(i)), r.base, r.size);
            }
            return;
        case ShapeFamily::Pattern: {
            const bool decimal = s.word == kDecimalRange;
            WriteU32(out, kTagNodeType, s.word);
            WriteU32(out, kTagBounds, s.flat);
            WriteU32(out, kTagN, decimal ? LowWord(s.low) : s.n);
            WriteU32(out, kTagM, decimal ? HighWord(s.low) : s.m);
            if (decimal) {
                Write64(out, kTagLow, static_cast<int64_t>(s.low));
                Write64(out, kTagHigh, static_cast<int64_t>(s.high));
            }
            if (!s.text.empty()) WriteString(out, tag::kText, s.text);
            if (!s.parts.empty()) WriteSub(out, kTagSub, s.parts[0]);
            return;
        }
    }
}

}  // namespace ovrix
