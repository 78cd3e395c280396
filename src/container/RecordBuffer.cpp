#include "container/RecordBuffer.h"

#include <cstring>

namespace ovrix {

void RecordBuffer::Grow(size_t needed) {
    if (used_ + needed <= data_.size()) return;
    size_t capacity = data_.empty() ? 16 : data_.size();
    while (capacity < used_ + needed) capacity *= 2;
    data_.resize(capacity);
}

uint32_t RecordBuffer::AppendU32(uint32_t value) {
    const uint32_t at = Used();
    const uint8_t b[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                          static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    AppendBytes(b, 4);
    return at;
}

void RecordBuffer::AppendBytes(const void* bytes, size_t length) {
    if (length == 0) return;
    std::memcpy(Reserve(length), bytes, length);
}

uint8_t* RecordBuffer::Reserve(size_t n) {
    Grow(n);
    uint8_t* p = data_.data() + used_;
    used_ += n;
    return p;
}

void RecordBuffer::AppendNarrow(std::string_view text, bool withZero) {
    AppendBytes(text.data(), text.size());
    if (withZero) AppendBytes("", 1);
}

void RecordBuffer::AppendWide(std::u16string_view text, bool withZero) {
    uint8_t* p = Reserve(2 * (text.size() + (withZero ? 1 : 0)));
    for (char16_t ch : text) {
        *p++ = static_cast<uint8_t>(ch);
        *p++ = static_cast<uint8_t>(ch >> 8);
    }
    if (withZero) {
        p[0] = 0;
        p[1] = 0;
    }
}

void RecordBuffer::Clear() {
    data_.clear();
    data_.shrink_to_fit();
    used_ = 0;
}

void WriteRecord(RecordBuffer& buffer, uint32_t tag, const void* data, uint32_t length) {
    buffer.AppendU32(tag);
    buffer.AppendU32(length);
    if (length != 0) buffer.AppendBytes(data, length);
}

void WriteU32(RecordBuffer& buffer, uint32_t tag, uint32_t value) {
    buffer.AppendU32(tag);
    buffer.AppendU32(4);
    buffer.AppendU32(value);
}

void Write64(RecordBuffer& buffer, uint32_t tag, int64_t value) {
    buffer.AppendU32(tag);
    buffer.AppendU32(8);
    const auto u = static_cast<uint64_t>(value);
    buffer.AppendU32(static_cast<uint32_t>(u));
    buffer.AppendU32(static_cast<uint32_t>(u >> 32));
}

void WriteF64(RecordBuffer& buffer, uint32_t tag, double value) {
    int64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Write64(buffer, tag, bits);
}

void WriteString(RecordBuffer& buffer, uint32_t tag, std::u16string_view text) {
    buffer.AppendU32(tag);
    buffer.AppendU32(static_cast<uint32_t>(2 * (text.size() + 1)));
    buffer.AppendWide(text, true);
}

void WriteContainer(RecordBuffer& buffer, uint32_t tag, const RecordBuffer& nested) {
    WriteRecord(buffer, tag, nested.Data(), nested.Used());
}

}  // namespace ovrix
