// Desktop: what the player's portable code calls to act on the desktop. It
// forwards to a Platform and writes the action trace, so the real player and
// the simulated desktop trace the same actions in the same words. It also
// remembers the progress window's four lines, which the engine reads back.
//
// The progress window runs on a thread of its own on the real desktop, and
// traces from there too: trace lines are written under a lock.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/Platform.h"
#include "platform/Trace.h"

namespace ovrix {

// Message box styles and answers the player uses.
constexpr uint32_t kMbOk = 0x0;
constexpr int32_t kIdOk = 1;

// The title of the player's own message boxes.
inline constexpr std::u16string_view kAppTitle = u"Ovrix";

class Desktop {
public:
    Desktop(Platform& platform, Trace trace) : platform_(platform), trace_(std::move(trace)) { BeginTrace(); }
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    Platform& Raw() { return platform_; }

    // Trace times count from the desktop's creation, and again from the
    // beginning of playback.
    void BeginTrace() { trace_.SetOrigin(platform_.TraceClock()); }
    void TraceEvent(std::string_view event, std::string_view args = {});
    // Callers on hot paths skip building a line nobody reads.
    bool Tracing() const { return trace_.Enabled(); }

    uint32_t TickCount() { return platform_.TickCount(); }
    void Sleep(uint32_t ms) { platform_.Sleep(ms); }
    int64_t Now() { return platform_.Now(); }
    bool ToLocalTime(int64_t seconds, LocalTime& out) { return platform_.ToLocalTime(seconds, out); }
    void PumpMessages() { platform_.PumpMessages(); }

    void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data);
    void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags);
    void SetCursorPos(int32_t x, int32_t y);
    Point GetCursorPos() { return platform_.GetCursorPos(); }
    ScreenSize GetScreenSize() { return platform_.GetScreenSize(); }
    bool ButtonsSwapped() { return platform_.ButtonsSwapped(); }
    OsVersion GetOsVersion() { return platform_.GetOsVersion(); }
    uint32_t MapVirtualKey(uint32_t code) { return platform_.MapVirtualKey(code); }
    int16_t VkKeyScan(char16_t c) { return platform_.VkKeyScan(c); }
    bool CapsLockOn() { return platform_.CapsLockOn(); }
    bool IsKeyDown(uint8_t vk) { return platform_.IsKeyDown(vk); }
    bool SendInput(const std::vector<KeyInput>& records);

    // Opens the progress window with the image's settings: its script line,
    // hotkeys, place and visibility are decided and traced on the way.
    bool OpenProgressWindow(const ProgressWindowSettings& settings);
    void CloseProgressWindow();
    // Writes a line; only a change is shown and traced.
    void SetLine(ProgressLine line, std::u16string_view text);
    const std::u16string& GetLine(ProgressLine line) const { return lines_[static_cast<size_t>(line)]; }

    int32_t MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style);
    int32_t MessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style, uint32_t timeoutMs);
    // A plain message box with the player's title and an OK button.
    void ShowMessage(std::u16string_view text) { MessageBox(text, kAppTitle, kMbOk); }
    // The script error dialog; returns when the user has closed it.
    void ShowScriptError(std::u16string_view text);
    // Runs the dialog, tracing what it shows.
    void RunCountdownDialog(CountdownDialog& dialog);

    bool SetClipboardText(std::u16string_view text);
    std::u16string GetClipboardText() { return platform_.GetClipboardText(); }
    bool JoinClipboardChain() { return platform_.JoinClipboardChain(); }
    uint32_t ClipboardNotices() { return platform_.ClipboardNotices(); }
    void LeaveClipboardChain() { platform_.LeaveClipboardChain(); }
    bool ShellExecute(std::u16string_view verb, std::u16string_view file, std::u16string_view parameters,
                      int32_t show);

    uint32_t CopyFile(std::u16string_view source, std::u16string_view destination);
    uint32_t DeleteFile(std::u16string_view path);
    bool EnableShutdownPrivilege();
    bool ExitWindows(uint32_t flags, uint32_t reason);

    std::u16string GetCurrentDirectory() { return platform_.GetCurrentDirectory(); }
    bool FileExists(std::u16string_view path) { return platform_.FileExists(path); }
    bool SetCurrentDirectory(std::u16string_view path) { return platform_.SetCurrentDirectory(path); }
    void SeedRandom(uint32_t seed) { platform_.SeedRandom(seed); }
    uint32_t Random() { return platform_.Random(); }

private:
    friend class TracedProgressHost;
    // Remembers and traces a line; false when it did not change.
    bool RecordLine(ProgressLine line, std::u16string_view text);

    Platform& platform_;
    Trace trace_;
    std::mutex traceMutex_;
    std::array<std::u16string, 4> lines_;
    // While the window is open: the traced progress-window logic.
    std::unique_ptr<ProgressWindowBehaviour> progress_;
};

}  // namespace ovrix
