#include "platform/sim/SimWindows.h"

#include <algorithm>
#include <utility>

#include "container/Text.h"

namespace ovrix {

namespace {

// Handles look like the system's: even numbers spread apart, never 0.
constexpr WindowId kFirstHandle = 0x00010010;
constexpr WindowId kHandleStep = 0x10;
constexpr size_t kMaxTitle = 259;

constexpr uint32_t kWmGetTextLength = 0x000E;
constexpr uint32_t kWmChar = 0x0102;

ScreenRect Offset(ScreenRect rect, int32_t dx, int32_t dy) {
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

}  // namespace

SimWindows::SimWindows(std::function<uint64_t()> nowMs) : nowMs_(std::move(nowMs)) {}

WindowId SimWindows::Add(const SimWindowSpec& spec) {
    const WindowId window = AddWindow(spec, kNoWindow);
    order_.push_back(window);
    return window;
}

WindowId SimWindows::AddWindow(const SimWindowSpec& spec, WindowId parent) {
    const WindowId window = kFirstHandle + static_cast<WindowId>(windows_.size()) * kHandleStep;
    State state;
    state.spec = spec;
    state.spec.controls.clear();
    state.parent = parent;
    windows_.push_back(std::move(state));
    for (const SimWindowSpec& control : spec.controls) {
        const WindowId child = AddWindow(control, window);
        At(window)->children.push_back(child);
    }
    return window;
}

WindowId SimWindows::AddChild(WindowId parent, const SimWindowSpec& spec) {
    if (Live(parent) == nullptr) return kNoWindow;
    const WindowId child = AddWindow(spec, parent);
    At(parent)->children.push_back(child);
    return child;
}

void SimWindows::Remove(WindowId window) {
    if (State* state = At(window)) state->closed = true;
}

const SimWindows::State* SimWindows::Find(WindowId window) const {
    if (window < kFirstHandle || (window - kFirstHandle) % kHandleStep != 0) return nullptr;
    const size_t index = (window - kFirstHandle) / kHandleStep;
    return index < windows_.size() ? &windows_[index] : nullptr;
}

SimWindows::State* SimWindows::At(WindowId window) { return const_cast<State*>(std::as_const(*this).Find(window)); }

SimWindows::State* SimWindows::TopLevelOf(WindowId window) {
    State* state = At(window);
    while (state != nullptr && state->parent != kNoWindow) state = At(state->parent);
    return state;
}

SimWindows::State* SimWindows::Live(WindowId window) {
    State* state = At(window);
    State* top = TopLevelOf(window);
    if (state == nullptr || top == nullptr || state->closed || top->closed) return nullptr;
    const uint64_t now = nowMs_();
    if (now < top->spec.appearMs || (top->spec.closeMs && now >= *top->spec.closeMs)) return nullptr;
    return state;
}

std::vector<WindowId> SimWindows::TopLevelWindows() {
    std::vector<WindowId> live;
    for (WindowId window : order_) {
        if (Live(window) != nullptr) live.push_back(window);
    }
    return live;
}

std::vector<WindowId> SimWindows::ChildWindows(WindowId parent) {
    std::vector<WindowId> live;
    if (const State* state = Live(parent)) {
        for (WindowId child : state->children) {
            if (Live(child) != nullptr) live.push_back(child);
        }
    }
    return live;
}

WindowId SimWindows::GetParent(WindowId window) {
    const State* state = Live(window);
    return state != nullptr ? state->parent : kNoWindow;
}

std::u16string SimWindows::GetTitle(WindowId window) {
    const State* state = Live(window);
    return state != nullptr ? state->spec.title.substr(0, kMaxTitle) : std::u16string();
}

std::u16string SimWindows::GetClassName(WindowId window) {
    const State* state = Live(window);
    return state != nullptr ? state->spec.className : std::u16string();
}

// A child is visible only while its parent is.
bool SimWindows::IsVisible(WindowId window) {
    for (const State* state = Live(window); state != nullptr; state = Live(state->parent)) {
        if (!state->spec.visible) return false;
        if (state->parent == kNoWindow) return true;
    }
    return false;
}

bool SimWindows::IsMinimized(WindowId window) {
    const State* state = Live(window);
    return state != nullptr && state->spec.minimized;
}

std::optional<ScreenRect> SimWindows::GetWindowRect(WindowId window) {
    const State* state = Live(window);
    if (state == nullptr) return std::nullopt;
    ScreenRect rect = state->spec.rect;
    for (const State* up = Live(state->parent); up != nullptr; up = Live(up->parent)) {
        rect = Offset(rect, up->spec.rect.left, up->spec.rect.top);
    }
    return rect;
}

std::optional<std::u16string> SimWindows::ProcessName(WindowId window) {
    const State* top = Live(window) != nullptr ? TopLevelOf(window) : nullptr;
    if (top == nullptr || top->spec.process.empty()) return std::nullopt;
    return top->spec.process;
}

WindowId SimWindows::ChildAt(WindowId window, Point point) {
    for (WindowId child : ChildWindows(window)) {
        const std::optional<ScreenRect> rect = GetWindowRect(child);
        if (IsVisible(child) && rect && rect->Contains(point)) return ChildAt(child, point);
    }
    return window;
}

WindowId SimWindows::WindowFromPoint(Point point) {
    for (WindowId window : TopLevelWindows()) {
        const std::optional<ScreenRect> rect = GetWindowRect(window);
        if (IsVisible(window) && !IsMinimized(window) && rect && rect->Contains(point)) return ChildAt(window, point);
    }
    return kNoWindow;
}

WindowId SimWindows::GetForegroundWindow() {
    for (WindowId window : TopLevelWindows()) {
        if (IsVisible(window) && !IsMinimized(window)) return window;
    }
    return kNoWindow;
}

std::u16string SimWindows::GetControlText(WindowId window) {
    const State* state = Live(window);
    return state != nullptr ? state->spec.title : std::u16string();
}

void SimWindows::DoActivate(WindowId window) {
    State* state = Live(window);
    if (state == nullptr || state->parent != kNoWindow) return;
    order_.erase(std::find(order_.begin(), order_.end(), window));
    order_.insert(order_.begin(), window);
}

void SimWindows::DoShow(WindowId window, int32_t command) {
    State* state = Live(window);
    if (state == nullptr) return;
    SimWindowSpec& spec = state->spec;
    switch (command) {
        case showcmd::kHide:
            spec.visible = false;
            break;
        case showcmd::kShowMinimized:
        case showcmd::kMinimize:
        case showcmd::kShowMinNoActive:
        case showcmd::kForceMinimize:
            spec.visible = true;
            spec.minimized = true;
            break;
        case showcmd::kMaximize:
            spec.visible = true;
            spec.minimized = false;
            state->maximized = true;
            break;
        case showcmd::kShowNormal:
        case showcmd::kRestore:
        case showcmd::kShowDefault:
            spec.visible = true;
            spec.minimized = false;
            state->maximized = false;
            break;
        default:  // the commands that only show
            spec.visible = true;
            break;
    }
}

void SimWindows::DoPostClose(WindowId window) {
    if (procedure && Live(window) != nullptr && procedure(window, kWmClose, 0, 0, true)) return;
    State* state = Live(window);
    if (state != nullptr && state->spec.closesOnRequest) state->closed = true;
}

void SimWindows::DoMove(WindowId window, int32_t x, int32_t y) {
    if (State* state = Live(window)) {
        ScreenRect& rect = state->spec.rect;
        rect = Offset(rect, x - rect.left, y - rect.top);
    }
}

void SimWindows::DoResize(WindowId window, int32_t width, int32_t height) {
    if (State* state = Live(window)) {
        state->spec.rect.right = state->spec.rect.left + width;
        state->spec.rect.bottom = state->spec.rect.top + height;
    }
}

void SimWindows::DoFocus(WindowId window) {
    State* focused = Live(window);
    if (focused == nullptr) return;
    for (State& state : windows_) state.focused = false;
    focused->focused = true;
}

void SimWindows::DoSetTitle(WindowId window, std::u16string_view text) {
    if (State* state = Live(window)) state->spec.title = std::u16string(text);
}

void SimWindows::DoSendChar(WindowId window, char16_t unit) {
    State* state = Live(window);
    if (state == nullptr || LowerCase(state->spec.className) != u"edit") return;
    std::u16string& text = state->spec.title;
    if (unit == u'\b') {
        if (!text.empty()) text.pop_back();
    } else {
        text += unit;
    }
}

int64_t SimWindows::DoSendMessage(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) {
    if (Live(window) == nullptr) return 0;
    if (procedure) {
        if (const std::optional<int64_t> answer = procedure(window, message, wParam, lParam, false)) return *answer;
    }
    return DefaultAnswer(window, message, wParam, lParam);
}

int64_t SimWindows::DefaultAnswer(WindowId window, uint32_t message, int64_t wParam, int64_t) {
    const State* state = Live(window);
    if (state == nullptr) return 0;
    switch (message) {
        case kWmClose:
            if (State* closing = Live(window); closing->spec.closesOnRequest) closing->closed = true;
            return 0;
        case kWmGetTextLength:
            return static_cast<int64_t>(state->spec.title.size());
        case kWmChar:
            DoSendChar(window, static_cast<char16_t>(wParam));
            return 0;
        default:
            return 0;
    }
}

}  // namespace ovrix
