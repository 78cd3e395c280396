#include "platform/win32/ProgressWindow.h"

#include <cwchar>

#include "engine/PlaybackFlags.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Wide.h"

namespace ovrix::win32 {

namespace {

constexpr wchar_t kClassName[] = L"OvrixProgressWindow";
constexpr int kStopHotkeyId = 1;
constexpr int kPauseHotkeyId = 2;
// The window's size in dialog units.
constexpr int kWidthUnits = 147;
constexpr int kHeightUnits = 48;

std::wstring KeyName(uint32_t key, bool extended) {
    LONG code = static_cast<LONG>(::MapVirtualKeyW(key, 0) << 16);
    if (extended) code |= 1 << 24;
    for (int size = 128;; size *= 2) {
        std::wstring buffer(static_cast<size_t>(size), L'\0');
        const int length = ::GetKeyNameTextW(code, buffer.data(), size);
        if (length < size - 1 || size >= 4096) {
            buffer.resize(static_cast<size_t>(length > 0 ? length : 0));
            return buffer;
        }
    }
}

// The program's own file name without folder and extension.
std::wstring ProgramName() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path);
    const size_t slash = name.find_last_of(L'\\');
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

bool RegisterClassOnce() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &ProgressWindow::WindowProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

std::wstring HotkeyDisplayName(uint32_t key, uint32_t modifiers) {
    if (key == 0 && modifiers == 0) return {};
    std::wstring name;
    if (modifiers & 2) name += L"Ctrl + ";
    if (modifiers & 1) name += L"Shift + ";
    if (modifiers & 4) name += L"Alt + ";
    return name + KeyName(key, (modifiers & 8) != 0);
}

UINT HotkeyModifiers(uint32_t modifiers) {
    UINT flags = 0;
    if (modifiers & 1) flags |= MOD_SHIFT;
    if (modifiers & 2) flags |= MOD_CONTROL;
    if (modifiers & 4) flags |= MOD_ALT;
    return flags;
}

ProgressWindow::~ProgressWindow() { Close(); }

bool ProgressWindow::Open(const ProgressWindowSettings& settings) {
    Close();
    settings_ = settings;
    {
        std::lock_guard lock(mutex_);
        startDone_ = false;
        startOk_ = false;
        for (auto& line : lines_) line.clear();
    }
    thread_ = std::thread([this] { ThreadMain(); });
    std::unique_lock lock(mutex_);
    started_.wait(lock, [this] { return startDone_; });
    return startOk_;
}

void ProgressWindow::ShowLine(ProgressLine line, std::u16string_view text) {
    HWND window = nullptr;
    {
        std::lock_guard lock(mutex_);
        lines_[static_cast<size_t>(line)] = ToWide(text);
        window = window_;
    }
    if (window != nullptr) ::InvalidateRect(window, nullptr, TRUE);
}

void ProgressWindow::Close() {
    HWND window = nullptr;
    {
        std::lock_guard lock(mutex_);
        window = window_;
    }
    if (window != nullptr) ::PostMessageW(window, WM_CLOSE, 0, 0);
    if (thread_.joinable()) thread_.join();
}

void ProgressWindow::ThreadMain() {
    HWND window = nullptr;
    if (RegisterClassOnce()) {
        const LONG units = ::GetDialogBaseUnits();
        const int width = kWidthUnits * LOWORD(units) / 4;
        const int height = kHeightUnits * HIWORD(units) / 8;
        window = CreateWindowed(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClassName, L"",
                                WS_POPUP | WS_BORDER, 0, 0, width, height, nullptr);
    }
    if (window != nullptr) {
        MoveToCorner();
        if (settings_.startHidden == 0) ::ShowWindow(window, SW_SHOWNOACTIVATE);
        RegisterHotkeys();
    }
    {
        std::lock_guard lock(mutex_);
        window_ = window;
        startDone_ = true;
        startOk_ = window != nullptr;
    }
    started_.notify_all();
    if (window == nullptr) return;

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    std::lock_guard lock(mutex_);
    window_ = nullptr;
}

void ProgressWindow::RegisterHotkeys() {
    const HWND window = Window::Handle();
    std::wstring scriptLine;
    bool stopRegistered = true;
    if (settings_.noStopKey != 0) {
        scriptLine = ProgramName();
    } else {
        const std::wstring name = HotkeyDisplayName(settings_.stopKey, settings_.stopModifiers);
        scriptLine = L"Press " + name + L" to Stop";
        if (!::RegisterHotKey(window, kStopHotkeyId, HotkeyModifiers(settings_.stopModifiers), settings_.stopKey)) {
            stopRegistered = false;
            const std::wstring text = L"Hotkey '" + name + L"' conflict!";
            ::MessageBoxW(nullptr, text.c_str(), L"Ovrix", MB_OK);
            SetFlag(StopRequest);
        }
    }
    {
        std::lock_guard lock(mutex_);
        lines_[static_cast<size_t>(ProgressLine::Script)] = scriptLine;
    }
    if (!stopRegistered || settings_.noPauseKey != 0) return;
    if (!::RegisterHotKey(window, kPauseHotkeyId, HotkeyModifiers(settings_.pauseModifiers), settings_.pauseKey)) {
        const std::wstring text =
            L"Hotkey '" + HotkeyDisplayName(settings_.pauseKey, settings_.pauseModifiers) + L"' conflict!";
        ::MessageBoxW(nullptr, text.c_str(), L"Ovrix", MB_OK);
    }
}

void ProgressWindow::MoveToCorner() {
    const HWND window = Window::Handle();
    RECT frame{};
    ::GetWindowRect(window, &frame);
    RECT work{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        work = {0, 0, ::GetSystemMetrics(SM_CXFULLSCREEN), ::GetSystemMetrics(SM_CYFULLSCREEN)};
    }
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(window, nullptr, work.right - width, work.bottom - height, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<LRESULT> ProgressWindow::OnPaint() {
    std::array<std::wstring, 4> lines;
    {
        std::lock_guard lock(mutex_);
        lines = lines_;
    }
    const HWND window = Window::Handle();
    PaintSession paint(window);
    RECT client{};
    ::GetClientRect(window, &client);
    SelectedObject font(paint.Dc(), ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(paint.Dc(), TRANSPARENT);
    // Top to bottom: repeat, step, status, script.
    const ProgressLine order[] = {ProgressLine::Repeat, ProgressLine::Step, ProgressLine::Status,
                                  ProgressLine::Script};
    const int lineHeight = (client.bottom - client.top) / 4;
    for (int i = 0; i < 4; ++i) {
        const ProgressLine line = order[i];
        RECT box{client.left + 6, client.top + i * lineHeight, client.right - 6, client.top + (i + 1) * lineHeight};
        const bool centred = line == ProgressLine::Repeat || line == ProgressLine::Script;
        const std::wstring& text = lines[static_cast<size_t>(line)];
        ::DrawTextW(paint.Dc(), text.c_str(), static_cast<int>(text.size()), &box,
                    (centred ? DT_CENTER : DT_LEFT) | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    return 0;
}

std::optional<LRESULT> ProgressWindow::OnHotkey(int id) {
    if (id == kStopHotkeyId) {
        SetFlag(StopRequest);
    } else if (id == kPauseHotkeyId) {
        const bool pausing = !IsSet(PauseRequest);
        SetFlag(PauseRequest, pausing ? 1 : 0);
        if (settings_.startHidden != 0 && settings_.showWhenPaused != 0) {
            ::ShowWindow(Window::Handle(), pausing ? SW_SHOWNOACTIVATE : SW_HIDE);
        }
    }
    return 0;
}

std::optional<LRESULT> ProgressWindow::OnDestroy() {
    const HWND window = Window::Handle();
    ::UnregisterHotKey(window, kStopHotkeyId);
    ::UnregisterHotKey(window, kPauseHotkeyId);
    ::PostQuitMessage(0);
    return 0;
}

}  // namespace ovrix::win32
