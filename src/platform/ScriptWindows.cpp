#include "platform/ScriptWindows.h"

#include <vector>

#include "platform/Trace.h"

namespace ovrix {

std::string_view KindName(ScriptWindowKind kind) {
    switch (kind) {
        case ScriptWindowKind::kWindow: return "window";
        case ScriptWindowKind::kDialog: return "dialog";
        case ScriptWindowKind::kButton: return "button";
        case ScriptWindowKind::kEdit: return "edit";
        case ScriptWindowKind::kStatic: return "static";
        case ScriptWindowKind::kPictureBox: return "picturebox";
        case ScriptWindowKind::kListCtrl: return "listctrl";
        case ScriptWindowKind::kProgressBar: return "progressbar";
    }
    return "window";
}

WindowId ScriptWindows::Create(const ScriptWindowRequest& request) {
    const bool control = request.kind != ScriptWindowKind::kWindow && request.kind != ScriptWindowKind::kDialog;
    if (request.parent != kNoWindow && !Exists(request.parent)) return kNoWindow;
    if (control && request.parent == kNoWindow) return kNoWindow;
    ScriptWindowRequest made = request;
    if (control) {
        made.style |= kWsChild | kWsVisible;
        if (made.id == 0) made.id = nextControlId_++;
    }
    const WindowId window = DoCreate(made);
    if (window == kNoWindow) return kNoWindow;
    records_[window].kind = request.kind;
    if (Tracing()) TraceEvent("scriptwindow", "create " + JsonString(Title(window)) + " " + std::string(KindName(request.kind)));
    return window;
}

ScriptWindows::Record* ScriptWindows::Find(WindowId window) {
    const auto found = records_.find(window);
    return found != records_.end() ? &found->second : nullptr;
}

const ScriptWindows::Record* ScriptWindows::Find(WindowId window) const {
    const auto found = records_.find(window);
    return found != records_.end() ? &found->second : nullptr;
}

void ScriptWindows::BeginModal(WindowId window) {
    if (Record* record = Find(window)) record->running = true;
}

bool ScriptWindows::ModalRunning(WindowId window) const {
    const Record* record = Find(window);
    return record != nullptr && record->running;
}

void ScriptWindows::End(WindowId window, int32_t result) {
    Record* record = Find(window);
    if (record == nullptr) return;
    if (Tracing()) TraceEvent("scriptwindow", "end " + JsonString(Title(window)) + " " + std::to_string(result));
    record->result = result;
    record->running = false;
}

int32_t ScriptWindows::Result(WindowId window) const {
    const Record* record = Find(window);
    return record != nullptr ? record->result : 0;
}

void ScriptWindows::SetMessageHandler(WindowId window, uint32_t message, std::shared_ptr<ScriptHandler> handler) {
    Record* record = Find(window);
    if (record == nullptr) return;
    if (handler) {
        record->messages[message] = std::move(handler);
    } else {
        record->messages.erase(message);
    }
}

void ScriptWindows::SetCommandHandler(WindowId window, uint32_t commandId, std::shared_ptr<ScriptHandler> handler) {
    Record* record = Find(window);
    if (record == nullptr) return;
    if (handler) {
        record->commands[commandId] = std::move(handler);
    } else {
        record->commands.erase(commandId);
    }
}

// The handler is held for its run: it may replace itself or destroy its window.
int64_t ScriptWindows::RunHandler(std::string_view what, WindowId window, uint32_t number,
                                  std::shared_ptr<ScriptHandler> handler, std::span<const int64_t> numbers) {
    if (Tracing()) {
        TraceEvent("handler", std::string(what) + " " + JsonString(Title(window)) + " " + std::to_string(number));
    }
    return handler->Run(window, numbers);
}

std::optional<int64_t> ScriptWindows::Deliver(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) {
    Record* record = Find(window);
    if (record == nullptr) return std::nullopt;
    if (const auto found = record->messages.find(message); found != record->messages.end()) {
        const int64_t numbers[] = {message, wParam, lParam};
        return RunHandler("message", window, message, found->second, numbers);
    }
    if (message != kWmCommand) return std::nullopt;
    const auto commandId = static_cast<uint32_t>(wParam & 0xFFFF);
    const auto found = record->commands.find(commandId);
    if (found == record->commands.end()) return std::nullopt;
    const int64_t numbers[] = {commandId};
    RunHandler("command", window, commandId, found->second, numbers);
    return 0;
}

void ScriptWindows::SetColors(WindowId window, std::optional<uint32_t> text, std::optional<uint32_t> background,
                              std::optional<uint32_t> textBackground) {
    Record* record = Find(window);
    if (record == nullptr) return;
    if (text) record->colors.text = *text;
    if (background) record->colors.background = *background;
    if (textBackground) record->colors.textBackground = *textBackground;
    Repaint(window);
}

ScriptWindowColors ScriptWindows::Colors(WindowId window) const {
    const Record* record = Find(window);
    return record != nullptr ? record->colors : ScriptWindowColors{};
}

void ScriptWindows::Destroy(WindowId window) {
    if (Find(window) == nullptr) return;
    DoDestroy(window);
    Forget(window);
}

void ScriptWindows::DestroyAll() {
    // Children go with their parents, so the list is taken first.
    std::vector<WindowId> windows;
    for (const auto& [window, record] : records_) windows.push_back(window);
    for (WindowId window : windows) Destroy(window);
}

}  // namespace ovrix
