// Container readers. All arithmetic is done on 64-bit offsets so that a
// hostile length word can neither wrap an address nor point outside the data.
//
// The value readers other than ReadI64 take their width from the data start
// without comparing it with the record's length (a 2-byte 'DLY' record still
// reads four bytes); bytes that would lie past the container read as zero.
#include "container/Container.h"

#include <cstring>

namespace ovrix {

namespace {

constexpr uint64_t kHeader = 8;

// Copies `width` bytes starting at the record's data, zero-filling whatever
// lies beyond the container.
void CopyClamped(Region c, const uint8_t* from, size_t width, uint8_t* out) {
    std::memset(out, 0, width);
    const uint64_t offset = static_cast<uint64_t>(from - c.base);
    const uint64_t avail = offset < c.size ? c.size - offset : 0;
    std::memcpy(out, from, avail < width ? avail : width);
}

}  // namespace

uint32_t LoadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

int32_t LoadI32(const uint8_t* p) { return static_cast<int32_t>(LoadU32(p)); }

int64_t LoadI64(const uint8_t* p) {
    return static_cast<int64_t>(static_cast<uint64_t>(LoadU32(p)) |
                                (static_cast<uint64_t>(LoadU32(p + 4)) << 32));
}

std::optional<Region> FindRecord(Region c, uint32_t tag) {
    if (c.Empty()) return std::nullopt;
    const uint64_t end = c.size;
    uint64_t p = 0;
    while (p + kHeader < end) {
        const int32_t n = LoadI32(c.base + p + 4);
        if (n < 1) return std::nullopt;
        const uint64_t next = p + kHeader + static_cast<uint64_t>(n);
        if (LoadU32(c.base + p) == tag) {
            if (next > end) return std::nullopt;  // data runs past the container
            return Region{c.base + p + kHeader, static_cast<uint32_t>(n)};
        }
        p = next;
    }
    return std::nullopt;
}

uint32_t ReadU32(Region c, uint32_t tag, uint32_t fallback) {
    auto r = FindRecord(c, tag);
    if (!r) return fallback;
    uint8_t b[4];
    CopyClamped(c, r->base, 4, b);
    return LoadU32(b);
}

int64_t ReadI64(Region c, uint32_t tag, int64_t fallback) {
    auto r = FindRecord(c, tag);
    if (!r) return fallback;
    if (r->size == 4) return static_cast<int64_t>(LoadU32(r->base));
    if (r->size == 8) return LoadI64(r->base);
    return fallback;
}

double ReadF64(Region c, uint32_t tag, double fallback) {
    auto r = FindRecord(c, tag);
    if (!r) return fallback;
    uint8_t b[8];
    CopyClamped(c, r->base, 8, b);
    double d;
    std::memcpy(&d, b, sizeof d);
    return d;
}

bool ReadStringIfPresent(Region c, uint32_t tag, std::u16string& out) {
    auto r = FindRecord(c, tag);
    if (!r) return false;
    // The text ends at its zero unit; a record without one ends at its end.
    out.clear();
    const uint32_t units = r->size / 2;
    for (uint32_t i = 0; i < units; ++i) {
        const char16_t ch = static_cast<char16_t>(r->base[2 * i] | (r->base[2 * i + 1] << 8));
        if (ch == 0) break;
        out.push_back(ch);
    }
    return true;
}

std::u16string ReadString(Region c, uint32_t tag, const std::u16string& fallback) {
    std::u16string s;
    return ReadStringIfPresent(c, tag, s) ? s : fallback;
}

std::optional<uint32_t> FirstRecord(Region c) {
    if (c.Empty() || c.size <= kHeader) return std::nullopt;
    return 0u;
}

std::optional<uint32_t> NextRecord(Region c, uint32_t record) {
    const uint64_t end = c.size;
    if (c.base == nullptr || record >= end || record + kHeader > end) return std::nullopt;
    const int32_t n = LoadI32(c.base + record + 4);
    // A negative length would step backwards; the original arithmetic treats
    // it as a wrapped address and stops, and so do we.
    if (n < 0) return std::nullopt;
    const uint64_t q = static_cast<uint64_t>(record) + kHeader + static_cast<uint64_t>(n);
    if (q == 0 || q >= end) return std::nullopt;
    if (q + kHeader < end) return static_cast<uint32_t>(q);
    return std::nullopt;
}

bool WholeRecordAt(Region c, uint32_t offset) {
    const uint64_t end = c.size;
    if (c.base == nullptr || static_cast<uint64_t>(offset) + kHeader > end) return false;
    const int32_t n = LoadI32(c.base + offset + 4);
    if (n < 0) return false;
    return static_cast<uint64_t>(offset) + kHeader + static_cast<uint64_t>(n) <= end;
}

std::optional<uint32_t> FirstWholeRecord(Region c) {
    if (WholeRecordAt(c, 0)) return 0u;
    return std::nullopt;
}

std::optional<uint32_t> FindRecordFrom(Region c, uint32_t tag, std::optional<uint32_t> start) {
    std::optional<uint32_t> r = start ? start : FirstWholeRecord(c);
    while (r) {
        if (static_cast<uint64_t>(*r) + kHeader > c.size) return std::nullopt;
        if (LoadU32(c.base + *r) == tag) return r;
        r = NextRecord(c, *r);
    }
    return std::nullopt;
}

std::optional<uint32_t> FindNextRecord(Region c, uint32_t tag, uint32_t previous) {
    const auto next = NextRecord(c, previous);
    if (!next) return std::nullopt;
    return FindRecordFrom(c, tag, next);
}

Record RecordAt(Region c, uint32_t offset) {
    Record rec;
    if (c.base == nullptr || static_cast<uint64_t>(offset) + kHeader > c.size) return rec;
    rec.tag = LoadU32(c.base + offset);
    if (WholeRecordAt(c, offset)) {
        rec.data = Region{c.base + offset + kHeader, static_cast<uint32_t>(LoadI32(c.base + offset + 4))};
    }
    return rec;
}

}  // namespace ovrix
