// The windows on the desktop, the player's own and other programs': finding
// them, reading their titles, classes, places and texts, and acting on them.
// A window is named by its handle, a 32-bit number (0: none); a handle that
// is no longer a window reads as empty text, false and 0, and acting on it
// does nothing.
//
// Acting is traced in the window's title as it was just before the action:
//   window activate "<title>"                  brought to the foreground
//   window restore "<title>"                   restored from minimised
//   window close "<title>"                     a close request posted
//   window show "<title>" <command>            shown with a ShowWindow command
//   window move "<title>" <x> <y>              moved (size kept)
//   window size "<title>" <width> <height>     sized (place kept)
//   window focus "<title>"                     given the keyboard focus
//   window title "<title>" "<text>"            its title set
//   window settext "<title>" "<text>"          its text set by message
//   window char "<title>" <unit>               one character sent
//   window message "<title>" 0x<msg> <w> <l>   a message sent
//   window invalidate "<title>" <l> <t> <r> <b>  a part marked for repainting
//   window theme-off "<title>"                 its visual theme switched off
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Facet.h"
#include "platform/Screen.h"

namespace ovrix {

using WindowId = uint32_t;
inline constexpr WindowId kNoWindow = 0;

// The ShowWindow commands the player itself uses.
namespace showcmd {
inline constexpr int32_t kHide = 0;
inline constexpr int32_t kShowNormal = 1;
inline constexpr int32_t kShowMinimized = 2;
inline constexpr int32_t kMaximize = 3;
inline constexpr int32_t kShowNoActivate = 4;
inline constexpr int32_t kShow = 5;
inline constexpr int32_t kMinimize = 6;
inline constexpr int32_t kShowMinNoActive = 7;
inline constexpr int32_t kShowNa = 8;
inline constexpr int32_t kRestore = 9;
inline constexpr int32_t kShowDefault = 10;
inline constexpr int32_t kForceMinimize = 11;
}  // namespace showcmd

inline constexpr uint32_t kWmClose = 0x0010;

class Windows : public TracedFacet {
public:
    // Looking (not traced).
    virtual bool IsWindow(WindowId window) = 0;
    // The top-level windows in the system's order, front to back.
    virtual std::vector<WindowId> TopLevelWindows() = 0;
    // The direct children of a window, in their order.
    virtual std::vector<WindowId> ChildWindows(WindowId parent) = 0;
    // 0 for a top-level window.
    virtual WindowId GetParent(WindowId window) = 0;
    // The title as the system reads it for anyone into a buffer of 260
    // units: at most its first 259.
    virtual std::u16string GetTitle(WindowId window) = 0;
    virtual std::u16string GetClassName(WindowId window) = 0;
    virtual bool IsVisible(WindowId window) = 0;
    virtual bool IsMinimized(WindowId window) = 0;
    // The window's rectangle and its client area, in screen coordinates;
    // nullopt when the handle is not a window.
    virtual std::optional<ScreenRect> GetWindowRect(WindowId window) = 0;
    virtual std::optional<ScreenRect> GetClientRect(WindowId window) = 0;
    // The executable's file name ("notepad.exe") of the window's process;
    // nullopt when the process cannot be told.
    virtual std::optional<std::u16string> ProcessName(WindowId window) = 0;
    virtual WindowId WindowFromPoint(Point point) = 0;
    virtual WindowId GetForegroundWindow() = 0;
    // The whole text the window answers to WM_GETTEXT, which also reads the
    // edit control of another program.
    virtual std::u16string GetControlText(WindowId window) = 0;

    // Acting (traced, see above). Places are those SetWindowPos takes: screen
    // coordinates for a top-level window, its parent's client coordinates for
    // a child. Restore is ShowWindow's restore command.
    void Activate(WindowId window);
    void Restore(WindowId window);
    void PostClose(WindowId window);
    void Show(WindowId window, int32_t command);
    void Move(WindowId window, int32_t x, int32_t y);
    void Resize(WindowId window, int32_t width, int32_t height);
    void Focus(WindowId window);
    void SetTitle(WindowId window, std::u16string_view text);
    void SetControlText(WindowId window, std::u16string_view text);
    void SendChar(WindowId window, char16_t unit);
    int64_t SendMessage(WindowId window, uint32_t message, int64_t wParam, int64_t lParam);
    void Invalidate(WindowId window, const ScreenRect& rect);
    void DisableTheme(WindowId window);

protected:
    virtual void DoActivate(WindowId window) = 0;
    virtual void DoShow(WindowId window, int32_t command) = 0;
    virtual void DoPostClose(WindowId window) = 0;
    virtual void DoMove(WindowId window, int32_t x, int32_t y) = 0;
    virtual void DoResize(WindowId window, int32_t width, int32_t height) = 0;
    virtual void DoFocus(WindowId window) = 0;
    virtual void DoSetTitle(WindowId window, std::u16string_view text) = 0;
    virtual void DoSetControlText(WindowId window, std::u16string_view text) = 0;
    virtual void DoSendChar(WindowId window, char16_t unit) = 0;
    virtual int64_t DoSendMessage(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) = 0;
    virtual void DoInvalidate(WindowId window, const ScreenRect& rect) = 0;
    virtual void DoDisableTheme(WindowId window) = 0;

private:
    // The start of a traced line: the event and the quoted title.
    void TraceAction(std::string_view verb, WindowId window, std::string_view rest = {});
};

}  // namespace ovrix
