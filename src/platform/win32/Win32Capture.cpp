// Screen and window captures on the real desktop: the display copied into
// a bitmap compatible with it, and the bitmap's pixels read back as 32 bits
// per pixel, rows top to bottom.
#include "platform/win32/Win32Platform.h"

#include "platform/win32/WinApi.h"

#include <cstdint>

#include "platform/PictureEdit.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Windows.h"

namespace ovrix::win32 {

namespace {

// A block copy that also takes in layered windows (SRCCOPY | CAPTUREBLT).
constexpr DWORD kCaptureCopy = 0x40CC0020;

// A device context got from a window (or the screen), given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HDC dc, HWND window = nullptr) : window_(window), dc_(dc) {}
    ~WindowDc() {
        if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context, deleted with DeleteDC.
struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type dc) { ::DeleteDC(dc); }
};
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;

// Draws width x height pixels with `draw` into a bitmap compatible with
// `screen`, and reads them back. The fourth byte of each pixel is set to 255:
// what is on the screen is opaque.
template <class Draw>
bool Capture(HDC screen, int32_t width, int32_t height, VBmp& out, Draw&& draw) {
    std::optional<VBmp> picture = BlankPicture(width, height, 0);
    if (screen == nullptr || !picture) return false;
    UniqueMemoryDc memory(::CreateCompatibleDC(screen));
    UniqueBitmap bitmap(::CreateCompatibleBitmap(screen, width, height));
    if (!memory || !bitmap) return false;
    {
        SelectedObject selected(memory.Get(), bitmap.Get());
        if (!draw(memory.Get())) return false;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows top to bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (::GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(height), picture->pixels.data(), &info,
                    DIB_RGB_COLORS) != height) {
        return false;
    }
    for (size_t i = 3; i < picture->pixels.size(); i += 4) picture->pixels[i] = 255;
    out = std::move(*picture);
    return true;
}

}  // namespace

bool Win32Platform::DoCaptureScreen(ScreenCapture& out) {
    WindowDc screen(::GetDC(nullptr));
    if (screen.Get() == nullptr) return false;
    const int32_t width = ::GetDeviceCaps(screen.Get(), DESKTOPHORZRES);
    const int32_t height = ::GetDeviceCaps(screen.Get(), DESKTOPVERTRES);
    out.logical = {::GetDeviceCaps(screen.Get(), HORZRES), ::GetDeviceCaps(screen.Get(), VERTRES)};
    return Capture(screen.Get(), width, height, out.picture, [&](HDC memory) {
        return ::BitBlt(memory, 0, 0, width, height, screen.Get(), 0, 0, kCaptureCopy) != FALSE;
    });
}

bool Win32Platform::DoCaptureArea(const ScreenRect& area, VBmp& out) {
    WindowDc screen(::GetWindowDC(nullptr));
    return Capture(screen.Get(), area.Width(), area.Height(), out, [&](HDC memory) {
        return ::BitBlt(memory, 0, 0, area.Width(), area.Height(), screen.Get(), area.left, area.top, kCaptureCopy) !=
               FALSE;
    });
}

// The window draws itself, so it may be covered or inactive, but a
// minimised window has nothing to draw.
bool Win32Platform::DoCaptureWindow(uint32_t window, VBmp& out) {
    const HWND hwnd = ToHwnd(window);
    RECT rect{};
    if (!::IsWindow(hwnd) || !::GetWindowRect(hwnd, &rect)) return false;
    WindowDc screen(::GetDC(nullptr));
    return Capture(screen.Get(), rect.right - rect.left, rect.bottom - rect.top, out,
                   [&](HDC memory) { return ::PrintWindow(hwnd, memory, 0) != FALSE; });
}

}  // namespace ovrix::win32
