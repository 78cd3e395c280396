#include "platform/win32/CountdownDialog.h"

#include "platform/win32/CentreWindow.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Wide.h"

namespace ovrix::win32 {

namespace {

constexpr UINT_PTR kCountdownTimerId = 100;
constexpr COLORREF kStaticBackground = RGB(0xF6, 0xF6, 0xF6);

void SetText(HWND window, const std::u16string& text) { ::SetWindowTextW(window, ToWide(text).c_str()); }

}  // namespace

void CDoShutdownDlg::Run() { RunModal(::GetModuleHandleW(nullptr), IDD_SHUTDOWN_DIALOG, nullptr); }

bool CDoShutdownDlg::OnInitDialog() {
    const HWND dialog = Handle();
    staticBackground_.Reset(::CreateSolidBrush(kStaticBackground));
    const CountdownDialog::Texts texts = logic_.Initial();
    SetText(dialog, texts.title);
    SetText(::GetDlgItem(dialog, IDC_SHUTDOWN_MESSAGE), texts.message);
    SetText(::GetDlgItem(dialog, IDC_SHUTDOWN_IMMEDIATE), texts.button);
    SetText(::GetDlgItem(dialog, IDC_SHUTDOWN_COUNTDOWN), texts.countdown);
    timerRunning_ = ::SetTimer(dialog, kCountdownTimerId, logic_.TimerPeriodMs(), nullptr) != 0;
    CentreOnPrimaryScreen(dialog);
    // The focus starts on Cancel: a focused push button takes Enter and Space,
    // and neither may start the action unasked.
    ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(dialog, IDCANCEL)), TRUE);
    return false;
}

std::optional<LRESULT> CDoShutdownDlg::OnCommand(int id, int) {
    switch (id) {
        case IDC_SHUTDOWN_IMMEDIATE:
            Apply(logic_.Immediate());
            return 0;
        case IDCANCEL:
            StopTimer();
            ::EndDialog(Handle(), IDCANCEL);
            return 0;
        default:
            // Anything else (IDOK among them, which the dialog manager may
            // send for Enter) neither ends the dialog nor starts the action.
            return 0;
    }
}

std::optional<LRESULT> CDoShutdownDlg::OnTimer(UINT_PTR id) {
    // A tick already queued when the timer stopped is stale.
    if (id != kCountdownTimerId || !timerRunning_) return std::nullopt;
    Apply(logic_.Tick());
    return 0;
}

std::optional<LRESULT> CDoShutdownDlg::OnDestroy() {
    StopTimer();
    return std::nullopt;
}

// Static texts are drawn transparently over the light brush.
std::optional<LRESULT> CDoShutdownDlg::OnOtherMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_CTLCOLORSTATIC || !staticBackground_) return std::nullopt;
    ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    return reinterpret_cast<LRESULT>(staticBackground_.Get());
}

void CDoShutdownDlg::Apply(const CountdownDialog::Update& update) {
    // Once the logic says the countdown is over, no further tick may reach it.
    if (update.stopTimer) StopTimer();
    SetText(::GetDlgItem(Handle(), IDC_SHUTDOWN_COUNTDOWN), update.countdown);
    if (update.afterShown) update.afterShown();
}

void CDoShutdownDlg::StopTimer() {
    if (!timerRunning_) return;
    ::KillTimer(Handle(), kCountdownTimerId);
    timerRunning_ = false;
}

}  // namespace ovrix::win32
