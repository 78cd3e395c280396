// The windows family: finding, moving, sizing, showing and messaging the
// windows of the desktop. This file acts on one window and reads it; the
// finders live in WindowFinders.cpp. A window that has gone since its value
// was made reads as no value and is not acted on: nothing is traced for it.
#include <optional>

#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "builtins/WindowCalls.h"
#include "builtins/WindowSearch.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace winfn {

Desktop* DesktopFor(int32_t count, int32_t needs) {
    BuiltinHost* host = GetBuiltinHost();
    return host != nullptr && count >= needs ? &host->GetDesktop() : nullptr;
}

WindowCall ResolveWindow(int32_t count, const PExprItem* args, int32_t needs) {
    Desktop* desktop = DesktopFor(count, needs);
    const auto* value = count > 0 ? ItemAs<ExprItem_WindowHandle>(args[0]) : nullptr;
    if (desktop == nullptr || value == nullptr || !desktop->windows.IsWindow(value->window)) return {};
    return {desktop, &desktop->windows, value->window};
}

PExprItem* ReturnWindow(PExprItem* result, WindowId window) {
    if (window == kNoWindow) return fnargs::None(result);
    return fnargs::ReturnValue(result, MakeItem<ExprItem_WindowHandle>(window));
}

}  // namespace winfn

namespace {

using namespace fnargs;
using namespace winfn;

int32_t IntArg(const PExprItem* args, int32_t count, int32_t i) { return TruncateToInt32(Number(args, count, i)); }

PExprItem* ActivateWindow(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const WindowCall call = ResolveWindow(count, args, 1)) {
        BringToFront(*call.windows, call.window);
    }
    return None(result);
}

// Posted, not sent: the call does not wait for the window to close.
PExprItem* CloseWindow(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const WindowCall call = ResolveWindow(count, args, 1)) call.windows->PostClose(call.window);
    return None(result);
}

PExprItem* SetWindowPos(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const WindowCall call = ResolveWindow(count, args, 3)) {
        call.windows->Move(call.window, IntArg(args, count, 1), IntArg(args, count, 2));
    }
    return None(result);
}

PExprItem* SetWindowSize(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const WindowCall call = ResolveWindow(count, args, 3)) {
        call.windows->Resize(call.window, IntArg(args, count, 1), IntArg(args, count, 2));
    }
    return None(result);
}

// A child is centred in its parent's client area and placed in the parent's
// client coordinates; a top-level window is centred on the screen.
PExprItem* MoveWindowToCenter(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const WindowCall call = ResolveWindow(count, args, 1);
    if (!call) return None(result);
    const std::optional<ScreenRect> rect = call.windows->GetWindowRect(call.window);
    ScreenSize area = call.desktop->screen.GetScreenSize();
    if (const WindowId parent = call.windows->GetParent(call.window); parent != kNoWindow) {
        const std::optional<ScreenRect> client = call.windows->GetClientRect(parent);
        area = client ? ScreenSize{client->Width(), client->Height()} : ScreenSize{};
    }
    if (rect && area.width > 0 && area.height > 0) {
        call.windows->Move(call.window, (area.width - rect->Width()) / 2, (area.height - rect->Height()) / 2);
    }
    return None(result);
}

// The window's rectangle less its parent's client-area origin.
PExprItem* GetRectInParent(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const WindowCall call = ResolveWindow(count, args, 1);
    const std::optional<ScreenRect> rect = call ? call.windows->GetWindowRect(call.window) : std::nullopt;
    if (!rect) return None(result);
    Point origin;
    if (const WindowId parent = call.windows->GetParent(call.window); parent != kNoWindow) {
        if (const std::optional<ScreenRect> client = call.windows->GetClientRect(parent)) {
            origin = {client->left, client->top};
        }
    }
    return ReturnValue(result, MakeItem<ExprItem_Rect>(rect->left - origin.x, rect->top - origin.y,
                                                       rect->right - origin.x, rect->bottom - origin.y));
}

PExprItem* SetFocus(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const WindowCall call = ResolveWindow(count, args, 1)) call.windows->Focus(call.window);
    return None(result);
}

// Only a Rect value says which part to repaint.
PExprItem* InvalidateRect(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const WindowCall call = ResolveWindow(count, args, 2);
    const auto* rect = call ? ItemAs<ExprItem_Rect>(args[1]) : nullptr;
    if (rect != nullptr) call.windows->Invalidate(call.window, {rect->left, rect->top, rect->right, rect->bottom});
    return None(result);
}

constexpr uint32_t kWmSetRedraw = 0x000B;

PExprItem* SetRedraw(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const WindowCall call = ResolveWindow(count, args, 2)) {
        call.windows->SendMessage(call.window, kWmSetRedraw, AsTruth(args[1]) ? 1 : 0, 0);
    }
    return None(result);
}

PExprItem* GetWindowText(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const WindowCall call = ResolveWindow(count, args, 1);
    return call ? ReturnText(result, call.windows->GetTitle(call.window)) : None(result);
}

// By WM_GETTEXT, which reads an edit control of another program too, and
// whole, however long.
PExprItem* Win_GetText(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const WindowCall call = ResolveWindow(count, args, 1);
    return call ? ReturnText(result, call.windows->GetControlText(call.window)) : None(result);
}

PExprItem* SetWindowText(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const WindowCall call = ResolveWindow(count, args, 2)) {
        call.windows->SetTitle(call.window, Text(args, count, 1));
    }
    return None(result);
}

PExprItem* Win_SetText(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const WindowCall call = ResolveWindow(count, args, 2)) {
        call.windows->SetControlText(call.window, Text(args, count, 1));
    }
    return None(result);
}

template <bool Width>
PExprItem* GetClientSize(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const WindowCall call = ResolveWindow(count, args, 1);
    const std::optional<ScreenRect> client = call ? call.windows->GetClientRect(call.window) : std::nullopt;
    if (!client) return None(result);
    return ReturnNumber(result, Width ? client->Width() : client->Height());
}

PExprItem* ShowWindow(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const WindowCall call = ResolveWindow(count, args, 2)) call.windows->Show(call.window, IntArg(args, count, 1));
    return None(result);
}

PExprItem* DisableWindowTheme(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const WindowCall call = ResolveWindow(count, args, 1)) call.windows->DisableTheme(call.window);
    return None(result);
}

PExprItem* SendMessage(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const WindowCall call = ResolveWindow(count, args, 4);
    if (!call) return None(result);
    const auto message = static_cast<uint32_t>(IntArg(args, count, 1));
    const int64_t answer =
        call.windows->SendMessage(call.window, message, IntArg(args, count, 2), IntArg(args, count, 3));
    return ReturnNumber(result, static_cast<double>(answer));
}

// One character message per UTF-16 unit: a character outside the basic
// plane arrives as its two surrogates.
PExprItem* SendString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (const WindowCall call = ResolveWindow(count, args, 2)) {
        for (char16_t unit : Text(args, count, 1)) call.windows->SendChar(call.window, unit);
    }
    return None(result);
}

const ArgSpec kWindow{u"Window", fkind::kObject, {}, 0, u"WindowHandle Window"};
const ArgSpec kText{u"Text", fkind::kText};

const FunctionSpec kWindows[] = {
    {u"FindWindow", fkind::kObject, FindWindow, {{u"WindowTitle", fkind::kText, DefText(u"* - Notepad")}},
     u"WindowHandle"},
    {u"FindWindowEx", fkind::kObject, FindWindowEx,
     {{u"WindowTitle", fkind::kText}, {u"ClassName", fkind::kText, DefText(u"Notepad")}}, u"WindowHandle"},
    {u"FindSubWindow", fkind::kObject, FindSubWindow,
     {{u"ParentWindow", fkind::kObject, {}, 0, u"WindowHandle ParentWindow"},
      {u"SubWindowTitle", fkind::kText},
      {u"SubClassName", fkind::kText, DefText(u"Edit")},
      {u"Recursive", fkind::kBool}},
     u"WindowHandle", u"Note: If Recursive is True, then it will search a sub window's sub windows."},
    {u"GetRectInParent", fkind::kObject, GetRectInParent, {kWindow}, u"Rect"},
    {u"ListWindows", fkind::kArray, ListWindows,
     {{u"WindowTitle", fkind::kText, DefText(u"* - Notepad")},
      {u"Process", fkind::kText},
      {u"WindowClass", fkind::kText}}},
    {u"WindowFromPoint", fkind::kObject, WindowFromPoint, {{u"X", fkind::kNumber}, {u"Y", fkind::kNumber}},
     u"WindowHandle"},
    {u"GetForegroundWindow", fkind::kObject, GetForegroundWindow, {}, u"WindowHandle"},
    {u"ActivateWindow", fkind::kNothing, ActivateWindow, {kWindow}},
    {u"CloseWindow", fkind::kNothing, CloseWindow, {kWindow}},
    {u"SetWindowPos", fkind::kNothing, SetWindowPos, {kWindow, {u"X", fkind::kNumber}, {u"Y", fkind::kNumber}}},
    {u"MoveWindowToCenter", fkind::kNothing, MoveWindowToCenter, {kWindow}},
    {u"SetWindowSize", fkind::kNothing, SetWindowSize,
     {kWindow, {u"Width", fkind::kNumber}, {u"Height", fkind::kNumber}}},
    {u"SetFocus", fkind::kNothing, SetFocus, {kWindow}},
    {u"InvalidateRect", fkind::kNothing, InvalidateRect, {kWindow, {u"Rect", fkind::kObject, {}, 0, u"Rect Rect"}}},
    {u"SetRedraw", fkind::kNothing, SetRedraw, {kWindow, {u"Redraw", fkind::kBool}}},
    {u"GetWindowText", fkind::kText, GetWindowText, {kWindow}},
    {u"Win_GetText", fkind::kText, Win_GetText, {kWindow}, nullptr,
     u"The function can get the Edit content of another process."},
    {u"SetWindowText", fkind::kNothing, SetWindowText, {kWindow, kText}},
    {u"Win_SetText", fkind::kNothing, Win_SetText, {kWindow, kText}, nullptr,
     u"The function can set the Edit content of another process."},
    {u"GetClientWidth", fkind::kNumber, GetClientSize<true>, {kWindow}},
    {u"GetClientHeight", fkind::kNumber, GetClientSize<false>, {kWindow}},
    {u"ShowWindow", fkind::kNothing, ShowWindow,
     {kWindow, {u"ShowWindowType", fkind::kNumber, DefNumber(5, u"ShowWindowType")}}},
    {u"DisableWindowTheme", fkind::kNothing, DisableWindowTheme, {kWindow}},
    {u"SendMessage", fkind::kNumber, SendMessage,
     {kWindow,
      {u"WindowMessage", fkind::kNumber, DefNumber(5, u"WindowMessage")},
      {u"WParam", fkind::kNumber},
      {u"LParam", fkind::kNumber}}},
    {u"SendString", fkind::kNothing, SendString, {kWindow, {u"String", fkind::kText}}},
};

}  // namespace

std::span<const FunctionSpec> WindowFunctions() { return kWindows; }

}  // namespace ovrix
