// Fields, stored form and text forms of the system and file steps. Every
// field is written on save, so a loaded step saves back byte for byte.
#include "actions/SystemSteps.h"

#include <string>

#include "container/Tags.h"
#include "container/Text.h"

namespace ovrix {

namespace {

constexpr uint32_t kFileTag = MakeTag("FILE");
constexpr uint32_t kAdvancedTag = MakeTag("ADV");
constexpr uint32_t kParametersTag = MakeTag("PARA");
constexpr uint32_t kStyleTag = MakeTag("STYL");
constexpr uint32_t kUrlTag = MakeTag("URL");
constexpr uint32_t kSourceTag = MakeTag("SRC");
constexpr uint32_t kDestinationTag = MakeTag("DEST");
constexpr uint32_t kMessageTag = MakeTag("MSG");
constexpr uint32_t kActionTag = MakeTag("DO");
constexpr uint32_t kCountdownTag = MakeTag("TIP");
constexpr uint32_t kWaitTag = MakeTag("WAIT");
constexpr uint32_t kRandomTag = MakeTag("RAND");
constexpr uint32_t kCommentTag = MakeTag("CMT");


}  // namespace

// --- OpenFileEvent ---

std::u16string OpenFileEvent::GetText() const {
    if (advanced != 0 && !parameters.empty()) return u"Open " + Quote(file) + u" " + parameters;
    return u"Open " + file;
}

void OpenFileEvent::Save(RecordBuffer& buffer) const {
    WriteString(buffer, kFileTag, file);
    WriteU32(buffer, kAdvancedTag, advanced);
    WriteString(buffer, kParametersTag, parameters);
    WriteString(buffer, kStyleTag, windowStyle);
}

void OpenFileEvent::Load(Region data, EventList&) {
    file = ReadString(data, kFileTag, u"");
    advanced = ReadU32(data, kAdvancedTag, 0);
    parameters = ReadString(data, kParametersTag, u"");
    windowStyle = ReadString(data, kStyleTag, u"");
}

// --- OpenWebEvent ---

std::u16string OpenWebEvent::GetText() const { return u"Open " + address; }
void OpenWebEvent::Save(RecordBuffer& buffer) const { WriteString(buffer, kUrlTag, address); }
void OpenWebEvent::Load(Region data, EventList&) { address = ReadString(data, kUrlTag, u""); }

// --- CopyFileEvent ---

std::u16string CopyFileEvent::GetText() const { return u"Copy " + Quote(source) + u" to " + Quote(destination); }

void CopyFileEvent::Save(RecordBuffer& buffer) const {
    WriteString(buffer, kSourceTag, source);
    WriteString(buffer, kDestinationTag, destination);
}

void CopyFileEvent::Load(Region data, EventList&) {
    source = ReadString(data, kSourceTag, u"");
    destination = ReadString(data, kDestinationTag, u"");
}

// --- DelFileEvent ---

std::u16string DelFileEvent::GetText() const { return u"Delete " + file; }
void DelFileEvent::Save(RecordBuffer& buffer) const { WriteString(buffer, kFileTag, file); }
void DelFileEvent::Load(Region data, EventList&) { file = ReadString(data, kFileTag, u""); }

// --- MsgBoxEvent ---

std::u16string MsgBoxEvent::GetText() const {
    // One line: line breaks of the message show as spaces.
    return ReplaceAll(u"MsgBox " + Quote(message), u"\r\n", u" ");
}

void MsgBoxEvent::Save(RecordBuffer& buffer) const { WriteString(buffer, kMessageTag, message); }
void MsgBoxEvent::Load(Region data, EventList&) { message = ReadString(data, kMessageTag, u""); }

// --- ShutdownEvent ---

std::u16string ShutdownEvent::GetText() const {
    if (showCountdown != 0) {
        return action + u" the computer in " + Decimal(static_cast<int32_t>(seconds)) + u" seconds";
    }
    return action + u" the computer";
}

void ShutdownEvent::Save(RecordBuffer& buffer) const {
    WriteString(buffer, kActionTag, action);
    WriteU32(buffer, kCountdownTag, showCountdown);
    WriteU32(buffer, kWaitTag, seconds);
}

void ShutdownEvent::Load(Region data, EventList&) {
    action = ReadString(data, kActionTag, std::u16string(kShutdown));
    showCountdown = ReadU32(data, kCountdownTag, 1);
    seconds = ReadU32(data, kWaitTag, 60);
}

// --- WaitEvent ---

std::u16string WaitEvent::GetText() const {
    return (random != 0 ? u"Delay 0 to " : u"Delay ") + Decimal(milliseconds) + u" ms";
}

void WaitEvent::Save(RecordBuffer& buffer) const {
    Write64(buffer, kWaitTag, milliseconds);
    WriteU32(buffer, kRandomTag, random);
}

void WaitEvent::Load(Region data, EventList&) {
    milliseconds = 1000;
    if (auto wait = FindRecord(data, kWaitTag)) {
        if (wait->size == 8) milliseconds = LoadI64(wait->base);
        if (wait->size == 4) milliseconds = LoadU32(wait->base);
    }
    random = ReadU32(data, kRandomTag, 0);
}

// --- CommentEvent ---

std::u16string CommentEvent::GetText() const { return u"/* " + comment + u" */"; }
void CommentEvent::Save(RecordBuffer& buffer) const { WriteString(buffer, kCommentTag, comment); }
void CommentEvent::Load(Region data, EventList&) { comment = ReadString(data, kCommentTag, u""); }

}  // namespace ovrix
