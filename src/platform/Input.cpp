#include "platform/Input.h"

#include "platform/Trace.h"

namespace ovrix {

void Input::MouseEvent(uint32_t flags, int32_t dx, int32_t dy, uint32_t data) {
    if (Tracing()) TraceEvent("mouse", Hex(flags) + " " + std::to_string(dx) + " " + std::to_string(dy) + " " +
                            std::to_string(data));
    DoMouseEvent(flags, dx, dy, data);
}

void Input::KeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    if (Tracing()) TraceEvent("key", std::to_string(vk) + " " + std::to_string(scan) + " " + Hex(flags));
    DoKeybdEvent(vk, scan, flags);
}

void Input::SetCursorPos(int32_t x, int32_t y) {
    if (Tracing()) TraceEvent("cursor", std::to_string(x) + " " + std::to_string(y));
    DoSetCursorPos(x, y);
}

bool Input::SendInput(const std::vector<KeyInput>& records) {
    for (const KeyInput& record : records) {
        if (!Tracing()) break;
        TraceEvent("input", std::to_string(record.vk) + " " + std::to_string(record.scan) + " " + Hex(record.flags));
    }
    return DoSendInput(records);
}

}  // namespace ovrix
