#include "platform/win32/Win32Windows.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Wide.h"

namespace ovrix::win32 {

namespace {

// Titles and class names are read into 261 units offering 260, as everyone
// reading another program's titles does: at most 259 come back.
constexpr int kNameBuffer = 261;
constexpr int kNameLimit = 260;
constexpr size_t kFirstTextCapacity = 512;
// No control holds more text than this; one that claims to fill every buffer
// offered is read this far.
constexpr size_t kMaxTextCapacity = size_t{1} << 26;
// How long a message to another program's window is waited for.
constexpr UINT kAnswerMs = 10000;
constexpr DWORD kPathCapacity = 1024;

// Functions this module finds in a system library by name the first time it
// needs them: they may be missing from older systems, and a missing one
// makes its feature do nothing instead of stopping the program from loading.
template <class Fn>
Fn LookUp(HMODULE library, const char* name) {
    return library == nullptr ? nullptr
                              : reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(library, name)));
}

using QueryImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPWSTR, PDWORD);
using ModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPWSTR, DWORD);
using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

// Sends a message and answers the window's answer. A program that has
// stopped answering would otherwise hold the playback, and with it the stop
// hotkey's effect, for ever: a window the system already counts as hung is
// not waited for, nor one that takes longer than kAnswerMs; both answer 0.
LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    if (::SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &answer) == 0) return 0;
    return static_cast<LRESULT>(answer);
}

// The process's executable path: the kernel's own query where the system has
// it, the process-status library's module query on systems before it.
std::optional<std::wstring> ImagePath(HANDLE process) {
    static const QueryImageNameFn query =
        LookUp<QueryImageNameFn>(::GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW");
    static const ModuleFileNameExFn moduleName =
        query != nullptr ? nullptr : LookUp<ModuleFileNameExFn>(::LoadLibraryA("psapi.dll"), "GetModuleFileNameExW");
    std::wstring path(kPathCapacity, L'\0');
    DWORD length = kPathCapacity;
    if (query != nullptr) {
        if (!query(process, 0, path.data(), &length)) return std::nullopt;
    } else if (moduleName != nullptr) {
        length = moduleName(process, nullptr, path.data(), kPathCapacity);
        if (length == 0) return std::nullopt;
    } else {
        return std::nullopt;
    }
    path.resize(length);
    return path;
}

// What the system answers for the desktop window as a parent means "none".
WindowId ParentOf(HWND window) {
    const HWND parent = ::GetAncestor(window, GA_PARENT);
    return parent == nullptr || parent == ::GetDesktopWindow() ? kNoWindow : ToWindowId(parent);
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<WindowId>*>(list)->push_back(ToWindowId(window));
    return TRUE;
}

}  // namespace

bool Win32Windows::IsWindow(WindowId window) { return window != kNoWindow && ::IsWindow(ToHwnd(window)) != FALSE; }

std::vector<WindowId> Win32Windows::TopLevelWindows() {
    std::vector<WindowId> windows;
    ::EnumWindows(&Collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// EnumChildWindows walks the whole subtree, each child before its own
// children; the direct children are those whose parent is `parent`.
std::vector<WindowId> Win32Windows::ChildWindows(WindowId parent) {
    std::vector<WindowId> all;
    if (!IsWindow(parent)) return all;
    ::EnumChildWindows(ToHwnd(parent), &Collect, reinterpret_cast<LPARAM>(&all));
    std::vector<WindowId> direct;
    for (WindowId child : all) {
        if (ParentOf(ToHwnd(child)) == parent) direct.push_back(child);
    }
    return direct;
}

// GetParent would answer a top-level window's owner; only a real parent counts.
WindowId Win32Windows::GetParent(WindowId window) { return IsWindow(window) ? ParentOf(ToHwnd(window)) : kNoWindow; }

std::u16string Win32Windows::GetTitle(WindowId window) {
    wchar_t title[kNameBuffer] = {};
    const int length = ::GetWindowTextW(ToHwnd(window), title, kNameLimit);
    return FromWide(std::wstring_view(title, length > 0 ? static_cast<size_t>(length) : 0));
}

std::u16string Win32Windows::GetClassName(WindowId window) {
    wchar_t name[kNameBuffer] = {};
    const int length = ::GetClassNameW(ToHwnd(window), name, kNameLimit);
    return FromWide(std::wstring_view(name, length > 0 ? static_cast<size_t>(length) : 0));
}

bool Win32Windows::IsVisible(WindowId window) { return ::IsWindowVisible(ToHwnd(window)) != FALSE; }

bool Win32Windows::IsMinimized(WindowId window) { return ::IsIconic(ToHwnd(window)) != FALSE; }

std::optional<ScreenRect> Win32Windows::GetWindowRect(WindowId window) {
    RECT rect{};
    if (!::GetWindowRect(ToHwnd(window), &rect)) return std::nullopt;
    return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

std::optional<ScreenRect> Win32Windows::GetClientRect(WindowId window) {
    const HWND hwnd = ToHwnd(window);
    RECT rect{};
    if (!::GetClientRect(hwnd, &rect)) return std::nullopt;
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ::MapWindowPoints(hwnd, nullptr, corners, 2);
    return ScreenRect{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

std::optional<std::u16string> Win32Windows::ProcessName(WindowId window) {
    DWORD processId = 0;
    if (::GetWindowThreadProcessId(ToHwnd(window), &processId) == 0 || processId == 0) return std::nullopt;
    // The limited right suffices for the image name and is granted for
    // processes of other users too; systems before it know only the full one.
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) process.Reset(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
    if (!process) return std::nullopt;
    const std::optional<std::wstring> path = ImagePath(process.Get());
    if (!path) return std::nullopt;
    const size_t slash = path->find_last_of(L"\\/");
    const std::wstring_view whole(*path);
    return FromWide(slash == std::wstring::npos ? whole : whole.substr(slash + 1));
}

WindowId Win32Windows::WindowFromPoint(Point point) { return ToWindowId(::WindowFromPoint(POINT{point.x, point.y})); }

WindowId Win32Windows::GetForegroundWindow() { return ToWindowId(::GetForegroundWindow()); }

// The message's answer is the length copied, without the terminating zero: a
// text that filled the buffer may have been cut, so it is asked again with
// twice the room.
std::u16string Win32Windows::GetControlText(WindowId window) {
    const HWND hwnd = ToHwnd(window);
    std::wstring text;
    for (size_t capacity = kFirstTextCapacity;; capacity *= 2) {
        text.assign(capacity, L'\0');
        const LRESULT length = Send(hwnd, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(text.data()));
        const size_t copied = length > 0 ? static_cast<size_t>(length) : 0;
        if (copied + 1 != capacity || capacity >= kMaxTextCapacity) {
            text.resize(copied < capacity ? copied : capacity - 1);
            return FromWide(text);
        }
    }
}

void Win32Windows::DoActivate(WindowId window) { ::SetForegroundWindow(ToHwnd(window)); }

void Win32Windows::DoShow(WindowId window, int32_t command) { ::ShowWindow(ToHwnd(window), command); }

void Win32Windows::DoPostClose(WindowId window) { ::PostMessageW(ToHwnd(window), WM_CLOSE, 0, 0); }

// No insert-after window and no SWP_NOZORDER: a window moved or sized also
// comes to the top of its siblings.
void Win32Windows::DoMove(WindowId window, int32_t x, int32_t y) {
    ::SetWindowPos(ToHwnd(window), nullptr, x, y, 0, 0, SWP_NOSIZE);
}

void Win32Windows::DoResize(WindowId window, int32_t width, int32_t height) {
    ::SetWindowPos(ToHwnd(window), nullptr, 0, 0, width, height, SWP_NOMOVE);
}

// Takes effect only for windows of the player's own thread (or of a thread
// attached to its input); for other programs' windows it does nothing.
void Win32Windows::DoFocus(WindowId window) { ::SetFocus(ToHwnd(window)); }

void Win32Windows::DoSetTitle(WindowId window, std::u16string_view text) {
    const std::wstring wide = ToWide(text);
    ::SetWindowTextW(ToHwnd(window), wide.c_str());
}

// Unlike SetWindowTextW, the message reaches an edit control of another
// process: the system copies the text across.
void Win32Windows::DoSetControlText(WindowId window, std::u16string_view text) {
    const std::wstring wide = ToWide(text);
    Send(ToHwnd(window), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void Win32Windows::DoSendChar(WindowId window, char16_t unit) {
    Send(ToHwnd(window), WM_CHAR, static_cast<WPARAM>(unit), 0);
}

// On the 32-bit player the parameters and the answer are 32-bit words; the
// numbers are cut to them as the system's own conversions would.
int64_t Win32Windows::DoSendMessage(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) {
    return static_cast<int64_t>(
        Send(ToHwnd(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

void Win32Windows::DoInvalidate(WindowId window, const ScreenRect& rect) {
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    ::InvalidateRect(ToHwnd(window), &area, TRUE);
}

// An unknown theme name (a single space) makes the window draw itself in the
// classic style. The library is absent from systems without visual themes.
void Win32Windows::DoDisableTheme(WindowId window) {
    static const SetWindowThemeFn setTheme = LookUp<SetWindowThemeFn>(::LoadLibraryA("uxtheme.dll"), "SetWindowTheme");
    if (setTheme != nullptr) setTheme(ToHwnd(window), L" ", L" ");
}

}  // namespace ovrix::win32
