// Readers of the tagged container: records {u32 tag, i32 length, data} laid
// back to back. Readers take the container as (base, size), never copy it,
// and never look outside [base, base + size): a record whose data would run
// past the end is treated as absent, and a record with length 0 or less ends
// every scan.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace ovrix {

// A region of bytes that a reader may look at.
struct Region {
    const uint8_t* base = nullptr;
    uint32_t size = 0;

    bool Empty() const { return base == nullptr || size == 0; }
    std::span<const uint8_t> Bytes() const { return {base, size}; }
};

// One record found in a container: its tag and its data bytes.
struct Record {
    uint32_t tag = 0;
    Region data;
};

uint32_t LoadU32(const uint8_t* p);
int32_t LoadI32(const uint8_t* p);
int64_t LoadI64(const uint8_t* p);

// The data of the first record with that tag; nullopt when absent.
std::optional<Region> FindRecord(Region c, uint32_t tag);

uint32_t ReadU32(Region c, uint32_t tag, uint32_t fallback);
int64_t ReadI64(Region c, uint32_t tag, int64_t fallback);
double ReadF64(Region c, uint32_t tag, double fallback);
// The record's text up to its zero unit (or the record's end, whichever
// comes first); the fallback when absent.
std::u16string ReadString(Region c, uint32_t tag, const std::u16string& fallback);
// True when the record exists; `out` then holds its text.
bool ReadStringIfPresent(Region c, uint32_t tag, std::u16string& out);

// Walking: offsets of record headers relative to base. The forward walk ends
// at the first record that would not leave a byte after its header.
std::optional<uint32_t> FirstRecord(Region c);
std::optional<uint32_t> NextRecord(Region c, uint32_t record);
std::optional<uint32_t> FirstWholeRecord(Region c);
// The header of the first record with the tag at or after `start` (nullopt:
// from FirstWholeRecord). Call again with NextRecord of the hit to go on.
std::optional<uint32_t> FindRecordFrom(Region c, uint32_t tag, std::optional<uint32_t> start);
// The next record with the tag behind the hit `previous`; nullopt at the end.
// (FindRecordFrom with NextRecord's nullopt would start over from the top.)
std::optional<uint32_t> FindNextRecord(Region c, uint32_t tag, uint32_t previous);

// Header and data of the record at `offset`; data is clipped to nothing when
// it would run past the container (check WholeRecordAt when that matters).
Record RecordAt(Region c, uint32_t offset);
bool WholeRecordAt(Region c, uint32_t offset);

}  // namespace ovrix
