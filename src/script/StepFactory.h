// The step factory: type id -> new step of its class, with the table of type
// keys and display names. Ids run from 1 to 57; 21, 22 and 56 are unused.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "container/Ref.h"
#include "script/Event.h"

namespace ovrix {

constexpr uint32_t kMaxTypeId = 57;

using StepCreator = Ref<Event> (*)();

template <class T>
Ref<Event> CreateStep() {
    return MakeRef<T>();
}

// One slot per type id; each family of steps fills its own slots.
using StepCreatorTable = std::array<StepCreator, kMaxTypeId + 1>;

void RegisterInputSteps(StepCreatorTable& table);     // mouse, keyboard, system and file steps
void RegisterFlowSteps(StepCreatorTable& table);      // conditions, loops, switch, functions, jumps
void RegisterPlaybackSteps(StepCreatorTable& table);  // nested playback, handlers, threads
void RegisterScreenSteps(StepCreatorTable& table);    // window and picture steps
void RegisterVariableSteps(StepCreatorTable& table);  // the expression steps

Ref<Event> CreateEvent(uint32_t typeId);

struct StepNames {
    std::u16string_view typeKey;      // empty: none
    std::u16string_view displayName;  // empty: none
};
StepNames StepNamesOf(uint32_t typeId);

}  // namespace ovrix
