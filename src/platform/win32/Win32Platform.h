// The real Windows desktop: one object is every facet of the Platform, each
// call going straight to the system; tracing is the facets' own portable
// part. A family with a state of its own (windows, processes) gets a class
// of its own, handed out by the Platform accessor of its facet. One instance
// serves the playback (main) thread; the progress window runs on its own
// thread.
#pragma once

#include <memory>

#include "platform/Platform.h"
#include "platform/win32/Win32Automation.h"
#include "platform/win32/Win32CodePage.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Images.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32Sound.h"
#include "platform/win32/Win32Web.h"

namespace ovrix::win32 {

class CVtlProgDlg;
class Win32Windows;
class Win32ScriptWindows;
class Win32Processes;
class Win32Databases;

class Win32Platform : public Platform,
                      public Clock,
                      public Input,
                      public Screen,
                      public Clipboard,
                      public Dialogs,
                      public System,
                      public ProgressWindow {
public:
    Win32Platform();
    ~Win32Platform() override;

    Clock& GetClock() override { return *this; }
    Input& GetInput() override { return *this; }
    Screen& GetScreen() override { return *this; }
    Clipboard& GetClipboard() override { return *this; }
    Dialogs& GetDialogs() override { return *this; }
    Files& GetFiles() override { return files_; }
    ImageFiles& GetImageFiles() override { return images_; }
    System& GetSystem() override { return *this; }
    Windows& GetWindows() override;
    ScriptWindows& GetScriptWindows() override;
    ProgressWindow& GetProgressWindow() override { return *this; }
    Registry& GetRegistry() override { return registry_; }
    Web& GetWeb() override { return web_; }
    Sound& GetSound() override { return sound_; }
    Automation& GetAutomation() override { return automation_; }
    Processes& GetProcesses() override;
    Databases& GetDatabases() override;
    CodePage& GetCodePage() override { return codePage_; }

    uint32_t TickCount() override;
    void Sleep(uint32_t ms) override;
    int64_t Now() override;
    bool ToLocalTime(int64_t seconds, LocalTime& out) override;
    void PumpMessages() override;

    Point GetCursorPos() override;
    bool ButtonsSwapped() override;
    uint32_t MapVirtualKey(uint32_t code) override;
    int16_t VkKeyScan(char16_t c) override;
    std::u16string KeyNameText(uint32_t lParam) override;
    bool CapsLockOn() override;
    bool IsKeyDown(uint8_t vk) override;

    ScreenSize GetScreenSize() override;

    std::u16string GetClipboardText() override;
    std::optional<VBmp> GetClipboardImage() override;  // Win32Images.cpp
    std::string GetClipboardHtml() override;            // Win32ClipboardHtml.cpp
    bool JoinClipboardChain() override;
    uint32_t ClipboardNotices() override;
    void LeaveClipboardChain() override;

    OsVersion GetOsVersion() override;
    CpuSignature ProcessorSignature() override;  // Win32Machine.cpp
    HardwareFacts Hardware() override;           // Win32Machine.cpp
    void SeedRandom(uint32_t seed) override;
    uint32_t Random() override;

protected:
    void DoMouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data) override;
    void DoKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) override;
    void DoSetCursorPos(int32_t x, int32_t y) override;
    bool DoSendInput(const std::vector<KeyInput>& records) override;

    bool DoSetClipboardText(std::u16string_view text) override;
    bool DoSetClipboardImage(const VBmp& picture) override;  // Win32Images.cpp
    bool DoSetClipboardHtml(std::string_view htmlFormat, std::u16string_view text) override;  // Win32ClipboardHtml.cpp

    // Win32Capture.cpp
    bool DoCaptureScreen(ScreenCapture& out) override;
    bool DoCaptureArea(const ScreenRect& area, VBmp& out) override;
    bool DoCaptureWindow(uint32_t window, VBmp& out) override;

    int32_t DoMessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) override;
    int32_t DoMessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                                uint32_t timeoutMs) override;
    void DoShowScriptError(std::u16string_view text) override;
    void DoRunCountdownDialog(CountdownDialog& dialog) override;
    DialogAnswer DoRunInputBox(const InputBoxRequest& request) override;
    DialogAnswer DoRunSelectList(const SelectListRequest& request) override;
    DialogButton DoRunConfirmBox(const ConfirmRequest& request) override;
    InputParaAnswer DoRunInputPara(const InputParaRequest& request) override;

    bool DoShellExecute(std::u16string_view verb, std::u16string_view file, std::u16string_view parameters,
                        int32_t show) override;
    bool DoEnableShutdownPrivilege() override;
    bool DoExitWindows(uint32_t flags, uint32_t reason) override;

    bool DoOpen(ProgressWindowBehaviour& behaviour) override;
    void DoShowLine(ProgressLine line, std::u16string_view text) override;
    void DoClose() override;
    ProgressWindowHost* ShownWindow() override;

private:
    std::unique_ptr<CVtlProgDlg> progress_;
    std::unique_ptr<Win32Windows> windows_;
    std::unique_ptr<Win32ScriptWindows> scriptWindows_;
    std::unique_ptr<Win32Processes> processes_;
    std::unique_ptr<Win32Databases> databases_;
    Win32ImageFiles images_;
    Win32Automation automation_;
    Win32Registry registry_;
    Win32Web web_;
    Win32Sound sound_;
    Win32Files files_;
    Win32CodePage codePage_;
};

}  // namespace ovrix::win32
