// Message boxes and the modal dialogs the player shows: the script error
// dialog, the countdown dialog and the dialogs a script asks the person
// with. Every one of them is traced.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Facet.h"

namespace ovrix {

// Message box styles and answers the player uses.
constexpr uint32_t kMbOk = 0x0;
constexpr int32_t kIdOk = 1;

// The title of the player's own message boxes.
inline constexpr std::u16string_view kAppTitle = u"Ovrix";

// A modal countdown dialog (the shutdown step's). The platform shows it and
// calls back; the dialog's texts and decisions stay in portable code.
class CountdownDialog {
public:
    struct Texts {
        std::u16string title, message, button, countdown;
    };
    // What the countdown line shows next, and whether the timer stops now.
    struct Update {
        std::u16string countdown;
        bool stopTimer = false;
        // Run by the desktop once the text is on screen: carrying out the
        // action comes after the dialog has said what it is doing.
        std::function<void()> afterShown;
    };
    virtual ~CountdownDialog() = default;
    virtual Texts Initial() = 0;
    virtual uint32_t TimerPeriodMs() const { return 1000; }
    virtual Update Tick() = 0;       // each timer period
    virtual Update Immediate() = 0;  // the immediate button
};

// The dialogs a script asks the person with. Each request holds what the
// platform needs to show the dialog, already decided by portable code: the
// platform shows it as given and hands back what the person did. An empty
// caption keeps the template's own caption ("Input Box", "Select String",
// "Input Parameters").
enum class DialogButton { Ok, Cancel };

struct InputBoxRequest {
    std::u16string caption;
    std::u16string prompt;  // line 1001 as shown
    std::u16string text;    // the edit field's initial text
    bool multiLine = false;  // the resizable multi-line box (Enter starts a new line)
};

struct SelectListRequest {
    std::u16string caption;
    std::u16string prompt;  // as shown: the fallback prompt is already in place
    bool selectOnly = true;  // the drop-down list the control sorts; else a drop-down with an edit field
    std::vector<std::u16string> items;  // in the given order; none of them is empty
    // Selects the first item (in the control's order) that begins with it,
    // without regard to case; empty selects nothing.
    std::u16string defaultItem;
};

// Closed with OK: the edit field's text, or the combo box's text (the
// selected item, or what was typed in the select-or-enter form). Cancel
// hands back the empty text.
struct DialogAnswer {
    DialogButton button = DialogButton::Cancel;
    std::u16string text;
};

// The confirmation box is a message box: the caption and message as given,
// with OK and Cancel, a question icon, brought to the foreground and kept
// on top.
constexpr uint32_t kConfirmBoxStyle = 0x50021;

struct ConfirmRequest {
    std::u16string caption;
    std::u16string message;
};

// One row of the input parameters dialog.
struct ParameterItem {
    std::u16string name;   // without the required mark; shown with " *" when required
    std::u16string value;  // the value cell's initial text
    bool required = false;  // may not be left empty
};

// OK is checked inside the open dialog: CheckParameters (in
// dialogs/ParameterItems.h) is given the items and the rows' values; when it
// refuses, the dialog shows its message as ShowMessage does, starts editing
// the row it names and stays open.
struct InputParaRequest {
    std::u16string caption;
    std::vector<ParameterItem> items;  // never empty
};

// Closed with OK: every row's value, in item order. Cancel: no values.
struct InputParaAnswer {
    DialogButton button = DialogButton::Cancel;
    std::vector<std::u16string> values;
};

class Dialogs : public TracedFacet {
public:
    // Answers the id of the button pressed (1 OK, 2 Cancel, ...).
    int32_t MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style);
    // A message box that closes itself after timeoutMs, answering 32000 then.
    int32_t MessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                              uint32_t timeoutMs);
    // A plain message box with the player's title and an OK button.
    void ShowMessage(std::u16string_view text) { MessageBox(text, kAppTitle, kMbOk); }
    // The modal script error dialog with the error text; returns when it is closed.
    void ShowScriptError(std::u16string_view text);
    // Runs the countdown dialog modally, tracing what it shows; returns when it is closed.
    void RunCountdownDialog(CountdownDialog& dialog);

    // The dialogs a script asks with, run modally without an owner window,
    // centred on the primary screen and brought to the foreground. Each is
    // traced when it closes: `ask <kind> "<caption shown>" "<prompt>" <ok|cancel> "<answer>"`.
    DialogAnswer RunInputBox(const InputBoxRequest& request);
    DialogAnswer RunSelectList(const SelectListRequest& request);
    DialogButton RunConfirmBox(const ConfirmRequest& request);
    InputParaAnswer RunInputPara(const InputParaRequest& request);

protected:
    virtual int32_t DoMessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) = 0;
    virtual int32_t DoMessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                                        uint32_t timeoutMs) = 0;
    virtual void DoShowScriptError(std::u16string_view text) = 0;
    virtual void DoRunCountdownDialog(CountdownDialog& dialog) = 0;
    virtual DialogAnswer DoRunInputBox(const InputBoxRequest& request) = 0;
    virtual DialogAnswer DoRunSelectList(const SelectListRequest& request) = 0;
    virtual DialogButton DoRunConfirmBox(const ConfirmRequest& request) = 0;
    virtual InputParaAnswer DoRunInputPara(const InputParaRequest& request) = 0;
};

}  // namespace ovrix
