// The system and file steps: open a document, program or web address, copy
// and delete a file, show a message, log off or shut down, wait, and a
// comment. Their texts are plain stored strings (no expressions). This file
// holds their fields, stored form and text forms; playing them is the
// business of the system actions.
#pragma once

#include <cstdint>
#include <string>

#include "script/Event.h"

namespace ovrix {

// Opens a document or program; in the advanced form with parameters and a
// window style ("normal", "max", "min", "hidden", compared with case).
class OpenFileEvent : public EventOf<OpenFileEvent, 1> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    // The file name is compared without regard to case.
    auto Fields() const { return FieldList(NoCaseField{file}, advanced, parameters, windowStyle); }

    std::u16string file;
    uint32_t advanced = 0;
    std::u16string parameters;
    std::u16string windowStyle;
};

class OpenWebEvent : public EventOf<OpenWebEvent, 37> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(address); }

    std::u16string address;
};

class CopyFileEvent : public EventOf<CopyFileEvent, 38> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    // Both paths are compared without regard to case.
    auto Fields() const { return FieldList(NoCaseField{source}, NoCaseField{destination}); }

    std::u16string source;
    std::u16string destination;
};

class DelFileEvent : public EventOf<DelFileEvent, 39> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(file); }

    std::u16string file;
};

class MsgBoxEvent : public EventOf<MsgBoxEvent, 13> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(message); }

    std::u16string message;
};

// Logs off ("Logoff"), restarts ("Reboot") or, for any other action text,
// shuts down the computer, optionally after a countdown dialog.
class ShutdownEvent : public EventOf<ShutdownEvent, 20> {
public:
    static constexpr std::u16string_view kLogoff = u"Logoff";
    static constexpr std::u16string_view kReboot = u"Reboot";
    static constexpr std::u16string_view kShutdown = u"Shutdown";

    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(action, showCountdown, seconds); }

    std::u16string action{kShutdown};
    uint32_t showCountdown = 1;
    uint32_t seconds = 60;
};

// Waits a fixed time, or with `random` set a random part of it. Older
// streams store the time as a 32-bit word; it is always saved as 64 bits.
class WaitEvent : public EventOf<WaitEvent, 24> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(milliseconds, random); }

    int64_t milliseconds = 1000;
    uint32_t random = 0;
};

// Does nothing, not even wait its delay.
class CommentEvent : public EventOf<CommentEvent, 43> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(comment); }

    std::u16string comment;
};

}  // namespace ovrix
