// Stored form and text forms of the window-handler steps and the thread step.
#include "engine/HandlerSteps.h"

#include "builtins/Registry.h"
#include "expr/NumberEnum.h"

#include "container/Tags.h"
#include "container/Text.h"
#include "engine/PlaybackSteps.h"

namespace ovrix {

namespace {

constexpr uint32_t kWindow = MakeTag("WIN");
constexpr uint32_t kMessage = MakeTag("MSG");
constexpr uint32_t kMessageHandler = MakeTag("WMH");
constexpr uint32_t kControl = MakeTag("CMD");
constexpr uint32_t kCommandHandler = MakeTag("WCH");
constexpr uint32_t kThreadScript = MakeTag("TS");
constexpr uint32_t kData = MakeTag("DATA");

// A message is shown by its name in the program's table of window message
// names when it is listed there, else by its number.
std::u16string MessageDisplay(uint32_t message) {
    if (const NumberEnum* names = FindLibraryEnumeration(u"WindowMessage")) {
        if (const std::u16string* name = names->NameOf(message)) return *name;
    }
    return Widen(std::to_string(message));
}

}  // namespace

// SetWinMsgHandlerEvent ------------------------------------------------------

std::u16string SetWinMsgHandlerEvent::GetText() const {
    return MessageDisplay(message) + u" handler of " + window.DisplayText() + u" = " + ScriptFileTitle(handlerFile);
}

void SetWinMsgHandlerEvent::Save(RecordBuffer& buffer) const {
    window.Save(buffer, kWindow);
    WriteU32(buffer, kMessage, message);
    WriteString(buffer, kMessageHandler, handlerFile);
}

void SetWinMsgHandlerEvent::Load(Region data, EventList&) {
    window.Load(data, kWindow);
    message = ReadU32(data, kMessage, 0);
    handlerFile = ReadString(data, kMessageHandler, u"");
}

// SetWinCmdHandlerEvent ------------------------------------------------------

std::u16string SetWinCmdHandlerEvent::GetText() const {
    return u"Command " + control.DisplayText() + u" handler of " + window.DisplayText() + u" = " +
           ScriptFileTitle(handlerFile);
}

void SetWinCmdHandlerEvent::Save(RecordBuffer& buffer) const {
    window.Save(buffer, kWindow);
    control.Save(buffer, kControl);
    WriteString(buffer, kCommandHandler, handlerFile);
}

void SetWinCmdHandlerEvent::Load(Region data, EventList&) {
    window.Load(data, kWindow);
    control.Load(data, kControl);
    handlerFile = ReadString(data, kCommandHandler, u"");
}

// CreateThreadEvent ----------------------------------------------------------

std::u16string CreateThreadEvent::GetText() const {
    return u"CreatThread(" + ScriptFileTitle(file) + u", " + window.DisplayText() + u", " + data.DisplayText() + u")";
}

void CreateThreadEvent::Save(RecordBuffer& buffer) const {
    WriteString(buffer, kThreadScript, file);
    window.Save(buffer, kWindow);
    data.Save(buffer, kData);
}

void CreateThreadEvent::Load(Region record, EventList&) {
    file = ReadString(record, kThreadScript, u"");
    window.Load(record, kWindow);
    data.Load(record, kData);
}

}  // namespace ovrix
