#include "platform/win32/PropList.h"

#include "platform/win32/CommonControls.h"

#include <algorithm>

namespace ovrix::win32 {

namespace {

constexpr UINT_PTR kSubclassId = 0x9B0B;
constexpr int kEditFieldId = 1;
constexpr int kDropDownId = 2;
// The in-place control sits this far right of and below the cell's corner.
constexpr int kCellOffsetX = 5;
constexpr int kCellOffsetY = 2;
// How many choices the opened drop-down list shows before it scrolls.
constexpr int kVisibleChoices = 8;

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

CPropList::~CPropList() {
    if (list_ != nullptr) ::RemoveWindowSubclass(list_, &ListProc, kSubclassId);
    if (edit_ != nullptr) ::RemoveWindowSubclass(edit_, &FloatProc, kSubclassId);
    if (combo_ != nullptr) ::RemoveWindowSubclass(combo_, &FloatProc, kSubclassId);
}

void CPropList::Attach(HWND list, HFONT font, CallBack* callback) {
    list_ = list;
    callback_ = callback;
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    edit_ = ::CreateWindowExW(0, L"Edit", L"", WS_CHILD | ES_AUTOHSCROLL, 0, 0, 0, 0, list,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditFieldId)), instance, nullptr);
    combo_ = ::CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 0, 0, list,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kDropDownId)), instance, nullptr);
    for (const HWND control : {edit_, combo_}) {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        ::SetWindowSubclass(control, &FloatProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    }
    ::SetWindowSubclass(list, &ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void CPropList::SetColumns(const std::wstring& nameTitle, int nameWidth, const std::wstring& valueTitle,
                           int valueWidth) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<wchar_t*>(nameTitle.c_str());
    column.cx = nameWidth;
    column.iSubItem = 0;
    ListView_InsertColumn(list_, 0, &column);
    column.pszText = const_cast<wchar_t*>(valueTitle.c_str());
    column.cx = valueWidth;
    column.iSubItem = 1;
    ListView_InsertColumn(list_, 1, &column);
}

int CPropList::AddRow(const std::wstring& name, const std::wstring& value, std::vector<std::wstring> choices) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = RowCount();
    item.pszText = const_cast<wchar_t*>(name.c_str());
    const int row = ListView_InsertItem(list_, &item);
    if (row < 0) return row;
    ListView_SetItemText(list_, row, 1, const_cast<wchar_t*>(value.c_str()));
    rows_.push_back({std::move(choices)});
    return row;
}

std::wstring CPropList::Value(int row) const {
    std::wstring text(1024, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = 1;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const auto length = static_cast<size_t>(
            ::SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

void CPropList::StartEdit(int row) {
    if (row < 0 || row >= RowCount() || row == row_) return;
    EndEditAndFocus(false, false, false);
    ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ::SetFocus(list_);
    if (readOnly != 0) return;
    ListView_EnsureVisible(list_, row, FALSE);
    RECT cell{};
    ListView_GetSubItemRect(list_, row, 1, LVIR_BOUNDS, &cell);
    ::OffsetRect(&cell, kCellOffsetX, kCellOffsetY);
    const int width = cell.right - cell.left;
    const int height = cell.bottom - cell.top;
    const std::wstring value = Value(row);
    const auto& choices = rows_[static_cast<size_t>(row)].choices;
    HWND control = edit_;
    if (!choices.empty()) {
        control = combo_;
        ::SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
        for (const auto& choice : choices) {
            ::SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
        }
        // The height includes the opened list.
        const int shown = std::min(static_cast<int>(choices.size()), kVisibleChoices) + 1;
        ::SetWindowPos(combo_, HWND_TOP, cell.left, cell.top, width, height * (shown + 1), SWP_NOACTIVATE);
        const LRESULT match = ::SendMessageW(combo_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(value.c_str()));
        ::SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(match), 0);
    } else {
        ::SetWindowPos(edit_, HWND_TOP, cell.left, cell.top, width, height, SWP_NOACTIVATE);
        ::SetWindowTextW(edit_, value.c_str());
        const auto end = static_cast<WPARAM>(value.size());
        ::SendMessageW(edit_, EM_SETSEL, end, static_cast<LPARAM>(end));
    }
    // The row is ours before the control takes the focus from the list.
    row_ = row;
    ::ShowWindow(control, SW_SHOW);
    ::SetFocus(control);
    if (callback_ != nullptr) callback_->OnStartEdit(*this, row);
}

void CPropList::EndEditAndFocus(bool committed, bool pressOk, bool focusList) {
    if (inEndEdit_ != 0) return;
    const int row = row_;
    {
        inEndEdit_ = 1;
        if (row >= 0) {
            const bool inCombo = !rows_[static_cast<size_t>(row)].choices.empty();
            const std::wstring text = WindowText(inCombo ? combo_ : edit_);
            if (callback_ == nullptr || callback_->OnValueChange(*this, row, text) == 0) {
                ListView_SetItemText(list_, row, 1, const_cast<wchar_t*>(text.c_str()));
            }
            row_ = -1;
        }
        ::ShowWindow(edit_, SW_HIDE);
        ::ShowWindow(combo_, SW_HIDE);
        if (row >= 0) {
            ListView_SetItemState(list_, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            if (focusList) ::SetFocus(list_);
            if (callback_ != nullptr) callback_->OnEndEdit(*this, row, committed);
        }
        inEndEdit_ = 0;
    }
    if (row >= 0 && pressOk) {
        const HWND dialog = ::GetParent(list_);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    }
}

bool CPropList::OnFloatKey(WPARAM key, bool inEditField) {
    if (!inEditField && ::SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) != 0) return false;  // the list's own keys
    switch (key) {
        case VK_RETURN:
            swallowChar_ = ::GetKeyState(VK_CONTROL) < 0 ? L'\n' : L'\r';
            EndEdit(true, inEditField && ::GetKeyState(VK_CONTROL) < 0);
            return true;
        case VK_ESCAPE:
            swallowChar_ = 0x1B;
            row_ = -1;  // forgotten: the typed text is dropped
            EndEdit(false, false);
            ::SetFocus(list_);
            return true;
        case VK_UP:
            if (row_ > 0) StartEdit(row_ - 1);
            return true;
        case VK_DOWN:
            if (row_ >= 0 && row_ + 1 < RowCount()) StartEdit(row_ + 1);
            return true;
        default:
            return false;
    }
}

void CPropList::OnFloatFocusLost(HWND gaining) {
    if (row_ < 0 || inEndEdit_ != 0) return;
    // Taking the focus back from a window that has just been given it (a
    // button being pressed) would cancel the press.
    const bool elsewhere = gaining != nullptr && gaining != list_ && gaining != edit_ && gaining != combo_;
    EndEditAndFocus(false, false, !elsewhere);
}

void CPropList::OnListClick(LPARAM point) {
    LVHITTESTINFO hit{};
    hit.pt = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    const int row = ListView_SubItemHitTest(list_, &hit);
    if (row >= 0 && row < RowCount()) {
        StartEdit(row);
    } else {
        EndEdit(false, false);
        ::SetFocus(list_);
    }
}

LRESULT CALLBACK CPropList::ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR self) {
    auto* list = reinterpret_cast<CPropList*>(self);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            list->OnListClick(lParam);
            return 0;
        case WM_VSCROLL:
        case WM_HSCROLL:
        case WM_MOUSEWHEEL: {
            // The cell moves away from the control: the typed text is dropped,
            // and the keys go to the list rather than to a hidden control.
            const HWND focus = ::GetFocus();
            list->row_ = -1;
            list->EndEdit(false, false);
            if (focus == list->edit_ || focus == list->combo_) ::SetFocus(window);
            break;
        }
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, &ListProc, kSubclassId);
            list->list_ = nullptr;
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK CPropList::FloatProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
    auto* list = reinterpret_cast<CPropList*>(self);
    const bool inEditField = window == list->edit_;
    switch (message) {
        case WM_GETDLGCODE: {
            // Enter and Esc are the cell's, not the dialog's default and cancel buttons.
            const LRESULT code = ::DefSubclassProc(window, message, wParam, lParam);
            const auto* pending = reinterpret_cast<const MSG*>(lParam);
            if (pending != nullptr && pending->message == WM_KEYDOWN &&
                (pending->wParam == VK_RETURN || pending->wParam == VK_ESCAPE)) {
                return code | DLGC_WANTALLKEYS;
            }
            return code | DLGC_WANTARROWS;
        }
        case WM_KEYDOWN:
            if (list->OnFloatKey(wParam, inEditField)) return 0;
            break;
        case WM_CHAR:
            if (list->swallowChar_ != 0 && static_cast<wchar_t>(wParam) == list->swallowChar_) {
                list->swallowChar_ = 0;
                return 0;
            }
            list->swallowChar_ = 0;
            break;
        case WM_KILLFOCUS:
            list->OnFloatFocusLost(reinterpret_cast<HWND>(wParam));
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(window, &FloatProc, kSubclassId);
            (inEditField ? list->edit_ : list->combo_) = nullptr;
            break;
        default:
            break;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace ovrix::win32
