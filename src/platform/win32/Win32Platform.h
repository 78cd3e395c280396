// The real Windows desktop behind the Platform interface. Every call goes
// straight to the system; tracing is Desktop's job. One instance serves the
// playback (main) thread; the progress window runs on its own thread.
#pragma once

#include <memory>

#include "platform/Platform.h"

namespace ovrix::win32 {

class CVtlProgDlg;

class Win32Platform : public Platform {
public:
    Win32Platform();
    ~Win32Platform() override;

    uint32_t TickCount() override;
    void Sleep(uint32_t ms) override;
    int64_t Now() override;
    bool ToLocalTime(int64_t seconds, LocalTime& out) override;
    void PumpMessages() override;

    void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data) override;
    void KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) override;
    void SetCursorPos(int32_t x, int32_t y) override;
    Point GetCursorPos() override;
    ScreenSize GetScreenSize() override;
    bool ButtonsSwapped() override;
    OsVersion GetOsVersion() override;
    uint32_t MapVirtualKey(uint32_t code) override;
    int16_t VkKeyScan(char16_t c) override;
    bool CapsLockOn() override;
    bool IsKeyDown(uint8_t vk) override;
    bool SendInput(const std::vector<KeyInput>& records) override;

    bool OpenProgressWindow(ProgressWindowBehaviour& behaviour) override;
    void ShowProgressLine(ProgressLine line, std::u16string_view text) override;
    void CloseProgressWindow() override;
    std::u16string KeyNameText(uint32_t lParam) override;
    bool JoinClipboardChain() override;
    uint32_t ClipboardNotices() override;
    void LeaveClipboardChain() override;

    int32_t MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) override;
    int32_t MessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                              uint32_t timeoutMs) override;
    void ShowScriptError(std::u16string_view text) override;
    void RunCountdownDialog(CountdownDialog& dialog) override;

    bool SetClipboardText(std::u16string_view text) override;
    std::u16string GetClipboardText() override;
    bool ShellExecute(std::u16string_view verb, std::u16string_view file, std::u16string_view parameters,
                      int32_t show) override;

    uint32_t CopyFile(std::u16string_view source, std::u16string_view destination) override;
    uint32_t DeleteFile(std::u16string_view path) override;
    bool EnableShutdownPrivilege() override;
    bool ExitWindows(uint32_t flags, uint32_t reason) override;

    std::u16string GetCurrentDirectory() override;
    bool SetCurrentDirectory(std::u16string_view path) override;
    bool FileExists(std::u16string_view path) override;
    void SeedRandom(uint32_t seed) override;
    uint32_t Random() override;

private:
    std::unique_ptr<CVtlProgDlg> progress_;
};

}  // namespace ovrix::win32
