// Streams of old editor versions hold type-16 text-input steps. The loader
// turns each into a Call Function step (type 34) that calls the built-in
// "TypeText" with the step's text and paste flag, keeping its delay and
// disabled flag (not its name).
#pragma once

#include "container/Container.h"
#include "container/Ref.h"
#include "script/Event.h"

namespace ovrix {

Ref<Event> ConvertTextInputRecord(Region record);

}  // namespace ovrix
