// The script-created windows family: windows, dialogs and controls that a
// script makes and drives (buttons, edits, list controls, progress bars,
// picture boxes, statics), modal runs and alignment. The windows are made
// and kept by the desktop's script-window facet; every call that names a
// window needs a window value whose handle is still a window, and otherwise
// gives no value and does nothing.
//
// The Style arguments of the create functions carry tables of named style
// bits for display and entry; they are filed as enumerations the first
// time the family's table is asked for, which is before any descriptor is
// built from it.
#include <iterator>
#include <optional>

#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "builtins/WindowCalls.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"
#include "platform/Desktop.h"

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

using namespace fnargs;
using namespace winfn;

// A number argument that is there and not Empty, truncated toward zero.
std::optional<int32_t> Given(const PExprItem* args, int32_t count, int32_t i) {
    if (i < 0 || i >= count || !args[i] || ItemAs<ExprItem_Empty>(args[i]) != nullptr) return std::nullopt;
    return TruncateToInt32(AsNumber(args[i]));
}

int32_t Int(const PExprItem* args, int32_t count, int32_t i) { return Given(args, count, i).value_or(0); }

bool Truth(const PExprItem* args, int32_t count, int32_t i) { return i < count && AsTruth(args[i]); }

// Where each creation function keeps its arguments (-1: it has none).
struct CreateLayout {
    ScriptWindowKind kind;
    int32_t text, x, y, width, height, parent, id, style, image;
};

template <CreateLayout L>
PExprItem* Create(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Desktop* desktop = DesktopFor(count, 0);
    if (desktop == nullptr) return None(result);
    ScriptWindowRequest request;
    request.kind = L.kind;
    if (L.text >= 0) request.text = Text(args, count, L.text);
    request.x = Given(args, count, L.x);
    request.y = Given(args, count, L.y);
    request.width = Given(args, count, L.width);
    request.height = Given(args, count, L.height);
    if (L.parent >= 0 && L.parent < count) {
        if (const auto* parent = ItemAs<ExprItem_WindowHandle>(args[L.parent])) {
            if (!desktop->windows.IsWindow(parent->window)) return None(result);
            request.parent = parent->window;
        }
    }
    request.id = Int(args, count, L.id);
    if (L.style >= 0 && L.style < count) {
        request.style = static_cast<uint32_t>(static_cast<int64_t>(AsNumber(args[L.style])));
    }
    if (L.image >= 0) {
        const auto* image = L.image < count ? ItemAs<ExprItem_Image>(args[L.image]) : nullptr;
        if (image == nullptr || image->picture.Empty()) return None(result);
        request.image = image->picture;
    }
    const WindowId window = desktop->scriptWindows.Create(request);
    if (window == kNoWindow) return None(result);
    auto value = MakeItem<ExprItem_WindowHandle>(window);
    ItemAs<ExprItem_WindowHandle>(value)->ownsWindow = true;
    return ReturnValue(result, value);
}

using K = ScriptWindowKind;
constexpr CreateLayout kCreateWindow{K::kWindow, 0, 1, 2, 3, 4, -1, -1, 5, -1};
constexpr CreateLayout kCreateDialog{K::kDialog, 0, 1, 2, 3, 4, 5, -1, 6, -1};
constexpr CreateLayout kCreateButton{K::kButton, 0, 1, 2, 3, 4, 5, 6, 7, -1};
constexpr CreateLayout kCreateEdit{K::kEdit, 0, 1, 2, 3, 4, 5, 6, 7, -1};
constexpr CreateLayout kCreateListCtrl{K::kListCtrl, -1, 0, 1, 2, 3, 4, 5, 6, -1};
constexpr CreateLayout kCreateProgressBar{K::kProgressBar, -1, 0, 1, 2, 3, 4, 5, 6, -1};
constexpr CreateLayout kCreatePictureBox{K::kPictureBox, -1, 0, 1, -1, -1, 2, 3, 4, 5};
constexpr CreateLayout kCreateStatic{K::kStatic, 0, 1, 2, 3, 4, 5, 6, 7, -1};

// The call's script-window facet and the live window its first argument names.
struct Call {
    ScriptWindows* facet = nullptr;
    WindowCall window;
    explicit operator bool() const { return facet != nullptr; }
};
Call Resolve(int32_t count, const PExprItem* args, int32_t needs) {
    const WindowCall call = ResolveWindow(count, args, needs);
    return call ? Call{&call.desktop->scriptWindows, call} : Call{};
}

// A control operation on the named window: `op` gets the facet and the handle.
template <auto Op>
PExprItem* Control(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const Call call = Resolve(count, args, 1);
    if (!call) return None(result);
    return Op(*call.facet, call.window.window, result, count, args);
}

PExprItem* GetCheck(ScriptWindows& f, WindowId w, PExprItem* result, int32_t, PExprItem*) {
    return ReturnValue(result, MakeItem<ExprItem_Bool>(f.GetCheck(w)));
}
PExprItem* SetCheck(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.SetCheck(w, count < 2 || AsTruth(args[1]));
    return None(result);
}
PExprItem* ListSetExtendedStyle(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.ListSetExtendedStyle(w, static_cast<uint32_t>(static_cast<int64_t>(Number(args, count, 1))));
    return None(result);
}
PExprItem* ListInsertColumn(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.ListInsertColumn(w, Int(args, count, 1), count > 2 ? Text(args, count, 2) : u"Column",
                       static_cast<uint32_t>(static_cast<int64_t>(Number(args, count, 3))),
                       Given(args, count, 4).value_or(-1));
    return None(result);
}
PExprItem* ListInsertItem(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.ListInsertItem(w, Int(args, count, 1), Text(args, count, 2));
    return None(result);
}
PExprItem* ListSetItemText(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.ListSetItemText(w, Int(args, count, 1), Int(args, count, 2), Text(args, count, 3));
    return None(result);
}
PExprItem* ListGetItemText(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    return ReturnText(result, f.ListGetItemText(w, Int(args, count, 1), Int(args, count, 2)));
}
PExprItem* ListItemCount(ScriptWindows& f, WindowId w, PExprItem* result, int32_t, PExprItem*) {
    return ReturnNumber(result, f.ListItemCount(w));
}
PExprItem* ListSetCheck(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.ListSetCheck(w, Int(args, count, 1), Truth(args, count, 2));
    return None(result);
}
PExprItem* ListGetCheck(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    return ReturnValue(result, MakeItem<ExprItem_Bool>(f.ListGetCheck(w, Int(args, count, 1))));
}
PExprItem* ListEnsureVisible(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.ListEnsureVisible(w, Int(args, count, 1));
    return None(result);
}
PExprItem* ListSelectItem(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.ListSelect(w, Int(args, count, 1), true, Truth(args, count, 2));
    return None(result);
}
PExprItem* ListUnselectItem(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.ListSelect(w, Int(args, count, 1), false, false);
    return None(result);
}
PExprItem* ListNextSelected(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    return ReturnNumber(result, f.ListNextSelected(w, Given(args, count, 1).value_or(-1)));
}
PExprItem* ProgressSetRange(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.ProgressSetRange(w, Int(args, count, 1), Given(args, count, 2).value_or(100));
    return None(result);
}
PExprItem* ProgressGetPos(ScriptWindows& f, WindowId w, PExprItem* result, int32_t, PExprItem*) {
    return ReturnNumber(result, f.ProgressPos(w));
}
PExprItem* ProgressMin(ScriptWindows& f, WindowId w, PExprItem* result, int32_t, PExprItem*) {
    return ReturnNumber(result, f.ProgressRange(w).first);
}
PExprItem* ProgressMax(ScriptWindows& f, WindowId w, PExprItem* result, int32_t, PExprItem*) {
    return ReturnNumber(result, f.ProgressRange(w).second);
}
PExprItem* ProgressSetPos(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.ProgressSetPos(w, Int(args, count, 1));
    return None(result);
}
PExprItem* ProgressIncPos(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.ProgressStep(w, Given(args, count, 1).value_or(10));
    return None(result);
}
PExprItem* DlgCtrlId(ScriptWindows& f, WindowId w, PExprItem* result, int32_t, PExprItem*) {
    return ReturnNumber(result, f.ControlId(w));
}
PExprItem* InvokeDefault(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    const auto message = static_cast<uint32_t>(Int(args, count, 1));
    return ReturnNumber(result, static_cast<double>(f.DefaultProcessing(w, message, Int(args, count, 2), Int(args, count, 3))));
}
PExprItem* SetColors(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    const auto colour = [&](int32_t i) -> std::optional<uint32_t> {
        const std::optional<int32_t> given = Given(args, count, i);
        return given ? std::optional<uint32_t>(static_cast<uint32_t>(*given)) : std::nullopt;
    };
    f.SetColors(w, colour(1), colour(2), colour(3));
    return None(result);
}
PExprItem* EndWindow(ScriptWindows& f, WindowId w, PExprItem* result, int32_t count, PExprItem* args) {
    f.End(w, Int(args, count, 1));
    return None(result);
}

// Runs the window modally until EndWindow (or its end) while the parent is
// disabled; a stopped playback gives no value.
PExprItem* RunModalWindow(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const Call call = Resolve(count, args, 1);
    BuiltinHost* host = GetBuiltinHost();
    if (!call || !call.facet->IsScriptWindow(call.window.window)) return None(result);
    ScriptWindows& facet = *call.facet;
    Windows& windows = *call.window.windows;
    const WindowId window = call.window.window;
    const WindowId parent = facet.ParentOf(window);
    const bool disabled = parent != kNoWindow && facet.IsEnabled(parent);
    if (disabled) facet.Enable(parent, false);
    facet.BeginModal(window);
    if (windows.IsVisible(window)) facet.Redraw(window);
    windows.Show(window, showcmd::kShow);
    int32_t answer = 0;
    while (!host->StopRequested() && facet.ModalRunning(window)) {
        host->Wait(50);
        if (!facet.IsScriptWindow(window)) break;  // destroyed while it ran
        answer = facet.Result(window);
    }
    if (facet.IsScriptWindow(window)) answer = facet.Result(window);
    if (disabled) facet.Enable(parent, true);
    if (parent != kNoWindow && facet.ActiveWindow() == window) facet.SetActive(parent);
    if (host->StopRequested()) return None(result);
    if (Truth(args, count, 1)) facet.Destroy(window);
    return ReturnNumber(result, answer);
}

// Alignment in the parent's client area; the window keeps its size.
enum class Edge { kLeft, kRight, kTop, kBottom, kHMid, kVMid };

template <Edge E>
PExprItem* Align(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const Call call = Resolve(count, args, 3);
    if (!call) return None(result);
    Windows& windows = *call.window.windows;
    const WindowId window = call.window.window;
    const std::optional<ScreenRect> rect = windows.GetWindowRect(window);
    if (!rect) return None(result);
    const WindowId parent = windows.GetParent(window);
    Point origin;
    if (parent != kNoWindow) {
        if (const std::optional<ScreenRect> client = windows.GetClientRect(parent)) origin = {client->left, client->top};
    }
    const int32_t l = rect->left - origin.x, t = rect->top - origin.y;
    const int32_t r = rect->right - origin.x, b = rect->bottom - origin.y;
    const int32_t a = Int(args, count, 1), v = Int(args, count, 2);
    int32_t x = l, y = t;
    switch (E) {
        case Edge::kLeft: x = a + v; break;
        case Edge::kRight: x = a - v - (r - l); break;
        case Edge::kTop: y = a + v; break;
        case Edge::kBottom: y = a - v - (b - t); break;
        case Edge::kHMid: y = t + a + v - (t + b) / 2; break;
        case Edge::kVMid: x = l + a + v - (l + r) / 2; break;
    }
    windows.Move(window, x, y);
    if (parent != kNoWindow) call.facet->Repaint(parent);
    return None(result);
}

ArgSpec Size(const char16_t* name, double value) { return {name, fkind::kNumber, DefNumber(value)}; }

ArgSpec Style(uint32_t kind, DefaultSpec def, const char16_t* flagNames) {
    return {u"Style", kind, def, 0, nullptr, flagNames};
}

FunctionSpec AlignRow(const char16_t* key, PLX_FunImpl impl) {
    return {key, fkind::kNothing, impl, {kWindow, kRelativeTo, kRelativeValue}};
}

const FunctionSpec kScriptWindows[] = {
    {u"CreateWindow", fkind::kObject, Create<kCreateWindow>,
     {{u"WindowTitle", fkind::kText, DefText(u"Window")}, kXEmpty, kYEmpty,
      {u"Width", fkind::kNumber, DefEmpty()}, {u"Height", fkind::kNumber, DefEmpty()},
      Style(fkind::kHexData, DefInteger(0xCF0000), u"WindowStyle")},
     u"WindowHandle"},
    {u"CreateDialog", fkind::kObject, Create<kCreateDialog>,
     {{u"Caption", fkind::kText, DefText(u"Dialog")}, kXEmpty, kYEmpty, Size(u"Width", 600), Size(u"Height", 400),
      kParent, Style(fkind::kHexData, DefInteger(0x80C80000), u"DialogStyle")},
     u"WindowHandle"},
    {u"CreateButton", fkind::kObject, Create<kCreateButton>,
     {{u"Caption", fkind::kText, DefText(u"OK")}, kX, kY, Size(u"Width", 100), Size(u"Height", 25), kParent, kId,
      Style(fkind::kHexData, {}, u"ButtonStyle")},
     u"WindowHandle"},
    {u"Button_GetCheck", fkind::kBool, Control<GetCheck>, {{u"Button", fkind::kObject, {}, 0, u"WindowHandle Button"}}},
    {u"Button_SetCheck", fkind::kNothing, Control<SetCheck>,
     {{u"Button", fkind::kObject, {}, 0, u"WindowHandle Button"}, {u"Check", fkind::kBool, DefBool(true)}}},
    {u"CreateEdit", fkind::kObject, Create<kCreateEdit>,
     {kText, kX, kY, Size(u"Width", 100), Size(u"Height", 25), kParent, kId,
      Style(fkind::kHexData, DefInteger(0x800080), u"EditStyle")},
     u"WindowHandle"},
    {u"CreateListCtrl", fkind::kObject, Create<kCreateListCtrl>,
     {kX, kY, Size(u"Width", 300), Size(u"Height", 200), kParent, kId, {u"Style", fkind::kHexData}},
     u"WindowHandle"},
    {u"ListCtrl_SetExtendedStyle", fkind::kNothing, Control<ListSetExtendedStyle>, {kListCtrl, {u"ExtStyle", fkind::kHexData}}},
    {u"ListCtrl_InsertColumn", fkind::kNothing, Control<ListInsertColumn>,
     {kListCtrl, {u"ColumnIndex", fkind::kNumber}, {u"Heading", fkind::kText, DefText(u"Column")},
      {u"Format", fkind::kHexData}, Size(u"Width", -1)}},
    {u"ListCtrl_InsertItem", fkind::kNothing, Control<ListInsertItem>, {kListCtrl, kItemIndex, kText}},
    {u"ListCtrl_SetItemText", fkind::kNothing, Control<ListSetItemText>,
     {kListCtrl, kItemIndex, {u"SubItemIndex", fkind::kNumber}, kText}},
    {u"ListCtrl_GetItemText", fkind::kText, Control<ListGetItemText>, {kListCtrl, kItemIndex, {u"SubItemIndex", fkind::kNumber}}},
    {u"ListCtrl_GetItemCount", fkind::kNumber, Control<ListItemCount>, {kListCtrl}},
    {u"ListCtrl_SetCheck", fkind::kNothing, Control<ListSetCheck>, {kListCtrl, kItemIndex, {u"Check", fkind::kBool}}},
    {u"ListCtrl_GetCheck", fkind::kBool, Control<ListGetCheck>, {kListCtrl, kItemIndex}},
    {u"ListCtrl_EnsureVisible", fkind::kNothing, Control<ListEnsureVisible>, {kListCtrl, kItemIndex}},
    {u"ListCtrl_SelectItem", fkind::kNothing, Control<ListSelectItem>, {kListCtrl, kItemIndex, {u"UnselectOthers", fkind::kBool}}},
    {u"ListCtrl_UnselectItem", fkind::kNothing, Control<ListUnselectItem>, {kListCtrl, kItemIndex}},
    {u"ListCtrl_GetNextSelectedItem", fkind::kNumber, Control<ListNextSelected>, {kListCtrl, Size(u"ItemFrom", -1)}},
    {u"CreateProgressBar", fkind::kObject, Create<kCreateProgressBar>,
     {kX, kY, Size(u"Width", 200), Size(u"Height", 20), kParent, kId,
      Style(fkind::kHexData, {}, u"ProgressBarStyle")},
     u"WindowHandle"},
    {u"ProgressBar_SetRange", fkind::kNothing, Control<ProgressSetRange>,
     {kProgressBar, {u"Lower", fkind::kNumber}, Size(u"Upper", 100)}},
    {u"ProgressBar_GetPos", fkind::kNumber, Control<ProgressGetPos>, {kProgressBar}},
    {u"ProgressBar_GetMinPos", fkind::kNumber, Control<ProgressMin>, {kProgressBar}},
    {u"ProgressBar_GetMaxPos", fkind::kNumber, Control<ProgressMax>, {kProgressBar}},
    {u"ProgressBar_SetPos", fkind::kNothing, Control<ProgressSetPos>, {kProgressBar, {u"Position", fkind::kNumber}}},
    {u"ProgressBar_IncPos", fkind::kNothing, Control<ProgressIncPos>, {kProgressBar, Size(u"IncVal", 10)}},
    {u"CreatePictureBox", fkind::kObject, Create<kCreatePictureBox>,
     {kX, kY, kParent, kId, Style(fkind::kNumber, {}, u"PictureBoxStyle"),
      {u"Image", fkind::kObject, {}, 0, u"Image Image"}},
     u"WindowHandle"},
    {u"CreateStatic", fkind::kObject, Create<kCreateStatic>,
     {{u"Text", fkind::kText, DefText(u"Static")}, kX, kY, Size(u"Width", 100), Size(u"Height", 14), kParent, kId,
      Style(fkind::kNumber, {}, u"StaticStyle")},
     u"WindowHandle"},
    {u"RunModalWindow", fkind::kNumber, RunModalWindow, {kWindow, {u"DestroyAfterModal", fkind::kBool}}},
    {u"EndWindow", fkind::kNothing, Control<EndWindow>, {kWindow, {u"Result", fkind::kNumber}}},
    AlignRow(u"AlignLeft", Align<Edge::kLeft>),
    AlignRow(u"AlignRight", Align<Edge::kRight>),
    AlignRow(u"AlignTop", Align<Edge::kTop>),
    AlignRow(u"AlignBottom", Align<Edge::kBottom>),
    AlignRow(u"AlignHMid", Align<Edge::kHMid>),
    AlignRow(u"AlignVMid", Align<Edge::kVMid>),
    {u"GetDlgCtrlID", fkind::kNumber, Control<DlgCtrlId>, {{u"Ctrl", fkind::kObject, {}, 0, u"WindowHandle Ctrl"}}},
    {u"InvokeDefaultHandler", fkind::kNumber, Control<InvokeDefault>,
     {kWindow, {u"WindowMessage", fkind::kNumber}, {u"WParam", fkind::kNumber}, {u"LParam", fkind::kNumber}}},
    {u"SetWindowColors", fkind::kNothing, Control<SetColors>,
     {kWindow, {u"TextColor", fkind::kNumber, DefInteger(0x0)},
      {u"BackgroundColor", fkind::kNumber, DefInteger(0xFFFFFF)},
      {u"TextBackgroundColor", fkind::kNumber, DefInteger(0xFFFFFF)}}},
};

}  // namespace

std::span<const FunctionSpec> ScriptWindowFunctions() { return kScriptWindows; }

std::span<const FlagTable> ScriptWindowFlagTables() { return kStyleTables; }

}  // namespace ovrix
