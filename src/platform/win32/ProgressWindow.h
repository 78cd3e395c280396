// The real progress window: a borderless, topmost dialog (template 103) with
// four lines, on a thread of its own with its own message loop. What it shows
// and does (script line, hotkeys, place, step aside, pause) is decided by the
// portable ProgressWindowBehaviour; this class only carries it out and hands
// timer ticks and hotkeys back to it.
//
// Threads: Open, ShowLine, Close and the clipboard-chain calls come from the
// playback thread. The playback thread never waits on the window's thread for
// a line: lines cross under a mutex and one posted message, so neither
// thread can block the other when one of them sits in a message box. Open
// waits until the window has started; Close waits until the window's loop
// has ended; the clipboard-chain calls wait, bounded, for the window to join
// or leave the chain.
#pragma once

#include "platform/win32/WinApi.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Platform.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Window.h"

namespace ovrix::win32 {

// A static control that keeps its own text and paints it off-screen, then
// copies it in one transfer: lines that change many times a second do not
// flicker. Setting the text it already has does nothing.
class CNoFlashStatic {
public:
    CNoFlashStatic();
    ~CNoFlashStatic();
    CNoFlashStatic(const CNoFlashStatic&) = delete;
    CNoFlashStatic& operator=(const CNoFlashStatic&) = delete;

    // Takes over the control; its current text becomes the kept text.
    void Subclass(HWND control);
    void SetText(std::wstring text);

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    void Paint();

    HWND control_ = nullptr;
    std::wstring text_;
    UniqueBrush background_;
};

class CVtlProgDlg : public Window, public ProgressWindowHost {
public:
    CVtlProgDlg();
    ~CVtlProgDlg() override;

    // Starts the thread and waits until the window exists and the behaviour
    // has started it; false when the window could not be made.
    bool Open(ProgressWindowBehaviour& behaviour);
    void ShowLine(ProgressLine line, std::u16string_view text);
    // Ends the window's loop and waits until the behaviour is no longer
    // called; the window thread then destroys the window, which gives its
    // hotkeys back. The next Open or the destructor waits for that.
    void Close();

    // From the playback thread: whether the window lives and is shown.
    bool IsShown();

    bool JoinClipboardChain();
    uint32_t ClipboardNotices() const { return notices_.load(std::memory_order_relaxed); }
    void LeaveClipboardChain();

    // ProgressWindowHost, on the window's thread (Frame, MoveTo, WorkArea and
    // FullScreenSize also on the playback thread: they only ask the system).
    bool RegisterHotkey(int32_t id, uint32_t modifiers, uint32_t key) override;
    ScreenRect Frame() override;
    void MoveTo(ProgressCorner corner, Point at) override;
    void Show(bool visible) override;
    bool WorkArea(ScreenRect& out) override;
    ScreenSize FullScreenSize() override;
    Point CursorPos() override;
    int32_t MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) override;
    std::u16string ProgramPath() override;
    void SetScriptLine(std::u16string_view text) override;
    void StartTimer(uint32_t periodMs) override;

private:
    void ThreadMain();
    void ApplyLines();
    void JoinChainHere();
    void LeaveChainHere();
    // Sends a private message to the window and waits, bounded, for its answer.
    bool AskWindow(UINT message);

    bool OnInitDialog() override;
    std::optional<LRESULT> OnEraseBackground(HDC dc) override;
    std::optional<LRESULT> OnTimer(UINT_PTR id) override;
    std::optional<LRESULT> OnHotkey(int id) override;
    std::optional<LRESULT> OnSysCommand(WPARAM) override { return 0; }  // not closed or moved by keys
    std::optional<LRESULT> OnClose() override { return 0; }
    std::optional<LRESULT> OnDestroy() override;
    std::optional<LRESULT> OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    ProgressWindowBehaviour* behaviour_ = nullptr;
    std::thread thread_;
    std::atomic<bool> closing_{false};
    UniqueBrush background_;
    CNoFlashStatic step_;
    CNoFlashStatic status_;

    // Shared with the playback thread, under mutex_.
    std::mutex mutex_;
    std::condition_variable changed_;
    bool startDone_ = false;
    bool startOk_ = false;
    bool loopEnded_ = true;
    HWND window_ = nullptr;  // while the window lives
    std::array<std::wstring, 4> pendingLines_;
    unsigned pendingMask_ = 0;
    bool linesPosted_ = false;

    // The clipboard-viewer chain; the successor only on the window's thread.
    HWND chainSuccessor_ = nullptr;
    bool inChain_ = false;
    std::atomic<uint32_t> notices_{0};
};

}  // namespace ovrix::win32
