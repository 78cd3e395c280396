// What built-in functions need from the player that only the player knows:
// the desktop it plays on, the playback counters, the script arguments, the
// last picture found, the default title, the playback's wait, and the mouse
// and keyboard operations that follow the steps' own rules. The player
// installs one implementation; tests install fakes. Without a host the
// functions that need one give no value and the registry's messages are not
// shown.
//
// Functions call the desktop's facets directly (GetDesktop()->clock.Now()):
// a new desktop call needs nothing here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "expr/ExprHandle.h"

namespace ovrix {

class Desktop;

struct PictureRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The title of the script's own message boxes at the start of every playback.
inline constexpr std::u16string_view kDefaultScriptTitle = u"Vantorel";

class BuiltinHost {
public:
    virtual ~BuiltinHost() = default;

    // The desktop played on; never null while the host is installed.
    virtual Desktop& GetDesktop() = 0;

    // The index of the innermost running loop and the number of the pass.
    virtual double CurrentLoopIndex() = 0;
    virtual uint32_t CurrentRepeat() = 0;
    // The current playback frame's argument list (none: count 0).
    virtual size_t ScriptArgCount() = 0;
    virtual PExprItem ScriptArg(size_t index) = 0;
    // The program's command-line arguments.
    virtual std::vector<std::u16string> CommandLineArgs() = 0;
    // The rectangle of the last picture found on the screen.
    virtual PictureRect LastPictureRect() = 0;
    // The title of message boxes whose title is empty, and replacing it.
    virtual std::u16string DefaultTitle() = 0;
    virtual void SetDefaultTitle(std::u16string title) = 0;

    // Waits in 50 ms slices, letting messages through and honouring pause;
    // returns early when playback is stopped.
    virtual void Wait(uint32_t ms) = 0;
    virtual bool StopRequested() = 0;
    virtual void SetStatusLine(std::u16string_view text) = 0;
    // Shows the running step on the progress window's step line, so that
    // the window names the step that asks the person something.
    virtual void ShowStepText() {}
    // Waits for the clipboard to change (at most timeoutMs when above 0) and
    // answers its text then; empty on timeout, stop or without a watcher.
    virtual std::u16string WaitClipboardChange(uint32_t /*timeoutMs*/) { return {}; }

    // Mouse and keyboard input as the mouse and keyboard steps send it.
    // Numbers are handed over as the script gave them, so that they are
    // converted as the steps convert theirs. A host that plays no steps
    // sends nothing.
    virtual void MoveCursorBy(double /*dx*/, double /*dy*/) {}
    virtual void SetCursorPosition(double /*x*/, double /*y*/) {}
    // A random point of the region, its right and bottom edges excluded.
    virtual void RandomCursorPosition(double /*x*/, double /*y*/, double /*width*/, double /*height*/) {}
    // A left-button drag by the offset, waiting stepDelay ms at each point shown.
    virtual void DragCursorBy(double /*dx*/, double /*dy*/, double /*stepDelay*/) {}
    // The key's low byte pressed or released.
    virtual void SendKey(double /*vk*/, bool /*up*/) {}
    virtual void TypeText(std::u16string_view /*text*/, bool /*paste*/) {}
};

// Installs the host (null removes it); answers the previous one.
BuiltinHost* SetBuiltinHost(BuiltinHost* host);
BuiltinHost* GetBuiltinHost();

}  // namespace ovrix
