#include "platform/win32/ScriptErrorDialog.h"

#include "platform/win32/CentreWindow.h"
#include "platform/win32/Resource.h"
#include "platform/win32/Wide.h"

namespace ovrix::win32 {

std::wstring WithDialogLineBreaks(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            out += L"\r\n";
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else {
            out += c;
        }
    }
    return out;
}

CScriptErrorDlg::CScriptErrorDlg(std::u16string_view text) : text_(WithDialogLineBreaks(ToWide(text))) {}

void CScriptErrorDlg::Run() { RunModal(::GetModuleHandleW(nullptr), IDD_SCRIPT_ERROR, nullptr); }

bool CScriptErrorDlg::OnInitDialog() {
    ::SetDlgItemTextW(Handle(), IDC_SCRIPT_ERROR_TEXT, text_.c_str());
    CentreOnPrimaryScreen(Handle());
    // The focus starts on OK rather than in the text, which would select the
    // whole text and scroll to its end.
    ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(Handle(), IDOK)), TRUE);
    return false;
}

std::optional<LRESULT> CScriptErrorDlg::OnCommand(int id, int) {
    if (id != IDOK && id != IDCANCEL) return std::nullopt;
    ::EndDialog(Handle(), id);
    return 0;
}

}  // namespace ovrix::win32
