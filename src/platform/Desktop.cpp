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
