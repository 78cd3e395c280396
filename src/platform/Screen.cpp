#include "platform/Screen.h"

#include <string>

namespace ovrix {

namespace {

std::string Size(const VBmp& picture) { return std::to_string(picture.width) + " " + std::to_string(picture.height); }

}  // namespace

bool Screen::CaptureScreen(ScreenCapture& out) {
    if (!DoCaptureScreen(out)) return false;
    TraceEvent("capture", Size(out.picture));
    return true;
}

bool Screen::CaptureArea(const ScreenRect& area, VBmp& out) {
    if (area.Width() <= 0 || area.Height() <= 0 || !DoCaptureArea(area, out)) return false;
    TraceEvent("capture", Size(out));
    return true;
}

bool Screen::CaptureWindow(uint32_t window, VBmp& out) {
    if (!DoCaptureWindow(window, out)) return false;
    TraceEvent("capture-window", Size(out));
    return true;
}

}  // namespace ovrix
