// wine-probe: looks at and pokes the windows of other programs for the
// Windows end-to-end tests, from inside the same Wine environment. Texts are
// printed as JSON string literals in UTF-8, as the action trace writes them,
// so a test compares them with the same quoting.
//
//   wine-probe wait [--class C] [--title T] [--timeout MS]
//       waits for a visible top-level window whose class and title equal the
//       given ones (either may be left out); prints
//       "<hwnd> <left> <top> <right> <bottom> <class> <title>"; exit 1 if none
//       appears in time (default 10000 ms)
//   wine-probe children HWND     one line per child: "<hwnd> <id> <class> <text>"
//   wine-probe client HWND       the client area on the screen: "<x> <y> <width> <height>"
//   wine-probe command HWND ID   posts the command of control ID (a button click)
//   wine-probe workarea          "<left> <top> <right> <bottom>"
//   wine-probe depth             the display's bits per pixel
//   wine-probe window HWND       "<visible 1|0> <left> <top> <right> <bottom>" of the
//                                window on the screen; exit 1 if it is no window
//
// Every message to another program is sent with a timeout: a busy or hung
// program makes the probe print an empty text, never hang.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr UINT kAnswerTimeoutMs = 2000;
constexpr DWORD kPollMs = 50;

// The system fills these records (window and work-area rectangles, a client
// origin): their layout has no pointers and is the same on i686 and x86_64.
static_assert(sizeof(RECT) == 16 && sizeof(POINT) == 8);

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                          nullptr);
    return out;
}

std::string Quoted(const std::wstring& text) {
    std::string out = "\"";
    for (const char c : Utf8(text)) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

// The window's text through WM_GETTEXT, which also reaches the contents of
// another program's edit controls.
std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length)) {
        return {};
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &copied)) {
        return {};
    }
    text.resize(copied < text.size() ? copied : text.size() - 1);
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return name;
}

HWND ParseHandle(const wchar_t* text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(text, nullptr, 16)));
}

struct Wanted {
    const wchar_t* className = nullptr;
    const wchar_t* title = nullptr;
    HWND found = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
    auto& wanted = *reinterpret_cast<Wanted*>(param);
    if (!::IsWindowVisible(window)) return TRUE;
    if (wanted.className != nullptr && ClassOf(window) != wanted.className) return TRUE;
    if (wanted.title != nullptr) {
        wchar_t title[512] = {};
        ::GetWindowTextW(window, title, 512);
        if (std::wcscmp(title, wanted.title) != 0) return TRUE;
    }
    wanted.found = window;
    return FALSE;
}

int Wait(int argc, wchar_t** argv) {
    Wanted wanted;
    DWORD timeout = 10000;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::wstring option = argv[i];
        if (option == L"--class") wanted.className = argv[i + 1];
        else if (option == L"--title") wanted.title = argv[i + 1];
        else if (option == L"--timeout") timeout = static_cast<DWORD>(std::wcstoul(argv[i + 1], nullptr, 10));
        else return 2;
    }
    const DWORD start = ::GetTickCount();
    for (;;) {
        wanted.found = nullptr;
        ::EnumWindows(&Match, reinterpret_cast<LPARAM>(&wanted));
        if (wanted.found != nullptr) break;
        if (::GetTickCount() - start >= timeout) return 1;
        ::Sleep(kPollMs);
    }
    RECT frame{};
    ::GetWindowRect(wanted.found, &frame);
    wchar_t title[512] = {};
    ::GetWindowTextW(wanted.found, title, 512);
    std::printf("%llx %ld %ld %ld %ld %s %s\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(wanted.found)),
                frame.left, frame.top, frame.right, frame.bottom, Utf8(ClassOf(wanted.found)).c_str(),
                Quoted(title).c_str());
    return 0;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(child);
    return TRUE;
}

int Children(HWND window) {
    std::vector<HWND> children;
    ::EnumChildWindows(window, &CollectChild, reinterpret_cast<LPARAM>(&children));
    for (const HWND child : children) {
        std::printf("%llx %d %s %s\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(child)),
                    ::GetDlgCtrlID(child), Utf8(ClassOf(child)).c_str(), Quoted(TextOf(child)).c_str());
    }
    return ::IsWindow(window) ? 0 : 1;
}

int Client(HWND window) {
    RECT client{};
    POINT origin{0, 0};
    if (!::GetClientRect(window, &client) || !::ClientToScreen(window, &origin)) return 1;
    std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    return 0;
}

int Command(HWND window, int id) {
    const HWND control = ::GetDlgItem(window, id);
    return ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control)) ? 0 : 1;
}

int Window(HWND window) {
    RECT frame{};
    if (!::GetWindowRect(window, &frame)) return 1;
    std::printf("%d %ld %ld %ld %ld\n", ::IsWindowVisible(window) ? 1 : 0, frame.left, frame.top, frame.right,
                frame.bottom);
    return 0;
}

int WorkArea() {
    RECT work{};
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return 1;
    std::printf("%ld %ld %ld %ld\n", work.left, work.top, work.right, work.bottom);
    return 0;
}

int Depth() {
    const HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) return 1;
    std::printf("%d\n", ::GetDeviceCaps(screen, BITSPIXEL));
    ::ReleaseDC(nullptr, screen);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Lines end in "\n" alone, as the shell reading them expects.
    _setmode(_fileno(stdout), _O_BINARY);
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    int status = 2;
    if (verb == L"wait") status = Wait(argc, argv);
    else if (verb == L"children" && argc == 3) status = Children(ParseHandle(argv[2]));
    else if (verb == L"client" && argc == 3) status = Client(ParseHandle(argv[2]));
    else if (verb == L"command" && argc == 4) status = Command(ParseHandle(argv[2]), _wtoi(argv[3]));
    else if (verb == L"workarea" && argc == 2) status = WorkArea();
    else if (verb == L"depth" && argc == 2) status = Depth();
    else if (verb == L"window" && argc == 3) status = Window(ParseHandle(argv[2]));
    if (status == 2) std::fprintf(stderr, "usage: see the head of wine_probe.cpp\n");
    std::fflush(stdout);
    return status;
}
