#include "platform/win32/ProgressWindow.h"

#include <commctrl.h>

#include "platform/win32/Resource.h"
#include "platform/win32/Wide.h"

namespace ovrix::win32 {

namespace {

constexpr COLORREF kBackground = 0xF6F6F6;  // light grey
constexpr COLORREF kBorder = 0xDB5D24;      // blue
constexpr UINT_PTR kTimerId = 100;
constexpr UINT_PTR kSubclassId = 1;

// Private messages to the window's thread.
constexpr UINT kLinesMessage = WM_APP + 10;       // lines are waiting in pendingLines_
constexpr UINT kJoinChainMessage = WM_APP + 11;
constexpr UINT kLeaveChainMessage = WM_APP + 12;
constexpr UINT kWakeMessage = WM_APP + 13;        // the loop looks at closing_
// How long the playback thread waits for the window to join or leave the
// clipboard chain, and the window for another viewer in the chain.
constexpr UINT kAskTimeoutMs = 5000;
constexpr UINT kForwardTimeoutMs = 1000;

struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type dc) { ::DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniquePen = UniqueResource<GdiObjectTraits<HPEN>>;

int ControlOf(ProgressLine line) {
    switch (line) {
        case ProgressLine::Repeat: return IDC_PROGRESS_REPEAT;
        case ProgressLine::Step: return IDC_PROGRESS_STEP;
        case ProgressLine::Status: return IDC_PROGRESS_STATUS;
        case ProgressLine::Script: return IDC_PROGRESS_SCRIPT;
    }
    return 0;
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

}  // namespace

// --- CNoFlashStatic

CNoFlashStatic::CNoFlashStatic() : background_(::CreateSolidBrush(kBackground)) {}

CNoFlashStatic::~CNoFlashStatic() {
    if (control_ != nullptr) ::RemoveWindowSubclass(control_, &SubclassProc, kSubclassId);
}

void CNoFlashStatic::Subclass(HWND control) {
    if (control == nullptr) return;
    control_ = control;
    text_ = WindowText(control);
    ::SetWindowSubclass(control, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void CNoFlashStatic::SetText(std::wstring text) {
    if (text == text_) return;
    text_ = std::move(text);
    if (control_ != nullptr) ::InvalidateRect(control_, nullptr, FALSE);
}

LRESULT CALLBACK CNoFlashStatic::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self) {
    auto* control = reinterpret_cast<CNoFlashStatic*>(self);
    switch (message) {
        case WM_PAINT:
            control->Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers every pixel
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, &SubclassProc, kSubclassId);
            control->control_ = nullptr;
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

void CNoFlashStatic::Paint() {
    PaintSession paint(control_);
    RECT client{};
    ::GetClientRect(control_, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    UniqueMemoryDc memory(::CreateCompatibleDC(paint.Dc()));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(paint.Dc(), client.right, client.bottom));
    if (!memory || !bitmap) return;
    SelectedObject useBitmap(memory.Get(), bitmap.Get());
    ::FillRect(memory.Get(), &client, background_.Get());
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(::GetParent(control_), WM_GETFONT, 0, 0));
    SelectedObject useFont(memory.Get(), font != nullptr ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(memory.Get(), TRANSPARENT);
    ::SetTextColor(memory.Get(), ::GetSysColor(COLOR_BTNTEXT));
    ::DrawTextW(memory.Get(), text_.c_str(), static_cast<int>(text_.size()), &client,
                DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::BitBlt(paint.Dc(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
}

// --- CVtlProgDlg: the playback thread's side

CVtlProgDlg::CVtlProgDlg() : background_(::CreateSolidBrush(kBackground)) {}

CVtlProgDlg::~CVtlProgDlg() {
    Close();
    if (thread_.joinable()) thread_.join();
}

bool CVtlProgDlg::Open(ProgressWindowBehaviour& behaviour) {
    Close();
    if (thread_.joinable()) thread_.join();  // the last window is gone
    behaviour_ = &behaviour;
    closing_ = false;
    {
        std::lock_guard lock(mutex_);
        startDone_ = false;
        startOk_ = false;
        loopEnded_ = false;
        pendingMask_ = 0;
        linesPosted_ = false;
    }
    thread_ = std::thread([this] { ThreadMain(); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return startDone_; });
    return startOk_;
}

void CVtlProgDlg::ShowLine(ProgressLine line, std::u16string_view text) {
    const size_t index = static_cast<size_t>(line);
    HWND window = nullptr;
    {
        std::lock_guard lock(mutex_);
        pendingLines_[index] = ToWide(text);
        pendingMask_ |= 1u << index;
        if (linesPosted_ || window_ == nullptr) return;
        linesPosted_ = true;
        window = window_;
    }
    ::PostMessageW(window, kLinesMessage, 0, 0);
}

void CVtlProgDlg::Close() {
    HWND window = nullptr;
    {
        std::lock_guard lock(mutex_);
        window = window_;
    }
    closing_ = true;
    if (window != nullptr) ::PostMessageW(window, kWakeMessage, 0, 0);
    // The destruction that follows the loop may take a while (a window
    // manager acknowledging the unmap): playback does not wait for it.
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return loopEnded_; });
}

bool CVtlProgDlg::AskWindow(UINT message) {
    HWND window = nullptr;
    {
        std::lock_guard lock(mutex_);
        window = window_;
    }
    if (window == nullptr) return false;
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(window, message, 0, 0, SMTO_NORMAL, kAskTimeoutMs, &answer) != 0 && answer != 0;
}

bool CVtlProgDlg::JoinClipboardChain() { return AskWindow(kJoinChainMessage); }

void CVtlProgDlg::LeaveClipboardChain() { AskWindow(kLeaveChainMessage); }

// --- CVtlProgDlg: the window's thread

void CVtlProgDlg::ThreadMain() {
    const HWND dialog = CreateModeless(::GetModuleHandleW(nullptr), IDD_PROGRESS_DIALOG, nullptr);
    if (dialog != nullptr) behaviour_->Start(*this);
    {
        std::lock_guard lock(mutex_);
        window_ = dialog;
        startDone_ = true;
        startOk_ = dialog != nullptr;
        loopEnded_ = dialog == nullptr;
    }
    changed_.notify_all();
    if (dialog == nullptr) return;

    MSG message;
    while (!closing_ && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    // From here on the behaviour is not called again.
    {
        std::lock_guard lock(mutex_);
        window_ = nullptr;
        loopEnded_ = true;
    }
    changed_.notify_all();
    if (Handle() != nullptr) ::DestroyWindow(Handle());
}

bool CVtlProgDlg::OnInitDialog() {
    step_.Subclass(::GetDlgItem(Handle(), IDC_PROGRESS_STEP));
    status_.Subclass(::GetDlgItem(Handle(), IDC_PROGRESS_STATUS));
    return false;  // no focus: the window never takes the keyboard
}

void CVtlProgDlg::ApplyLines() {
    std::array<std::wstring, 4> lines;
    unsigned mask = 0;
    {
        std::lock_guard lock(mutex_);
        mask = pendingMask_;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (mask & (1u << i)) lines[i] = std::move(pendingLines_[i]);
        }
        pendingMask_ = 0;
        linesPosted_ = false;
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if ((mask & (1u << i)) == 0) continue;
        const auto line = static_cast<ProgressLine>(i);
        if (line == ProgressLine::Step) {
            step_.SetText(std::move(lines[i]));
        } else if (line == ProgressLine::Status) {
            status_.SetText(std::move(lines[i]));
        } else {
            ::SetDlgItemTextW(Handle(), ControlOf(line), lines[i].c_str());
        }
    }
}

std::optional<LRESULT> CVtlProgDlg::OnEraseBackground(HDC dc) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::FillRect(dc, &client, background_.Get());
    UniquePen pen(::CreatePen(PS_SOLID, 1, kBorder));
    if (pen) {
        SelectedObject usePen(dc, pen.Get());
        SelectedObject noFill(dc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(dc, client.left, client.top, client.right, client.bottom);
    }
    return 1;
}

std::optional<LRESULT> CVtlProgDlg::OnTimer(UINT_PTR id) {
    if (id == kTimerId && behaviour_ != nullptr) behaviour_->OnTimer(*this);
    return 0;
}

std::optional<LRESULT> CVtlProgDlg::OnHotkey(int id) {
    if (behaviour_ != nullptr) behaviour_->OnHotkey(*this, id);
    return 0;
}

std::optional<LRESULT> CVtlProgDlg::OnDestroy() {
    const HWND window = Handle();
    ::UnregisterHotKey(window, kStopHotkeyId);
    ::UnregisterHotKey(window, kPauseHotkeyId);
    ::KillTimer(window, kTimerId);
    LeaveChainHere();
    return 0;
}

void CVtlProgDlg::JoinChainHere() {
    if (inChain_) LeaveChainHere();
    notices_ = 0;
    inChain_ = true;
    chainSuccessor_ = nullptr;
    // Joining sends the first WM_DRAWCLIPBOARD at once, before the call returns.
    chainSuccessor_ = ::SetClipboardViewer(Handle());
}

void CVtlProgDlg::LeaveChainHere() {
    if (!inChain_) return;
    ::ChangeClipboardChain(Handle(), chainSuccessor_);
    inChain_ = false;
    chainSuccessor_ = nullptr;
}

std::optional<LRESULT> CVtlProgDlg::OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORDLG:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(background_.Get());
        case kLinesMessage:
            ApplyLines();
            return 0;
        case kJoinChainMessage:
            JoinChainHere();
            return 1;
        case kLeaveChainMessage:
            LeaveChainHere();
            return 1;
        case kWakeMessage:
            return 0;
        case WM_DRAWCLIPBOARD:
            if (inChain_) ++notices_;
            if (chainSuccessor_ != nullptr) {
                ::SendMessageTimeoutW(chainSuccessor_, message, wParam, lParam, SMTO_ABORTIFHUNG, kForwardTimeoutMs,
                                      nullptr);
            }
            return 0;
        case WM_CHANGECBCHAIN:
            if (reinterpret_cast<HWND>(wParam) == chainSuccessor_) {
                chainSuccessor_ = reinterpret_cast<HWND>(lParam);
            } else if (chainSuccessor_ != nullptr) {
                ::SendMessageTimeoutW(chainSuccessor_, message, wParam, lParam, SMTO_ABORTIFHUNG, kForwardTimeoutMs,
                                      nullptr);
            }
            return 0;
        default:
            return std::nullopt;
    }
}

bool CVtlProgDlg::IsShown() {
    std::lock_guard lock(mutex_);
    return window_ != nullptr && ::IsWindowVisible(window_) != FALSE;
}

// --- ProgressWindowHost

bool CVtlProgDlg::RegisterHotkey(int32_t id, uint32_t modifiers, uint32_t key) {
    return ::RegisterHotKey(Handle(), id, modifiers, key) != FALSE;
}

ScreenRect CVtlProgDlg::Frame() {
    RECT frame{};
    ::GetWindowRect(Handle(), &frame);
    return {frame.left, frame.top, frame.right, frame.bottom};
}

void CVtlProgDlg::MoveTo(ProgressCorner, Point at) {
    ::SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CVtlProgDlg::Show(bool visible) { ::ShowWindow(Handle(), visible ? SW_SHOWNOACTIVATE : SW_HIDE); }

bool CVtlProgDlg::WorkArea(ScreenRect& out) {
    RECT work{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return false;
    out = {work.left, work.top, work.right, work.bottom};
    return true;
}

ScreenSize CVtlProgDlg::FullScreenSize() {
    return {::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN)};
}

Point CVtlProgDlg::CursorPos() {
    POINT p{};
    if (!::GetCursorPos(&p)) return {-1, -1};
    return {p.x, p.y};
}

int32_t CVtlProgDlg::MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) {
    const std::wstring wideText = ToWide(text);
    const std::wstring wideTitle = ToWide(title);
    return ::MessageBoxW(nullptr, wideText.c_str(), wideTitle.c_str(), style);
}

std::u16string CVtlProgDlg::ProgramPath() {
    for (DWORD size = MAX_PATH;; size *= 2) {
        std::wstring path(size, L'\0');
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), size);
        if (length < size || size >= 32768) {
            path.resize(length < size ? length : 0);
            return FromWide(path);
        }
    }
}

void CVtlProgDlg::SetScriptLine(std::u16string_view text) {
    ::SetDlgItemTextW(Handle(), IDC_PROGRESS_SCRIPT, ToWide(text).c_str());
}

void CVtlProgDlg::StartTimer(uint32_t periodMs) { ::SetTimer(Handle(), kTimerId, periodMs, nullptr); }

}  // namespace ovrix::win32
