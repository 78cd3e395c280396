#include "platform/Windows.h"

#include "platform/Trace.h"

namespace ovrix {

void Windows::TraceAction(std::string_view verb, WindowId window, std::string_view rest) {
    if (!Tracing()) return;
    std::string args(verb);
    args += ' ';
    args += JsonString(GetTitle(window));
    if (!rest.empty()) {
        args += ' ';
        args += rest;
    }
    TraceEvent("window", args);
}

void Windows::Activate(WindowId window) {
    TraceAction("activate", window);
    DoActivate(window);
}

void Windows::Restore(WindowId window) {
    TraceAction("restore", window);
    DoShow(window, showcmd::kRestore);
}

void Windows::PostClose(WindowId window) {
    TraceAction("close", window);
    DoPostClose(window);
}

void Windows::Show(WindowId window, int32_t command) {
    TraceAction("show", window, std::to_string(command));
    DoShow(window, command);
}

void Windows::Move(WindowId window, int32_t x, int32_t y) {
    TraceAction("move", window, std::to_string(x) + " " + std::to_string(y));
    DoMove(window, x, y);
}

void Windows::Resize(WindowId window, int32_t width, int32_t height) {
    TraceAction("size", window, std::to_string(width) + " " + std::to_string(height));
    DoResize(window, width, height);
}

void Windows::Focus(WindowId window) {
    TraceAction("focus", window);
    DoFocus(window);
}

void Windows::SetTitle(WindowId window, std::u16string_view text) {
    TraceAction("title", window, JsonString(text));
    DoSetTitle(window, text);
}

void Windows::SetControlText(WindowId window, std::u16string_view text) {
    TraceAction("settext", window, JsonString(text));
    DoSetControlText(window, text);
}

void Windows::SendChar(WindowId window, char16_t unit) {
    TraceAction("char", window, std::to_string(static_cast<uint32_t>(unit)));
    DoSendChar(window, unit);
}

int64_t Windows::SendMessage(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) {
    TraceAction("message", window, Hex(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
    return DoSendMessage(window, message, wParam, lParam);
}

void Windows::Invalidate(WindowId window, const ScreenRect& rect) {
    TraceAction("invalidate", window,
                std::to_string(rect.left) + " " + std::to_string(rect.top) + " " + std::to_string(rect.right) + " " +
                    std::to_string(rect.bottom));
    DoInvalidate(window, rect);
}

void Windows::DisableTheme(WindowId window) {
    TraceAction("theme-off", window);
    DoDisableTheme(window);
}

}  // namespace ovrix
