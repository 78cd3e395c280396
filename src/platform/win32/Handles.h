// Owners for Win32 resources. Each kind of handle is released by its own
// function (a kernel handle by CloseHandle, a GDI object by DeleteObject, a
// window by DestroyWindow, ...), so each gets its own traits type; the owner
// is move-only, and a moved-from owner holds the kind's invalid value.
#pragma once

#include "platform/win32/WinApi.h"

#include <utility>

namespace ovrix::win32 {

template <class Traits>
class UniqueResource {
public:
    using Type = typename Traits::Type;

    UniqueResource() = default;
    explicit UniqueResource(Type value) : value_(value) {}
    ~UniqueResource() { Reset(); }

    UniqueResource(UniqueResource&& other) noexcept : value_(other.Release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Type Get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Invalid(); }

    // Gives up ownership without releasing.
    Type Release() { return std::exchange(value_, Traits::Invalid()); }
    void Reset(Type value = Traits::Invalid()) {
        if (value_ != Traits::Invalid()) Traits::Close(value_);
        value_ = value;
    }

private:
    Type value_ = Traits::Invalid();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};

template <class T>
struct GdiObjectTraits {
    using Type = T;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};

struct IconTraits {
    using Type = HICON;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyIcon(h); }
};

struct WindowTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DestroyWindow(h); }
};

// Memory from LocalAlloc, as CommandLineToArgvW and FormatMessageW hand it out.
struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::LocalFree(h); }
};

struct GlobalMemoryTraits {
    using Type = HGLOBAL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::GlobalFree(h); }
};

// A thread-local storage index from TlsAlloc.
struct TlsIndexTraits {
    using Type = DWORD;
    static Type Invalid() { return TLS_OUT_OF_INDEXES; }
    static void Close(Type index) { ::TlsFree(index); }
};

using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;
using UniqueGlobalMemory = UniqueResource<GlobalMemoryTraits>;
using UniqueTlsIndex = UniqueResource<TlsIndexTraits>;

// The clipboard, open for the life of the owner.
class ClipboardSession {
public:
    // Tries to open the clipboard `tries` times, `pauseMs` apart: another
    // program may hold it for a moment.
    ClipboardSession(HWND owner, int tries, DWORD pauseMs) {
        for (int i = 0; i < tries && !open_; ++i) {
            open_ = ::OpenClipboard(owner) != FALSE;
            if (!open_ && i + 1 < tries) ::Sleep(pauseMs);
        }
    }
    ~ClipboardSession() {
        if (open_) ::CloseClipboard();
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;

    bool IsOpen() const { return open_; }

private:
    bool open_ = false;
};

// A paint cycle: BeginPaint now, EndPaint at the end of the scope.
class PaintSession {
public:
    explicit PaintSession(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
    ~PaintSession() { ::EndPaint(window_, &paint_); }
    PaintSession(const PaintSession&) = delete;
    PaintSession& operator=(const PaintSession&) = delete;

    HDC Dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// A GDI object selected into a DC until the end of the scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_ != nullptr) ::SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace ovrix::win32
