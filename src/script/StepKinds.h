// The table of step kinds: one row per type id with its type key, display
// name, how a step of the kind is made and how it plays. Ids run from 1 to
// 57; 21, 22 and 56 are unused. Each family of steps adds its own rows where
// the family is defined; the whole table is put together above every family
// and handed to the runtime, which installs it for loading and playing.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "container/Container.h"
#include "container/Ref.h"
#include "script/Event.h"

namespace ovrix {

constexpr uint32_t kMaxTypeId = 57;

// What the engine hands a playing step; this layer only passes it through.
struct StepRun;

using StepCreate = Ref<Event> (*)();
// Answers 0, or -1 when the run must end at once.
using StepPlay = int32_t (*)(const StepRun& run);
// Builds a step from a whole stored record, for kinds kept in an older form.
using StepConvert = Ref<Event> (*)(Region record);

struct StepKind {
    uint32_t typeId = 0;
    std::u16string_view typeKey;      // empty: none
    std::u16string_view displayName;  // empty: none
    StepCreate create = nullptr;
    // None: the step does nothing and takes no delay.
    StepPlay play = nullptr;
    // Playback passes the step over without showing it (comments, function ends).
    bool unseen = false;
    // When set, the loader hands the record here instead of create and Load.
    StepConvert convert = nullptr;
};

class StepKinds {
public:
    // Each id takes one row; adding an id twice or one out of range is a
    // mistake of the program, not of a script.
    void Add(const StepKind& kind);
    // The row of an id; none for unused and unknown ids.
    const StepKind* Find(uint32_t typeId) const {
        // Add never fills the row of an unused id, so only row 0 matches an
        // id it does not hold.
        if (typeId == 0 || typeId > kMaxTypeId || rows_[typeId].typeId != typeId) return nullptr;
        return &rows_[typeId];
    }

private:
    std::array<StepKind, kMaxTypeId + 1> rows_{};
};

struct StepNames {
    std::u16string_view typeKey;      // empty: none
    std::u16string_view displayName;  // empty: none
};
// The type key and display name of an id, which the file format fixes.
StepNames StepNamesOf(uint32_t typeId);

// The row of class T: its id, key and name, a creator and the play function.
template <class T>
StepKind Kind(StepPlay play) {
    const StepNames names = StepNamesOf(T::kTypeId);
    return StepKind{T::kTypeId, names.typeKey, names.displayName, [] { return Ref<Event>(MakeRef<T>()); }, play};
}

// An action that never ends the run early, as a play function.
template <void (*Action)(const StepRun&)>
int32_t Plays(const StepRun& run) {
    Action(run);
    return 0;
}

// The table that loading and playback use now: the installed runtime's, or
// an empty table (which loads no step at all) when it has none.
const StepKinds& CurrentStepKinds();
// Installs a table (null: none) and answers the one installed before; only
// the engine's runtime scope calls it.
const StepKinds* InstallStepKinds(const StepKinds* kinds);

// A new step of the id's kind from the current table; none for ids without a creator.
Ref<Event> CreateEvent(uint32_t typeId);

}  // namespace ovrix
