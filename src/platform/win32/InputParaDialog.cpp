#include "platform/win32/InputParaDialog.h"

#include "platform/win32/CommonControls.h"

#include <algorithm>

#include "dialogs/ParameterItems.h"
#include "platform/win32/CentreWindow.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Wide.h"

namespace ovrix::win32 {

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | DS_SHELLFONT | DS_SETFOREGROUND | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr int kMinNameWidth = 85;
constexpr int kNamePadding = 15;
// Room kept free right of the value column (a vertical scroll bar fits).
constexpr int kValueMargin = 20;

std::wstring ShownName(const ParameterItem& item) {
    return ToWide(item.name) + (item.required ? L" *" : L"");
}

}  // namespace

DialogTemplate InputParametersTemplate() {
    DialogTemplate dialog(L"Input Parameters", 267, 122, 9, kDialogStyle);
    dialog.Add(WC_LISTVIEWW, L"", IDC_PARAMETER_LIST, 0, 0, 266, 96,
               LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP);
    dialog.AddButton(L"OK", IDOK, 68, 103, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP);
    dialog.AddButton(L"Cancel", IDCANCEL, 147, 103, 50, 14, BS_PUSHBUTTON | WS_TABSTOP);
    return dialog;
}

InputPara::InputPara(const InputParaRequest& request, std::function<void(std::u16string_view)> showMessage)
    : title_(ToWide(request.caption)), items_(request.items), showMessage_(std::move(showMessage)) {}

InputParaAnswer InputPara::Run() {
    // The list view's window class is registered by the common controls.
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
    const DialogTemplate dialog = InputParametersTemplate();
    if (RunModalIndirect(dialog.Get(), nullptr) != IDOK) return {DialogButton::Cancel, {}};
    return {DialogButton::Ok, values_};
}

int InputPara::NameColumnWidth(HWND list, const std::vector<std::wstring>& shownNames) {
    int widest = kMinNameWidth;
    for (const auto& name : shownNames) widest = std::max(widest, ListView_GetStringWidth(list, name.c_str()));
    return widest + kNamePadding;
}

bool InputPara::OnInitDialog() {
    const HWND dialog = Handle();
    if (!title_.empty()) ::SetWindowTextW(dialog, title_.c_str());
    const HWND list = ::GetDlgItem(dialog, IDC_PARAMETER_LIST);
    std::vector<std::wstring> shown;
    for (const auto& item : items_) shown.push_back(ShownName(item));
    RECT client{};
    ::GetClientRect(list, &client);
    const int nameWidth = NameColumnWidth(list, shown);
    list_.Attach(list, reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0)), this);
    list_.SetColumns(nameTitle_, nameWidth, valueTitle_, client.right - nameWidth - kValueMargin);
    for (size_t i = 0; i < items_.size(); ++i) list_.AddRow(shown[i], ToWide(items_[i].value));
    CentreAndBringForward(dialog);
    const int firstEmpty = NextEmptyRow(0);
    if (firstEmpty >= 0) {
        list_.StartEdit(firstEmpty);
        return false;  // the focus stays where editing put it
    }
    ::SetFocus(list);
    return false;
}

int InputPara::NextEmptyRow(int row) const {
    for (int i = std::max(row, 0); i < list_.RowCount(); ++i) {
        if (list_.Value(i).empty()) return i;
    }
    return -1;
}

void InputPara::OnEndEdit(CPropList&, int row, bool committed) {
    if (!committed) return;
    const int next = NextEmptyRow(row + 1);
    if (next >= 0) list_.StartEdit(next);
}

void InputPara::OnOk() {
    values_.clear();
    for (int i = 0; i < list_.RowCount(); ++i) values_.push_back(FromWide(list_.Value(i)));
    if (const auto refused = CheckParameters(items_, values_)) {
        if (showMessage_) showMessage_(refused->message);
        list_.StartEdit(static_cast<int>(refused->row));
        return;
    }
    ::EndDialog(Handle(), IDOK);
}

std::optional<LRESULT> InputPara::OnCommand(int id, int) {
    switch (id) {
        case IDOK:
            // A running edit ends as losing the focus would end it: its text kept.
            list_.EndEdit(false, false);
            OnOk();
            return 0;
        case IDCANCEL:
            ::EndDialog(Handle(), IDCANCEL);
            return 0;
        default:
            return std::nullopt;
    }
}

}  // namespace ovrix::win32
