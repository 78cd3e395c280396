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

}  // namespace ovrix
