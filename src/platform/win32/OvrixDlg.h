// The hidden main dialog. It never becomes visible: its template has no
// WS_VISIBLE style and nothing shows it. At its birth it posts itself one
// private message, whose handler is the playback driver; when playback ends
// the dialog closes itself, and its destruction ends the main message loop.
#pragma once

#include "platform/win32/Handles.h"
#include "platform/win32/Window.h"

namespace ovrix::win32 {

// The private message that starts playback (WM_APP + 1).
constexpr UINT kPlayMessage = 0x8001;

class COvrixDlg : public Window {
public:
    explicit COvrixDlg(HINSTANCE instance) : instance_(instance) {}
    ~COvrixDlg() override;

    // Creates the dialog, modeless and without parent; false on failure.
    bool Create();

private:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnSysCommand(WPARAM command) override;
    std::optional<LRESULT> OnCommand(int id, int code) override;
    std::optional<LRESULT> OnPaint() override;
    std::optional<LRESULT> OnQueryDragIcon() override;
    std::optional<LRESULT> OnClose() override;
    std::optional<LRESULT> OnDestroy() override;
    std::optional<LRESULT> OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnPlay();

    HINSTANCE instance_;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
};

// The About box (template 100), modal.
class CAboutDlg : public Window {
public:
    INT_PTR Run(HINSTANCE instance, HWND owner);

private:
    std::optional<LRESULT> OnCommand(int id, int code) override;
};

}  // namespace ovrix::win32
