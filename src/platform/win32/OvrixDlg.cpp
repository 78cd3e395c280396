#include "platform/win32/OvrixDlg.h"

#include <string>
#include <vector>

#include "engine/Player.h"
#include "platform/Desktop.h"
#include "platform/win32/AppState.h"
#include "platform/win32/Resource.h"
#include "platform/win32/ScriptSlot.h"
#include "platform/win32/TraceFile.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"
#include "shell/PlaybackDriver.h"

namespace ovrix::win32 {

namespace {

// The command line's arguments after the program's own name.
std::vector<std::u16string> ScriptArguments() {
    int count = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (argv == nullptr) return {};
    const UniqueLocalMemory owner(reinterpret_cast<HLOCAL>(argv));
    std::vector<std::u16string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(FromWide(argv[i]));
    return arguments;
}

HICON LoadAppIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric), 0));
}

}  // namespace

COvrixDlg::~COvrixDlg() {
    if (Handle() != nullptr) ::DestroyWindow(Handle());
}

bool COvrixDlg::Create() { return CreateModeless(instance_, IDD_OVRIX_DIALOG, nullptr) != nullptr; }

bool COvrixDlg::OnInitDialog() {
    const HWND dialog = Handle();
    wchar_t about[64] = {};
    if (::LoadStringW(instance_, IDS_ABOUTBOX, about, 64) > 0) {
        if (const HMENU menu = ::GetSystemMenu(dialog, FALSE)) {
            ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, about);
        }
    }
    bigIcon_.Reset(LoadAppIcon(instance_, SM_CXICON, SM_CYICON));
    smallIcon_.Reset(LoadAppIcon(instance_, SM_CXSMICON, SM_CYSMICON));
    ::SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    ::SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
    App().dialogFont = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    ::PostMessageW(dialog, kPlayMessage, 0, 0);
    return true;
}

std::optional<LRESULT> COvrixDlg::OnSysCommand(WPARAM command) {
    if ((command & 0xFFF0) != IDM_ABOUTBOX) return std::nullopt;
    CAboutDlg().Run(instance_, Handle());
    return 0;
}

// Enter and Esc would end an ordinary dialog; this one ends with playback.
std::optional<LRESULT> COvrixDlg::OnCommand(int id, int) {
    if (id == IDOK || id == IDCANCEL) return 0;
    return std::nullopt;
}

std::optional<LRESULT> COvrixDlg::OnPaint() {
    const HWND dialog = Handle();
    if (!::IsIconic(dialog)) return std::nullopt;
    PaintSession paint(dialog);
    ::SendMessageW(dialog, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.Dc()), 0);
    RECT client{};
    ::GetClientRect(dialog, &client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(paint.Dc(), x, y, bigIcon_.Get());
    return 0;
}

std::optional<LRESULT> COvrixDlg::OnQueryDragIcon() { return reinterpret_cast<LRESULT>(smallIcon_.Get()); }

std::optional<LRESULT> COvrixDlg::OnClose() {
    ::DestroyWindow(Handle());
    return 0;
}

std::optional<LRESULT> COvrixDlg::OnDestroy() {
    ::PostQuitMessage(0);
    return 0;
}

std::optional<LRESULT> COvrixDlg::OnOtherMessage(UINT message, WPARAM, LPARAM) {
    if (message != kPlayMessage) return std::nullopt;
    OnPlay();
    return 0;
}

void COvrixDlg::OnPlay() {
    {
        Win32Platform platform;
        Desktop desktop(platform, TraceFromEnvironment());
        Player player(desktop);
        player.arguments = ScriptArguments();
        RunPlaybackDriver(player, ImageInSlot());
    }
    ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

INT_PTR CAboutDlg::Run(HINSTANCE instance, HWND owner) { return RunModal(instance, IDD_ABOUTBOX, owner); }

std::optional<LRESULT> CAboutDlg::OnCommand(int id, int) {
    if (id != IDOK && id != IDCANCEL) return std::nullopt;
    ::EndDialog(Handle(), id);
    return 0;
}

}  // namespace ovrix::win32
