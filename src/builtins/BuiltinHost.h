// What built-in functions need from the player: message boxes, random
// numbers, the playback counters, the script arguments, the last picture
// found, the default title, the clock and waiting, mouse and keyboard
// input. The player installs one implementation; tests install fakes.
// Without a host the functions that need one give no value and the
// registry's messages are not shown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "expr/ExprHandle.h"

namespace ovrix {

struct PictureRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

class BuiltinHost {
public:
    virtual ~BuiltinHost() = default;

    // A message box with the program's default title and an OK button.
    virtual void ShowMessage(std::u16string_view text) = 0;
    // The next value of the program's random generator, 0 to 32767.
    virtual uint32_t Random() = 0;
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
    // Replaces the title of message boxes whose title is empty.
    virtual void SetDefaultTitle(std::u16string title) = 0;

    // The clock, waiting and the progress window, for the functions that
    // wait. A host without them answers as a stopped clock would.
    virtual int64_t Now() { return 0; }           // seconds since 1970 UTC
    virtual uint32_t TickCount() { return 0; }    // milliseconds
    // Waits in 50 ms slices, letting messages through and honouring pause;
    // returns early when playback is stopped.
    virtual void Wait(uint32_t /*ms*/) {}
    virtual bool StopRequested() { return true; }
    virtual void SetStatusLine(std::u16string_view /*text*/) {}
    // A message box of the script's: answers the button pressed (1 OK, ...).
    virtual int32_t MessageBox(std::u16string_view /*text*/, std::u16string_view /*title*/, uint32_t /*style*/) {
        return 1;
    }
    // Closes itself after timeoutMs (answering 32000) when that is not 0.
    virtual int32_t MessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                                      uint32_t /*timeoutMs*/) {
        return MessageBox(text, title, style);
    }
    virtual std::u16string DefaultTitle() { return {}; }
    // The clipboard's text (empty when it holds none or cannot be opened),
    // and putting a text on it.
    virtual std::u16string GetClipboardText() { return {}; }
    virtual void SetClipboardText(std::u16string_view /*text*/) {}
    // Waits for the clipboard to change (at most timeoutMs when above 0) and
    // answers its text then; empty on timeout, stop or without a watcher.
    virtual std::u16string WaitClipboardChange(uint32_t /*timeoutMs*/) { return {}; }

    // Mouse and keyboard input on the desktop played on. Numbers are handed
    // over as the script gave them, so that the functions convert them as
    // the mouse and keyboard steps do. A host without a desktop sends
    // nothing and knows no cursor position.
    virtual bool CursorPosition(int32_t& /*x*/, int32_t& /*y*/) { return false; }
    virtual void MoveCursorBy(double /*dx*/, double /*dy*/) {}
    virtual void SetCursorPosition(double /*x*/, double /*y*/) {}
    // A random point of the region, its right and bottom edges excluded.
    virtual void RandomCursorPosition(double /*x*/, double /*y*/, double /*width*/, double /*height*/) {}
    // A left-button drag by the offset, waiting stepDelay ms at each point shown.
    virtual void DragCursorBy(double /*dx*/, double /*dy*/, double /*stepDelay*/) {}
    // The key's low byte pressed or released.
    virtual void SendKey(double /*vk*/, bool /*up*/) {}
    virtual bool IsKeyDown(double /*vk*/) { return false; }
    virtual void TypeText(std::u16string_view /*text*/, bool /*paste*/) {}
};

// Installs the host (null removes it); answers the previous one.
BuiltinHost* SetBuiltinHost(BuiltinHost* host);
BuiltinHost* GetBuiltinHost();

}  // namespace ovrix
