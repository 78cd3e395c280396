#include "platform/Desktop.h"

namespace ovrix {

namespace {

const char* LineName(ProgressLine line) {
    switch (line) {
        case ProgressLine::Repeat: return "repeat";
        case ProgressLine::Step: return "step";
        case ProgressLine::Status: return "status";
        case ProgressLine::Script: return "script";
    }
    return "?";
}

}  // namespace

void Desktop::TraceEvent(std::string_view event, std::string_view args) {
    if (trace_.Enabled()) trace_.Write(platform_.TraceClock(), event, args);
}

void Desktop::MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data) {
    TraceEvent("mouse", Hex(flags) + " " + std::to_string(dx) + " " + std::to_string(dy) + " " +
                            std::to_string(data));
    platform_.MouseEvent(flags, dx, dy, data);
}

void Desktop::KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    TraceEvent("key", std::to_string(vk) + " " + std::to_string(scan) + " " + Hex(flags));
    platform_.KeybdEvent(vk, scan, flags);
}

void Desktop::SetCursorPos(int32_t x, int32_t y) {
    TraceEvent("cursor", std::to_string(x) + " " + std::to_string(y));
    platform_.SetCursorPos(x, y);
}

bool Desktop::SendInput(const std::vector<KeyInput>& records) {
    for (const KeyInput& record : records) {
        TraceEvent("input", std::to_string(record.vk) + " " + std::to_string(record.scan) + " " + Hex(record.flags));
    }
    return platform_.SendInput(records);
}

bool Desktop::OpenProgressWindow(const ProgressWindowSettings& settings) {
    for (auto& line : lines_) line.clear();
    return platform_.OpenProgressWindow(settings);
}

void Desktop::CloseProgressWindow() { platform_.CloseProgressWindow(); }

void Desktop::SetLine(ProgressLine line, std::u16string_view text) {
    auto& current = lines_[static_cast<size_t>(line)];
    if (current == text) return;
    current.assign(text);
    TraceEvent("line", std::string(LineName(line)) + " " + JsonString(text));
    platform_.ShowProgressLine(line, text);
}

int32_t Desktop::MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) {
    TraceEvent("msgbox", Hex(style) + " " + JsonString(title) + " " + JsonString(text));
    return platform_.MessageBox(text, title, style);
}

void Desktop::ShowScriptError(std::u16string_view text) {
    TraceEvent("error", JsonString(text));
    platform_.ShowScriptError(text);
}

namespace {

// Traces what a countdown dialog shows, whatever desktop shows it.
class TracedCountdown : public CountdownDialog {
public:
    TracedCountdown(Desktop& desktop, CountdownDialog& inner) : desktop_(desktop), inner_(inner) {}

    Texts Initial() override {
        Texts texts = inner_.Initial();
        desktop_.TraceEvent("dialog", JsonString(texts.title) + " " + JsonString(texts.message) + " " +
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
        desktop_.TraceEvent("countdown", JsonString(text));
    }

    Desktop& desktop_;
    CountdownDialog& inner_;
    std::u16string shown_;
};

}  // namespace

void Desktop::RunCountdownDialog(CountdownDialog& dialog) {
    TracedCountdown traced(*this, dialog);
    platform_.RunCountdownDialog(traced);
    TraceEvent("dialog-closed");
}

uint32_t Desktop::CopyFile(std::u16string_view source, std::u16string_view destination) {
    const uint32_t error = platform_.CopyFile(source, destination);
    TraceEvent("copy", JsonString(source) + " " + JsonString(destination) + " " + std::to_string(error));
    return error;
}

uint32_t Desktop::DeleteFile(std::u16string_view path) {
    const uint32_t error = platform_.DeleteFile(path);
    TraceEvent("delete", JsonString(path) + " " + std::to_string(error));
    return error;
}

bool Desktop::EnableShutdownPrivilege() {
    const bool granted = platform_.EnableShutdownPrivilege();
    TraceEvent("privilege", std::string("\"SeShutdownPrivilege\" ") + (granted ? "1" : "0"));
    return granted;
}

bool Desktop::ExitWindows(uint32_t flags, uint32_t reason) {
    TraceEvent("exitwindows", Hex(flags) + " " + Hex(reason));
    return platform_.ExitWindows(flags, reason);
}

bool Desktop::SetClipboardText(std::u16string_view text) {
    TraceEvent("clipboard", JsonString(text));
    return platform_.SetClipboardText(text);
}

bool Desktop::ShellExecute(std::u16string_view verb, std::u16string_view file, std::u16string_view parameters,
                           int32_t show) {
    TraceEvent("shell", JsonString(verb) + " " + JsonString(file) + " " + JsonString(parameters) + " " +
                            std::to_string(show));
    return platform_.ShellExecute(verb, file, parameters, show);
}

}  // namespace ovrix
