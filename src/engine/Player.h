// The program-wide state of one playback session: the desktop it plays on,
// the interpreter's runtime, the mouse state, the published image, the base
// folder, the settings, the pass counter and the script cache. One instance
// lives for the run of the process and is handed to the driver, the loaders
// and the engine; the driver installs its runtime while it plays.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "container/Container.h"
#include "engine/Runtime.h"
#include "script/EventList.h"
#include "platform/Desktop.h"
#include "engine/PlaybackSettings.h"

namespace ovrix {

// What the mouse steps read from the system once per playback. The button
// flags are the mouse_event flags a recorded left or right button is sent
// with: with swapped buttons a recorded left click is the physical right
// button, so that it still reaches the primary button.
struct MouseState {
    uint32_t leftDown = 0x0002;
    uint32_t leftUp = 0x0004;
    uint32_t rightDown = 0x0008;
    uint32_t rightUp = 0x0010;
    ScreenSize screen;
    OsVersion os;
};

struct Player {
    explicit Player(Desktop& d, const StepKinds* kinds = nullptr) : desktop(d), runtime(kinds) {}

    Desktop& desktop;
    Runtime runtime;
    Region image;                           // published by the driver
    std::u16string baseFolder;              // folder of the 'ROOT' path
    PlaybackSettings settings;
    uint32_t passCounter = 0;
    std::vector<std::u16string> arguments;  // the command line's script arguments
    MouseState mouse;                       // recorded by BeginPlayback

    // Nested script files loaded by the link pass, once per lower-case path,
    // and the path as written for each loaded list.
    std::map<std::u16string, std::unique_ptr<EventList>> scriptCache;
    std::map<const EventList*, std::u16string> scriptPaths;
};

}  // namespace ovrix
