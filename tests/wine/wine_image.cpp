// wine-image: writes the script images that the Windows end-to-end tests pack
// into the player. Each kind of image is one scene of the tests:
//
//   wine-image [steps] -o IMAGE    a cursor position and mouse moves with their
//                                  delays, played twice (about 3.5 s in all;
//                                  never blocks on a dialog)
//   wine-image typing X Y -o IMAGE types into a focused edit control and
//                                  clicks and double-clicks at screen point X,Y,
//                                  the start of its first line
//   wine-image hotkeys -o IMAGE    a 3 s step, then a 60 s one: time to pause,
//                                  resume and stop from the keyboard
//   wine-image msgbox -o IMAGE     a message box, then one more step
//   wine-image error -o IMAGE      a call of a function that does not exist,
//                                  then one more step (not played)
//   wine-image countdown -o IMAGE  a shutdown with a 30 s countdown, then one
//                                  more step
//   wine-image windows -o IMAGE    opens Notepad on C:\ovrix-windows.txt, waits
//                                  for it, switches to it, types, reads the
//                                  text back, lists it by its executable,
//                                  closes it and waits until it is gone; then
//                                  finds and drives the controls of the
//                                  "Ovrix Target" window (wine_target.cpp).
//                                  What it reads it puts on the clipboard as
//                                  "key=value", one trace line each
//   wine-image pictures BITS BMP -o IMAGE
//                                  searches for the pattern wine_picture.cpp
//                                  shows, stored at BITS bits per pixel: found
//                                  and moved to and clicked, moved to, clicked
//                                  without moving, and in the "If" form as its
//                                  second picture, at the other depth; found
//                                  by FindScreenImages from the same pattern
//                                  written to the bitmap file BMP (read as
//                                  C:\ovrix-picture.bmp); then a pattern never
//                                  shown times out with "continue", in the
//                                  "If" form with Else, and with "stop no
//                                  tip", which ends playback. What it reads
//                                  it reports on the clipboard as for windows
//   wine-image stop-tip -o IMAGE   the pattern never shown, timing out with
//                                  "stop tip", then one more step
//   wine-image registry PORT -o IMAGE
//                                  writes, reads back and deletes values under
//                                  HKEY_CURRENT_USER\Software\OvrixTest
//                                  (keeping Keep and Count), puts HTML on the
//                                  clipboard and reads it back, and fetches
//                                  page.txt and a missing page from a server
//                                  on 127.0.0.1:PORT; reports as for windows
//   wine-image dialogs -o IMAGE    asks with an input box, a multi-line input
//                                  box, a selection list and two Input
//                                  Parameters dialogs, then shows every answer
//                                  in one message box titled "Results":
//                                  a=[..] b=[..] c=[..] d=[..] e=[..], the
//                                  named data as NamedData_Print writes it
//   wine-image scriptwin -o IMAGE  builds the window "Ovrix Form" with an
//                                  edit (id 101), a button "Copy" (102) and a
//                                  label (103) and runs it modally; the
//                                  button's handler copies the edit's text
//                                  to the label and ends the window with 7.
//                                  Then a message box titled "Form Result"
//                                  shows "result=7 label=" and the label
//   wine-image ole -o IMAGE        makes automation objects Wine provides (a
//                                  dictionary, the file system object, the
//                                  shell) and calls them in every member
//                                  form, writing C:\ovrix-ole.txt through
//                                  the file system object; then the
//                                  workbook functions without a spreadsheet
//                                  application. What it reads it reports on
//                                  the clipboard as for windows
//   wine-image workbook -o IMAGE   creates C:\ovrix-sheet.xlsx through the
//                                  spreadsheet application, sets and reads
//                                  cells, rows and columns, counts, deletes a
//                                  row, a column and an added sheet, saves;
//                                  opens C:\ovrix-sheet-in.xlsx and a missing
//                                  file. Reports on the clipboard as for
//                                  windows
//   wine-image processes V R -o IMAGE  starts Notepad, opens it, ends it by
//                                  name; runs two commands, waiting for each;
//                                  reads and writes ovrix-wine-memory's
//                                  variables at addresses V and R (decimal),
//                                  reporting on the clipboard as for windows
//   wine-image database -o IMAGE   makes a table in C:\ovrix-database.sqlite,
//                                  inserts two rows (a NULL, a non-ASCII
//                                  name), reads them back by number and by
//                                  name, runs a bad statement and tries the
//                                  default ADO connection; shows it all in a
//                                  message box titled "Database":
//                                  n=[..] a=[..] b=[..] eof=[..] bad=[] ado=[]
//   wine-image files -o IMAGE      writes, appends to and reads back a file
//                                  with a non-ASCII name, finds it, copies it
//                                  to C:\ovrix-files-copy.bin (whose last-write
//                                  time it sets), deletes it and reports that
//                                  it is gone, on the clipboard as for windows
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ImageFile.h"
#include "actions/KeyboardSteps.h"
#include "actions/MouseSteps.h"
#include "actions/SystemSteps.h"
#include "builder/ImageBuilder.h"
#include "container/Tags.h"
#include "script/EventList.h"
#include "engine/FlowSteps.h"
#include "engine/FunctionSteps.h"
#include "engine/HandlerSteps.h"
#include "engine/VariableSteps.h"
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"
#include "expr/KindsValue.h"
#include "picture_pattern.h"
#include "platform/Picture.h"
#include "platform/PictureRecord.h"
#include "platform/Screen.h"
#include "screen/PictureSteps.h"
#include "screen/WindowSteps.h"

namespace {

using namespace ovrix;

template <class T>
Ref<T> Step(uint32_t delay, std::u16string name = u"") {
    auto step = MakeRef<T>();
    step->delay = delay;
    step->name = std::move(name);
    return step;
}

StoredExpr Number(double value) { return StoredExpr(SaveExprItem(MakeItem<ExprItem_Num>(value)).ToVector()); }

Ref<Event> TypeText(std::u16string text, bool paste, uint32_t delay) {
    auto step = Step<InputTextEvent>(delay);
    step->text = std::move(text);
    step->paste = paste ? 1 : 0;
    return step;
}

Ref<Event> CursorTo(int x, int y, uint32_t delay) {
    auto step = Step<MousePosEvent>(delay);
    step->x = Number(x);
    step->y = Number(y);
    return step;
}

Ref<Event> Click(uint32_t kind, uint32_t delay) {
    auto step = Step<MouseClickEvent>(delay);
    step->clickKind = kind;
    return step;
}

// A step that does nothing but wait its delay, under a name the trace shows.
Ref<Event> Hold(std::u16string name, uint32_t delay) {
    auto step = Step<MouseEvent>(delay, std::move(name));
    step->action = 0;
    return step;
}

std::vector<uint8_t> Image(const EventList& steps, bool pauseKey) {
    ImageBuilder builder;
    builder.Root(u"C:\\Tests\\wine.ovx").Main(steps).Setting(tag::kRepeat, 1);
    if (!pauseKey) builder.Setting(tag::kNoPauseKey, 1);
    return builder.Build();
}

// Starts from a fixed point: the display's cursor is wherever it was left,
// the simulated desktop's at 0,0.
std::vector<uint8_t> MouseMoves() {
    EventList steps;
    steps.Append(CursorTo(100, 100, 250));
    for (int i = 1; i <= 6; ++i) {
        auto move = Step<MoveMouseEvent>(250, u"Move " + std::u16string(1, static_cast<char16_t>(u'0' + i)));
        move->x = Number(10);
        move->y = Number(5);
        steps.Append(move);
    }
    return ImageBuilder()
        .Root(u"C:\\Tests\\wine.ovx")
        .Main(steps)
        .Setting(tag::kRepeat, 2)
        .Setting(tag::kNoPauseKey, 1)
        .Build();
}

// Typed on the key path (where the space and "!" go through Alt and the
// numeric pad), then a click puts the caret before the first line and "X" is
// typed there; a double click selects that first word, which the Unicode
// path replaces, and a paste appends. The edit ends up holding
// "Grüße € [pasted]\r\ndef" (Alt + numeric pad gives no character under Wine).
std::vector<uint8_t> Typing(int x, int y) {
    EventList steps;
    steps.Append(TypeText(u"Hi there!\ndef", false, 200));
    steps.Append(CursorTo(x, y, 200));
    // The pause after the single click keeps it apart from the double click.
    steps.Append(Click(MouseClickEvent::kSingle, 700));
    steps.Append(TypeText(u"X", false, 200));
    steps.Append(CursorTo(x, y, 200));
    steps.Append(Click(MouseClickEvent::kDouble, 300));
    steps.Append(TypeText(u"Grüße €", false, 200));
    steps.Append(TypeText(u" [pasted]", true, 300));
    return Image(steps, true);
}

std::vector<uint8_t> Hotkeys() {
    EventList steps;
    steps.Append(Hold(u"Hold", 3000));
    steps.Append(Hold(u"Long", 60000));
    return Image(steps, true);
}

std::vector<uint8_t> MessageBoxStep() {
    EventList steps;
    auto box = Step<MsgBoxEvent>(0);
    box->message = u"Close me";
    steps.Append(box);
    steps.Append(Hold(u"After", 0));
    return Image(steps, false);
}

std::vector<uint8_t> ScriptError() {
    EventList steps;
    auto node = MakeItem<ExprItem_DynFun>();
    ItemAs<ExprItem_DynFun>(node)->name = u"missing";
    auto call = Step<CallFunEvent>(0);
    call->code = StoredExpr(SaveExprItem(node).ToVector());
    steps.Append(call);
    steps.Append(Hold(u"After", 0));
    return Image(steps, false);
}

std::vector<uint8_t> Countdown() {
    EventList steps;
    auto shutdown = Step<ShutdownEvent>(0);
    shutdown->seconds = 30;
    steps.Append(shutdown);
    steps.Append(Hold(u"After", 0));
    return Image(steps, false);
}

// --- The windows scene.

template <class T>
Ref<T> WindowStep(std::u16string title, uint32_t delay) {
    auto step = Step<T>(delay);
    step->title = std::move(title);
    return step;
}

// Waits up to `seconds` for the window to appear (or disappear), without
// bringing it to the front; in the "If" form `then` plays when it does.
Ref<Event> WaitWindow(std::u16string title, bool appear, uint32_t seconds, std::vector<Ref<Event>> then = {}) {
    auto step = WindowStep<WaitWindowEvent>(std::move(title), 100);
    step->appear = appear ? 1 : 0;
    step->timeout = seconds;
    step->timeoutUnit = u"sec";
    step->bringToFront = 0;
    step->ifForm = then.empty() ? 0 : 1;
    for (auto& s : then) step->children.Append(s);
    return step;
}

PExprItem Text(std::u16string text) { return MakeItem<ExprItem_Text>(std::move(text)); }
PExprItem Num(double value) { return MakeItem<ExprItem_Num>(value); }
PExprItem Var(std::u16string_view name) { return MakeItem<ExprItem_Var>(name); }
PExprItem Op(uint32_t code, PExprItem a, PExprItem b) { return MakeItem<ExprItem_Operator2>(code, a, b); }
PExprItem Call(std::u16string name, std::vector<PExprItem> args) {
    auto node = MakeItem<ExprItem_Fun>();
    ItemAs<ExprItem_Fun>(node)->name = std::move(name);
    ItemAs<ExprItem_Fun>(node)->args = std::move(args);
    return node;
}
StoredExpr Stored(const PExprItem& node) { return StoredExpr(SaveExprItem(node).ToVector()); }

Ref<Event> Set(std::u16string_view name, PExprItem value) {
    auto step = Step<SetVarEvent>(0);
    step->code = Stored(MakeItem<ExprItem_SetVar>(Var(name), value));
    return step;
}
// Evaluates a call for what it does.
Ref<Event> Do(std::u16string name, std::vector<PExprItem> args) {
    return Set(u"$done", Call(std::move(name), std::move(args)));
}
// Puts "key=value" on the clipboard, which the trace records.
Ref<Event> Report(std::u16string key, PExprItem value) {
    return Do(u"SetClipboardText", {Op(op::kSum, Text(key + u"="), value)});
}

Ref<Event> If(PExprItem condition, std::vector<Ref<Event>> body) {
    auto step = Step<IfVarEvent>(0);
    step->condition = Stored(condition);
    for (auto& s : body) step->children.Append(s);
    return step;
}

constexpr char16_t kNotepadTitle[] = u"OVRIX-WINDOWS* - notepad";  // any case, "ovrix-windows.txt - Notepad"
// Letters only: digits and spaces go as Alt + numeric pad, which types
// nothing under Wine.
constexpr char16_t kTyped[] = u"TypedByOvrix";
constexpr uint32_t kSetModify = 0xB9;  // EM_SETMODIFY
constexpr uint32_t kHide = 0;

std::vector<uint8_t> WindowsScene() {
    EventList steps;
    auto open = Step<OpenFileEvent>(200);
    open->file = u"notepad.exe";
    open->advanced = 1;
    open->parameters = u"C:\\ovrix-windows.txt";
    open->windowStyle = u"normal";
    steps.Append(open);
    steps.Append(WaitWindow(kNotepadTitle, true, 20));
    steps.Append(WindowStep<SwitchWindowEvent>(kNotepadTitle, 500));
    steps.Append(TypeText(kTyped, false, 300));
    steps.Append(Set(u"$notepad", Call(u"FindWindow", {Text(kNotepadTitle)})));
    steps.Append(Set(u"$edit", Call(u"FindSubWindow", {Var(u"$notepad"), Text(u""), Text(u"Edit"), Num(0)})));
    steps.Append(Set(u"$text", Call(u"Win_GetText", {Var(u"$edit")})));
    steps.Append(Report(u"notepad", Var(u"$text")));
    steps.Append(If(Op(op::kEqual, Var(u"$text"), Text(kTyped)), {Report(u"notepad-check", Text(u"ok"))}));
    // Listed by its process's executable name, which also rules it out under another name.
    steps.Append(Report(u"listed-notepad", Call(u"Array_GetSize", {Call(u"ListWindows", {Text(kNotepadTitle),
                                                                        Text(u"NOTEPAD.EXE"), Text(u"notepad")})})));
    steps.Append(Report(u"listed-other", Call(u"Array_GetSize", {Call(u"ListWindows", {Text(kNotepadTitle),
                                                                      Text(u"calc.exe"), Text(u"")})})));
    // Unmodified, it closes without asking to save.
    steps.Append(Do(u"SendMessage", {Var(u"$edit"), Num(kSetModify), Num(0), Num(0)}));
    steps.Append(WindowStep<CloseWindowEvent>(kNotepadTitle, 100));
    steps.Append(WaitWindow(kNotepadTitle, false, 10, {Report(u"notepad-closed", Text(u"yes"))}));

    steps.Append(Set(u"$target", Call(u"FindWindow", {Text(u"ovrix target")})));
    steps.Append(Set(u"$inner", Call(u"FindSubWindow", {Var(u"$target"), Text(u"Inn*"), Text(u"button"), Num(1)})));
    steps.Append(Report(u"recursive", Call(u"GetWindowText", {Var(u"$inner")})));
    steps.Append(Report(u"flat", Call(u"GetWindowText", {Call(u"FindSubWindow", {Var(u"$target"), Text(u"Inn*"),
                                                                                 Text(u"button"), Num(0)})})));
    steps.Append(Report(u"rect", Call(u"GetRectInParent", {Var(u"$inner")})));
    steps.Append(Set(u"$edit", Call(u"FindSubWindow", {Var(u"$target"), Text(u""), Text(u"Edit"), Num(0)})));
    steps.Append(Report(u"edit-length", Call(u"StringLength", {Call(u"Win_GetText", {Var(u"$edit")})})));
    steps.Append(Do(u"Win_SetText", {Var(u"$edit"), Text(u"")}));
    steps.Append(Do(u"SendString", {Var(u"$edit"), Text(u"Sent \u20AC")}));
    steps.Append(Report(u"sent", Call(u"Win_GetText", {Var(u"$edit")})));
    steps.Append(Do(u"Win_SetText", {Var(u"$edit"), Text(u"Set by the script")}));
    steps.Append(Do(u"SetWindowPos", {Var(u"$target"), Num(300), Num(200)}));
    steps.Append(Do(u"SetWindowSize", {Var(u"$target"), Num(500), Num(350)}));
    steps.Append(
        Set(u"$button", Call(u"FindSubWindow", {Var(u"$target"), Text(u"Press"), Text(u"Button"), Num(0)})));
    steps.Append(Do(u"ShowWindow", {Var(u"$button"), Num(kHide)}));
    return Image(steps, false);
}

// --- The pictures scene.

using winetest::PatternPixel;

VBmp Pattern(uint32_t seed, uint32_t bitsPerPixel) {
    VBmp picture;
    picture.width = winetest::kPatternWidth;
    picture.height = winetest::kPatternHeight;
    picture.bitsPerPixel = bitsPerPixel;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t colour = PatternPixel(seed, x, y);
            picture.pixels.insert(picture.pixels.end(), {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
                                                         static_cast<uint8_t>(colour >> 16), 0});
        }
    }
    return picture;
}

// The shown pattern as a 24-bit bottom-up bitmap file, for LoadImage.
std::vector<uint8_t> PatternBitmapFile() {
    const int w = winetest::kPatternWidth, h = winetest::kPatternHeight;
    const uint32_t stride = (static_cast<uint32_t>(w) * 3 + 3) & ~3u;
    const uint32_t size = 54 + stride * static_cast<uint32_t>(h);
    std::vector<uint8_t> file(size, 0);
    const auto put = [&](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
    };
    file[0] = 'B', file[1] = 'M';
    put(2, size, 4), put(10, 54, 4), put(14, 40, 4), put(18, w, 4), put(22, h, 4), put(26, 1, 2), put(28, 24, 2);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) put(54 + stride * (h - 1 - y) + x * 3, PatternPixel(winetest::kShownSeed, x, y), 3);
    }
    return file;
}

StoredPicture StoredPattern(uint32_t seed, uint32_t bitsPerPixel) {
    RecordBuffer record;
    WritePictureRecord(record, Pattern(seed, bitsPerPixel));
    return {record.ToVector(), 95, u""};
}

Ref<SearchPicEvent> SearchPicture(const StoredPicture& picture, std::u16string found, std::u16string onTimeout,
                                  uint32_t timeoutMs, uint32_t delay, std::u16string name) {
    auto step = Step<SearchPicEvent>(delay, std::move(name));
    step->picture = picture;
    step->foundAction = std::move(found);
    step->timeoutAction = std::move(onTimeout);
    step->timeout = timeoutMs;
    step->timeoutUnit = u"ms";
    return step;
}

PExprItem Joined(std::vector<PExprItem> parts) {
    PExprItem out = parts[0];
    for (size_t i = 1; i < parts.size(); ++i) out = Op(op::kSum, Op(op::kSum, out, Text(u",")), parts[i]);
    return out;
}
PExprItem CursorPlace() { return Joined({Call(u"GetMousePositionX", {}), Call(u"GetMousePositionY", {})}); }
PExprItem ClickCount() { return Call(u"GetWindowText", {Call(u"FindWindow", {Text(u"Ovrix Picture*")})}); }

constexpr uint32_t kFoundWithinMs = 5000;
constexpr uint32_t kAbsentForMs = 300;
constexpr Point kAside{100, 100};  // where the cursor waits between searches

std::vector<uint8_t> PicturesScene(uint32_t bitsPerPixel) {
    const StoredPicture shown = StoredPattern(winetest::kShownSeed, bitsPerPixel);
    const StoredPicture absent = StoredPattern(winetest::kAbsentSeed, bitsPerPixel);
    EventList steps;
    steps.Append(CursorTo(kAside.x, kAside.y, 0));
    steps.Append(SearchPicture(shown, u"move click", u"stop tip", kFoundWithinMs, 300, u"Move click"));
    steps.Append(Report(u"move-click", ClickCount()));
    steps.Append(Report(u"move-click-cursor", CursorPlace()));
    steps.Append(Report(u"last-rect", Joined({Call(u"GetLastBmpRegionX", {}), Call(u"GetLastBmpRegionY", {}),
                                              Call(u"GetLastBmpRegionWdith", {}), Call(u"GetLastBmpRegionHeight", {})})));

    steps.Append(CursorTo(kAside.x, kAside.y, 0));
    steps.Append(SearchPicture(shown, u"move", u"stop tip", kFoundWithinMs, 300, u"Move"));
    steps.Append(Report(u"move", ClickCount()));
    steps.Append(Report(u"move-cursor", CursorPlace()));

    steps.Append(CursorTo(kAside.x, kAside.y, 0));
    steps.Append(SearchPicture(shown, u"click no move", u"stop tip", kFoundWithinMs, 300, u"Click no move"));
    steps.Append(Report(u"click-no-move", ClickCount()));
    steps.Append(Report(u"click-no-move-cursor", CursorPlace()));

    // Found as the step's second picture, stored at the other depth, which
    // the matcher compares through 32-bit copies.
    auto ifFound = SearchPicture(absent, u"report", u"stop tip", kFoundWithinMs, 0, u"If found");
    ifFound->morePictures = {StoredPattern(winetest::kShownSeed, bitsPerPixel == 32 ? 24 : 32)};
    ifFound->ifForm = 1;
    ifFound->children.Append(Report(u"if-found", Text(u"then")));
    steps.Append(ifFound);

    steps.Append(Set(u"$found", Call(u"FindScreenImages", {Call(u"LoadImage", {Text(u"C:\\ovrix-picture.bmp")}),
                                                           Num(0.95), Num(0)})));
    steps.Append(Report(u"find-count", Call(u"Array_GetSize", {Var(u"$found")})));
    steps.Append(Report(u"find-rect", Call(u"Array_Get", {Var(u"$found"), Num(0)})));

    steps.Append(SearchPicture(absent, u"move click", u"continue", kAbsentForMs, 200, u"Continue"));
    steps.Append(Report(u"after-continue", Call(u"GetLastBmpRegionX", {})));
    auto ifAbsent = SearchPicture(absent, u"move click", u"stop tip", kAbsentForMs, 0, u"If absent");
    ifAbsent->ifForm = 1;
    ifAbsent->children.Append(Report(u"if-absent", Text(u"then")));
    steps.Append(ifAbsent);
    auto otherwise = Step<ElseEvent>(0);
    otherwise->children.Append(Report(u"if-absent", Text(u"else")));
    steps.Append(otherwise);
    steps.Append(Step<EndIfEvent>(0));
    steps.Append(SearchPicture(absent, u"move click", u"stop no tip", kAbsentForMs, 500, u"Stop no tip"));
    steps.Append(Report(u"after-stop", Text(u"played")));
    return Image(steps, false);
}

std::vector<uint8_t> StopTip() {
    EventList steps;
    steps.Append(SearchPicture(StoredPattern(winetest::kAbsentSeed, 32), u"move click", u"stop tip", kAbsentForMs,
                               3000, u"Stop tip"));
    steps.Append(Hold(u"After", 0));
    return Image(steps, false);
}

// --- The dialogs scene.

// "label=[" + value + "] "
PExprItem Shown(std::u16string label, PExprItem value) {
    return Op(op::kSum, Op(op::kSum, Text(label + u"=["), std::move(value)), Text(u"] "));
}

std::vector<uint8_t> DialogsScene() {
    EventList steps;
    steps.Append(Set(u"$a", Call(u"InputBox", {Text(u"Your name?"), Text(u""), Text(u"Ask")})));
    steps.Append(Set(u"$b", Call(u"InputBoxMultiLine", {Text(u"Some lines?"), Text(u""), Text(u"Ask ML")})));
    // Sorted by the control: apple, banana, cherry; "b" preselects banana.
    steps.Append(Set(u"$c", Call(u"SelectList", {Text(u"cherry\r\napple\r\n\r\nbanana"), Num(1), Text(u"Fruit?"),
                                                 Text(u"Pick"), Text(u"b")})));
    steps.Append(Set(u"$d", Call(u"InputPara", {Text(u"Name* = Alice\r\nAge = 16\r\nAddress")})));
    steps.Append(Set(u"$e", Call(u"InputPara", {Text(u"Colour = red")})));
    PExprItem all = Shown(u"a", Var(u"$a"));
    all = Op(op::kSum, all, Shown(u"b", Var(u"$b")));
    all = Op(op::kSum, all, Shown(u"c", Var(u"$c")));
    all = Op(op::kSum, all, Shown(u"d", Call(u"NamedData_Print", {Var(u"$d")})));
    all = Op(op::kSum, all, Shown(u"e", Call(u"NamedData_Print", {Var(u"$e")})));
    steps.Append(Do(u"MessageBoxEx", {all, Text(u"Results"), Num(0), Num(0x40040)}));
    return Image(steps, false);
}

// --- The script-made window scene.

std::vector<uint8_t> ScriptWindowScene() {
    EventList steps;
    steps.Append(Set(u"!form", Call(u"CreateWindow", {Text(u"Ovrix Form"), Num(200), Num(200), Num(360), Num(200)})));
    steps.Append(Set(u"!edit", Call(u"CreateEdit", {Text(u""), Num(20), Num(20), Num(200), Num(25), Var(u"!form"),
                                                    Num(101)})));
    steps.Append(Set(u"!button", Call(u"CreateButton", {Text(u"Copy"), Num(20), Num(60), Num(100), Num(25),
                                                        Var(u"!form"), Num(102)})));
    steps.Append(Set(u"!label", Call(u"CreateStatic", {Text(u""), Num(20), Num(100), Num(200), Num(20),
                                                       Var(u"!form"), Num(103)})));
    auto handler = Step<SetWinCmdHandlerEvent>(0);
    handler->window = Stored(Var(u"!form"));
    handler->control = Stored(Var(u"!button"));
    handler->handlerFile = u"copy.ovx";
    steps.Append(handler);
    steps.Append(Set(u"$r", Call(u"RunModalWindow", {Var(u"!form"), MakeItem<ExprItem_Bool>(false)})));
    const PExprItem shown = Op(op::kSum, Op(op::kSum, Text(u"result="), Var(u"$r")),
                               Op(op::kSum, Text(u" label="), Call(u"GetWindowText", {Var(u"!label")})));
    steps.Append(Do(u"MessageBoxEx", {shown, Text(u"Form Result"), Num(0), Num(0x40040)}));

    EventList copy;
    auto window = Step<GetScriptArgEvent>(0);
    window->variable = u"$window";
    window->index = Stored(Num(1));
    copy.Append(window);
    copy.Append(Do(u"SetWindowText", {Var(u"!label"), Call(u"Win_GetText", {Var(u"!edit")})}));
    copy.Append(Do(u"EndWindow", {Var(u"$window"), Num(7)}));

    return ImageBuilder()
        .Root(u"C:\\Tests\\wine.ovx")
        .Main(steps)
        .Script(u"C:\\Tests\\copy.ovx", copy)
        .Setting(tag::kRepeat, 1)
        .Setting(tag::kNoPauseKey, 1)
        .Build();
}

// --- The automation scene.

PExprItem Member(std::u16string name) { return MakeItem<ExprItem_Member>(std::move(name)); }
PExprItem List(std::vector<PExprItem> values) {
    auto list = MakeItem<ExprItem_ValueList>();
    ItemAs<ExprItem_ValueList>(list)->elements = std::move(values);
    return list;
}
// obj.Member(args...) and obj.Member.
PExprItem Method(std::u16string_view object, std::u16string member, std::vector<PExprItem> args = {}) {
    return Call(u"<OleObject.InvokeMethod>", {Var(object), Member(std::move(member)), List(std::move(args))});
}
PExprItem Property(std::u16string_view object, std::u16string member) {
    return Call(u"<OleObject.GetProperty>", {Var(object), Member(std::move(member))});
}

std::vector<uint8_t> OleScene() {
    EventList steps;
    steps.Append(Set(u"$d", Call(u"CreateObject", {Text(u"Scripting.Dictionary")})));
    steps.Append(Report(u"dictionary", Var(u"$d")));
    steps.Append(Set(u"$added", Method(u"$d", u"Add", {Text(u"a"), Num(1)})));
    steps.Append(Do(u"OleInvoke", {Var(u"$d"), Text(u"Item"), Num(4), List({Text(u"b"), Text(u"two")})}));
    steps.Append(Report(u"count", Property(u"$d", u"Count")));
    steps.Append(Report(u"item-a", Method(u"$d", u"Item", {Text(u"a")})));
    steps.Append(Report(u"item-b", Call(u"OleInvoke", {Var(u"$d"), Text(u"Item"), Num(2), List({Text(u"b")})})));
    steps.Append(Report(u"keys", Call(u"Array_Get", {Method(u"$d", u"Keys"), Num(1)})));
    steps.Append(Report(u"exists", Method(u"$d", u"Exists", {Text(u"zz")})));
    // A date, a truth value, a fraction and an array go in and come back.
    steps.Append(Set(u"$when", Call(u"StringToDateTime", {Text(u"2026-03-04 05:06:07")})));
    steps.Append(Set(u"$list", Call(u"Array_Create", {})));
    steps.Append(Do(u"Array_Push", {Var(u"$list"), Num(7)}));
    steps.Append(Do(u"Array_Push", {Var(u"$list"), Text(u"eight")}));
    const std::pair<const char16_t*, PExprItem> values[] = {
        {u"date", Var(u"$when")}, {u"truth", MakeItem<ExprItem_Bool>(true)}, {u"fraction", Num(-2.25)},
        {u"list", Var(u"$list")}};
    for (const auto& [key, value] : values) {
        steps.Append(Set(u"$added", Method(u"$d", u"Add", {Text(key), value})));
        steps.Append(Set(u"$" + std::u16string(key), Method(u"$d", u"Item", {Text(key)})));
    }
    steps.Append(Report(u"date-same", Op(op::kEqual, Var(u"$date"), Var(u"$when"))));
    steps.Append(Report(u"truth", Var(u"$truth")));
    steps.Append(Report(u"fraction", Var(u"$fraction")));
    steps.Append(Report(u"list-back", Call(u"Array_Get", {Var(u"$list"), Num(1)})));
    steps.Append(Report(u"refused", Method(u"$d", u"Add", {Text(u"a"), Num(2)})));
    steps.Append(Report(u"no-member", Property(u"$d", u"NoSuchMember")));

    steps.Append(Set(u"$fso", Call(u"CreateObject", {Text(u"Scripting.FileSystemObject")})));
    steps.Append(Set(u"$file", Method(u"$fso", u"CreateTextFile", {Text(u"C:\\ovrix-ole.txt"), MakeItem<ExprItem_Bool>(true)})));
    steps.Append(Report(u"file", Var(u"$file")));
    steps.Append(Set(u"$done", Method(u"$file", u"WriteLine", {Text(u"Written through automation")})));
    steps.Append(Set(u"$done", Method(u"$file", u"Close")));
    steps.Append(Report(u"file-exists", Method(u"$fso", u"FileExists", {Text(u"C:\\ovrix-ole.txt")})));
    steps.Append(Set(u"$sh", Call(u"CreateObject", {})));  // "WScript.Shell"
    steps.Append(Report(u"shell", Method(u"$sh", u"ExpandEnvironmentStrings", {Text(u"[%OVRIX_OLE%]")})));
    steps.Append(Report(u"missing", Call(u"CreateObject", {Text(u"Ovrix.NotRegistered")})));

    steps.Append(Set(u"$book", Call(u"XLS_Open", {Text(u"C:\\ovrix.xlsx"), MakeItem<ExprItem_Bool>(false)})));
    steps.Append(Report(u"workbook", Var(u"$book")));
    steps.Append(Report(u"cell", Call(u"XLS_GetCell", {Var(u"$book"), Text(u"Sheet1"), Num(1), Num(1)})));
    steps.Append(Report(u"end", Text(u"played")));
    return Image(steps, false);
}

// --- The workbook scene, against the test spreadsheet server
// (wine_sheet_server.cpp) registered as the application.

constexpr char16_t kSheetFile[] = u"C:\\ovrix-sheet.xlsx";
constexpr char16_t kSheetInput[] = u"C:\\ovrix-sheet-in.xlsx";

// An array's size and its elements, "n:a,b,...".
PExprItem ArrayText(std::u16string_view array, int size) {
    std::vector<PExprItem> parts{Op(op::kSum, Call(u"Array_GetSize", {Var(array)}), Text(u":"))};
    for (int i = 0; i < size; ++i) parts.push_back(Call(u"Array_Get", {Var(array), Num(i)}));
    PExprItem out = Op(op::kSum, parts[0], parts[1]);
    for (size_t i = 2; i < parts.size(); ++i) out = Op(op::kSum, Op(op::kSum, out, Text(u",")), parts[i]);
    return out;
}

std::vector<uint8_t> WorkbookScene() {
    EventList steps;
    const auto sheet = [](std::u16string name) { return Text(std::move(name)); };
    const auto cell = [&](const char16_t* name, double row, double column) {
        return Call(u"XLS_GetCell", {Var(u"$b"), sheet(name), Num(row), Num(column)});
    };
    const auto array = [](std::u16string_view name, std::vector<const char16_t*> values) {
        std::vector<Ref<Event>> made{Set(name, Call(u"Array_Create", {}))};
        for (const char16_t* v : values) made.push_back(Do(u"Array_Push", {Var(name), Text(v)}));
        return made;
    };
    steps.Append(Set(u"$b", Call(u"XLS_Create", {Text(kSheetFile), MakeItem<ExprItem_Bool>(false)})));
    steps.Append(Report(u"book", Var(u"$b")));
    steps.Append(Do(u"XLS_SetCell", {Var(u"$b"), sheet(u"Sheet1"), Num(1), Num(1), Text(u"alpha")}));
    steps.Append(Do(u"XLS_SetCell", {Var(u"$b"), sheet(u"sheet1"), Num(2), Num(3), Text(u"gamma")}));
    for (auto& s : array(u"$row", {u"r1", u"r2", u"r3"})) steps.Append(s);
    for (auto& s : array(u"$column", {u"c1", u"c2"})) steps.Append(s);
    steps.Append(Do(u"XLS_SetRow", {Var(u"$b"), sheet(u"Sheet1"), Num(3), Var(u"$row")}));
    steps.Append(Do(u"XLS_SetColumn", {Var(u"$b"), sheet(u"Sheet1"), Num(4), Var(u"$column")}));
    steps.Append(Report(u"cell", cell(u"Sheet1", 1, 1)));
    steps.Append(Report(u"empty-cell", cell(u"Sheet1", 9, 9)));
    steps.Append(Set(u"$gotrow", Call(u"XLS_GetRow", {Var(u"$b"), sheet(u"Sheet1"), Num(3)})));
    steps.Append(Report(u"row", ArrayText(u"$gotrow", 4)));
    steps.Append(Set(u"$gotcolumn", Call(u"XLS_GetColumn", {Var(u"$b"), sheet(u"Sheet1"), Num(4)})));
    steps.Append(Report(u"column", ArrayText(u"$gotcolumn", 3)));
    steps.Append(Report(u"rows", Call(u"XLS_SheetRowCount", {Var(u"$b"), sheet(u"Sheet1")})));
    steps.Append(Report(u"columns", Call(u"XLS_SheetColumnCount", {Var(u"$b"), sheet(u"Sheet1")})));
    steps.Append(Do(u"XLS_DelRow", {Var(u"$b"), sheet(u"Sheet1"), Num(1)}));
    steps.Append(Do(u"XLS_DelColumn", {Var(u"$b"), sheet(u"Sheet1"), Num(1)}));
    steps.Append(Report(u"moved", Joined({cell(u"Sheet1", 1, 2), cell(u"Sheet1", 2, 1), cell(u"Sheet1", 2, 2)})));
    steps.Append(Report(u"counts-after", Joined({Call(u"XLS_SheetRowCount", {Var(u"$b"), sheet(u"Sheet1")}),
                                                 Call(u"XLS_SheetColumnCount", {Var(u"$b"), sheet(u"Sheet1")})})));
    steps.Append(Do(u"XLS_AddSheet", {Var(u"$b"), Text(u"Extra")}));
    steps.Append(Do(u"XLS_SetCell", {Var(u"$b"), sheet(u"Extra"), Num(1), Num(1), Text(u"on extra \u00e9")}));
    steps.Append(Report(u"extra", cell(u"Extra", 1, 1)));
    steps.Append(Do(u"XLS_AddSheet", {Var(u"$b"), Text(u"Gone")}));
    steps.Append(Report(u"before-delete", Call(u"XLS_SheetRowCount", {Var(u"$b"), sheet(u"Gone")})));
    steps.Append(Do(u"XLS_DelSheet", {Var(u"$b"), sheet(u"Gone")}));
    steps.Append(Report(u"deleted", Call(u"XLS_SheetRowCount", {Var(u"$b"), sheet(u"Gone")})));
    steps.Append(Report(u"no-sheet", cell(u"Nowhere", 1, 1)));
    steps.Append(Do(u"XLS_Save", {Var(u"$b")}));
    steps.Append(Set(u"$b", Call(u"XLS_Open", {Text(kSheetInput), MakeItem<ExprItem_Bool>(false)})));
    steps.Append(Report(u"opened", Joined({cell(u"Data", 2, 2), Call(u"XLS_SheetRowCount", {Var(u"$b"), sheet(u"Data")})})));
    steps.Append(Report(u"no-file", Call(u"XLS_Open", {Text(u"C:\\ovrix-no-such.xlsx")})));
    steps.Append(Report(u"end", Text(u"played")));
    return Image(steps, false);
}

// --- The registry, clipboard HTML and web scene.

constexpr char16_t kRegistryKey[] = u"HKEY_CURRENT_USER\\Software\\OvrixTest";

std::vector<uint8_t> RegistryScene(const std::u16string& port) {
    EventList steps;
    const PExprItem key = Text(kRegistryKey);
    steps.Append(Do(u"Reg_CreateKey", {key}));
    steps.Append(Do(u"Reg_SetStringValue", {key, Text(u"Keep"), Text(u"Grüße")}));
    steps.Append(Do(u"Reg_SetDWORDValue", {key, Text(u"Count"), Num(255)}));
    steps.Append(Do(u"Reg_SetStringValue", {key, Text(u"Gone"), Text(u"soon")}));
    steps.Append(Report(u"keep", Call(u"Reg_GetValue", {key, Text(u"Keep")})));
    steps.Append(Report(u"count", Call(u"Reg_GetValue", {Text(u"hkey_current_user\\Software\\OvrixTest"), Text(u"COUNT")})));
    steps.Append(Do(u"Reg_DeleteValue", {key, Text(u"Gone")}));
    steps.Append(Report(u"gone", Call(u"Reg_GetValue", {key, Text(u"Gone")})));

    steps.Append(Do(u"SetClipboardHtml", {Text(u"x<br />y<div class=a>z</div>")}));
    steps.Append(Set(u"$html", Call(u"GetClipboardHtml", {})));
    steps.Append(Set(u"$plain", Call(u"GetClipboardText", {})));
    steps.Append(Report(u"html", Var(u"$html")));
    steps.Append(Report(u"plain", Var(u"$plain")));

    steps.Append(Report(u"http", Call(u"HttpGet", {Text(u"127.0.0.1:" + port + u"/page.txt"), Num(5000)})));
    steps.Append(Report(u"http-missing", Call(u"HttpGet", {Text(u"http://127.0.0.1:" + port + u"/none.txt")})));
    return Image(steps, false);
}

// --- The processes scene: Notepad started, opened and ended by name; two
// commands, the second needing what the first wrote; a variable and a
// read-only one of ovrix-wine-memory read and written at the addresses the
// test hands in.
std::vector<uint8_t> ProcessesScene(double value, double readOnly) {
    EventList steps;
    steps.Append(Do(u"ExecuteFile", {Text(u"%SystemRoot%\\notepad.exe"), Text(u""), Num(5), Num(0)}));
    steps.Append(WaitWindow(u"*Notepad", true, 20));
    steps.Append(Set(u"$p", Call(u"OpenProcess", {Text(u"NOTEPAD.EXE")})));
    steps.Append(Report(u"notepad-module", Op(op::kGreater, Call(u"GetModuleBaseAddress", {Var(u"$p"), Text(u"notepad.exe")}), Num(0))));
    steps.Append(Set(u"$p", Num(0)));
    steps.Append(Do(u"TaskKill", {Text(u"notepad.exe")}));
    steps.Append(WaitWindow(u"*Notepad", false, 10));
    steps.Append(Do(u"Command", {Text(u"echo done> C:\\ovrix-command.txt"), Num(0), Num(1)}));
    steps.Append(Do(u"Command", {Text(u"copy C:\\ovrix-command.txt C:\\ovrix-command-copy.txt\r\n"
                                      u"echo second> C:\\ovrix-command-second.txt"),
                                 Num(0), Num(1)}));
    steps.Append(Set(u"$m", Call(u"OpenProcess", {Text(u"ovrix-wine-memory.exe")})));
    steps.Append(Report(u"memory-read", Call(u"ReadProcessMemoryInt", {Var(u"$m"), Num(value)})));
    steps.Append(Report(u"readonly-read", Call(u"ReadProcessMemoryInt", {Var(u"$m"), Num(readOnly)})));
    steps.Append(Do(u"WriteProcessMemoryInt", {Var(u"$m"), Num(readOnly), Num(2222)}));
    steps.Append(Do(u"WriteProcessMemoryInt", {Var(u"$m"), Num(value), Num(98765)}));
    return Image(steps, false);
}

// --- The database scene.

// The current row of $r as "id|name|note".
PExprItem RowText() {
    const auto field = [](PExprItem column) { return Call(u"Database_GetField", {Var(u"$r"), std::move(column)}); };
    return Op(op::kSum, Op(op::kSum, Op(op::kSum, Op(op::kSum, field(Num(0)), Text(u"|")), field(Text(u"name"))),
                           Text(u"|")),
              field(Num(2)));
}

std::vector<uint8_t> DatabaseScene() {
    EventList steps;
    steps.Append(Set(u"$c", Call(u"Database_ConnectSQLite", {Text(u"C:\\ovrix-database.sqlite")})));
    steps.Append(Do(u"Database_Execute", {Var(u"$c"), Text(u"CREATE TABLE t(id INTEGER, name TEXT, note TEXT);"
                                                           u"INSERT INTO t VALUES (1, 'Zo\u00eb', NULL), (2, 'Ned', 'x')")}));
    steps.Append(Set(u"$r", Call(u"Database_Execute", {Var(u"$c"), Text(u"SELECT id, name, note FROM t ORDER BY id")})));
    steps.Append(Set(u"$a", RowText()));
    steps.Append(Do(u"Database_RecordSetMoveNext", {Var(u"$r")}));
    steps.Append(Set(u"$b", RowText()));
    steps.Append(Do(u"Database_RecordSetMoveNext", {Var(u"$r")}));
    steps.Append(Set(u"$bad", Call(u"Database_Execute", {Var(u"$c"), Text(u"SELEKT 1")})));
    steps.Append(Set(u"$ado", Call(u"Database_Connect", {})));
    PExprItem all = Shown(u"n", Call(u"Database_RecordSetGetFieldCount", {Var(u"$r")}));
    all = Op(op::kSum, all, Shown(u"a", Var(u"$a")));
    all = Op(op::kSum, all, Shown(u"b", Var(u"$b")));
    all = Op(op::kSum, all, Shown(u"eof", Call(u"Database_RecordSetEOF", {Var(u"$r")})));
    all = Op(op::kSum, all, Shown(u"bad", Var(u"$bad")));
    all = Op(op::kSum, all, Shown(u"ado", Var(u"$ado")));
    steps.Append(Do(u"MessageBoxEx", {all, Text(u"Database"), Num(0), Num(0x40040)}));
    return Image(steps, false);
}

// --- The files scene.

constexpr char16_t kFilesName[] = u"C:\\ovrix-f\u00EFl\u00E9-\u0436\u0443\u043A.txt";
constexpr char16_t kFilesCopy[] = u"C:\\ovrix-files-copy.bin";
constexpr int64_t kFilesModified = 1577934245;  // 2020-01-02 03:04:05 UTC

std::vector<uint8_t> FilesScene() {
    EventList steps;
    steps.Append(Do(u"SaveTextToFile", {Text(kFilesName), Text(u"Gr\u00FC\u00DFe \u20AC"), Num(1)}));
    steps.Append(Do(u"AppendTextToFile", {Text(kFilesName), Text(u" + \u0436")}));
    steps.Append(Report(u"text", Call(u"LoadTextFile", {Text(kFilesName)})));
    steps.Append(Set(u"$finder", Call(u"CreateFileFinder", {Text(u"C:\\OVRIX-F*.TXT")})));
    steps.Append(Report(u"found", Call(u"NamedData_Get", {Call(u"FindNextFile", {Var(u"$finder")}), Text(u"FileName")})));
    steps.Append(Do(u"CopyFile", {Text(kFilesName), Text(kFilesCopy)}));
    steps.Append(Do(u"SetFileLastModifyTime", {Text(kFilesCopy), MakeItem<ExprItem_DateTime>(kFilesModified)}));
    steps.Append(Do(u"DeleteFile", {Text(kFilesName)}));
    steps.Append(Report(u"exists", Call(u"IsFileExist", {Text(kFilesName)})));
    return Image(steps, false);
}

int Usage() {
    std::fprintf(stderr, "usage: wine-image [steps|typing X Y|hotkeys|msgbox|error|countdown|windows|"
                         "pictures BITS BMP|stop-tip|dialogs|scriptwin|ole|workbook|registry PORT|"
                         "processes VALUE-ADDRESS READONLY-ADDRESS|database|files] -o IMAGE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2 || args[args.size() - 2] != "-o") return Usage();
    const std::string output = args.back();
    args.resize(args.size() - 2);
    const std::string kind = args.empty() ? "steps" : args[0];

    std::vector<uint8_t> image;
    if (kind == "steps" && args.size() <= 1) image = MouseMoves();
    else if (kind == "typing" && args.size() == 3) image = Typing(std::atoi(args[1].c_str()), std::atoi(args[2].c_str()));
    else if (kind == "hotkeys" && args.size() == 1) image = Hotkeys();
    else if (kind == "msgbox" && args.size() == 1) image = MessageBoxStep();
    else if (kind == "error" && args.size() == 1) image = ScriptError();
    else if (kind == "countdown" && args.size() == 1) image = Countdown();
    else if (kind == "windows" && args.size() == 1) image = WindowsScene();
    else if (kind == "stop-tip" && args.size() == 1) image = StopTip();
    else if (kind == "pictures" && args.size() == 3) {
        if (!WriteWholeFile(args[2], PatternBitmapFile())) {
            std::fprintf(stderr, "wine-image: cannot write %s\n", args[2].c_str());
            return 1;
        }
        image = PicturesScene(static_cast<uint32_t>(std::atoi(args[1].c_str())));
    }
    else if (kind == "dialogs" && args.size() == 1) image = DialogsScene();
    else if (kind == "scriptwin" && args.size() == 1) image = ScriptWindowScene();
    else if (kind == "ole" && args.size() == 1) image = OleScene();
    else if (kind == "workbook" && args.size() == 1) image = WorkbookScene();
    else if (kind == "registry" && args.size() == 2) image = RegistryScene(std::u16string(args[1].begin(), args[1].end()));
    else if (kind == "processes" && args.size() == 3) {
        image = ProcessesScene(std::strtod(args[1].c_str(), nullptr), std::strtod(args[2].c_str(), nullptr));
    }
    else if (kind == "database" && args.size() == 1) image = DatabaseScene();
    else if (kind == "files" && args.size() == 1) image = FilesScene();
    else return Usage();

    if (!WriteWholeFile(output, image)) {
        std::fprintf(stderr, "wine-image: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
