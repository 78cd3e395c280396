// A desktop description: the situation a macro is dry-run against on the
// simulated desktop (screen and what it shows over time, cursor, clipboard,
// files, message box answers, the person's answers to the dialogs that ask
// and the windows of other programs), read from
// one JSON file whose format
// docs/desktop-file.md gives. Every key is optional and an unknown key is an
// error, so a typo never silently falls back to a default.
//
// Only the tools, the tests and the fuzz target read it: the simulated
// desktop itself stays free of the JSON library.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/SimPlatform.h"

namespace ovrix {

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
