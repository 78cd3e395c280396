#include "platform/Desktop.h"

#include "shell/ProgressWindowLogic.h"

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

Desktop::~Desktop() {
    if (progress_) platform_.CloseProgressWindow();
}

void Desktop::TraceEvent(std::string_view event, std::string_view args) {
    if (!trace_.Enabled()) return;
    std::lock_guard lock(traceMutex_);
    trace_.Write(platform_.TraceClock(), event, args);
}

void Desktop::MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data) {
    if (Tracing()) TraceEvent("mouse", Hex(flags) + " " + std::to_string(dx) + " " + std::to_string(dy) + " " +
                            std::to_string(data));
    platform_.MouseEvent(flags, dx, dy, data);
}

void Desktop::KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    if (Tracing()) TraceEvent("key", std::to_string(vk) + " " + std::to_string(scan) + " " + Hex(flags));
    platform_.KeybdEvent(vk, scan, flags);
}

void Desktop::SetCursorPos(int32_t x, int32_t y) {
    if (Tracing()) TraceEvent("cursor", std::to_string(x) + " " + std::to_string(y));
    platform_.SetCursorPos(x, y);
}

bool Desktop::SendInput(const std::vector<KeyInput>& records) {
    for (const KeyInput& record : records) {
        if (!Tracing()) break;
        TraceEvent("input", std::to_string(record.vk) + " " + std::to_string(record.scan) + " " + Hex(record.flags));
    }
    return platform_.SendInput(records);
}

bool Desktop::RecordLine(ProgressLine line, std::u16string_view text) {
    auto& current = lines_[static_cast<size_t>(line)];
    if (current == text) return false;
    current.assign(text);
    if (Tracing()) TraceEvent("line", std::string(LineName(line)) + " " + JsonString(text));
    return true;
}

void Desktop::SetLine(ProgressLine line, std::u16string_view text) {
    if (RecordLine(line, text)) platform_.ShowProgressLine(line, text);
}

namespace {

const char* HotkeyName(int32_t id) { return id == kStopHotkeyId ? "stop" : id == kPauseHotkeyId ? "pause" : "?"; }

}  // namespace

// Traces what the progress window does that a user would notice: its place,
// showing and hiding, the hotkeys it takes or is refused, its messages and
// its script line. Runs on the window's thread.
class TracedProgressHost : public ProgressWindowHost {
public:
    TracedProgressHost(Desktop& desktop, ProgressWindowHost& inner) : desktop_(desktop), inner_(inner) {}

    bool RegisterHotkey(int32_t id, uint32_t modifiers, uint32_t key) override {
        const bool registered = inner_.RegisterHotkey(id, modifiers, key);
        desktop_.TraceEvent("hotkey", std::string(HotkeyName(id)) + " " + Hex(modifiers) + " " + std::to_string(key) +
                                          (registered ? " 1" : " 0"));
        return registered;
    }
    ScreenRect Frame() override { return inner_.Frame(); }
    void MoveTo(ProgressCorner corner, Point at) override {
        desktop_.TraceEvent("progress", corner == ProgressCorner::BottomRight ? "move bottom-right" : "move bottom-left");
        inner_.MoveTo(corner, at);
    }
    void Show(bool visible) override {
        desktop_.TraceEvent("progress", visible ? "show" : "hide");
        inner_.Show(visible);
    }
    bool WorkArea(ScreenRect& out) override { return inner_.WorkArea(out); }
    ScreenSize FullScreenSize() override { return inner_.FullScreenSize(); }
    Point CursorPos() override { return inner_.CursorPos(); }
    int32_t MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) override {
        desktop_.TraceEvent("msgbox", Hex(style) + " " + JsonString(title) + " " + JsonString(text));
        return inner_.MessageBox(text, title, style);
    }
    std::u16string ProgramPath() override { return inner_.ProgramPath(); }
    // Only while the window starts, when the playback thread waits for it.
    void SetScriptLine(std::u16string_view text) override {
        desktop_.RecordLine(ProgressLine::Script, text);
        inner_.SetScriptLine(text);
    }
    void StartTimer(uint32_t periodMs) override { inner_.StartTimer(periodMs); }

private:
    Desktop& desktop_;
    ProgressWindowHost& inner_;
};

namespace {

// Hands the platform's window to the logic through the tracing host.
class TracedProgressWindow : public ProgressWindowBehaviour {
public:
    TracedProgressWindow(Desktop& desktop, const ProgressWindowSettings& settings)
        : desktop_(desktop), logic_(settings, desktop.Raw()) {}

    void Start(ProgressWindowHost& host) override {
        TracedProgressHost traced(desktop_, host);
        logic_.Start(traced);
    }
    void OnTimer(ProgressWindowHost& host) override {
        TracedProgressHost traced(desktop_, host);
        logic_.OnTimer(traced);
    }
    void OnHotkey(ProgressWindowHost& host, int32_t id) override {
        desktop_.TraceEvent("hotkey-press", HotkeyName(id));
        TracedProgressHost traced(desktop_, host);
        logic_.OnHotkey(traced, id);
    }

private:
    Desktop& desktop_;
    ProgressWindowLogic logic_;
};

}  // namespace

bool Desktop::OpenProgressWindow(const ProgressWindowSettings& settings) {
    CloseProgressWindow();
    for (auto& line : lines_) line.clear();
    progress_ = std::make_unique<TracedProgressWindow>(*this, settings);
    if (platform_.OpenProgressWindow(*progress_)) return true;
    progress_.reset();
    return false;
}

void Desktop::CloseProgressWindow() {
    platform_.CloseProgressWindow();
    progress_.reset();
}

int32_t Desktop::MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) {
    TraceEvent("msgbox", Hex(style) + " " + JsonString(title) + " " + JsonString(text));
    return platform_.MessageBox(text, title, style);
}

int32_t Desktop::MessageBoxTimeout(std::u16string_view text, std::u16string_view title, uint32_t style,
                                   uint32_t timeoutMs) {
    TraceEvent("msgbox", Hex(style) + " " + JsonString(title) + " " + JsonString(text) + " " +
                             std::to_string(timeoutMs));
    return platform_.MessageBoxTimeout(text, title, style, timeoutMs);
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
