#include "platform/Dialogs.h"

#include "platform/Trace.h"

namespace ovrix {

namespace {

// Traces what a countdown dialog shows, whatever desktop shows it.
class TracedCountdown : public CountdownDialog {
public:
    TracedCountdown(EventTracer& tracer, CountdownDialog& inner) : tracer_(tracer), inner_(inner) {}

    Texts Initial() override {
        Texts texts = inner_.Initial();
        tracer_.TraceEvent("dialog", JsonString(texts.title) + " " + JsonString(texts.message) + " " +
                                         JsonString(texts.button));
        Show(texts.countdown);
        return texts;
    }
    uint32_t TimerPeriodMs() const override { return inner_.TimerPeriodMs(); }
    Update Tick() override { return Shown(inner_.Tick()); }
    Update Immediate() override { return Shown(inner_.Immediate()); }

private:
    Update Shown(Update update) {
        Show(update.countdown);
        return update;
    }
    void Show(const std::u16string& text) {
        if (text == shown_) return;
        shown_ = text;
        tracer_.TraceEvent("countdown", JsonString(text));
    }

    EventTracer& tracer_;
    CountdownDialog& inner_;
    std::u16string shown_;
};

// The `ask` line of a dialog that closed: what it was shown with and what
// the person did.
std::string AskLine(std::string_view kind, std::u16string_view caption, std::u16string_view prompt,
                    DialogButton button, std::u16string_view answer) {
    return std::string(kind) + " " + JsonString(caption) + " " + JsonString(prompt) + " " +
           (button == DialogButton::Ok ? "ok " : "cancel ") + JsonString(answer);
}

// An empty caption leaves the template's caption, which the trace names.
std::u16string_view Shown(const std::u16string& caption, std::u16string_view templateCaption) {
    return caption.empty() ? templateCaption : std::u16string_view(caption);
}

}  // namespace

int32_t Dialogs::MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) {
    TraceEvent("msgbox", Hex(style) + " " + JsonString(title) + " " + JsonString(text));
    return DoMessageBox(text, title, style);
}

int32_t Dialogs::MessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                                   uint32_t timeoutMs) {
    TraceEvent("msgbox", Hex(style) + " " + JsonString(title) + " " + JsonString(text) + " " +
                             std::to_string(timeoutMs));
    return DoMessageBoxTimeout(text, title, style, timeoutMs);
}

void Dialogs::ShowScriptError(std::u16string_view text) {
    TraceEvent("error", JsonString(text));
    DoShowScriptError(text);
}

void Dialogs::RunCountdownDialog(CountdownDialog& dialog) {
    if (Tracer() == nullptr) {
        DoRunCountdownDialog(dialog);
        return;
    }
    TracedCountdown traced(*Tracer(), dialog);
    DoRunCountdownDialog(traced);
    TraceEvent("dialog-closed");
}

DialogAnswer Dialogs::RunInputBox(const InputBoxRequest& request) {
    DialogAnswer answer = DoRunInputBox(request);
    if (answer.button == DialogButton::Cancel) answer.text.clear();
    if (Tracing()) {
        TraceEvent("ask", AskLine(request.multiLine ? "inputboxml" : "inputbox", Shown(request.caption, u"Input Box"),
                                  request.prompt, answer.button, answer.text));
    }
    return answer;
}

DialogAnswer Dialogs::RunSelectList(const SelectListRequest& request) {
    DialogAnswer answer = DoRunSelectList(request);
    if (answer.button == DialogButton::Cancel) answer.text.clear();
    if (Tracing()) {
        TraceEvent("ask", AskLine("selectlist", Shown(request.caption, u"Select String"), request.prompt,
                                  answer.button, answer.text));
    }
    return answer;
}

DialogButton Dialogs::RunConfirmBox(const ConfirmRequest& request) {
    const DialogButton button = DoRunConfirmBox(request);
    if (Tracing()) TraceEvent("ask", AskLine("confirm", request.caption, request.message, button, u""));
    return button;
}

InputParaAnswer Dialogs::RunInputPara(const InputParaRequest& request) {
    InputParaAnswer answer = DoRunInputPara(request);
    if (answer.button == DialogButton::Cancel) answer.values.clear();
    // A desktop that hands back fewer values than rows left the rest empty.
    if (answer.button == DialogButton::Ok) answer.values.resize(request.items.size());
    if (Tracing()) {
        std::u16string lines;
        for (size_t i = 0; i < answer.values.size(); ++i) {
            if (i > 0) lines += u'\n';
            lines += request.items[i].name + u"=" + answer.values[i];
        }
        TraceEvent("ask", AskLine("inputpara", Shown(request.caption, u"Input Parameters"), u"", answer.button, lines));
    }
    return answer;
}

}  // namespace ovrix
