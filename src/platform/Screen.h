// Places and sizes on the screen, and the screen itself: its size and what
// it shows. Captures are traced as
//   capture <width> <height>          the screen or a part of it
//   capture-window <width> <height>   a window, drawn by itself
// with the size of the picture taken; a capture that fails is not traced.
#pragma once

#include <cstdint>

#include "platform/Facet.h"
#include "platform/Picture.h"

namespace ovrix {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

struct ScreenSize {
    int32_t width = 0;
    int32_t height = 0;
};

// A rectangle on the screen; right and bottom lie just outside it.
struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
};

// The whole screen as the display holds it: the picture at the display's
// physical size, and the logical size that positions are counted in (they
// differ under display scaling).
struct ScreenCapture {
    VBmp picture;
    ScreenSize logical;
};

class Screen : public TracedFacet {
public:
    // The logical size of the primary screen.
    virtual ScreenSize GetScreenSize() = 0;

    // Traced. Pictures taken are 32 bits per pixel with the fourth byte 255.
    // False when the screen or the window cannot be read.
    bool CaptureScreen(ScreenCapture& out);
    // A part of the screen, which the caller has clipped to it.
    bool CaptureArea(const ScreenRect& area, VBmp& out);
    // The whole window as it draws itself, covered or not; its handle as
    // the Windows facet names it.
    bool CaptureWindow(uint32_t window, VBmp& out);

protected:
    virtual bool DoCaptureScreen(ScreenCapture& out) = 0;
    virtual bool DoCaptureArea(const ScreenRect& area, VBmp& out) = 0;
    virtual bool DoCaptureWindow(uint32_t window, VBmp& out) = 0;
};

}  // namespace ovrix
