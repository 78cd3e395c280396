// The keyboard family: pressing and releasing keys, and typing text, on the
// desktop the host plays on, and asking whether a key is held down. A call
// with fewer arguments than the function reads does nothing. Keys are the
// low byte of the number, as the key steps send them.
#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace {

using namespace fnargs;

template <bool Up>
PExprItem* KeyEvent(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host != nullptr && count >= 1) host->SendKey(Number(args, count, 0), Up);
    return None(result);
}

PExprItem* IsKeyDown(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr || count < 1) return None(result);
    const auto vk = static_cast<uint8_t>(TruncateToInt32(Number(args, count, 0)));
    return ReturnValue(result, MakeItem<ExprItem_Bool>(host->GetDesktop().input.IsKeyDown(vk)));
}

PExprItem* TypeText(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host != nullptr && count >= 2) host->TypeText(Text(args, count, 0), AsTruth(args[1]));
    return None(result);
}

const ArgSpec kKey{u"Key", fkind::kNumber, DefNumber(17, u"VirtualKey")};

const FunctionSpec kKeyboard[] = {
    {u"IsKeyDown", fkind::kBool, IsKeyDown, {kKey}},
    {u"KeyDown", fkind::kNothing, KeyEvent<false>, {kKey}},
    {u"KeyUp", fkind::kNothing, KeyEvent<true>, {kKey}},
    {u"TypeText", fkind::kNothing, TypeText,
     {{u"Text", fkind::kText}, {u"UseClipboardToPaste", fkind::kBool, DefBool(true)}}, nullptr,
     u"Note: If the second argument is True, it will use the clipboard to paste the text."},
};

}  // namespace

std::span<const FunctionSpec> KeyboardFunctions() { return kKeyboard; }

}  // namespace ovrix
