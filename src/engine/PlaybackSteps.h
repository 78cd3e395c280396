// Steps that play something other than the next step of their list: another
// script file as a subroutine (PlayScriptEvent), one of several script files
// chosen by weight (PlayRandomEvent), and a recorded stream of raw mouse and
// key input (PlayRecordEvent).
//
// Script file names are kept exactly as the step stores them; the link pass
// resolves and loads them and fills the run-time fields, which are neither
// stored nor compared.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/Event.h"
#include "script/StoredExpr.h"

namespace ovrix {

// A script file's name without its folder and extension, as text forms show it.
std::u16string ScriptFileTitle(std::u16string_view path);

class PlayScriptEvent : public EventOf<PlayScriptEvent, 23> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(file, arguments, result, copyResult); }

    std::u16string file;
    std::vector<StoredExpr> arguments;
    StoredExpr result;        // a variable reference; absent: the result is dropped
    uint32_t copyResult = 0;  // 1 "Set", 0 "Alias": only the text form differs

    EventList* script = nullptr;  // run-time: the loaded list of `file`
};

class PlayRandomEvent : public EventOf<PlayRandomEvent, 31> {
public:
    struct Entry {
        std::u16string file;
        uint32_t weight = 1;
        EventList* script = nullptr;  // run-time: the loaded list of `file`

        bool operator==(const Entry& other) const { return file == other.file && weight == other.weight; }
    };

    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(entries); }

    std::vector<Entry> entries;
    uint32_t totalWeight = 0;  // run-time: the sum of the weights
};

// One 12-byte record of a recorded input stream (little-endian: u16 kind,
// i16 x, i16 y, i16 wheel amount, u32 delay after the record in ms).
struct RecordedInput {
    enum Kind : uint16_t {
        kMove = 0,
        kLeftDown,
        kLeftUp,
        kMiddleDown,
        kMiddleUp,
        kRightDown,
        kRightUp,
        kWheel,  // at (x, y), or at the cursor when x is -1
        kKeyDown,  // virtual key in the low byte of x
        kKeyUp,
        kPause,  // only the delay
    };
    static constexpr uint32_t kSize = 12;

    uint16_t kind = kMove;
    int16_t x = 0;
    int16_t y = 0;
    int16_t wheel = 0;
    uint32_t delay = 0;

    // Positioned records are the ones relative play shifts.
    bool HasPosition() const { return kind != kKeyDown && kind != kKeyUp && kind != kPause && x != -1; }
    bool operator==(const RecordedInput&) const = default;
};

class PlayRecordEvent : public EventOf<PlayRecordEvent, 19> {
public:
    std::u16string GetText() const override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const { return FieldList(records, relative, speed); }

    std::vector<RecordedInput> records;
    uint32_t relative = 0;  // non-zero: positions are shifted to the cursor
    double speed = 100.0;   // percent of the recorded pace; 0 or less plays as recorded
};

}  // namespace ovrix
