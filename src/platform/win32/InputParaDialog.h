// The input parameters dialog: a property grid of names and values from a
// template built in memory ("Input Parameters"). Editing starts in the first
// empty value; Enter in a cell moves on to the next empty one below; OK is
// refused while a required value is empty (the decision is the portable
// CheckParameters'), with a message and the edit moved to that row.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/win32/DialogTemplate.h"
#include "platform/win32/PropList.h"
#include "platform/win32/Window.h"

namespace ovrix::win32 {

DialogTemplate InputParametersTemplate();

class InputPara : public Window, public CPropList::CallBack {
public:
    // `showMessage` tells the person why OK was refused, as the player's
    // message boxes do.
    InputPara(const InputParaRequest& request, std::function<void(std::u16string_view)> showMessage);

    // Runs the dialog modally without an owner until OK is accepted or Cancel.
    InputParaAnswer Run();

    // The name column's width for the widest shown name (in the list's font).
    static int NameColumnWidth(HWND list, const std::vector<std::wstring>& shownNames);

private:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnCommand(int id, int code) override;
    void OnEndEdit(CPropList& list, int row, bool committed) override;
    void OnOk();
    // The next row at or below `row` whose value is empty, or -1.
    int NextEmptyRow(int row) const;

    std::wstring title_;
    std::vector<ParameterItem> items_;
    std::vector<std::u16string> values_;
    std::wstring nameTitle_ = L"Parameter";
    std::wstring valueTitle_ = L"Value";
    std::function<void(std::u16string_view)> showMessage_;
    CPropList list_;
};

}  // namespace ovrix::win32
