// The input boxes: one line (template 105) and several lines (template 106,
// resizable, its edit field a CCtrlEnterEdit that appends tabs). What the
// box shows is decided before it opens; it hands back the button and, after
// OK, the edit field's text. The dialog and the prompt sit on light grey.
#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "platform/win32/CtrlEnterEdit.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Window.h"

namespace ovrix::win32 {

class CInputBox : public Window {
public:
    explicit CInputBox(const InputBoxRequest& request) : CInputBox(request, false) {}

    // Runs the box modally without an owner until OK or Cancel.
    DialogAnswer Run();

protected:
    CInputBox(const InputBoxRequest& request, bool multiLine);

    bool OnInitDialog() override;
    std::optional<LRESULT> OnCommand(int id, int code) override;
    std::optional<LRESULT> OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::wstring title_, prompt_, text_;
    bool multiLine_;
    UniqueBrush background_;
};

class CInputBoxML : public CInputBox {
public:
    explicit CInputBoxML(const InputBoxRequest& request);

private:
    bool OnInitDialog() override;
    std::optional<LRESULT> OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The edit field follows the frame; the buttons keep their distance from
    // the bottom and stay centred; the prompt keeps its height.
    void Layout(int width, int height);

    CCtrlEnterEdit edit_;
    SIZE initialClient_{};
    SIZE initialFrame_{};
    RECT initialPlaces_[4]{};  // prompt, edit, OK, Cancel as the template has them
};

}  // namespace ovrix::win32
