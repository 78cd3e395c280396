// The script-created windows family: windows, dialogs and controls that a
// script makes and drives (buttons, edits, list controls, progress bars,
// picture boxes, statics), modal runs and alignment. Every row needs the
// desktop, so the rows are registered with no implementation yet: a call
// shows and saves as usual and evaluates to no value.
//
// The Style arguments of the create functions carry tables of named style
// bits for display and entry; they are filed as enumerations the first
// time the family's table is asked for, which is before any descriptor is
// built from it.
#include <iterator>

#include "builtins/FamilyTable.h"
#include "expr/NumberEnum.h"

namespace ovrix {

namespace {

// The window styles; the dialog table is the same without the last pair.
constexpr FlagName kWindowStyles[] = {
    {0x20000000, u"WS_ICONIC"},     {0x10000000, u"WS_VISIBLE"},     {0x8000000, u"WS_DISABLED"},
    {0x4000000, u"WS_CLIPSIBLINGS"}, {0x2000000, u"WS_CLIPCHILDREN"}, {0x1000000, u"WS_MAXIMIZE"},
    {0xC00000, u"WS_CAPTION"},      {0x800000, u"WS_BORDER"},        {0x200000, u"WS_VSCROLL"},
    {0x100000, u"WS_HSCROLL"},      {0x80000, u"WS_SYSMENU"},        {0x40000, u"WS_SIZEBOX"},
    {0x20000, u"WS_MINIMIZEBOX"},   {0x10000, u"WS_MAXIMIZEBOX"},    {0x0, u"WS_TILED"},
    {0xCF0000, u"WS_OVERLAPPEDWINDOW"},
};

constexpr FlagName kButtonStyles[] = {
    {0x800000, u"WS_BORDER"},       {0x20000, u"WS_GROUP"},          {0x1, u"BS_DEFPUSHBUTTON"},
    {0x2, u"BS_CHECKBOX"},          {0x3, u"BS_AUTOCHECKBOX"},       {0x4, u"BS_RADIOBUTTON"},
    {0x5, u"BS_3STATE"},            {0x6, u"BS_AUTO3STATE"},         {0x7, u"BS_GROUPBOX"},
    {0x9, u"BS_AUTORADIOBUTTON"},   {0xA, u"BS_PUSHBOX"},            {0x20, u"BS_LEFTTEXT"},
    {0x0, u"BS_TEXT"},              {0x100, u"BS_LEFT"},             {0x200, u"BS_RIGHT"},
    {0x300, u"BS_CENTER"},          {0x400, u"BS_TOP"},              {0x800, u"BS_BOTTOM"},
    {0xC00, u"BS_VCENTER"},         {0x1000, u"BS_PUSHLIKE"},        {0x2000, u"BS_MULTILINE"},
    {0x8000, u"BS_FLAT"},
};

constexpr FlagName kEditStyles[] = {
    {0x800000, u"WS_BORDER"},   {0x200000, u"WS_VSCROLL"},     {0x100000, u"WS_HSCROLL"},
    {0x1, u"ES_CENTER"},        {0x2, u"ES_RIGHT"},            {0x4, u"ES_MULTILINE"},
    {0x8, u"ES_UPPERCASE"},     {0x10, u"ES_LOWERCASE"},       {0x20, u"ES_PASSWORD"},
    {0x40, u"ES_AUTOVSCROLL"},  {0x80, u"ES_AUTOHSCROLL"},     {0x100, u"ES_NOHIDESEL"},
    {0x400, u"ES_OEMCONVERT"},  {0x800, u"ES_READONLY"},       {0x1000, u"ES_WANTRETURN"},
    {0x2000, u"ES_NUMBER"},
};

constexpr FlagName kProgressBarStyles[] = {{0x800000, u"WS_BORDER"}, {0x1, u"PBS_SMOOTH"}, {0x4, u"PBS_VERTICAL"}};

constexpr FlagName kPictureBoxStyles[] = {{0x800000, u"WS_BORDER"}};

constexpr FlagName kStaticStyles[] = {
    {0x800000, u"WS_BORDER"},
    {0x1, u"SS_CENTER"},
    {0x2, u"SS_RIGHT"},
    {0x80, u"SS_NOPREFIX (Don't do \"&\" character translation)"},
    {0x4000, u"SS_ENDELLIPSIS"},
    {0x8000, u"SS_PATHELLIPSIS"},
    {0xC000, u"SS_WORDELLIPSIS"},
};

constexpr FlagTable kStyleTables[] = {
    {u"WindowStyle", kWindowStyles},
    {u"DialogStyle", {kWindowStyles, std::size(kWindowStyles) - 1}},
    {u"ButtonStyle", kButtonStyles},
    {u"EditStyle", kEditStyles},
    {u"ProgressBarStyle", kProgressBarStyles},
    {u"PictureBoxStyle", kPictureBoxStyles},
    {u"StaticStyle", kStaticStyles},
};

const ArgSpec kWindow{u"Window", fkind::kObject, {}, 0, u"WindowHandle Window"};
const ArgSpec kParent{u"ParentWindow", fkind::kObject, {}, 0, u"WindowHandle ParentWindow"};
const ArgSpec kListCtrl{u"ListCtrl", fkind::kObject, {}, 0, u"WindowHandle ListCtrl"};
const ArgSpec kProgressBar{u"ProgressBar", fkind::kObject, {}, 0, u"WindowHandle ProgressBar"};
const ArgSpec kX{u"X", fkind::kNumber};
const ArgSpec kY{u"Y", fkind::kNumber};
const ArgSpec kXEmpty{u"X", fkind::kNumber, DefEmpty()};
const ArgSpec kYEmpty{u"Y", fkind::kNumber, DefEmpty()};
const ArgSpec kId{u"ID", fkind::kNumber, DefEmpty()};
const ArgSpec kItemIndex{u"ItemIndex", fkind::kNumber};
const ArgSpec kText{u"Text", fkind::kText};
const ArgSpec kRelativeTo{u"RelativeTo", fkind::kNumber};
const ArgSpec kRelativeValue{u"RelativeValue", fkind::kNumber};

ArgSpec Size(const char16_t* name, double value) { return {name, fkind::kNumber, DefNumber(value)}; }

ArgSpec Style(uint32_t kind, DefaultSpec def, const char16_t* flagNames) {
    return {u"Style", kind, def, 0, nullptr, flagNames};
}

FunctionSpec Align(const char16_t* key) {
    return {key, fkind::kNothing, nullptr, {kWindow, kRelativeTo, kRelativeValue}};
}

const FunctionSpec kScriptWindows[] = {
    {u"CreateWindow", fkind::kObject, nullptr,
     {{u"WindowTitle", fkind::kText, DefText(u"Window")}, kXEmpty, kYEmpty,
      {u"Width", fkind::kNumber, DefEmpty()}, {u"Height", fkind::kNumber, DefEmpty()},
      Style(fkind::kHexData, DefInteger(0xCF0000), u"WindowStyle")},
     u"WindowHandle"},
    {u"CreateDialog", fkind::kObject, nullptr,
     {{u"Caption", fkind::kText, DefText(u"Dialog")}, kXEmpty, kYEmpty, Size(u"Width", 600), Size(u"Height", 400),
      kParent, Style(fkind::kHexData, DefInteger(0x80C80000), u"DialogStyle")},
     u"WindowHandle"},
    {u"CreateButton", fkind::kObject, nullptr,
     {{u"Caption", fkind::kText, DefText(u"OK")}, kX, kY, Size(u"Width", 100), Size(u"Height", 25), kParent, kId,
      Style(fkind::kHexData, {}, u"ButtonStyle")},
     u"WindowHandle"},
    {u"Button_GetCheck", fkind::kBool, nullptr, {{u"Button", fkind::kObject, {}, 0, u"WindowHandle Button"}}},
    {u"Button_SetCheck", fkind::kNothing, nullptr,
     {{u"Button", fkind::kObject, {}, 0, u"WindowHandle Button"}, {u"Check", fkind::kBool, DefBool(true)}}},
    {u"CreateEdit", fkind::kObject, nullptr,
     {kText, kX, kY, Size(u"Width", 100), Size(u"Height", 25), kParent, kId,
      Style(fkind::kHexData, DefInteger(0x800080), u"EditStyle")},
     u"WindowHandle"},
    {u"CreateListCtrl", fkind::kObject, nullptr,
     {kX, kY, Size(u"Width", 300), Size(u"Height", 200), kParent, kId, {u"Style", fkind::kHexData}},
     u"WindowHandle"},
    {u"ListCtrl_SetExtendedStyle", fkind::kNothing, nullptr, {kListCtrl, {u"ExtStyle", fkind::kHexData}}},
    {u"ListCtrl_InsertColumn", fkind::kNothing, nullptr,
     {kListCtrl, {u"ColumnIndex", fkind::kNumber}, {u"Heading", fkind::kText, DefText(u"Column")},
      {u"Format", fkind::kHexData}, Size(u"Width", -1)}},
    {u"ListCtrl_InsertItem", fkind::kNothing, nullptr, {kListCtrl, kItemIndex, kText}},
    {u"ListCtrl_SetItemText", fkind::kNothing, nullptr,
     {kListCtrl, kItemIndex, {u"SubItemIndex", fkind::kNumber}, kText}},
    {u"ListCtrl_GetItemText", fkind::kText, nullptr, {kListCtrl, kItemIndex, {u"SubItemIndex", fkind::kNumber}}},
    {u"ListCtrl_GetItemCount", fkind::kNumber, nullptr, {kListCtrl}},
    {u"ListCtrl_SetCheck", fkind::kNothing, nullptr, {kListCtrl, kItemIndex, {u"Check", fkind::kBool}}},
    {u"ListCtrl_GetCheck", fkind::kBool, nullptr, {kListCtrl, kItemIndex}},
    {u"ListCtrl_EnsureVisible", fkind::kNothing, nullptr, {kListCtrl, kItemIndex}},
    {u"ListCtrl_SelectItem", fkind::kNothing, nullptr, {kListCtrl, kItemIndex, {u"UnselectOthers", fkind::kBool}}},
    {u"ListCtrl_UnselectItem", fkind::kNothing, nullptr, {kListCtrl, kItemIndex}},
    {u"ListCtrl_GetNextSelectedItem", fkind::kNumber, nullptr, {kListCtrl, Size(u"ItemFrom", -1)}},
    {u"CreateProgressBar", fkind::kObject, nullptr,
     {kX, kY, Size(u"Width", 200), Size(u"Height", 20), kParent, kId,
      Style(fkind::kHexData, {}, u"ProgressBarStyle")},
     u"WindowHandle"},
    {u"ProgressBar_SetRange", fkind::kNothing, nullptr,
     {kProgressBar, {u"Lower", fkind::kNumber}, Size(u"Upper", 100)}},
    {u"ProgressBar_GetPos", fkind::kNumber, nullptr, {kProgressBar}},
    {u"ProgressBar_GetMinPos", fkind::kNumber, nullptr, {kProgressBar}},
    {u"ProgressBar_GetMaxPos", fkind::kNumber, nullptr, {kProgressBar}},
    {u"ProgressBar_SetPos", fkind::kNothing, nullptr, {kProgressBar, {u"Position", fkind::kNumber}}},
    {u"ProgressBar_IncPos", fkind::kNothing, nullptr, {kProgressBar, Size(u"IncVal", 10)}},
    {u"CreatePictureBox", fkind::kObject, nullptr,
     {kX, kY, kParent, kId, Style(fkind::kNumber, {}, u"PictureBoxStyle"),
      {u"Image", fkind::kObject, {}, 0, u"Image Image"}},
     u"WindowHandle"},
    {u"CreateStatic", fkind::kObject, nullptr,
     {{u"Text", fkind::kText, DefText(u"Static")}, kX, kY, Size(u"Width", 100), Size(u"Height", 14), kParent, kId,
      Style(fkind::kNumber, {}, u"StaticStyle")},
     u"WindowHandle"},
    {u"RunModalWindow", fkind::kNumber, nullptr, {kWindow, {u"DestroyAfterModal", fkind::kBool}}},
    {u"EndWindow", fkind::kNothing, nullptr, {kWindow, {u"Result", fkind::kNumber}}},
    Align(u"AlignLeft"),
    Align(u"AlignRight"),
    Align(u"AlignTop"),
    Align(u"AlignBottom"),
    Align(u"AlignHMid"),
    Align(u"AlignVMid"),
    {u"GetDlgCtrlID", fkind::kNumber, nullptr, {{u"Ctrl", fkind::kObject, {}, 0, u"WindowHandle Ctrl"}}},
    {u"InvokeDefaultHandler", fkind::kNumber, nullptr,
     {kWindow, {u"WindowMessage", fkind::kNumber}, {u"WParam", fkind::kNumber}, {u"LParam", fkind::kNumber}}},
    {u"SetWindowColors", fkind::kNothing, nullptr,
     {kWindow, {u"TextColor", fkind::kNumber, DefInteger(0x0)},
      {u"BackgroundColor", fkind::kNumber, DefInteger(0xFFFFFF)},
      {u"TextBackgroundColor", fkind::kNumber, DefInteger(0xFFFFFF)}}},
};

}  // namespace

std::span<const FunctionSpec> ScriptWindowFunctions() { return kScriptWindows; }

std::span<const FlagTable> ScriptWindowFlagTables() { return kStyleTables; }

}  // namespace ovrix
