// The selection list: a combo box under a prompt, from one of two templates
// built in memory, "select only" (a drop-down list the control sorts) or
// "select or enter" (a drop-down with an edit field, items in the given
// order). It hands back the button and, after OK, the combo box's text.
#pragma once

#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/win32/DialogTemplate.h"
#include "platform/win32/Window.h"

namespace ovrix::win32 {

// The "Select String" template of either form.
DialogTemplate SelectStringTemplate(bool selectOnly);

class SelStrDlg : public Window {
public:
    explicit SelStrDlg(const SelectListRequest& request);

    // Runs the list modally without an owner until OK or Cancel.
    DialogAnswer Run();

private:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnCommand(int id, int code) override;

    bool selectOnly_;
    std::wstring title_, prompt_, result_;
    std::vector<std::wstring> items_;
};

}  // namespace ovrix::win32
