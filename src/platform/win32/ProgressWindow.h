// The progress window as it stands for now: a small topmost tool window in
// the bottom-right corner of the work area that paints the four progress
// lines, on a thread of its own with its own message loop. It owns the stop
// hotkey (id 1, sets StopRequest) and the pause hotkey (id 2, toggles
// PauseRequest). Deliberately minimal: the dialog template, colours, border,
// flicker-free lines, the step-aside on hover and the clipboard viewer are
// not part of it yet.
//
// Threads: Open, ShowLine and Close are called from the playback thread; the
// window and its hotkeys live on the window thread. The lines cross over
// under a mutex and a repaint request, so the playback thread never waits on
// the window thread except at Open and Close.
#pragma once

#include "platform/win32/WinApi.h"

#include <array>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "platform/Platform.h"
#include "platform/win32/Window.h"

namespace ovrix::win32 {

// "Ctrl + Shift + F2": the modifiers of a stored hotkey, then the key's name.
std::wstring HotkeyDisplayName(uint32_t key, uint32_t modifiers);
// Stored modifier bits (Shift 1, Ctrl 2, Alt 4, extended 8) as RegisterHotKey flags.
UINT HotkeyModifiers(uint32_t modifiers);

class ProgressWindow : private Window {
public:
    using Window::WindowProc;
    ProgressWindow() = default;
    ~ProgressWindow() override;

    // Starts the thread and waits until the window exists; false when it
    // could not be made.
    bool Open(const ProgressWindowSettings& settings);
    void ShowLine(ProgressLine line, std::u16string_view text);
    // Destroys the window and waits for its thread to end.
    void Close();

private:
    void ThreadMain();
    void RegisterHotkeys();
    void MoveToCorner();

    std::optional<LRESULT> OnPaint() override;
    std::optional<LRESULT> OnHotkey(int id) override;
    std::optional<LRESULT> OnSysCommand(WPARAM) override { return 0; }  // not closed or moved by keys
    std::optional<LRESULT> OnDestroy() override;

    ProgressWindowSettings settings_;
    std::thread thread_;
    HWND window_ = nullptr;  // set by the window thread while its window lives

    std::mutex mutex_;
    std::condition_variable started_;
    bool startDone_ = false;
    bool startOk_ = false;
    std::array<std::wstring, 4> lines_;
};

}  // namespace ovrix::win32
