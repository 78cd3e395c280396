// Places and sizes on the screen, and the screen itself.
#pragma once

#include <cstdint>

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

class Screen {
public:
    virtual ~Screen() = default;

    virtual ScreenSize GetScreenSize() = 0;
};

}  // namespace ovrix
