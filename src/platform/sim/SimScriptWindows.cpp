#include "platform/sim/SimScriptWindows.h"

#include <algorithm>

namespace ovrix {

namespace {

constexpr int32_t kDefaultPlace = 100;
constexpr int32_t kDefaultWidth = 640;
constexpr int32_t kDefaultHeight = 480;

const char16_t* ClassOf(ScriptWindowKind kind) {
    switch (kind) {
        case ScriptWindowKind::kWindow: return u"DefaultWindowClass";
        case ScriptWindowKind::kDialog: return u"DefaultDialogClass";
        case ScriptWindowKind::kButton: return u"BUTTON";
        case ScriptWindowKind::kEdit: return u"EDIT";
        case ScriptWindowKind::kStatic:
        case ScriptWindowKind::kPictureBox: return u"STATIC";
        case ScriptWindowKind::kListCtrl: return u"SysListView32";
        case ScriptWindowKind::kProgressBar: return u"msctls_progress32";
    }
    return u"STATIC";
}

}  // namespace

SimScriptWindows::SimScriptWindows(SimWindows& windows) : windows_(windows) {
    windows_.procedure = [this](WindowId window, uint32_t message, int64_t wParam, int64_t lParam, bool posted) {
        return Procedure(window, message, wParam, lParam, posted);
    };
}

SimScriptWindows::~SimScriptWindows() { windows_.procedure = nullptr; }

WindowId SimScriptWindows::DoCreate(const ScriptWindowRequest& request) {
    SimWindowSpec spec;
    spec.title = request.text;
    spec.className = ClassOf(request.kind);
    spec.visible = (request.style & kWsVisible) != 0;
    spec.controlId = request.id;
    spec.appearMs = 0;
    int32_t width = request.width.value_or(kDefaultWidth);
    int32_t height = request.height.value_or(kDefaultHeight);
    if (request.kind == ScriptWindowKind::kPictureBox) {
        width = request.image.width;
        height = request.image.height;
    }
    const int32_t x = request.x.value_or(kDefaultPlace);
    const int32_t y = request.y.value_or(kDefaultPlace);
    spec.rect = {x, y, x + width, y + height};
    const bool control = (request.style & kWsChild) != 0;
    const WindowId window = control ? windows_.AddChild(request.parent, spec) : windows_.Add(spec);
    if (window == kNoWindow) return kNoWindow;
    Control& made = controls_[window];
    made.kind = request.kind;
    made.owner = control ? kNoWindow : request.parent;
    made.image = request.image;
    return window;
}

// A window takes its controls and the windows it owns with it.
void SimScriptWindows::DoDestroy(WindowId window) {
    if (controls_.erase(window) == 0) return;
    std::vector<WindowId> dependants;
    if (const SimWindows::State* state = windows_.Find(window)) dependants = state->children;
    for (const auto& [other, control] : controls_) {
        if (control.owner == window) dependants.push_back(other);
    }
    windows_.Remove(window);
    for (WindowId dependant : dependants) {
        DoDestroy(dependant);
        Forget(dependant);
    }
}

const SimScriptWindows::Control* SimScriptWindows::Find(WindowId window) const {
    const auto found = controls_.find(window);
    return found != controls_.end() ? &found->second : nullptr;
}

SimScriptWindows::Control* SimScriptWindows::At(WindowId window, ScriptWindowKind kind) {
    const auto found = controls_.find(window);
    if (found == controls_.end() || found->second.kind != kind || !windows_.IsWindow(window)) return nullptr;
    return &found->second;
}

std::optional<int64_t> SimScriptWindows::Procedure(WindowId window, uint32_t message, int64_t wParam,
                                                   int64_t lParam, bool posted) {
    if (controls_.count(window) == 0) return std::nullopt;
    if (posted) {
        posted_.push_back({window, message, wParam, lParam});
        return 0;
    }
    return Handle(window, message, wParam, lParam);
}

int64_t SimScriptWindows::Handle(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) {
    if (const std::optional<int64_t> answer = Deliver(window, message, wParam, lParam)) return *answer;
    return DefaultProcessing(window, message, wParam, lParam);
}

int64_t SimScriptWindows::DefaultProcessing(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) {
    if (!windows_.IsWindow(window)) return 0;
    if (message == kWmClose && controls_.count(window) != 0) {
        Destroy(window);
        return 0;
    }
    return windows_.DefaultAnswer(window, message, wParam, lParam);
}

WindowId SimScriptWindows::ByTitle(const std::u16string& title) {
    for (const auto& [window, control] : controls_) {
        if (windows_.IsWindow(window) && windows_.GetParent(window) == kNoWindow && windows_.GetTitle(window) == title) {
            return window;
        }
    }
    return kNoWindow;
}

// Each event and posted message is taken off before it runs: a handler that
// waits dispatches again, and later ones then run inside it.
void SimScriptWindows::Dispatch(uint64_t nowMs) {
    while (!posted_.empty()) {
        const Posted message = posted_.front();
        posted_.pop_front();
        if (windows_.IsWindow(message.window)) Handle(message.window, message.message, message.wParam, message.lParam);
    }
    while (eventsDone_ < events.size() && events[eventsDone_].atMs <= nowMs) {
        const SimWindowEvent event = events[eventsDone_++];
        const WindowId window = ByTitle(event.window);
        if (window == kNoWindow) continue;
        if (event.command) {
            WindowId control = kNoWindow;
            for (WindowId child : windows_.ChildWindows(window)) {
                if (ControlId(child) == *event.command) control = child;
            }
            Handle(window, kWmCommand, *event.command & 0xFFFF, control);
        } else if (event.message) {
            Handle(window, *event.message, 0, 0);
        }
    }
}

bool SimScriptWindows::IsEnabled(WindowId window) {
    const auto found = controls_.find(window);
    return windows_.IsWindow(window) && (found == controls_.end() || found->second.enabled);
}

void SimScriptWindows::Enable(WindowId window, bool enable) {
    const auto found = controls_.find(window);
    if (found != controls_.end()) found->second.enabled = enable;
}

WindowId SimScriptWindows::ParentOf(WindowId window) {
    if (const WindowId parent = windows_.GetParent(window); parent != kNoWindow) return parent;
    const Control* control = Find(window);
    return control != nullptr && windows_.IsWindow(control->owner) ? control->owner : kNoWindow;
}

int32_t SimScriptWindows::ControlId(WindowId window) {
    const SimWindows::State* state = windows_.IsWindow(window) ? windows_.Find(window) : nullptr;
    return state != nullptr ? state->spec.controlId : 0;
}

bool SimScriptWindows::GetCheck(WindowId button) {
    const Control* control = At(button, ScriptWindowKind::kButton);
    return control != nullptr && control->checked;
}

void SimScriptWindows::SetCheck(WindowId button, bool check) {
    if (Control* control = At(button, ScriptWindowKind::kButton)) control->checked = check;
}

void SimScriptWindows::ListSetExtendedStyle(WindowId list, uint32_t style) {
    if (Control* control = At(list, ScriptWindowKind::kListCtrl)) control->extendedStyle = style;
}

void SimScriptWindows::ListInsertColumn(WindowId list, int32_t column, std::u16string_view heading, uint32_t,
                                        int32_t) {
    Control* control = At(list, ScriptWindowKind::kListCtrl);
    if (control == nullptr || column < 0) return;
    const auto at = std::min(static_cast<size_t>(column), control->columns.size());
    control->columns.insert(control->columns.begin() + static_cast<ptrdiff_t>(at), std::u16string(heading));
}

// As the system does, an index past the end appends.
void SimScriptWindows::ListInsertItem(WindowId list, int32_t item, std::u16string_view text) {
    Control* control = At(list, ScriptWindowKind::kListCtrl);
    if (control == nullptr || item < 0) return;
    const auto at = std::min(static_cast<size_t>(item), control->rows.size());
    control->rows.insert(control->rows.begin() + static_cast<ptrdiff_t>(at), ListRow{{std::u16string(text)}});
}

SimScriptWindows::ListRow* SimScriptWindows::Row(WindowId list, int32_t item) {
    Control* control = At(list, ScriptWindowKind::kListCtrl);
    if (control == nullptr || item < 0 || static_cast<size_t>(item) >= control->rows.size()) return nullptr;
    return &control->rows[static_cast<size_t>(item)];
}

void SimScriptWindows::ListSetItemText(WindowId list, int32_t item, int32_t subItem, std::u16string_view text) {
    ListRow* row = Row(list, item);
    if (row == nullptr || subItem < 0) return;
    if (row->texts.size() <= static_cast<size_t>(subItem)) row->texts.resize(static_cast<size_t>(subItem) + 1);
    row->texts[static_cast<size_t>(subItem)] = std::u16string(text);
}

std::u16string SimScriptWindows::ListGetItemText(WindowId list, int32_t item, int32_t subItem) {
    const ListRow* row = Row(list, item);
    if (row == nullptr || subItem < 0 || static_cast<size_t>(subItem) >= row->texts.size()) return {};
    return row->texts[static_cast<size_t>(subItem)];
}

int32_t SimScriptWindows::ListItemCount(WindowId list) {
    const Control* control = At(list, ScriptWindowKind::kListCtrl);
    return control != nullptr ? static_cast<int32_t>(control->rows.size()) : 0;
}

void SimScriptWindows::ListSetCheck(WindowId list, int32_t item, bool check) {
    if (ListRow* row = Row(list, item)) row->checked = check;
}

bool SimScriptWindows::ListGetCheck(WindowId list, int32_t item) {
    const ListRow* row = Row(list, item);
    return row != nullptr && row->checked;
}

void SimScriptWindows::ListSelect(WindowId list, int32_t item, bool select, bool unselectOthers) {
    Control* control = At(list, ScriptWindowKind::kListCtrl);
    if (control == nullptr) return;
    if (unselectOthers) {
        for (ListRow& row : control->rows) row.selected = false;
    }
    if (ListRow* row = Row(list, item)) row->selected = select;
}

int32_t SimScriptWindows::ListNextSelected(WindowId list, int32_t from) {
    const Control* control = At(list, ScriptWindowKind::kListCtrl);
    if (control == nullptr) return -1;
    for (size_t i = static_cast<size_t>(std::max(from + 1, 0)); i < control->rows.size(); ++i) {
        if (control->rows[i].selected) return static_cast<int32_t>(i);
    }
    return -1;
}

void SimScriptWindows::ProgressSetRange(WindowId bar, int32_t lower, int32_t upper) {
    Control* control = At(bar, ScriptWindowKind::kProgressBar);
    if (control == nullptr) return;
    control->lower = lower;
    control->upper = upper;
    control->pos = std::clamp(control->pos, std::min(lower, upper), std::max(lower, upper));
}

int32_t SimScriptWindows::ProgressPos(WindowId bar) {
    const Control* control = At(bar, ScriptWindowKind::kProgressBar);
    return control != nullptr ? control->pos : 0;
}

std::pair<int32_t, int32_t> SimScriptWindows::ProgressRange(WindowId bar) {
    const Control* control = At(bar, ScriptWindowKind::kProgressBar);
    return control != nullptr ? std::pair{control->lower, control->upper} : std::pair{0, 0};
}

// The bar keeps its position inside its range, as the system's does.
void SimScriptWindows::ProgressSetPos(WindowId bar, int32_t pos) {
    Control* control = At(bar, ScriptWindowKind::kProgressBar);
    if (control != nullptr) {
        control->pos = std::clamp(pos, std::min(control->lower, control->upper), std::max(control->lower, control->upper));
    }
}

void SimScriptWindows::ProgressStep(WindowId bar, int32_t delta) { ProgressSetPos(bar, ProgressPos(bar) + delta); }

}  // namespace ovrix
