// The windows of the simulated desktop: top-level windows of other programs
// with their controls, each living from its appearance to its closing in
// virtual time. Windows are kept front to back; activating one brings it to
// the front and makes it the foreground window. A simulated window has no
// frame: its client area is its whole rectangle, and a control's rectangle is
// given relative to its parent's client area.
//
// What a window understands of the messages sent to it: a close request
// (WM_CLOSE) closes a window that closes on request; WM_GETTEXTLENGTH answers
// its text's length; WM_CHAR types the character into an edit control
// (class "Edit", any case; backspace removes the last unit); every other
// message is answered 0.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Windows.h"

namespace ovrix {

// A window as a test or a desktop description gives it.
struct SimWindowSpec {
    std::u16string title;  // a control's text
    std::u16string className;
    ScreenRect rect;  // screen coordinates; a control's relative to its parent
    bool visible = true;
    bool minimized = false;
    std::u16string process;  // the executable's file name; empty: unknown
    uint64_t appearMs = 0;
    std::optional<uint64_t> closeMs;  // none: never closes by itself
    bool closesOnRequest = true;
    int32_t controlId = 0;
    std::vector<SimWindowSpec> controls;
};

class SimWindows final : public Windows {
public:
    // `nowMs` tells the virtual time.
    explicit SimWindows(std::function<uint64_t()> nowMs);

    // Adds a top-level window behind those already there, with its controls;
    // answers its handle. Handles are given out in order and never reused.
    WindowId Add(const SimWindowSpec& spec);
    // The window as it stands now (also one that is gone); null for a handle
    // never given out.
    struct State {
        SimWindowSpec spec;  // title, place and flags as they are now
        WindowId parent = kNoWindow;
        std::vector<WindowId> children;
        bool closed = false;  // closed on request (or by message)
        bool maximized = false;
        bool focused = false;
    };
    const State* Find(WindowId window) const;

    // Script-made windows: a control added to a live window (kNoWindow when
    // the parent is not live), a window taken away for good, and raising a
    // top-level window to the front untraced. A window with a procedure
    // (below) hands every message sent or posted to it there first.
    WindowId AddChild(WindowId parent, const SimWindowSpec& spec);
    void Remove(WindowId window);
    void Raise(WindowId window) { DoActivate(window); }
    // Answers nullopt for a window that has no procedure of its own; a
    // posted message is queued by the procedure's owner and answered 0.
    std::function<std::optional<int64_t>(WindowId, uint32_t, int64_t, int64_t, bool posted)> procedure;
    // What a window without a procedure of its own answers (see above).
    int64_t DefaultAnswer(WindowId window, uint32_t message, int64_t wParam, int64_t lParam);

    bool IsWindow(WindowId window) override { return Live(window) != nullptr; }
    std::vector<WindowId> TopLevelWindows() override;
    std::vector<WindowId> ChildWindows(WindowId parent) override;
    WindowId GetParent(WindowId window) override;
    std::u16string GetTitle(WindowId window) override;
    std::u16string GetClassName(WindowId window) override;
    bool IsVisible(WindowId window) override;
    bool IsMinimized(WindowId window) override;
    std::optional<ScreenRect> GetWindowRect(WindowId window) override;
    std::optional<ScreenRect> GetClientRect(WindowId window) override { return GetWindowRect(window); }
    std::optional<std::u16string> ProcessName(WindowId window) override;
    WindowId WindowFromPoint(Point point) override;
    WindowId GetForegroundWindow() override;
    std::u16string GetControlText(WindowId window) override;

protected:
    void DoActivate(WindowId window) override;
    void DoShow(WindowId window, int32_t command) override;
    void DoPostClose(WindowId window) override;
    void DoMove(WindowId window, int32_t x, int32_t y) override;
    void DoResize(WindowId window, int32_t width, int32_t height) override;
    void DoFocus(WindowId window) override;
    void DoSetTitle(WindowId window, std::u16string_view text) override;
    void DoSetControlText(WindowId window, std::u16string_view text) override { DoSetTitle(window, text); }
    void DoSendChar(WindowId window, char16_t unit) override;
    int64_t DoSendMessage(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) override;
    void DoInvalidate(WindowId, const ScreenRect&) override {}
    void DoDisableTheme(WindowId) override {}

private:
    WindowId AddWindow(const SimWindowSpec& spec, WindowId parent);
    State* At(WindowId window);
    // The window when it exists now: appeared, not closed, and its top-level
    // ancestor alive too.
    State* Live(WindowId window);
    State* TopLevelOf(WindowId window);
    // The deepest visible live child of `window` that holds the point.
    WindowId ChildAt(WindowId window, Point point);

    std::function<uint64_t()> nowMs_;
    std::vector<State> windows_;          // index = handle's serial
    std::vector<WindowId> order_;         // top-level windows, front to back
};

}  // namespace ovrix
