// The shutdown countdown dialog (template 104). The window only shows texts
// and forwards events: what the lines say and when the action happens is the
// portable CountdownDialog's business. A timer of the logic's period calls
// Tick(); the immediate button calls Immediate(); an update that says so
// stops the timer for good. Cancel (or Esc, or the close box) ends the dialog.
#pragma once

#include "platform/Platform.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Window.h"

namespace ovrix::win32 {

class CDoShutdownDlg : public Window {
public:
    explicit CDoShutdownDlg(CountdownDialog& logic) : logic_(logic) {}

    // Runs the dialog modally without an owner until it is cancelled.
    void Run();

private:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnCommand(int id, int code) override;
    std::optional<LRESULT> OnTimer(UINT_PTR id) override;
    std::optional<LRESULT> OnDestroy() override;
    std::optional<LRESULT> OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void Apply(const CountdownDialog::Update& update);
    void StopTimer();

    CountdownDialog& logic_;
    UniqueBrush staticBackground_;
    bool timerRunning_ = false;
};

}  // namespace ovrix::win32
