#include "platform/win32/Win32ScriptWindows.h"

#include <vector>

#include "platform/win32/AppState.h"
#include "platform/win32/CommonControls.h"
#include "platform/win32/Win32Images.h"
#include "platform/win32/Win32Windows.h"
#include "platform/win32/Wide.h"

namespace ovrix::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"DefaultWindowClass";
constexpr wchar_t kDialogClass[] = L"DefaultDialogClass";
constexpr UINT_PTR kSubclassId = 1;

const wchar_t* ClassOf(ScriptWindowKind kind) {
    switch (kind) {
        case ScriptWindowKind::kWindow: return kWindowClass;
        case ScriptWindowKind::kDialog: return kDialogClass;
        case ScriptWindowKind::kButton: return L"BUTTON";
        case ScriptWindowKind::kEdit: return L"EDIT";
        case ScriptWindowKind::kStatic:
        case ScriptWindowKind::kPictureBox: return L"STATIC";
        case ScriptWindowKind::kListCtrl: return WC_LISTVIEWW;
        case ScriptWindowKind::kProgressBar: return PROGRESS_CLASSW;
    }
    return L"STATIC";
}

COLORREF ToColorRef(uint32_t rgb) { return static_cast<COLORREF>(rgb & 0xFFFFFF); }

HWND H(WindowId window) { return ToHwnd(window); }

}  // namespace

Win32ScriptWindows::~Win32ScriptWindows() { DestroyAll(); }

WindowId Win32ScriptWindows::DoCreate(const ScriptWindowRequest& request) {
    // Start-up registers the two classes with the default procedure; a host
    // that did not gets them here. Every window is subclassed either way.
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
        ::InitCommonControlsEx(&controls);
        for (const wchar_t* name : {kWindowClass, kDialogClass}) {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.style = CS_HREDRAW | CS_VREDRAW;
            windowClass.lpfnWndProc = ::DefWindowProcW;
            windowClass.hInstance = ::GetModuleHandleW(nullptr);
            windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
            windowClass.lpszClassName = name;
            ::RegisterClassExW(&windowClass);
        }
        return true;
    }();
    (void)registered;
    const bool control = (request.style & kWsChild) != 0;
    const std::wstring text = ToWide(request.text);
    int width = request.width.value_or(CW_USEDEFAULT);
    int height = request.height.value_or(CW_USEDEFAULT);
    if (request.kind == ScriptWindowKind::kPictureBox) {
        width = request.image.width;
        height = request.image.height;
    }
    const HMENU menu = control ? reinterpret_cast<HMENU>(static_cast<intptr_t>(request.id)) : nullptr;
    const HWND window = ::CreateWindowExW(0, ClassOf(request.kind), text.c_str(), request.style,
                                          request.x.value_or(CW_USEDEFAULT), request.y.value_or(CW_USEDEFAULT), width,
                                          height, H(request.parent), menu, ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return kNoWindow;
    const WindowId id = ToWindowId(window);
    ownClass_[id] = !control;
    ::SetWindowSubclass(window, &Win32ScriptWindows::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    if (control) {
        HFONT font = App().dialogFont != nullptr ? App().dialogFont : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    if (request.kind == ScriptWindowKind::kPictureBox) pictures_[id] = request.image;
    return id;
}

void Win32ScriptWindows::DoDestroy(WindowId window) { ::DestroyWindow(H(window)); }

std::u16string Win32ScriptWindows::Title(WindowId window) {
    wchar_t buffer[260] = {};
    ::GetWindowTextW(H(window), buffer, 260);
    return FromWide(buffer);
}

bool Win32ScriptWindows::Exists(WindowId window) { return ::IsWindow(H(window)) != FALSE; }

// Every script-made window's procedure, in front of its class's.
LRESULT CALLBACK Win32ScriptWindows::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR self) {
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(window, &Win32ScriptWindows::SubclassProc, kSubclassId);
    auto* windows = reinterpret_cast<Win32ScriptWindows*>(self);
    if (const std::optional<LRESULT> answer = windows->Procedure(window, message, wParam, lParam)) return *answer;
    return ::DefSubclassProc(window, message, wParam, lParam);
}

std::optional<LRESULT> Win32ScriptWindows::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowId id = ToWindowId(window);
    if (message == WM_NCDESTROY) {
        Forget(id);
        pictures_.erase(id);
        ownClass_.erase(id);
        return std::nullopt;
    }
    if (const std::optional<int64_t> answer =
            Deliver(id, message, static_cast<int64_t>(wParam), static_cast<int64_t>(lParam))) {
        return static_cast<LRESULT>(*answer);
    }
    switch (message) {
        case WM_ERASEBKGND: {
            if (!IsScriptWindow(id) || pictures_.count(id) != 0) return std::nullopt;
            RECT client;
            ::GetClientRect(window, &client);
            ::FillRect(reinterpret_cast<HDC>(wParam), &client, BrushFor(Colors(id).background));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return ControlColours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
        case WM_PAINT:
            if (PaintPicture(window)) return 0;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

// Statics and edits paint in their own colours, which default to black on
// white like their window.
std::optional<LRESULT> Win32ScriptWindows::ControlColours(HWND control, HDC dc) {
    const WindowId id = ToWindowId(control);
    if (!IsScriptWindow(id)) return std::nullopt;
    const ScriptWindowColors colors = Colors(id);
    ::SetTextColor(dc, ToColorRef(colors.text));
    ::SetBkColor(dc, ToColorRef(colors.textBackground));
    return reinterpret_cast<LRESULT>(BrushFor(colors.background));
}

// A picture box draws its image at its top-left corner, unscaled.
bool Win32ScriptWindows::PaintPicture(HWND box) {
    const auto found = pictures_.find(ToWindowId(box));
    if (found == pictures_.end()) return false;
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(box, &paint);
    if (const std::optional<std::vector<uint8_t>> dib = DibFromPicture(found->second)) {
        const auto* info = reinterpret_cast<const BITMAPINFO*>(dib->data());
        const VBmp& picture = found->second;
        ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(picture.width), static_cast<DWORD>(picture.height), 0, 0, 0,
                            static_cast<UINT>(picture.height), dib->data() + info->bmiHeader.biSize, info,
                            DIB_RGB_COLORS);
    }
    ::EndPaint(box, &paint);
    return true;
}

HBRUSH Win32ScriptWindows::BrushFor(uint32_t colour) {
    UniqueBrush& brush = brushes_[colour & 0xFFFFFF];
    if (!brush) brush.Reset(::CreateSolidBrush(ToColorRef(colour)));
    return brush.Get();
}

bool Win32ScriptWindows::IsEnabled(WindowId window) { return ::IsWindowEnabled(H(window)) != FALSE; }
void Win32ScriptWindows::Enable(WindowId window, bool enable) { ::EnableWindow(H(window), enable ? TRUE : FALSE); }

WindowId Win32ScriptWindows::ParentOf(WindowId window) {
    const HWND parent = ::GetParent(H(window));
    return parent != nullptr && parent != ::GetDesktopWindow() ? ToWindowId(parent) : kNoWindow;
}

WindowId Win32ScriptWindows::ActiveWindow() { return ToWindowId(::GetActiveWindow()); }
void Win32ScriptWindows::SetActive(WindowId window) { ::SetActiveWindow(H(window)); }
void Win32ScriptWindows::Redraw(WindowId window) {
    ::RedrawWindow(H(window), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
void Win32ScriptWindows::Repaint(WindowId window) { ::InvalidateRect(H(window), nullptr, TRUE); }

// The system's processing: for the two classes the default procedure, for a
// control its class's own procedure (bypassing the handlers).
int64_t Win32ScriptWindows::DefaultProcessing(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) {
    const HWND handle = H(window);
    const auto w = static_cast<WPARAM>(wParam);
    const auto l = static_cast<LPARAM>(lParam);
    const auto own = ownClass_.find(window);
    if (own == ownClass_.end() || own->second) return ::DefWindowProcW(handle, message, w, l);
    wchar_t className[64] = {};
    ::GetClassNameW(handle, className, 64);
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    if (!::GetClassInfoExW(nullptr, className, &info)) return ::DefWindowProcW(handle, message, w, l);
    return ::CallWindowProcW(info.lpfnWndProc, handle, message, w, l);
}

int32_t Win32ScriptWindows::ControlId(WindowId window) { return ::GetDlgCtrlID(H(window)); }

bool Win32ScriptWindows::GetCheck(WindowId button) {
    return ::SendMessageW(H(button), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
void Win32ScriptWindows::SetCheck(WindowId button, bool check) {
    ::SendMessageW(H(button), BM_SETCHECK, check ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32ScriptWindows::ListSetExtendedStyle(WindowId list, uint32_t style) {
    ::SendMessageW(H(list), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style));
}

// A width of -1 leaves the column its default width.
void Win32ScriptWindows::ListInsertColumn(WindowId list, int32_t column, std::u16string_view heading, uint32_t format,
                                          int32_t width) {
    std::wstring text = ToWide(heading);
    LVCOLUMNW item{};
    item.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
    item.fmt = static_cast<int>(format);
    item.pszText = text.data();
    item.iSubItem = column;
    if (width != -1) {
        item.mask |= LVCF_WIDTH;
        item.cx = width;
    }
    ::SendMessageW(H(list), LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

void Win32ScriptWindows::ListInsertItem(WindowId list, int32_t index, std::u16string_view text) {
    std::wstring wide = ToWide(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = wide.data();
    ::SendMessageW(H(list), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void Win32ScriptWindows::ListSetItemText(WindowId list, int32_t index, int32_t subItem, std::u16string_view text) {
    std::wstring wide = ToWide(text);
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = wide.data();
    ::SendMessageW(H(list), LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

// The buffer grows until the text fits.
std::u16string Win32ScriptWindows::ListGetItemText(WindowId list, int32_t index, int32_t subItem) {
    std::vector<wchar_t> buffer(256);
    while (true) {
        LVITEMW item{};
        item.iSubItem = subItem;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const LRESULT length =
            ::SendMessageW(H(list), LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        if (length < static_cast<LRESULT>(buffer.size()) - 1 || buffer.size() >= (1u << 20)) {
            return FromWide(std::wstring_view(buffer.data(), static_cast<size_t>(length)));
        }
        buffer.resize(buffer.size() * 2);
    }
}

int32_t Win32ScriptWindows::ListItemCount(WindowId list) {
    return static_cast<int32_t>(::SendMessageW(H(list), LVM_GETITEMCOUNT, 0, 0));
}

void Win32ScriptWindows::ListSetCheck(WindowId list, int32_t index, bool check) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(check ? 2 : 1);
    ::SendMessageW(H(list), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool Win32ScriptWindows::ListGetCheck(WindowId list, int32_t index) {
    const LRESULT state = ::SendMessageW(H(list), LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_STATEIMAGEMASK);
    return ((static_cast<UINT>(state) >> 12) - 1) == 1;
}

void Win32ScriptWindows::ListEnsureVisible(WindowId list, int32_t index) {
    ::SendMessageW(H(list), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

void Win32ScriptWindows::ListSelect(WindowId list, int32_t index, bool select, bool unselectOthers) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    if (unselectOthers) {
        item.state = 0;
        ::SendMessageW(H(list), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    }
    item.state = select ? LVIS_SELECTED : 0;
    ::SendMessageW(H(list), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int32_t Win32ScriptWindows::ListNextSelected(WindowId list, int32_t from) {
    return static_cast<int32_t>(::SendMessageW(H(list), LVM_GETNEXTITEM, static_cast<WPARAM>(from), LVNI_SELECTED));
}

void Win32ScriptWindows::ProgressSetRange(WindowId bar, int32_t lower, int32_t upper) {
    ::SendMessageW(H(bar), PBM_SETRANGE32, static_cast<WPARAM>(lower), static_cast<LPARAM>(upper));
}

int32_t Win32ScriptWindows::ProgressPos(WindowId bar) {
    return static_cast<int32_t>(::SendMessageW(H(bar), PBM_GETPOS, 0, 0));
}

std::pair<int32_t, int32_t> Win32ScriptWindows::ProgressRange(WindowId bar) {
    PBRANGE range{};
    ::SendMessageW(H(bar), PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    return {range.iLow, range.iHigh};
}

void Win32ScriptWindows::ProgressSetPos(WindowId bar, int32_t pos) {
    ::SendMessageW(H(bar), PBM_SETPOS, static_cast<WPARAM>(pos), 0);
}

void Win32ScriptWindows::ProgressStep(WindowId bar, int32_t delta) {
    ::SendMessageW(H(bar), PBM_DELTAPOS, static_cast<WPARAM>(delta), 0);
}

}  // namespace ovrix::win32
