// Steps that attach handler scripts to script-made windows
// (SetWinMsgHandlerEvent for a window message, SetWinCmdHandlerEvent for a
// control's command) and the thread step, which keeps a script file and two
// expressions but plays only its delay.
//
// Handler file names are kept exactly as stored; the link pass resolves and
// loads them into the run-time `handler` lists, which are neither stored nor
// compared.
#pragma once

#include <cstdint>
#include <string>

#include "script/Event.h"
#include "script/StoredExpr.h"

namespace ovrix {

class SetWinMsgHandlerEvent : public EventOf<SetWinMsgHandlerEvent, 54> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(window, message, handlerFile); }

    StoredExpr window;
    uint32_t message = 0;
    std::u16string handlerFile;

    EventList* handler = nullptr;  // run-time: the loaded list of `handlerFile`
};

class SetWinCmdHandlerEvent : public EventOf<SetWinCmdHandlerEvent, 55> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(window, control, handlerFile); }

    StoredExpr window;
    StoredExpr control;  // a control window or a control id
    std::u16string handlerFile;

    EventList* handler = nullptr;  // run-time: the loaded list of `handlerFile`
};

class CreateThreadEvent : public EventOf<CreateThreadEvent, 57> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(file, window, data); }

    std::u16string file;
    StoredExpr window;
    StoredExpr data;
};

}  // namespace ovrix
