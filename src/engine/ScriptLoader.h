// Loading scripts for playback: an embedded stream found by name in the
// published image, with the messages a user sees when it is missing, damaged
// or too new, and a played script file loaded inside its own folder and
// prepared by the link pass.
#pragma once

#include <string>
#include <string_view>

#include "container/Container.h"
#include "script/EventList.h"

namespace ovrix {

struct Player;

enum class StreamLoad { Invalid = 0, Loaded = 1, TooNew = 2 };

// Shows the version message itself when the stream is too new.
StreamLoad LoadStreamFromMemory(Player& player, Region data, EventList& list);
// Loads an embedded script found by name in the image, with its messages.
bool LoadScriptByName(Player& player, std::u16string_view name, EventList& list);
// LoadScriptByName inside the script's folder, then the link pass.
bool LoadScriptFile(Player& player, std::u16string_view path, EventList& list, uint32_t loaderWord);

// A path whose second character is ':' stays; any other becomes
// base folder + '\' + path (also when the base folder is empty).
std::u16string ResolveScriptPath(const Player& player, std::u16string_view path);

}  // namespace ovrix
