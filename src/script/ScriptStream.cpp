#include "script/ScriptStream.h"

#include "container/Image.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "engine/LinkPass.h"
#include "engine/Player.h"
#include "script/Event.h"
#include "script/StepFactory.h"
#include "script/TextInputConversion.h"

namespace ovrix {

const std::u16string_view kVersionTooNewMessage =
    u"Can not load this version of Script File.\r\nYou may need to update Vantorel to the latest version.";

namespace {

constexpr uint32_t kStepTagBits = 0x49000000;
constexpr uint32_t kOldTextInputType = 16;

std::u16string Format1(std::u16string_view pattern, std::u16string_view arg) {
    return ReplaceAll(pattern, u"%s", arg);
}

}  // namespace

bool LoadSteps(Region container, EventList& list) {
    auto r = FirstRecord(container);
    if (!r) return false;
    while (r && WholeRecordAt(container, *r)) {
        const Record rec = RecordAt(container, *r);
        if ((rec.tag & kStepTagBits) != 0) {
            const uint32_t type = ReadU32(rec.data, tag::kType, 0);
            if (type == kOldTextInputType) {
                if (auto step = ConvertTextInputRecord(rec.data)) list.Append(std::move(step));
            } else if (type != 0) {
                if (auto step = CreateEvent(type)) {
                    step->name = ReadString(rec.data, tag::kName, u"");
                    step->delay = ReadU32(rec.data, tag::kDelay, 1000);
                    step->disabled = ReadU32(rec.data, tag::kDisabled, 0);
                    step->Load(rec.data, list);
                    list.Append(std::move(step));
                }
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

StreamLoad LoadStreamFromMemory(Player& player, Region data, EventList& list) {
    if (data.base == nullptr || data.size < 8) return StreamLoad::Invalid;
    const uint32_t version = ReadU32(data, tag::kVersion, 0);
    if (version == 0) return StreamLoad::Invalid;
    if (version > kNewestStreamVersion) {
        player.desktop.ShowMessage(kVersionTooNewMessage);
        return StreamLoad::TooNew;
    }
    return LoadSteps(data, list) ? StreamLoad::Loaded : StreamLoad::Invalid;
}

bool LoadScriptByName(Player& player, std::u16string_view name, EventList& list) {
    list.Clear();
    const auto stream = LookupEmbeddedScript(player.image, name);
    if (!stream) {
        player.desktop.ShowMessage(Format1(u"Can not open file: '%s'", name));
        return false;
    }
    const std::u16string invalid = Format1(u"Invalid Action Script File Format: '%s'", name);
    if (stream->size <= 4 || LoadU32(stream->base) != tag::kStreamMagic) {
        player.desktop.ShowMessage(invalid);
        return false;
    }
    switch (LoadStreamFromMemory(player, *stream, list)) {
        case StreamLoad::Loaded: return true;
        case StreamLoad::TooNew: return false;
        case StreamLoad::Invalid: break;
    }
    player.desktop.ShowMessage(invalid);
    return false;
}

bool LoadScriptFile(Player& player, std::u16string_view path, EventList& list, uint32_t loaderWord) {
    const size_t slash = path.rfind(u'\\');
    const std::u16string_view folder = slash == std::u16string_view::npos ? u"" : path.substr(0, slash);
    if (folder.empty()) return LoadScriptByName(player, path, list);

    std::u16string remembered = player.desktop.GetCurrentDirectory();
    if (remembered.size() > 260) remembered.resize(260);
    player.desktop.SetCurrentDirectory(folder);
    bool ok = LoadScriptByName(player, path, list);
    if (ok) ok = PrepareScript(player, list, loaderWord);
    player.desktop.SetCurrentDirectory(remembered);
    return ok;
}

}  // namespace ovrix
