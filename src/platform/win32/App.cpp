// The player's entry point. COvrixApp prepares the process (debug privilege,
// OS version record, GDI+, random seed, the window classes for script-made
// windows, the thread-local slot), then runs the hidden main dialog's message
// loop; the dialog plays the image and closes itself, which ends the loop and
// the process with exit code 0.
#include <objidl.h>
#include <gdiplus.h>

#include <cstdlib>
#include <ctime>

#include "platform/win32/AppState.h"
#include "platform/win32/Handles.h"
#include "platform/win32/LayoutChecks.h"
#include "platform/win32/OvrixDlg.h"
#include "platform/win32/WinApi.h"

namespace ovrix::win32 {

namespace {

void EnableDebugPrivilege() {
    HANDLE rawToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY | TOKEN_ADJUST_PRIVILEGES, &rawToken)) return;
    const UniqueHandle token(rawToken);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, L"SeDebugPrivilege", &privileges.Privileges[0].Luid)) return;
    ::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, sizeof privileges, nullptr, nullptr);
}

// RtlGetVersion reports the true version, where GetVersionExW answers what
// the manifest lets the program see. It is looked up by name in ntdll.
void QueryOsVersion(OSVERSIONINFOEXW& record) {
    record = {};
    record.dwOSVersionInfoSize = sizeof record;
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
    if (const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll")) {
        const auto query = reinterpret_cast<RtlGetVersionFn>(
            reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetVersion")));
        if (query != nullptr && query(&record) == 0) return;
    }
    record.dwOSVersionInfoSize = sizeof record;
    ::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&record));
}

void RegisterScriptWindowClasses(HINSTANCE instance) {
    for (const wchar_t* name : {L"DefaultWindowClass", L"DefaultDialogClass"}) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = name;
        ::RegisterClassExW(&wc);
    }
}

class COvrixApp {
public:
    explicit COvrixApp(HINSTANCE instance) : instance_(instance) {}

    // Prepares the process and runs the main dialog until it closes.
    void InitInstance();
    void ExitInstance();

private:
    void RunMainDialog();

    HINSTANCE instance_;
    ULONG_PTR gdiplusToken_ = 0;
};

void COvrixApp::InitInstance() {
    EnableDebugPrivilege();
    QueryOsVersion(App().osVersion);
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, nothing suppressed
    static_assert(sizeof input == ForTarget(16, 24));
    if (Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr) != Gdiplus::Ok) gdiplusToken_ = 0;
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    RegisterScriptWindowClasses(instance_);

    UniqueTlsIndex threadSlot(::TlsAlloc());
    App().threadSlot = threadSlot.Get();
    // Playback runs on this thread, inside the main dialog, and makes and
    // calls its automation objects here; they are all released when the
    // player goes, before COM is shut down.
    const HRESULT com = ::CoInitialize(nullptr);
    RunMainDialog();
    if (SUCCEEDED(com)) ::CoUninitialize();
    threadSlot.Reset();
    App().threadSlot = 0;
}

void COvrixApp::RunMainDialog() {
    COvrixDlg dialog(instance_);
    if (!dialog.Create()) return;
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (dialog.Handle() != nullptr && ::IsDialogMessageW(dialog.Handle(), &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void COvrixApp::ExitInstance() {
    if (gdiplusToken_ != 0) Gdiplus::GdiplusShutdown(gdiplusToken_);
    gdiplusToken_ = 0;
}

}  // namespace

}  // namespace ovrix::win32

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ovrix::win32::COvrixApp app(instance);
    app.InitInstance();
    app.ExitInstance();
    return 0;
}
