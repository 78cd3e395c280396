#include "platform/win32/SelectListDialog.h"

#include "platform/win32/CentreWindow.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Wide.h"

namespace ovrix::win32 {

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | DS_SHELLFONT | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU;

}  // namespace

DialogTemplate SelectStringTemplate(bool selectOnly) {
    DialogTemplate dialog(L"Select String", 267, 66, 9, kDialogStyle);
    dialog.AddStatic(L"Title:", IDC_SELECT_PROMPT, 7, 8, 252, 8, SS_LEFT | SS_NOPREFIX);
    const DWORD combo = selectOnly ? CBS_DROPDOWNLIST | CBS_SORT : CBS_DROPDOWN | CBS_AUTOHSCROLL;
    dialog.Add(L"ComboBox", L"", IDC_SELECT_COMBO, 7, 23, 254, 30, combo | WS_VSCROLL | WS_TABSTOP);
    dialog.AddButton(L"OK", IDOK, 68, 47, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP);
    dialog.AddButton(L"Cancel", IDCANCEL, 147, 47, 50, 14, BS_PUSHBUTTON | WS_TABSTOP);
    return dialog;
}

SelStrDlg::SelStrDlg(const SelectListRequest& request)
    : selectOnly_(request.selectOnly),
      title_(ToWide(request.caption)),
      prompt_(ToWide(request.prompt)),
      result_(ToWide(request.defaultItem)) {
    items_.reserve(request.items.size());
    for (const auto& item : request.items) items_.push_back(ToWide(item));
}

DialogAnswer SelStrDlg::Run() {
    const DialogTemplate dialog = SelectStringTemplate(selectOnly_);
    if (RunModalIndirect(dialog.Get(), nullptr) != IDOK) return {DialogButton::Cancel, {}};
    return {DialogButton::Ok, FromWide(result_)};
}

bool SelStrDlg::OnInitDialog() {
    const HWND dialog = Handle();
    const HWND combo = ::GetDlgItem(dialog, IDC_SELECT_COMBO);
    if (!title_.empty()) ::SetWindowTextW(dialog, title_.c_str());
    ::SetDlgItemTextW(dialog, IDC_SELECT_PROMPT, prompt_.c_str());
    ::SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
    for (const auto& item : items_) ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    ::SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(combo, nullptr, TRUE);
    // The control's own prefix search, without regard to case.
    if (!result_.empty()) ::SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(result_.c_str()));
    CentreAndBringForward(dialog);
    return true;  // the focus goes to the combo box, the first tab stop
}

std::optional<LRESULT> SelStrDlg::OnCommand(int id, int) {
    if (id == IDOK) {
        const HWND combo = ::GetDlgItem(Handle(), IDC_SELECT_COMBO);
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(combo)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(combo, text.data(), static_cast<int>(text.size()))));
        result_ = std::move(text);
    }
    if (id != IDOK && id != IDCANCEL) return std::nullopt;
    ::EndDialog(Handle(), id);
    return 0;
}

}  // namespace ovrix::win32
