// Builds script images and streams through the project's own writers, so a
// test or a tool says what a script is, not which bytes it has.
//
//   EventList steps;
//   steps.Append(...);
//   auto image = ImageBuilder().Main(steps).Setting(tag::kRepeat, 3).Build();
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "container/RecordBuffer.h"
#include "script/EventList.h"
#include "script/ScriptStream.h"

namespace ovrix {

class ImageBuilder {
public:
    ImageBuilder& Root(std::u16string path);
    // The main script ('S' + 0); its name ('I' + 0) is written when not empty.
    ImageBuilder& Main(const EventList& steps, std::u16string name = u"",
                       uint32_t version = kNewestStreamVersion);
    ImageBuilder& MainStream(std::vector<uint8_t> stream, std::u16string name = u"");
    // Embedded script n = 1, 2, ... in the order added.
    ImageBuilder& Script(std::u16string name, const EventList& steps, uint32_t version = kNewestStreamVersion);
    ImageBuilder& ScriptStream(std::u16string name, std::vector<uint8_t> stream);
    ImageBuilder& Setting(uint32_t tag, uint32_t value);
    ImageBuilder& Setting64(uint32_t tag, int64_t value);
    // Any record as it is, for malformed images.
    ImageBuilder& Raw(uint32_t tag, std::vector<uint8_t> data);

    std::vector<uint8_t> Build() const;
    // The length word followed by the image, as the slot holds it.
    std::vector<uint8_t> BuildSlot() const;

private:
    struct Item {
        uint32_t tag;
        std::vector<uint8_t> data;
    };
    std::vector<Item> items_;
    uint32_t nextScript_ = 1;
};

// A stream without the magic record (or with any version), for loader tests.
std::vector<uint8_t> StreamBytes(const EventList& steps, uint32_t version, bool magic = true);

}  // namespace ovrix
