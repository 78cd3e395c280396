// The windows family: finding, moving, sizing, showing and messaging the
// windows of the desktop. Every row needs the desktop, so the rows are
// registered with no implementation yet: a call shows and saves as usual
// and evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const ArgSpec kWindow{u"Window", fkind::kObject, {}, 0, u"WindowHandle Window"};
const ArgSpec kText{u"Text", fkind::kText};

const FunctionSpec kWindows[] = {
    {u"FindWindow", fkind::kObject, nullptr, {{u"WindowTitle", fkind::kText, DefText(u"* - Notepad")}},
     u"WindowHandle"},
    {u"FindWindowEx", fkind::kObject, nullptr,
     {{u"WindowTitle", fkind::kText}, {u"ClassName", fkind::kText, DefText(u"Notepad")}}, u"WindowHandle"},
    {u"FindSubWindow", fkind::kObject, nullptr,
     {{u"ParentWindow", fkind::kObject, {}, 0, u"WindowHandle ParentWindow"},
      {u"SubWindowTitle", fkind::kText},
      {u"SubClassName", fkind::kText, DefText(u"Edit")},
      {u"Recursive", fkind::kBool}},
     u"WindowHandle", u"Note: If Recursive is True, then it will search a sub window's sub windows."},
    {u"GetRectInParent", fkind::kObject, nullptr, {kWindow}, u"Rect"},
    {u"ListWindows", fkind::kArray, nullptr,
     {{u"WindowTitle", fkind::kText, DefText(u"* - Notepad")},
      {u"Process", fkind::kText},
      {u"WindowClass", fkind::kText}}},
    {u"WindowFromPoint", fkind::kObject, nullptr, {{u"X", fkind::kNumber}, {u"Y", fkind::kNumber}}, u"WindowHandle"},
    {u"GetForegroundWindow", fkind::kObject, nullptr, {}, u"WindowHandle"},
    {u"ActivateWindow", fkind::kNothing, nullptr, {kWindow}},
    {u"CloseWindow", fkind::kNothing, nullptr, {kWindow}},
    {u"SetWindowPos", fkind::kNothing, nullptr, {kWindow, {u"X", fkind::kNumber}, {u"Y", fkind::kNumber}}},
    {u"MoveWindowToCenter", fkind::kNothing, nullptr, {kWindow}},
    {u"SetWindowSize", fkind::kNothing, nullptr,
     {kWindow, {u"Width", fkind::kNumber}, {u"Height", fkind::kNumber}}},
    {u"SetFocus", fkind::kNothing, nullptr, {kWindow}},
    {u"InvalidateRect", fkind::kNothing, nullptr, {kWindow, {u"Rect", fkind::kObject, {}, 0, u"Rect Rect"}}},
    {u"SetRedraw", fkind::kNothing, nullptr, {kWindow, {u"Redraw", fkind::kBool}}},
    {u"GetWindowText", fkind::kText, nullptr, {kWindow}},
    {u"Win_GetText", fkind::kText, nullptr, {kWindow}, nullptr,
     u"The function can get the Edit content of another process."},
    {u"SetWindowText", fkind::kNothing, nullptr, {kWindow, kText}},
    {u"Win_SetText", fkind::kNothing, nullptr, {kWindow, kText}, nullptr,
     u"The function can set the Edit content of another process."},
    {u"GetClientWidth", fkind::kNumber, nullptr, {kWindow}},
    {u"GetClientHeight", fkind::kNumber, nullptr, {kWindow}},
    {u"ShowWindow", fkind::kNothing, nullptr,
     {kWindow, {u"ShowWindowType", fkind::kNumber, DefNumber(5, u"ShowWindowType")}}},
    {u"DisableWindowTheme", fkind::kNothing, nullptr, {kWindow}},
    {u"SendMessage", fkind::kNumber, nullptr,
     {kWindow,
      {u"WindowMessage", fkind::kNumber, DefNumber(5, u"WindowMessage")},
      {u"WParam", fkind::kNumber},
      {u"LParam", fkind::kNumber}}},
    {u"SendString", fkind::kNothing, nullptr, {kWindow, {u"String", fkind::kText}}},
};

}  // namespace

std::span<const FunctionSpec> WindowFunctions() { return kWindows; }

}  // namespace ovrix
