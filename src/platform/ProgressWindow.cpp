#include "platform/ProgressWindow.h"

#include <string>

#include "platform/Trace.h"

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

const char* HotkeyName(int32_t id) { return id == kStopHotkeyId ? "stop" : id == kPauseHotkeyId ? "pause" : "?"; }

}  // namespace

// Traces what the progress window does that a user would notice: its place,
// showing and hiding, the hotkeys it takes or is refused, its messages and
// its script line. Runs on the window's thread.
class TracedProgressHost : public ProgressWindowHost {
public:
    TracedProgressHost(ProgressWindow& window, ProgressWindowHost& inner) : window_(window), inner_(inner) {}

    bool RegisterHotkey(int32_t id, uint32_t modifiers, uint32_t key) override {
        const bool registered = inner_.RegisterHotkey(id, modifiers, key);
        window_.TraceEvent("hotkey", std::string(HotkeyName(id)) + " " + Hex(modifiers) + " " + std::to_string(key) +
                                         (registered ? " 1" : " 0"));
        return registered;
    }
    ScreenRect Frame() override { return inner_.Frame(); }
    void MoveTo(ProgressCorner corner, Point at) override {
        window_.TraceEvent("progress",
                           corner == ProgressCorner::BottomRight ? "move bottom-right" : "move bottom-left");
        inner_.MoveTo(corner, at);
    }
    void Show(bool visible) override {
        window_.TraceEvent("progress", visible ? "show" : "hide");
        inner_.Show(visible);
    }
    bool WorkArea(ScreenRect& out) override { return inner_.WorkArea(out); }
    ScreenSize FullScreenSize() override { return inner_.FullScreenSize(); }
    Point CursorPos() override { return inner_.CursorPos(); }
    int32_t MessageBox(std::u16string_view text, std::u16string_view title, uint32_t style) override {
        window_.TraceEvent("msgbox", Hex(style) + " " + JsonString(title) + " " + JsonString(text));
        return inner_.MessageBox(text, title, style);
    }
    std::u16string ProgramPath() override { return inner_.ProgramPath(); }
    // Only while the window starts, when the playback thread waits for it.
    void SetScriptLine(std::u16string_view text) override {
        window_.RecordLine(ProgressLine::Script, text);
        inner_.SetScriptLine(text);
    }
    void StartTimer(uint32_t periodMs) override { inner_.StartTimer(periodMs); }

private:
    ProgressWindow& window_;
    ProgressWindowHost& inner_;
};

// Hands the platform's window to the behaviour through the tracing host.
class TracedProgressBehaviour : public ProgressWindowBehaviour {
public:
    TracedProgressBehaviour(ProgressWindow& window, std::unique_ptr<ProgressWindowBehaviour> inner)
        : window_(window), inner_(std::move(inner)) {}

    void Start(ProgressWindowHost& host) override {
        TracedProgressHost traced(window_, host);
        inner_->Start(traced);
    }
    void OnTimer(ProgressWindowHost& host) override {
        TracedProgressHost traced(window_, host);
        inner_->OnTimer(traced);
    }
    void OnHotkey(ProgressWindowHost& host, int32_t id) override {
        window_.TraceEvent("hotkey-press", HotkeyName(id));
        TracedProgressHost traced(window_, host);
        inner_->OnHotkey(traced, id);
    }

private:
    ProgressWindow& window_;
    std::unique_ptr<ProgressWindowBehaviour> inner_;
};

void PlaceInCorner(ProgressWindowHost& host, ProgressCorner corner) {
    ScreenRect work;
    if (!host.WorkArea(work)) {
        const ScreenSize full = host.FullScreenSize();
        work = {0, 0, full.width, full.height};
    }
    const ScreenRect frame = host.Frame();
    const int32_t y = work.bottom - frame.Height();
    host.MoveTo(corner, {corner == ProgressCorner::BottomRight ? work.right - frame.Width() : 0, y});
}

std::optional<ScreenRect> ProgressWindow::ShownFrame() {
    ProgressWindowHost* window = ShownWindow();
    if (window == nullptr) return std::nullopt;
    return window->Frame();
}

std::optional<ScreenRect> ProgressWindow::StepAside() {
    ProgressWindowHost* window = ShownWindow();
    if (window == nullptr) return std::nullopt;
    TracedProgressHost traced(*this, *window);
    PlaceInCorner(traced, window->Frame().left == 0 ? ProgressCorner::BottomRight : ProgressCorner::BottomLeft);
    return window->Frame();
}

bool ProgressWindow::Open(std::unique_ptr<ProgressWindowBehaviour> behaviour) {
    Close();
    for (auto& line : lines_) line.clear();
    behaviour_ = std::make_unique<TracedProgressBehaviour>(*this, std::move(behaviour));
    if (DoOpen(*behaviour_)) return true;
    behaviour_.reset();
    return false;
}

void ProgressWindow::Close() {
    DoClose();
    behaviour_.reset();
}

bool ProgressWindow::RecordLine(ProgressLine line, std::u16string_view text) {
    auto& current = lines_[static_cast<size_t>(line)];
    if (current == text) return false;
    current.assign(text);
    if (Tracing()) TraceEvent("line", std::string(LineName(line)) + " " + JsonString(text));
    return true;
}

void ProgressWindow::SetLine(ProgressLine line, std::u16string_view text) {
    if (RecordLine(line, text)) DoShowLine(line, text);
}

}  // namespace ovrix
