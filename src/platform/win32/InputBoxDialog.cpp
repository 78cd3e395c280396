#include "platform/win32/InputBoxDialog.h"

#include <array>

#include "platform/win32/CentreWindow.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Wide.h"

namespace ovrix::win32 {

namespace {

constexpr COLORREF kBackground = RGB(0xF6, 0xF6, 0xF6);
// The multi-line box's controls, in the order CInputBoxML keeps their places.
constexpr std::array<int, 4> kLaidOut = {IDC_INPUT_PROMPT, IDC_INPUT_TEXT, IDOK, IDCANCEL};

std::wstring ControlText(HWND dialog, int id) {
    const HWND control = ::GetDlgItem(dialog, id);
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

// A child's rectangle in its dialog's client coordinates.
RECT ChildRect(HWND dialog, int id) {
    RECT r{};
    ::GetWindowRect(::GetDlgItem(dialog, id), &r);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

CInputBox::CInputBox(const InputBoxRequest& request, bool multiLine)
    : title_(ToWide(request.caption)),
      prompt_(ToWide(request.prompt)),
      text_(ToWide(request.text)),
      multiLine_(multiLine) {}

DialogAnswer CInputBox::Run() {
    const INT_PTR result =
        RunModal(::GetModuleHandleW(nullptr), multiLine_ ? IDD_INPUT_BOX_ML : IDD_INPUT_BOX, nullptr);
    if (result != IDOK) return {DialogButton::Cancel, {}};
    return {DialogButton::Ok, FromWide(text_)};
}

bool CInputBox::OnInitDialog() {
    const HWND dialog = Handle();
    background_.Reset(::CreateSolidBrush(kBackground));
    if (!title_.empty()) ::SetWindowTextW(dialog, title_.c_str());
    ::SetDlgItemTextW(dialog, IDC_INPUT_PROMPT, prompt_.c_str());
    ::SetDlgItemTextW(dialog, IDC_INPUT_TEXT, text_.c_str());
    CentreAndBringForward(dialog);
    return true;  // the focus goes to the edit field, the first tab stop
}

std::optional<LRESULT> CInputBox::OnCommand(int id, int) {
    if (id == IDOK) text_ = ControlText(Handle(), IDC_INPUT_TEXT);
    if (id != IDOK && id != IDCANCEL) return std::nullopt;
    ::EndDialog(Handle(), id);
    return 0;
}

std::optional<LRESULT> CInputBox::OnOtherMessage(UINT message, WPARAM wParam, LPARAM) {
    if (!background_) return std::nullopt;
    switch (message) {
        case WM_CTLCOLORDLG:
            return reinterpret_cast<LRESULT>(background_.Get());
        case WM_CTLCOLORSTATIC:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(background_.Get());
        default:
            return std::nullopt;
    }
}

CInputBoxML::CInputBoxML(const InputBoxRequest& request) : CInputBox(request, true) { edit_.tabAppends = 1; }

bool CInputBoxML::OnInitDialog() {
    const HWND dialog = Handle();
    edit_.Subclass(::GetDlgItem(dialog, IDC_INPUT_TEXT));
    RECT client{}, frame{};
    ::GetClientRect(dialog, &client);
    ::GetWindowRect(dialog, &frame);
    initialClient_ = {client.right, client.bottom};
    initialFrame_ = {frame.right - frame.left, frame.bottom - frame.top};
    for (size_t i = 0; i < kLaidOut.size(); ++i) initialPlaces_[i] = ChildRect(dialog, kLaidOut[i]);
    return CInputBox::OnInitDialog();
}

void CInputBoxML::Layout(int width, int height) {
    const HWND dialog = Handle();
    const int dx = width - initialClient_.cx;
    const int dy = height - initialClient_.cy;
    auto place = [&](size_t index, int x, int y, int growX, int growY) {
        const RECT& r = initialPlaces_[index];
        ::SetWindowPos(::GetDlgItem(dialog, kLaidOut[index]), nullptr, r.left + x, r.top + y,
                       r.right - r.left + growX, r.bottom - r.top + growY, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(0, 0, 0, dx, 0);
    place(1, 0, 0, dx, dy);
    place(2, dx / 2, dy, 0, 0);
    place(3, dx / 2, dy, 0, 0);
    ::InvalidateRect(dialog, nullptr, TRUE);
}

std::optional<LRESULT> CInputBoxML::OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && initialClient_.cx > 0 && wParam != SIZE_MINIMIZED) {
        Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    }
    if (message == WM_GETMINMAXINFO && initialFrame_.cx > 0) {
        // Never smaller than the template: the controls would overlap.
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize = {initialFrame_.cx, initialFrame_.cy};
        return 0;
    }
    return CInputBox::OnOtherMessage(message, wParam, lParam);
}

}  // namespace ovrix::win32
