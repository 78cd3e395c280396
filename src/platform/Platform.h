// The one interface between the player and the desktop it plays on. Two
// implementations exist: the real Windows desktop (platform/win32) and a
// deterministic simulated desktop with a virtual clock (platform/sim).
// Nothing outside those two folders talks to the operating system.
//
// Calls here are raw: they neither trace nor remember anything. The engine
// goes through Desktop (Desktop.h), which traces every observable action the
// same way on both implementations.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace ovrix {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

struct ScreenSize {
    int32_t width = 0;
    int32_t height = 0;
};

struct LocalTime {
    int32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct OsVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
};

// One keyboard record of SendInput (type 1). Unicode records carry the
// character in scan and have vk 0.
struct KeyInput {
    uint16_t vk = 0;
    uint16_t scan = 0;
    uint32_t flags = 0;
};

// Key event flags.
constexpr uint32_t kKeyExtended = 0x1;
constexpr uint32_t kKeyUp = 0x2;
constexpr uint32_t kKeyUnicode = 0x4;

// A modal countdown dialog (the shutdown step's). The platform shows it and
// calls back; the dialog's texts and decisions stay in portable code.
class CountdownDialog {
public:
    struct Texts {
        std::u16string title, message, button, countdown;
    };
    // What the countdown line shows next, and whether the timer stops now.
    struct Update {
        std::u16string countdown;
        bool stopTimer = false;
        // Run by the desktop once the text is on screen: carrying out the
        // action comes after the dialog has said what it is doing.
        std::function<void()> afterShown;
    };
    virtual ~CountdownDialog() = default;
    virtual Texts Initial() = 0;
    virtual uint32_t TimerPeriodMs() const { return 1000; }
    virtual Update Tick() = 0;       // each timer period
    virtual Update Immediate() = 0;  // the immediate button
};

enum class ProgressLine { Repeat, Step, Status, Script };

// A rectangle on the screen; right and bottom lie just outside it.
struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
};

// The progress window's hotkey ids.
constexpr int32_t kStopHotkeyId = 1;
constexpr int32_t kPauseHotkeyId = 2;

// The corners the progress window sits in.
enum class ProgressCorner { BottomRight, BottomLeft };

// What a progress window can do. The portable logic that drives the window
// (ProgressWindowBehaviour) calls these, always on the window's own thread.
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

class Platform {
public:
    virtual ~Platform() = default;

    // Clock and waiting.
    virtual uint32_t TickCount() = 0;              // milliseconds, wraps like the system's
    // The clock the trace stamps lines with; reading it must not disturb playback.
    virtual uint32_t TraceClock() { return TickCount(); }
    virtual void Sleep(uint32_t ms) = 0;
    virtual int64_t Now() = 0;                     // seconds since 1970-01-01 00:00 UTC
    virtual bool ToLocalTime(int64_t seconds, LocalTime& out) = 0;
    virtual void PumpMessages() = 0;               // dispatch the thread's pending messages

    // Input.
    virtual void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data) = 0;
    virtual void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) = 0;
    virtual void SetCursorPos(int32_t x, int32_t y) = 0;
    virtual Point GetCursorPos() = 0;
    virtual ScreenSize GetScreenSize() = 0;
    virtual bool ButtonsSwapped() = 0;
    virtual OsVersion GetOsVersion() = 0;
    // MapVirtualKeyW (code, 0): the scan code of a virtual key.
    virtual uint32_t MapVirtualKey(uint32_t code) = 0;
    // VkKeyScanW: key in the low byte, shift state in the high byte; -1 for none.
    virtual int16_t VkKeyScan(char16_t c) = 0;
    virtual bool CapsLockOn() = 0;
    // Whether the key is held down now (GetAsyncKeyState's high bit).
    virtual bool IsKeyDown(uint8_t vk) = 0;
    // Sends the records as one SendInput call; answers false when the
    // platform has no such call or refused it.
    virtual bool SendInput(const std::vector<KeyInput>& records) = 0;

    // Progress window. Open makes the window, runs the behaviour's Start on
    // the window's thread and returns when that is done; false when the
    // window could not be made. After Close returns the behaviour is no
    // longer called. Lines may be written from the playback thread at any
    // time without waiting on the window's thread.
    virtual bool OpenProgressWindow(ProgressWindowBehaviour& behaviour) = 0;
    virtual void ShowProgressLine(ProgressLine line, std::u16string_view text) = 0;
    virtual void CloseProgressWindow() = 0;
    // GetKeyNameTextW: the key's name for a key-message lParam (scan code in
    // bits 16 to 23, bit 24 for an extended key); empty when it has none.
    virtual std::u16string KeyNameText(uint32_t lParam) = 0;
    // The progress window's place in the clipboard-viewer chain: joining
    // (false without a window) resets the notice count, and joining itself
    // brings the first notice; each clipboard change brings one more.
    virtual bool JoinClipboardChain() = 0;
    virtual uint32_t ClipboardNotices() = 0;
    virtual void LeaveClipboardChain() = 0;

    // Message box: answers the id of the button pressed (1 OK, 2 Cancel, ...).
    virtual int32_t MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) = 0;
    // A message box that closes itself after timeoutMs, answering 32000 then.
    virtual int32_t MessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                                      uint32_t timeoutMs) = 0;
    // The modal script error dialog with the error text; returns when it is closed.
    virtual void ShowScriptError(std::u16string_view text) = 0;
    // Runs the countdown dialog modally; returns when it is closed.
    virtual void RunCountdownDialog(CountdownDialog& dialog) = 0;

    // Clipboard and shell.
    virtual bool SetClipboardText(std::u16string_view text) = 0;
    // The clipboard's text; empty when it holds none or cannot be opened.
    virtual std::u16string GetClipboardText() = 0;
    virtual bool ShellExecute(std::u16string_view verb, std::u16string_view file,
                              std::u16string_view parameters, int32_t show) = 0;

    // Files: 0 on success, else the platform's error code (2: not found).
    virtual uint32_t CopyFile(std::u16string_view source, std::u16string_view destination) = 0;
    virtual uint32_t DeleteFile(std::u16string_view path) = 0;

    // Shutting down: enabling the privilege answers false when the platform
    // reported an error; ExitWindows answers whether the system accepted.
    virtual bool EnableShutdownPrivilege() = 0;
    virtual bool ExitWindows(uint32_t flags, uint32_t reason) = 0;

    // Process.
    virtual std::u16string GetCurrentDirectory() = 0;
    // True when a file or folder exists at the path.
    virtual bool FileExists(std::u16string_view path) = 0;
    virtual bool SetCurrentDirectory(std::u16string_view path) = 0;
    virtual void SeedRandom(uint32_t seed) = 0;
    virtual uint32_t Random() = 0;                 // 0 to 32767
};

}  // namespace ovrix
