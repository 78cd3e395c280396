// Message boxes and the modal dialogs the player shows: the script error
// dialog and the countdown dialog. Every one of them is traced.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

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

protected:
    virtual int32_t DoMessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) = 0;
    virtual int32_t DoMessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                                        uint32_t timeoutMs) = 0;
    virtual void DoShowScriptError(std::u16string_view text) = 0;
    virtual void DoRunCountdownDialog(CountdownDialog& dialog) = 0;
};

}  // namespace ovrix
