// Stored form and text forms of the nested-playback steps. A recorded input
// stream is read whole records at a time: trailing bytes that do not make a
// full 12-byte record are not kept.
#include "engine/PlaybackSteps.h"

#include "container/Tags.h"
#include "container/Text.h"

namespace ovrix {

namespace {

constexpr uint32_t kFile = MakeTag("FILE");
constexpr uint32_t kResult = MakeTag("RVAL");
constexpr uint32_t kCopy = MakeTag("COPY");
constexpr uint32_t kRecording = MakeTag("REC");
constexpr uint32_t kRelative = MakeTag("REL");
constexpr uint32_t kSpeed = MakeTag("SPD");

constexpr uint32_t ArgumentTag(uint32_t i) { return IndexedTag('A', i); }
constexpr uint32_t RandomFileTag(uint32_t i) { return IndexedTag('F', i); }
constexpr uint32_t RandomWeightTag(uint32_t i) { return IndexedTag('P', i); }

bool IsFolderSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

int16_t LoadI16(const uint8_t* p) { return static_cast<int16_t>(p[0] | (p[1] << 8)); }

void StoreU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

void StoreU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

std::u16string ScriptFileTitle(std::u16string_view path) {
    size_t start = 0;
    for (size_t i = path.size(); i > 0; --i) {
        if (IsFolderSeparator(path[i - 1])) {
            start = i;
            break;
        }
    }
    std::u16string_view name = path.substr(start);
    const size_t dot = name.rfind(u'.');
    if (dot != std::u16string_view::npos) name = name.substr(0, dot);
    return std::u16string(name);
}

// PlayScriptEvent ------------------------------------------------------------

std::u16string PlayScriptEvent::GetText() const {
    std::u16string text;
    if (result.Present()) {
        text = copyResult ? u"Set " : u"Alias ";
        text += result.DisplayText() + u" = ";
    }
    text += u"Call " + ScriptFileTitle(file) + u"(";
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) text += u", ";
        text += arguments[i].DisplayText();
    }
    return text + u")";
}

void PlayScriptEvent::Save(RecordBuffer& buffer) const {
    WriteString(buffer, kFile, file);
    for (size_t i = 0; i < arguments.size(); ++i) arguments[i].Save(buffer, ArgumentTag(static_cast<uint32_t>(i)));
    result.Save(buffer, kResult);
    WriteU32(buffer, kCopy, copyResult);
}

void PlayScriptEvent::Load(Region data, EventList&) {
    file = ReadString(data, kFile, u"");
    arguments.clear();
    for (uint32_t i = 0;; ++i) {
        StoredExpr argument;
        argument.Load(data, ArgumentTag(i));
        if (!argument.Present()) break;
        arguments.push_back(std::move(argument));
    }
    result.Load(data, kResult);
    copyResult = ReadU32(data, kCopy, 0);
}

// PlayRandomEvent ------------------------------------------------------------

std::u16string PlayRandomEvent::GetText() const {
    return u"Random Play " + Widen(std::to_string(entries.size())) + u" Scripts";
}

void PlayRandomEvent::Save(RecordBuffer& buffer) const {
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto index = static_cast<uint32_t>(i);
        WriteString(buffer, RandomFileTag(index), entries[i].file);
        WriteU32(buffer, RandomWeightTag(index), entries[i].weight);
    }
}

void PlayRandomEvent::Load(Region data, EventList&) {
    entries.clear();
    totalWeight = 0;
    for (uint32_t i = 0;; ++i) {
        Entry entry;
        if (!ReadStringIfPresent(data, RandomFileTag(i), entry.file)) break;
        entry.weight = ReadU32(data, RandomWeightTag(i), 1);
        entries.push_back(std::move(entry));
    }
}

// PlayRecordEvent ------------------------------------------------------------

std::u16string PlayRecordEvent::GetText() const {
    return relative ? u"Play Record, Relative position play mode" : u"Play Record";
}

void PlayRecordEvent::Save(RecordBuffer& buffer) const {
    // A zero-length record would end every scan of the step record.
    if (!records.empty()) {
        std::vector<uint8_t> bytes(records.size() * RecordedInput::kSize);
        uint8_t* p = bytes.data();
        for (const RecordedInput& r : records) {
            StoreU16(p, r.kind);
            StoreU16(p + 2, static_cast<uint16_t>(r.x));
            StoreU16(p + 4, static_cast<uint16_t>(r.y));
            StoreU16(p + 6, static_cast<uint16_t>(r.wheel));
            StoreU32(p + 8, r.delay);
            p += RecordedInput::kSize;
        }
        WriteRecord(buffer, kRecording, bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    WriteU32(buffer, kRelative, relative);
    WriteF64(buffer, kSpeed, speed);
}

void PlayRecordEvent::Load(Region data, EventList&) {
    records.clear();
    if (auto rec = FindRecord(data, kRecording)) {
        const uint32_t count = rec->size / RecordedInput::kSize;
        records.reserve(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* p = rec->base + i * RecordedInput::kSize;
            records.push_back({static_cast<uint16_t>(LoadI16(p)), LoadI16(p + 2), LoadI16(p + 4), LoadI16(p + 6),
                               LoadU32(p + 8)});
        }
    }
    relative = ReadU32(data, kRelative, 0);
    // Older scripts stored a whole number of times the recorded pace.
    auto spd = FindRecord(data, kSpeed);
    if (spd && spd->size == 4) {
        speed = static_cast<double>(LoadU32(spd->base)) * 100.0;
    } else {
        speed = ReadF64(data, kSpeed, 100.0);
    }
}

}  // namespace ovrix
