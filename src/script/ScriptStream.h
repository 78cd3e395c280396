// The script stream: a tagged container holding the magic record, 'VER' and
// one 'I' + i record per step. Loading builds a step list through the
// installed table of step kinds; saving writes every step back through its
// own Save.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "container/Container.h"
#include "container/RecordBuffer.h"
#include "script/EventList.h"

namespace ovrix {

constexpr uint32_t kNewestStreamVersion = 119;

// Appends the steps of a container to `list`; false only when the container
// has no first record.
bool LoadSteps(Region container, EventList& list);
// Each step as an 'I' + i record: TYPE, NAME (when not empty), DLY, DIS, then
// the class's fields.
void SaveSteps(const EventList& list, RecordBuffer& buffer);
// A whole stream: magic, 'VER', steps.
std::vector<uint8_t> SaveStream(const EventList& list, uint32_t version = kNewestStreamVersion);

// The message shown for a stream whose version is too new.
extern const std::u16string_view kVersionTooNewMessage;

}  // namespace ovrix
