#include "builder/ImageBuilder.h"

#include <algorithm>
#include <cstddef>

#include "container/Tags.h"

namespace ovrix {

namespace {

std::vector<uint8_t> StringData(const std::u16string& text) {
    RecordBuffer b;
    b.AppendWide(text, true);
    return b.ToVector();
}

std::vector<uint8_t> U32Data(uint32_t v) {
    return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)};
}

}  // namespace

std::vector<uint8_t> StreamBytes(const EventList& steps, uint32_t version, bool magic) {
    RecordBuffer buffer;
    if (magic) WriteU32(buffer, tag::kStreamMagic, 0);
    if (version != 0) WriteU32(buffer, tag::kVersion, version);
    SaveSteps(steps, buffer);
    return buffer.ToVector();
}

ImageBuilder& ImageBuilder::Root(std::u16string path) { return Raw(tag::kRoot, StringData(path)); }

ImageBuilder& ImageBuilder::Main(const EventList& steps, std::u16string name, uint32_t version) {
    return MainStream(StreamBytes(steps, version), std::move(name));
}

ImageBuilder& ImageBuilder::MainStream(std::vector<uint8_t> stream, std::u16string name) {
    if (!name.empty()) Raw(tag::ScriptName(0), StringData(name));
    return Raw(tag::Stream(0), std::move(stream));
}

ImageBuilder& ImageBuilder::Script(std::u16string name, const EventList& steps, uint32_t version) {
    return ScriptStream(std::move(name), StreamBytes(steps, version));
}

ImageBuilder& ImageBuilder::ScriptStream(std::u16string name, std::vector<uint8_t> stream) {
    const uint32_t n = nextScript_++;
    Raw(tag::ScriptName(n), StringData(name));
    return Raw(tag::Stream(n), std::move(stream));
}

ImageBuilder& ImageBuilder::Setting(uint32_t tag, uint32_t value) { return Raw(tag, U32Data(value)); }

ImageBuilder& ImageBuilder::Setting64(uint32_t tag, int64_t value) {
    RecordBuffer b;
    Write64(b, 0, value);
    const auto bytes = b.ToVector();
    return Raw(tag, {bytes.begin() + 8, bytes.end()});
}

ImageBuilder& ImageBuilder::Raw(uint32_t tag, std::vector<uint8_t> data) {
    items_.push_back({tag, std::move(data)});
    return *this;
}

std::vector<uint8_t> ImageBuilder::Build() const {
    RecordBuffer b;
    for (const auto& item : items_) {
        WriteRecord(b, item.tag, item.data.data(), static_cast<uint32_t>(item.data.size()));
    }
    return b.ToVector();
}

std::vector<uint8_t> ImageBuilder::BuildSlot() const {
    const auto image = Build();
    const auto length = U32Data(static_cast<uint32_t>(image.size()));
    std::vector<uint8_t> slot(length.size() + image.size());
    std::copy(length.begin(), length.end(), slot.begin());
    std::copy(image.begin(), image.end(), slot.begin() + static_cast<ptrdiff_t>(length.size()));
    return slot;
}

}  // namespace ovrix
