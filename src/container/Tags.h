// Record tags of the tagged container: up to four characters packed as a
// multi-character constant, first character in the highest byte ('ROOT' is
// 0x524F4F54). Indexed tags put a letter in the high byte and an index of
// up to 24 bits in the low three bytes.
#pragma once

#include <cstdint>
#include <string_view>

namespace ovrix {

constexpr uint32_t MakeTag(std::string_view code) {
    uint32_t tag = 0;
    for (char c : code) tag = (tag << 8) | static_cast<uint8_t>(c);
    return tag;
}

constexpr uint32_t IndexedTag(char letter, uint32_t index) {
    return (static_cast<uint32_t>(static_cast<uint8_t>(letter)) << 24) | (index & 0xFFFFFFu);
}

namespace tag {
// Image records and playback settings.
constexpr uint32_t kRoot = MakeTag("ROOT");
constexpr uint32_t kNoStopKey = MakeTag("NOSK");
constexpr uint32_t kNoPauseKey = MakeTag("NOPK");
constexpr uint32_t kStopKey = MakeTag("HKSK");
constexpr uint32_t kStopModifiers = MakeTag("HKSM");
constexpr uint32_t kPauseKey = MakeTag("HKPK");
constexpr uint32_t kPauseModifiers = MakeTag("HKPM");
constexpr uint32_t kStartHidden = MakeTag("NSTS");
constexpr uint32_t kShowWhenPaused = MakeTag("SHWP");
constexpr uint32_t kRepeat = MakeTag("REP");
constexpr uint32_t kRunTime = MakeTag("RTM");

// Script stream and step header.
constexpr uint32_t kStreamMagic = 0x00525651u;  // the bytes "QVR\0"
constexpr uint32_t kVersion = MakeTag("VER");
constexpr uint32_t kType = MakeTag("TYPE");
constexpr uint32_t kName = MakeTag("NAME");
constexpr uint32_t kDelay = MakeTag("DLY");
constexpr uint32_t kDisabled = MakeTag("DIS");
constexpr uint32_t kSub = MakeTag("SUB");
constexpr uint32_t kCode = MakeTag("CODE");

constexpr uint32_t Step(uint32_t i) { return IndexedTag('I', i); }
constexpr uint32_t Stream(uint32_t i) { return IndexedTag('S', i); }
constexpr uint32_t ScriptName(uint32_t i) { return IndexedTag('I', i); }
}  // namespace tag

static_assert(tag::kRoot == 0x524F4F54u);
static_assert(tag::kVersion == 0x564552u);
static_assert(tag::Step(5) == 0x49000005u);

}  // namespace ovrix
