// The script error dialog (template 107): a fixed explanation and the error
// text in a scrolling read-only field. It only shows; what happens after it
// closes (the stop request) is the caller's business.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/Window.h"

namespace ovrix::win32 {

class CScriptErrorDlg : public Window {
public:
    explicit CScriptErrorDlg(std::u16string_view text);

    // Runs the dialog modally without an owner until OK closes it.
    void Run();

private:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnCommand(int id, int code) override;

    std::wstring text_;
};

// A multi-line edit control breaks lines only at "\r\n": a lone line feed
// (or carriage return) becomes the pair, pairs stay as they are.
std::wstring WithDialogLineBreaks(std::wstring_view text);

}  // namespace ovrix::win32
