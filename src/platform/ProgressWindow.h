// The progress window: a small window on a thread of its own that shows four
// lines and holds the stop and pause hotkeys. Its decisions (place, hotkeys,
// what a press does) are portable code handed in by whoever opens it; the
// platform only makes the window and calls that code on the window's thread.
//
// The facet remembers the four lines, which the engine reads back, and
// traces what the window does that a user would notice, from whichever
// thread does it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Facet.h"
#include "platform/Screen.h"

namespace ovrix {

enum class ProgressLine { Repeat, Step, Status, Script };

// The progress window's hotkey ids.
constexpr int32_t kStopHotkeyId = 1;
constexpr int32_t kPauseHotkeyId = 2;

// The corners the progress window sits in.
enum class ProgressCorner { BottomRight, BottomLeft };

// What a progress window can do. The portable logic that drives the window
// (ProgressWindowBehaviour) calls these on the window's own thread; the
// playback thread may also read the frame and the work area and move the
// window (see ProgressWindow::StepAside).
class ProgressWindowHost {
public:
    virtual ~ProgressWindowHost() = default;
    // Registers a global hotkey on the window; modifiers are RegisterHotKey's
    // flags (Alt 1, Ctrl 2, Shift 4). False when another program holds it.
    virtual bool RegisterHotkey(int32_t id, uint32_t modifiers, uint32_t key) = 0;
    virtual ScreenRect Frame() = 0;
    // Moves the window's top-left to `at` without resizing, reordering or
    // activating it; the corner names the place for whoever watches.
    virtual void MoveTo(ProgressCorner corner, Point at) = 0;
    // Shows the window without activating it, or hides it.
    virtual void Show(bool visible) = 0;
    // The work area; false when the platform cannot tell.
    virtual bool WorkArea(ScreenRect& out) = 0;
    // The client size of a full-screen window, when the work area is unknown.
    virtual ScreenSize FullScreenSize() = 0;
    virtual Point CursorPos() = 0;
    virtual int32_t MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) = 0;
    // The full path of the program's own file.
    virtual std::u16string ProgramPath() = 0;
    virtual void SetScriptLine(std::u16string_view text) = 0;
    // Starts the window's periodic timer.
    virtual void StartTimer(uint32_t periodMs) = 0;
};

// The decisions of the progress window, kept in portable code. The platform
// makes the window and calls these on the window's thread.
class ProgressWindowBehaviour {
public:
    virtual ~ProgressWindowBehaviour() = default;
    // The window has just been made, hidden: set it up, place and show it.
    virtual void Start(ProgressWindowHost& host) = 0;
    virtual void OnTimer(ProgressWindowHost& host) = 0;
    virtual void OnHotkey(ProgressWindowHost& host, int32_t id) = 0;
};

// Everything the progress window needs to know at start (the image settings).
struct ProgressWindowSettings {
    uint32_t noStopKey = 0;
    uint32_t noPauseKey = 0;
    uint32_t stopKey = 113;
    uint32_t stopModifiers = 1;
    uint32_t pauseKey = 80;
    uint32_t pauseModifiers = 2;
    uint32_t startHidden = 0;
    uint32_t showWhenPaused = 1;
};

// Moves the window into a corner of the work area (of the full screen when
// the work area is unknown), keeping its size.
void PlaceInCorner(ProgressWindowHost& host, ProgressCorner corner);

class ProgressWindow : public TracedFacet {
public:
    // Makes the window, runs the behaviour's Start on the window's thread and
    // returns when that is done; false when the window could not be made.
    // The window keeps the behaviour until it is closed; after Close returns
    // the behaviour is no longer called.
    bool Open(std::unique_ptr<ProgressWindowBehaviour> behaviour);
    void Close();
    bool IsOpen() const { return behaviour_ != nullptr; }
    // Writes a line; only a change is shown and traced. Lines may be written
    // from the playback thread at any time without waiting on the window.
    void SetLine(ProgressLine line, std::u16string_view text);
    const std::u16string& GetLine(ProgressLine line) const { return lines_[static_cast<size_t>(line)]; }

    // From the playback thread: the window's frame while it is open and
    // shown, for what must not be looked for under it.
    std::optional<ScreenRect> ShownFrame();
    // Moves the shown window out of the way, without activating it, as a
    // cursor resting on it would: from the left edge to the work area's
    // bottom-right corner, from anywhere else to its bottom-left corner.
    // Traced as the window's own moves are; answers the new frame.
    std::optional<ScreenRect> StepAside();

protected:
    // The platform's window while it is open and shown; null otherwise.
    virtual ProgressWindowHost* ShownWindow() = 0;
    virtual bool DoOpen(ProgressWindowBehaviour& behaviour) = 0;
    virtual void DoShowLine(ProgressLine line, std::u16string_view text) = 0;
    virtual void DoClose() = 0;

private:
    friend class TracedProgressHost;
    friend class TracedProgressBehaviour;
    // Remembers and traces a line; false when it did not change.
    bool RecordLine(ProgressLine line, std::u16string_view text);

    std::array<std::u16string, 4> lines_;
    // While the window is open: the behaviour, wrapped so that it traces.
    std::unique_ptr<ProgressWindowBehaviour> behaviour_;
};

}  // namespace ovrix
