#include "script/ScriptStream.h"

#include "container/Tags.h"
#include "container/Text.h"
#include "script/Event.h"
#include "script/StepKinds.h"

namespace ovrix {

const std::u16string_view kVersionTooNewMessage =
    u"Can not load this version of Script File.\r\nYou may need to update Vantorel to the latest version.";

namespace {

constexpr uint32_t kStepTagBits = 0x49000000;

}  // namespace

bool LoadSteps(Region container, EventList& list) {
    auto r = FirstRecord(container);
    if (!r) return false;
    const StepKinds& kinds = CurrentStepKinds();
    while (r && WholeRecordAt(container, *r)) {
        const Record rec = RecordAt(container, *r);
        if ((rec.tag & kStepTagBits) != 0) {
            const StepKind* kind = kinds.Find(ReadU32(rec.data, tag::kType, 0));
            if (kind != nullptr && kind->convert != nullptr) {
                if (auto step = kind->convert(rec.data)) list.Append(std::move(step));
            } else if (kind != nullptr && kind->create != nullptr) {
                Ref<Event> step = kind->create();
                step->name = ReadString(rec.data, tag::kName, u"");
                step->delay = ReadU32(rec.data, tag::kDelay, 1000);
                step->disabled = ReadU32(rec.data, tag::kDisabled, 0);
                step->Load(rec.data, list);
                list.Append(std::move(step));
            }
        }
        r = NextRecord(container, *r);
    }
    return true;
}

void SaveSteps(const EventList& list, RecordBuffer& buffer) {
    for (size_t i = 0; i < list.Count(); ++i) {
        const Event& step = *list.At(i);
        RecordBuffer record;
        WriteU32(record, tag::kType, step.TypeId());
        if (!step.name.empty()) WriteString(record, tag::kName, step.name);
        WriteU32(record, tag::kDelay, step.delay);
        WriteU32(record, tag::kDisabled, step.disabled);
        step.Save(record);
        WriteContainer(buffer, tag::Step(static_cast<uint32_t>(i)), record);
    }
}

std::vector<uint8_t> SaveStream(const EventList& list, uint32_t version) {
    RecordBuffer buffer;
    WriteU32(buffer, tag::kStreamMagic, 0);
    WriteU32(buffer, tag::kVersion, version);
    SaveSteps(list, buffer);
    return buffer.ToVector();
}

}  // namespace ovrix
