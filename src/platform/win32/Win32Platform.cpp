#include "platform/win32/Win32Platform.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <cwchar>

#include "platform/win32/AppState.h"
#include "platform/win32/CountdownDialog.h"
#include "platform/win32/Handles.h"
#include "platform/win32/InputBoxDialog.h"
#include "platform/win32/InputParaDialog.h"
#include "platform/win32/LayoutChecks.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/ProgressWindow.h"
#include "platform/win32/ScriptErrorDialog.h"
#include "platform/win32/SelectListDialog.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32ScriptWindows.h"
#include "platform/win32/Win32Processes.h"
#include "platform/win32/Win32Databases.h"
#include "platform/win32/Win32Windows.h"

namespace ovrix::win32 {

namespace {

// Another program may hold the clipboard for a moment.
constexpr int kClipboardTries = 10;
constexpr DWORD kClipboardPauseMs = 20;

// True when the message belongs to a dialog that handles its own keyboard
// navigation (Tab, Enter, Esc); such messages go through IsDialogMessageW.
bool HandledByDialog(MSG& message) {
    if (message.hwnd == nullptr) return false;
    const HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    if (root == nullptr) return false;
    wchar_t className[16] = {};
    ::GetClassNameW(root, className, 16);
    return std::wcscmp(className, L"#32770") == 0 && ::IsDialogMessageW(root, &message);
}

}  // namespace

Win32Platform::Win32Platform()
    : progress_(std::make_unique<CVtlProgDlg>()),
      windows_(std::make_unique<Win32Windows>()),
      scriptWindows_(std::make_unique<Win32ScriptWindows>()),
      processes_(std::make_unique<Win32Processes>()),
      databases_(std::make_unique<Win32Databases>()) {}
Win32Platform::~Win32Platform() = default;

Windows& Win32Platform::GetWindows() { return *windows_; }
ScriptWindows& Win32Platform::GetScriptWindows() { return *scriptWindows_; }
Processes& Win32Platform::GetProcesses() { return *processes_; }
Databases& Win32Platform::GetDatabases() { return *databases_; }

uint32_t Win32Platform::TickCount() { return ::GetTickCount(); }

void Win32Platform::Sleep(uint32_t ms) { ::Sleep(ms); }

int64_t Win32Platform::Now() { return static_cast<int64_t>(std::time(nullptr)); }

bool Win32Platform::ToLocalTime(int64_t seconds, LocalTime& out) {
    const __time64_t value = seconds;
    std::tm local{};
    if (_localtime64_s(&local, &value) != 0) return false;
    out.year = local.tm_year + 1900;
    out.month = local.tm_mon + 1;
    out.day = local.tm_mday;
    out.hour = local.tm_hour;
    out.minute = local.tm_min;
    out.second = local.tm_sec;
    return true;
}

void Win32Platform::PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Not ours to take: the main loop ends on it once playback returns.
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (HandledByDialog(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void Win32Platform::DoMouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data) {
    ::mouse_event(flags, static_cast<DWORD>(dx), static_cast<DWORD>(dy), data, 0);
}

void Win32Platform::DoKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) { ::keybd_event(vk, scan, flags, 0); }

void Win32Platform::DoSetCursorPos(int32_t x, int32_t y) { ::SetCursorPos(x, y); }

Point Win32Platform::GetCursorPos() {
    POINT p{};
    if (!::GetCursorPos(&p)) return {};
    return {p.x, p.y};
}

ScreenSize Win32Platform::GetScreenSize() {
    return {::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}

bool Win32Platform::ButtonsSwapped() { return ::GetSystemMetrics(SM_SWAPBUTTON) != 0; }

OsVersion Win32Platform::GetOsVersion() { return {App().osVersion.dwMajorVersion, App().osVersion.dwMinorVersion}; }

uint32_t Win32Platform::MapVirtualKey(uint32_t code) { return ::MapVirtualKeyW(code, 0); }

int16_t Win32Platform::VkKeyScan(char16_t c) { return ::VkKeyScanW(static_cast<wchar_t>(c)); }

bool Win32Platform::CapsLockOn() { return (::GetKeyState(VK_CAPITAL) & 1) != 0; }

bool Win32Platform::IsKeyDown(uint8_t vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; }

// SendInput is looked up by name once, on first use, and kept for the
// process's lifetime; its type is the header's declaration, so the lookup
// cannot disagree with the system's calling convention or parameters.
bool Win32Platform::DoSendInput(const std::vector<KeyInput>& records) {
    using SendInputFn = decltype(&::SendInput);
    static const SendInputFn send = [] {
        const HMODULE user32 = ::LoadLibraryW(L"user32.dll");
        return user32 == nullptr ? nullptr
                                 : reinterpret_cast<SendInputFn>(
                                       reinterpret_cast<void*>(::GetProcAddress(user32, "SendInput")));
    }();
    if (send == nullptr || records.empty()) return false;
    std::vector<INPUT> inputs(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = records[i].vk;
        inputs[i].ki.wScan = records[i].scan;
        inputs[i].ki.dwFlags = records[i].flags;
    }
    return send(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

bool Win32Platform::DoOpen(ProgressWindowBehaviour& behaviour) { return progress_->Open(behaviour); }

void Win32Platform::DoShowLine(ProgressLine line, std::u16string_view text) { progress_->ShowLine(line, text); }

void Win32Platform::DoClose() { progress_->Close(); }

ProgressWindowHost* Win32Platform::ShownWindow() { return progress_->IsShown() ? progress_.get() : nullptr; }

// The buffer grows while the name fills it.
std::u16string Win32Platform::KeyNameText(uint32_t lParam) {
    for (int size = 128;; size *= 2) {
        std::wstring buffer(static_cast<size_t>(size), L'\0');
        const int length = ::GetKeyNameTextW(static_cast<LONG>(lParam), buffer.data(), size);
        if (length < size - 1 || size >= 4096) {
            buffer.resize(static_cast<size_t>(length > 0 ? length : 0));
            return FromWide(buffer);
        }
    }
}

bool Win32Platform::JoinClipboardChain() { return progress_->JoinClipboardChain(); }

uint32_t Win32Platform::ClipboardNotices() { return progress_->ClipboardNotices(); }

void Win32Platform::LeaveClipboardChain() { progress_->LeaveClipboardChain(); }

int32_t Win32Platform::DoMessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) {
    const std::wstring wideText = ToWide(text);
    const std::wstring wideTitle = ToWide(title);
    return ::MessageBoxW(nullptr, wideText.c_str(), wideTitle.c_str(), style);
}

// MessageBoxTimeoutW is not in the import libraries: it is looked up by name
// once; without it the box waits for the user like any other.
int32_t Win32Platform::DoMessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                                         uint32_t timeoutMs) {
    using MessageBoxTimeoutFn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT, WORD, DWORD);
    static const MessageBoxTimeoutFn show = [] {
        const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        return user32 == nullptr ? nullptr
                                 : reinterpret_cast<MessageBoxTimeoutFn>(
                                       reinterpret_cast<void*>(::GetProcAddress(user32, "MessageBoxTimeoutW")));
    }();
    if (show == nullptr) return DoMessageBox(text, title, style);
    const std::wstring wideText = ToWide(text);
    const std::wstring wideTitle = ToWide(title);
    return show(nullptr, wideText.c_str(), wideTitle.c_str(), style, 0, timeoutMs);
}

void Win32Platform::DoShowScriptError(std::u16string_view text) { CScriptErrorDlg(text).Run(); }

void Win32Platform::DoRunCountdownDialog(CountdownDialog& dialog) { CDoShutdownDlg(dialog).Run(); }

DialogAnswer Win32Platform::DoRunInputBox(const InputBoxRequest& request) {
    if (request.multiLine) return CInputBoxML(request).Run();
    return CInputBox(request).Run();
}

DialogAnswer Win32Platform::DoRunSelectList(const SelectListRequest& request) { return SelStrDlg(request).Run(); }

DialogButton Win32Platform::DoRunConfirmBox(const ConfirmRequest& request) {
    const std::wstring message = ToWide(request.message);
    const std::wstring caption = ToWide(request.caption);
    const int answer = ::MessageBoxW(nullptr, message.c_str(), caption.c_str(), kConfirmBoxStyle);
    return answer == IDOK ? DialogButton::Ok : DialogButton::Cancel;
}

// A refused OK is told in one of the player's own message boxes, traced as
// any other.
InputParaAnswer Win32Platform::DoRunInputPara(const InputParaRequest& request) {
    return InputPara(request, [this](std::u16string_view text) { ShowMessage(text); }).Run();
}

bool Win32Platform::DoSetClipboardText(std::u16string_view text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return false;
    void* target = ::GlobalLock(memory.Get());
    if (target == nullptr) return false;
    std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
    static_cast<wchar_t*>(target)[text.size()] = L'\0';
    ::GlobalUnlock(memory.Get());

    ClipboardSession clipboard(nullptr, kClipboardTries, kClipboardPauseMs);
    if (!clipboard.IsOpen() || !::EmptyClipboard()) return false;
    if (::SetClipboardData(CF_UNICODETEXT, memory.Get()) == nullptr) return false;
    memory.Release();  // the clipboard owns it now
    return true;
}

std::u16string Win32Platform::GetClipboardText() {
    ClipboardSession clipboard(nullptr, kClipboardTries, kClipboardPauseMs);
    if (!clipboard.IsOpen()) return {};
    const HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) return {};
    const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
    if (text == nullptr) return {};
    // The block may lack its terminating zero: read no further than its size.
    const size_t units = ::GlobalSize(data) / sizeof(wchar_t);
    std::u16string result = FromWide(std::wstring_view(text, ::wcsnlen(text, units)));
    ::GlobalUnlock(data);
    return result;
}

bool Win32Platform::DoShellExecute(std::u16string_view verb, std::u16string_view file, std::u16string_view parameters,
                                 int32_t show) {
    const std::wstring wideVerb = ToWide(verb);
    const std::wstring wideFile = ToWide(file);
    const std::wstring wideParameters = ToWide(parameters);
    const HINSTANCE result =
        ::ShellExecuteW(nullptr, verb.empty() ? nullptr : wideVerb.c_str(), wideFile.c_str(),
                        parameters.empty() ? nullptr : wideParameters.c_str(), nullptr, show);
    // ShellExecuteW answers a value above 32 on success.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Platform::DoEnableShutdownPrivilege() {
    HANDLE raw = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &raw)) return false;
    const UniqueHandle token(raw);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return false;
    ::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
    return ::GetLastError() == ERROR_SUCCESS;
}

bool Win32Platform::DoExitWindows(uint32_t flags, uint32_t reason) { return ::ExitWindowsEx(flags, reason) != FALSE; }

void Win32Platform::SeedRandom(uint32_t seed) { std::srand(seed); }

uint32_t Win32Platform::Random() { return static_cast<uint32_t>(std::rand()) & 0x7FFF; }

}  // namespace ovrix::win32
