// A desktop description: the situation a macro is dry-run against on the
// simulated desktop (screen and what it shows over time, cursor, clipboard,
// files, message box answers, the person's answers to the dialogs that ask,
// the windows of other programs, registry keys and web pages), read from
// files, message box answers, the person's answers to the dialogs that ask
// the windows of other programs, and the processes that run or that a
// start makes), read from
// one JSON file whose format
// docs/desktop-file.md gives. Every key is optional and an unknown key is an
// error, so a typo never silently falls back to a default.
//
// Only the tools, the tests and the fuzz target read it: the simulated
// desktop itself stays free of the JSON library.
#pragma once

#include <cstdint>
#include <map>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/SimPlatform.h"

namespace ovrix {

// A registry key of the description with its values, in file order.
struct SimRegistryKey {
    RegistryKey key;
    std::vector<std::pair<std::u16string, RegistryValue>> values;
};

struct DesktopDescription {
    std::optional<ScreenSize> screen;  // none: the simulated desktop's own
    // What the screen shows from each virtual time in ms on, read from the
    // image files the description names.
    std::vector<std::pair<uint64_t, VBmp>> screenPictures;
    Point cursor;
    std::u16string clipboard;
    // The folder the simulated disk lives in (none: a fresh temporary one),
    // and files to make there, empty.
    std::optional<std::filesystem::path> filesFolder;
    std::set<std::u16string> files;
    std::vector<int32_t> messageBoxAnswers;  // button ids, in the order asked
    std::vector<SimDialogAnswer> dialogAnswers;  // in the order the dialogs open
    std::vector<SimWindowSpec> windows;      // front to back
    std::vector<SimWindowEvent> events;      // to script-made windows, in time order
    std::vector<SimRegistryKey> registry;
    std::map<std::u16string, std::string> webPages;  // page bodies by address
    std::vector<SimProcessSpec> processes;   // running from the start
    std::vector<SimProcessSpec> programs;    // what starting a file makes
    std::map<std::u16string, std::u16string> environment;

    // What is fixed when the simulated desktop is made (the screen)...
    void ApplyTo(SimOptions& options) const;
    // ...and what is set on it before playback.
    void ApplyTo(SimPlatform& sim) const;
};

// Parses a description; `name` is how messages call the file, and image
// paths are taken relative to `directory` (empty: the current one). On
// failure answers nullopt and sets `error` to "NAME: PLACE: what was
// expected", the place being a path such as windows[2].rect[3], or for a
// syntax error the line and column.
std::optional<DesktopDescription> ParseDesktopDescription(std::string_view text, std::string_view name,
                                                          std::string& error, std::string_view directory = {});
// The same for a file on disk, named in messages as `path` is written; its
// image paths are relative to its folder.
std::optional<DesktopDescription> ReadDesktopFile(const std::string& path, std::string& error);

}  // namespace ovrix
