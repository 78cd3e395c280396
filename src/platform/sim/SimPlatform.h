// The simulated desktop: a deterministic stand-in for Windows with a virtual
// clock. Waiting advances the clock at once (nothing really sleeps), and every
// call that reads the clock, pumps messages or writes a progress line costs
// a few virtual microseconds, so that time passes
// even in a script that never waits and time-based rules still end.
//
// Its answers are settable so that tests can steer every branch the player
// takes on what the desktop says (screen size, message box answers, a
// clipboard that refuses, ...). One object is every facet of the desktop:
// they share the one virtual clock, screen, cursor and progress window. A
// family with a state of its own (windows, processes) gets a class of its
// own, handed out by the Platform accessor of its facet.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"
#include "platform/Windows1252.h"
#include "platform/sim/SimAutomation.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimDatabases.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimProgressWindow.h"
#include "platform/sim/SimScriptWindows.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSound.h"
#include "platform/sim/SimWeb.h"
#include "platform/sim/SimWindows.h"

namespace ovrix {

// What the person does in one dialog that asks: the button, and for OK
// either the text typed (or, in a select-only list, the item chosen) or the
// input parameters' values by name. Without either, OK accepts the dialog as
// it opened.
struct SimDialogAnswer {
    DialogButton button = DialogButton::Ok;
    std::optional<std::u16string> text;
    std::vector<std::pair<std::u16string, std::u16string>> values;
};

struct SimOptions {
    ScreenSize screen{1920, 1080};
    // Wall clock at virtual time 0: 2026-01-01 00:00:00 UTC.
    int64_t epochSeconds = 1767225600;
    // The tick count at virtual time 0, as if the machine had been up an hour.
    uint32_t uptimeMs = 3600000;
    // Virtual microseconds that a clock read, a message pump or a progress
    // line write costs: time passes even when a script never waits.
    uint64_t callCostUs = 10;
    // 0: no limit. Past it, onTimeLimit is called once.
    uint64_t maxMs = 0;
};

class SimPlatform : public Platform,
                    public Clock,
                    public Input,
                    public Screen,
                    public Clipboard,
                    public Dialogs,
                    public ImageFiles,
                    public System,
                    public ProgressWindow {
public:
    explicit SimPlatform(SimOptions options = {});
    SimPlatform(const SimPlatform&) = delete;
    SimPlatform& operator=(const SimPlatform&) = delete;

    // Virtual time since the simulation began.
    uint64_t ElapsedUs() const { return nowUs_; }
    uint64_t ElapsedMs() const { return nowUs_ / 1000; }
    // Lets time pass. What the progress window's own thread would do in that
    // time (timer ticks, clipboard notices) happens at its virtual moment.
    // Inline: every clock read passes here.
    void Advance(uint64_t us) {
        const uint64_t target = nowUs_ + us;
        // What the window does may cost time itself; that time only moves the clock.
        if (!inWindowThread_ && WindowEventDue(target)) RunWindowThread(target);
        nowUs_ = std::max(nowUs_, target);
        if (nowUs_ >= limitUs_) ReportTimeLimit();
    }

    // Called (once) when the virtual time passes options.maxMs.
    std::function<void()> onTimeLimit;
    // Called in every PumpMessages: tests use it to act "while playback runs".
    std::function<void(SimPlatform&)> onPump;

    // Answers to give; each message box pops the front of the queue, and an
    // empty queue answers the first button of the box's style.
    std::vector<int32_t> messageBoxAnswers;
    // Each dialog that asks pops the front; once they are used up a dialog
    // is cancelled. An input parameters dialog refused on OK (a required
    // value left empty) shows its message box and takes the next answer.
    std::deque<SimDialogAnswer> dialogAnswers;
    bool clipboardRefuses = false;
    bool timedBoxesTimeOut = false;
    bool progressWindowFails = false;
    // Hotkeys that other programs hold, as RegisterHotKey modifiers and key.
    std::set<std::pair<uint32_t, uint32_t>> takenHotkeys;
    // The work area, below which a taskbar sits; unknown makes the window
    // fall back to the screen size.
    ScreenRect workArea;
    bool workAreaUnknown = false;
    std::u16string programPath = u"C:\\Program Files\\Ovrix\\ovrix.exe";
    // Texts that another program puts on the clipboard, at virtual times in
    // milliseconds (ascending).
    std::vector<std::pair<uint64_t, std::u16string>> clipboardChanges;
    bool buttonsSwapped = false;
    OsVersion osVersion{10, 0};
    bool capsLock = false;
    bool sendInputFails = false;
    bool shutdownPrivilegeRefused = false;
    // A countdown dialog closes when its timer stops (as if the system went
    // down), or is cancelled after this many ticks when that is not below 0.
    int32_t countdownCancelAfterTicks = -1;

    // What the screen shows: each picture from its virtual time in ms on
    // (ascending times), drawn from the top-left corner; where no picture
    // reaches, and before the first, the screen is black.
    std::vector<std::pair<uint64_t, VBmp>> screenPictures;

    // The windows on the simulated desktop; tests and desktop descriptions
    // add them.
    SimWindows windows{[this] { return ElapsedMs(); }};
    // The windows scripts make, among them; their events arrive as messages
    // are dispatched.
    SimScriptWindows scriptWindows{windows};
    // The simulated automation classes; tests register more.
    SimAutomation automation;
    Automation& GetAutomation() override { return automation; }
    // The registry, the web's pages and the speaker; what the machine tells
    // about itself.
    SimRegistry registry;
    SimWeb web{[this] { return ElapsedMs(); },
               [this](std::u16string_view file, std::string_view body) { files.AddFile(file, body); }};
    SimSound sound{[this](uint32_t ms) { Sleep(ms); }};
    CpuSignature cpuSignature{0x000906EA, 0xBFEBFBFF};
    HardwareFacts hardware{u"C:\\", 256060514304, u"Player"};
    // The processes; tests and desktop descriptions add them.
    SimProcesses processes{[this] { return ElapsedMs(); }, [this](uint64_t ms) { Advance(ms * 1000); }};
    // SQLite through the machine's library; no ADO.
    SimDatabases databases;
    Windows1252CodePage codePage;
    // The simulated disk, in a real folder; what the player writes is
    // stamped with the virtual wall clock.
    SimFiles files{[this] { return options_.epochSeconds + static_cast<int64_t>(nowUs_ / 1000000); }};

    // What the simulated desktop holds now.
    bool ProgressWindowOpen() const { return progressWindow_.IsOpen(); }
    SimProgressWindow& Window() { return progressWindow_; }
    // The user presses a hotkey; false when the progress window holds none
    // for these RegisterHotKey modifiers and key.
    bool PressHotkey(uint32_t modifiers, uint32_t key) { return progressWindow_.PressHotkey(modifiers, key); }
    std::u16string CurrentDirectory() { return files.GetCurrentDirectory(); }
    // The user moves the mouse, or another program puts a text on the
    // clipboard: nothing the player did, so nothing is traced.
    void PlaceCursor(int32_t x, int32_t y) { cursor_ = {x, y}; }
    void PutOnClipboard(std::u16string_view text) { DoSetClipboardText(text); }
    void PutImageOnClipboard(const VBmp& picture) { DoSetClipboardImage(picture); }

    Clock& GetClock() override { return *this; }
    Input& GetInput() override { return *this; }
    Screen& GetScreen() override { return *this; }
    Clipboard& GetClipboard() override { return *this; }
    Dialogs& GetDialogs() override { return *this; }
    Files& GetFiles() override { return files; }
    ImageFiles& GetImageFiles() override { return *this; }
    System& GetSystem() override { return *this; }
    ProgressWindow& GetProgressWindow() override { return *this; }
    Windows& GetWindows() override { return windows; }
    ScriptWindows& GetScriptWindows() override { return scriptWindows; }
    Registry& GetRegistry() override { return registry; }
    Web& GetWeb() override { return web; }
    Sound& GetSound() override { return sound; }
    Processes& GetProcesses() override { return processes; }
    Databases& GetDatabases() override { return databases; }
    CodePage& GetCodePage() override { return codePage; }

    uint32_t TickCount() override {
        Advance(options_.callCostUs);
        return options_.uptimeMs + static_cast<uint32_t>(nowUs_ / 1000);
    }
    uint32_t TraceClock() override { return options_.uptimeMs + static_cast<uint32_t>(nowUs_ / 1000); }
    void Sleep(uint32_t ms) override { Advance(static_cast<uint64_t>(ms) * 1000); }
    int64_t Now() override;
    bool ToLocalTime(int64_t seconds, LocalTime& out) override;
    void PumpMessages() override;

    Point GetCursorPos() override { return cursor_; }
    ScreenSize GetScreenSize() override { return options_.screen; }
    // The area of the screen at this virtual moment, as a capture sees it
    // (black off the screen), in the display's physical pixels.
    VBmp ScreenPart(const ScreenRect& area) const;
    // The same into `out`, whose buffer is reused; no picture (bits per
    // pixel 0) when the area has no size.
    void DrawScreenPart(const ScreenRect& area, VBmp& out) const;
    // Display scaling: the display has this percent of the logical screen's
    // pixels (150 on a display set to show everything half as big again).
    // Screen pictures are drawn in physical pixels; positions stay logical.
    int32_t displayScalePercent = 100;
    ScreenSize PhysicalScreenSize() const {
        return {static_cast<int32_t>(int64_t{options_.screen.width} * displayScalePercent / 100),
                static_cast<int32_t>(int64_t{options_.screen.height} * displayScalePercent / 100)};
    }
    bool ButtonsSwapped() override { return buttonsSwapped; }
    OsVersion GetOsVersion() override { return osVersion; }
    CpuSignature ProcessorSignature() override { return cpuSignature; }
    HardwareFacts Hardware() override { return hardware; }
    // A US English keyboard layout, and its key names.
    uint32_t MapVirtualKey(uint32_t code) override;
    int16_t VkKeyScan(char16_t c) override;
    std::u16string KeyNameText(uint32_t lParam) override;
    bool CapsLockOn() override { return capsLock; }
    bool IsKeyDown(uint8_t vk) override { return heldKeys_.count(vk) != 0; }
    const std::set<uint8_t>& HeldKeys() const { return heldKeys_; }

    std::u16string GetClipboardText() override { return clipboard_; }
    std::optional<VBmp> GetClipboardImage() override { return clipboardImage_; }
    std::string GetClipboardHtml() override { return clipboardHtml_; }
    bool JoinClipboardChain() override { return progressWindow_.JoinClipboardChain(); }
    uint32_t ClipboardNotices() override { return progressWindow_.ClipboardNotices(); }
    void LeaveClipboardChain() override { progressWindow_.LeaveClipboardChain(); }

    // Records the request; nothing goes down.
    std::vector<uint32_t> exitWindowsFlags;

    // Image files are read from the real disk (the screen's pictures come
    // from there too).
    std::optional<VBmp> LoadImage(std::u16string_view path) override;
    std::optional<VBmp> DecodeImage(std::span<const uint8_t> bytes) override;

    void SeedRandom(uint32_t seed) override { random_ = seed; }
    uint32_t Random() override;

protected:
    void DoMouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data) override;
    // Keys go down and up on a simulated keyboard, so tests can see what is held.
    void DoKeybdEvent(uint8_t vk, uint8_t, uint32_t flags) override;
    void DoSetCursorPos(int32_t x, int32_t y) override { cursor_ = {x, y}; }
    bool DoSendInput(const std::vector<KeyInput>& records) override;

    bool DoOpen(ProgressWindowBehaviour& behaviour) override;
    void DoShowLine(ProgressLine, std::u16string_view) override { Advance(options_.callCostUs); }
    void DoClose() override { progressWindow_.Close(); }
    ProgressWindowHost* ShownWindow() override {
        return progressWindow_.IsOpen() && progressWindow_.Visible() ? &progressWindow_ : nullptr;
    }

    int32_t DoMessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) override;
    // Answered like any box unless timedBoxesTimeOut: then the time passes.
    int32_t DoMessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                                uint32_t timeoutMs) override;
    // Closed at once, as if OK were pressed.
    void DoShowScriptError(std::u16string_view /*text*/) override {}
    // Ticks in virtual time until the dialog is cancelled or its timer stops.
    void DoRunCountdownDialog(CountdownDialog& dialog) override;
    // The dialogs that ask are answered from dialogAnswers (SimDialogs.cpp).
    DialogAnswer DoRunInputBox(const InputBoxRequest& request) override;
    DialogAnswer DoRunSelectList(const SelectListRequest& request) override;
    DialogButton DoRunConfirmBox(const ConfirmRequest& request) override;
    InputParaAnswer DoRunInputPara(const InputParaRequest& request) override;

    bool DoSetClipboardText(std::u16string_view text) override;
    bool DoSetClipboardImage(const VBmp& picture) override;
    bool DoSetClipboardHtml(std::string_view htmlFormat, std::u16string_view text) override;
    // The screen is the screen pictures' at the virtual moment; a window is
    // the part of the screen under its rectangle (black off the screen).
    bool DoCaptureScreen(ScreenCapture& out) override;
    bool DoCaptureArea(const ScreenRect& area, VBmp& out) override;
    bool DoCaptureWindow(uint32_t window, VBmp& out) override;
    // Writes an empty file on the simulated disk: the trace tells what
    // would have been written. An encoder type the real
    // desktop lacks ("image/tif") saves nothing here either.
    bool DoSaveImage(const VBmp& picture, std::u16string_view path, const ImageEncoding& encoding) override;
    bool DoShellExecute(std::u16string_view, std::u16string_view, std::u16string_view, int32_t) override {
        return true;
    }
    bool DoEnableShutdownPrivilege() override { return !shutdownPrivilegeRefused; }
    bool DoExitWindows(uint32_t flags, uint32_t) override {
        exitWindowsFlags.push_back(flags);
        return true;
    }

private:
    friend class SimProgressWindow;

    // The next answer for a dialog that asks; none once they are used up.
    std::optional<SimDialogAnswer> NextDialogAnswer();

    // Runs what falls due up to the virtual time `untilUs`, each at its time.
    void RunWindowEvents(uint64_t untilUs);
    // The same as the window's thread, whose own time only moves the clock;
    // and the time limit's report. Both are rare: Advance, which every clock
    // read passes through, stays small enough to inline without them.
    [[gnu::noinline]] void RunWindowThread(uint64_t untilUs);
    [[gnu::noinline]] void ReportTimeLimit();
    // The first virtual microsecond past options.maxMs, or never.
    static uint64_t LimitUs(uint64_t maxMs);
    // Whether RunWindowEvents would find anything to do by `untilUs`: every
    // clock read passes here, and almost always nothing is due.
    bool WindowEventDue(uint64_t untilUs) const {
        return clipboardChangesDone_ < clipboardChanges.size() || progressWindow_.NextTickUs() <= untilUs;
    }

    SimOptions options_;
    uint64_t nowUs_ = 0;
    uint64_t limitUs_;  // never once the limit was reported
    Point cursor_{0, 0};
    std::u16string clipboard_;
    std::optional<VBmp> clipboardImage_;
    std::string clipboardHtml_;
    SimProgressWindow progressWindow_{*this};
    bool inWindowThread_ = false;
    size_t clipboardChangesDone_ = 0;
    uint32_t random_ = 1;
    std::set<uint8_t> heldKeys_;
};

// The first button's id for a message box style (what an immediate click on
// the default button would answer).
int32_t FirstButtonOf(uint32_t style);

}  // namespace ovrix
