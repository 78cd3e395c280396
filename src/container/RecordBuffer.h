// The growable byte buffer that every writer appends records to. Capacity
// starts at 16 and doubles until a request fits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "container/Container.h"

namespace ovrix {

class RecordBuffer {
public:
    RecordBuffer() = default;

    const uint8_t* Data() const { return data_.data(); }
    uint32_t Used() const { return static_cast<uint32_t>(used_); }
    size_t Capacity() const { return data_.size(); }
    Region AsRegion() const { return Region{data_.data(), Used()}; }
    std::vector<uint8_t> ToVector() const { return {data_.begin(), data_.begin() + used_}; }

    // Appends a u32; answers the offset it was written at.
    uint32_t AppendU32(uint32_t value);
    void AppendBytes(const void* bytes, size_t length);
    // Reserves n bytes at the end; the pointer stays valid until the next append.
    uint8_t* Reserve(size_t n);
    void AppendNarrow(std::string_view text, bool withZero);
    void AppendWide(std::u16string_view text, bool withZero);
    void Clear();

private:
    void Grow(size_t needed);

    std::vector<uint8_t> data_;  // size() is the capacity
    size_t used_ = 0;
};

void WriteRecord(RecordBuffer& buffer, uint32_t tag, const void* data, uint32_t length);
void WriteU32(RecordBuffer& buffer, uint32_t tag, uint32_t value);
void Write64(RecordBuffer& buffer, uint32_t tag, int64_t value);
void WriteF64(RecordBuffer& buffer, uint32_t tag, double value);
void WriteString(RecordBuffer& buffer, uint32_t tag, std::u16string_view text);
// A record whose data is a whole nested container.
void WriteContainer(RecordBuffer& buffer, uint32_t tag, const RecordBuffer& nested);

}  // namespace ovrix
