// The dialogs family: message boxes, confirmation, text and parameter
// input and list selection, shown on the host's desktop. What a dialog is
// shown with and what its answer becomes is decided in dialogs/; a function
// here reads its arguments, asks, and makes the result. A cancelled input
// box or list gives the empty text, never no value.
//
// MessageBoxEx's Type carries a table of the named message box flags for
// display and entry; it is filed as an enumeration the first time the
// family's table is asked for, before any descriptor is built from it.
#include <cmath>

#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "builtins/Registry.h"
#include "dialogs/InputDialogs.h"
#include "dialogs/ParameterItems.h"
#include "expr/NumberEnum.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace {

constexpr FlagName kMessageBoxTypes[] = {
    {0x1, u"MB_OKCANCEL"},         {0x2, u"MB_ABORTRETRYIGNORE"},       {0x3, u"MB_YESNOCANCEL"},
    {0x4, u"MB_YESNO"},            {0x5, u"MB_RETRYCANCEL"},            {0x6, u"MB_CANCELTRYCONTINUE"},
    {0x20, u"MB_ICONQUESTION"},    {0x30, u"MB_ICONWARNING"},           {0x10, u"MB_ICONERROR"},
    {0x40, u"MB_ICONINFORMATION"}, {0x1000, u"MB_SYSTEMMODAL"},         {0x2000, u"MB_TASKMODAL"},
    {0x4000, u"MB_HELP"},          {0x8000, u"MB_NOFOCUS"},             {0x10000, u"MB_SETFOREGROUND"},
    {0x20000, u"MB_DEFAULT_DESKTOP_ONLY"}, {0x40000, u"MB_TOPMOST"},    {0x80000, u"MB_RIGHT"},
    {0x100000, u"MB_RTLREADING"},
};

// Shown like the message-box step: the default title, an information icon,
// OK, brought to the foreground and kept on top (0x50040).
PExprItem* MessageBox(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host != nullptr && count >= 1) {
        host->GetDesktop().dialogs.MessageBox(fnargs::Text(args, count, 0), host->DefaultTitle(), 0x50040);
    }
    return fnargs::None(result);
}

// The name of the button that closed a box; 32000 is the box's own timeout.
std::u16string ButtonName(int32_t id) {
    switch (id) {
        case 1: return u"OK";
        case 2: return u"Cancel";
        case 3: return u"Abort";
        case 4: return u"Retry";
        case 5: return u"Ignore";
        case 6: return u"Yes";
        case 7: return u"No";
        case 8: return u"Close";
        case 9: return u"Help";
        case 10: return u"Try Again";
        case 11: return u"Continue";
        case 32000: return u"Timeout";
        default: return {};
    }
}

// Type and Timeout round to the nearest integer, halves away from zero;
// values beyond 32 bits are clamped first so that no conversion overflows.
uint32_t RoundedWord(double value) {
    if (!(value == value)) return 0;
    const double clamped = value < -2147483648.0 ? -2147483648.0 : value > 4294967295.0 ? 4294967295.0 : value;
    const double rounded = clamped < 0 ? -std::floor(-clamped + 0.5) : std::floor(clamped + 0.5);
    return rounded < 0 ? static_cast<uint32_t>(static_cast<int32_t>(rounded)) : static_cast<uint32_t>(rounded);
}

PExprItem* MessageBoxEx(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr || count < 2) return fnargs::None(result);
    std::u16string title = fnargs::Text(args, count, 1);
    if (title.empty()) title = host->DefaultTitle();
    const uint32_t type = count < 4 ? 0x40040u : RoundedWord(fnargs::Number(args, count, 3));
    const uint32_t timeout = count < 3 ? 0 : RoundedWord(fnargs::Number(args, count, 2));
    const std::u16string text = fnargs::Text(args, count, 0);
    Dialogs& dialogs = host->GetDesktop().dialogs;
    return fnargs::ReturnText(result, ButtonName(timeout == 0 ? dialogs.MessageBox(text, title, type)
                                                              : dialogs.MessageBoxTimeout(text, title, type, timeout)));
}

// OK answers 1 and Cancel 0.
PExprItem* ConfirmBox(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr || count < 2) return fnargs::None(result);
    const ConfirmRequest request{DialogCaption(fnargs::Text(args, count, 1), host->DefaultTitle()),
                                 fnargs::Text(args, count, 0)};
    const DialogButton button = host->GetDesktop().dialogs.RunConfirmBox(request);
    return fnargs::ReturnNumber(result, button == DialogButton::Ok ? 1.0 : 0.0);
}

// Both input boxes: the step that asks is shown first.
DialogAnswer AskInputBox(BuiltinHost& host, PExprItem* args, int32_t count, bool multiLine) {
    const std::u16string prompt = fnargs::Text(args, count, 0);
    const std::u16string text = fnargs::Text(args, count, 1);
    const std::u16string title = fnargs::Text(args, count, 2);
    host.ShowStepText();
    return host.GetDesktop().dialogs.RunInputBox(
        MakeInputBoxRequest(prompt, text, title, host.DefaultTitle(), multiLine));
}

PExprItem* InputBox(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr || count < 3) return fnargs::None(result);
    const DialogAnswer answer = AskInputBox(*host, args, count, false);
    if (answer.button == DialogButton::Ok && count >= 4 && AsTruth(args[3])) {
        return fnargs::ReturnNumber(result, ReadInputNumber(answer.text));
    }
    return fnargs::ReturnText(result, answer.text);
}

PExprItem* InputBoxMultiLine(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr || count < 3) return fnargs::None(result);
    return fnargs::ReturnText(result, AskInputBox(*host, args, count, true).text);
}

PExprItem* SelectList(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr || count < 5) return fnargs::None(result);
    const SelectListRequest request =
        MakeSelectListRequest(SelectListItems(args[0]), AsTruth(args[1]), fnargs::Text(args, count, 2),
                              fnargs::Text(args, count, 3), fnargs::Text(args, count, 4));
    return fnargs::ReturnText(result, host->GetDesktop().dialogs.RunSelectList(request).text);
}

// No rows, or Cancel, give no value; OK gives the rows as named data.
PExprItem* InputPara(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr || count < 1) return fnargs::None(result);
    InputParaRequest request;
    request.items = ParseParameterText(fnargs::Text(args, count, 0));
    if (request.items.empty()) return fnargs::None(result);
    const InputParaAnswer answer = host->GetDesktop().dialogs.RunInputPara(request);
    if (answer.button != DialogButton::Ok) return fnargs::None(result);
    return fnargs::ReturnValue(result, ParametersResult(request.items, answer.values));
}

constexpr FlagTable kDialogFlagTables[] = {{u"MessageBoxType", kMessageBoxTypes}};

const char16_t kEmptyTitleNote[] = u"Note: If the title argument is empty, it will use the default title.";

const ArgSpec kMessage{u"Message", fkind::kText};
const ArgSpec kTitle{u"Title", fkind::kText};
const ArgSpec kPrompt{u"Prompt", fkind::kText};
const ArgSpec kDefaultText{u"DefaultText", fkind::kText};

const FunctionSpec kDialogs[] = {
    {u"InputPara", fkind::kObject, InputPara,
     {{u"Parameters", fkind::kText, DefText(u"Name* = Alice\r\nAge = 16\r\nAddress")}}, u"NamedData"},
    {u"MessageBox", fkind::kNothing, MessageBox, {kMessage}},
    {u"MessageBoxEx", fkind::kText, MessageBoxEx,
     {kMessage, kTitle, {u"Timeout(ms)", fkind::kNumber},
      {u"Type", fkind::kNumber, DefInteger(0x40040), 0, nullptr, u"MessageBoxType"}},
     nullptr, kEmptyTitleNote},
    {u"ConfirmBox", fkind::kNumber, ConfirmBox, {kMessage, kTitle}, nullptr, kEmptyTitleNote},
    {u"InputBox", fkind::kText, InputBox,
     {kPrompt, kDefaultText, kTitle, {u"InputNumber", fkind::kBool, DefBool(false)}}, nullptr,
     u"Note: If you want to input a number, the InputNumber should be True."},
    {u"InputBoxMultiLine", fkind::kText, InputBoxMultiLine, {kPrompt, kDefaultText, kTitle}},
    {u"SelectList", fkind::kText, SelectList,
     {{u"Text/Array", fkind::kObject, DefText(u"Item 1\r\nItem 2\r\nItem 3")},
      {u"SelectOnly", fkind::kBool, DefBool(true)},
      kPrompt,
      kTitle,
      {u"DefaultItem", fkind::kText}}},
};

}  // namespace

std::span<const FunctionSpec> DialogFunctions() { return kDialogs; }

std::span<const FlagTable> DialogFlagTables() { return kDialogFlagTables; }

}  // namespace ovrix
