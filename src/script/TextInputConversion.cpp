// The old text-input step becomes a Call Function step whose expression is a
// stored built-in call node: TypeText(text, paste). The node is written in
// the stored expression form, so it loads like any compiled call.
#include "script/TextInputConversion.h"

#include "container/Tags.h"
#include "engine/FunctionSteps.h"

namespace ovrix {

namespace {

constexpr uint32_t kTextTag = MakeTag("TEXT");
constexpr uint32_t kPasteTag = MakeTag("PST");
constexpr uint32_t kFunctionTag = MakeTag("FUN");
constexpr uint32_t kCallFormTag = MakeTag("LIST");
constexpr uint32_t kBoolTag = MakeTag("BOOL");
// The call form word of a plain call: not a member, not a property access.
constexpr uint32_t kPlainCallForm = 0;

std::vector<uint8_t> TypeTextCall(std::u16string_view text, bool paste) {
    RecordBuffer textArg;
    WriteU32(textArg, tag::kType, kExprKindText);
    WriteString(textArg, kTextTag, text);

    RecordBuffer pasteArg;
    WriteU32(pasteArg, tag::kType, kExprKindBool);
    WriteU32(pasteArg, kBoolTag, paste ? 1 : 0);

    RecordBuffer call;
    WriteU32(call, tag::kType, kExprKindBuiltinCall);
    WriteString(call, kFunctionTag, u"TypeText");
    WriteU32(call, kCallFormTag, kPlainCallForm);
    WriteContainer(call, IndexedTag('A', 0), textArg);
    WriteContainer(call, IndexedTag('A', 1), pasteArg);
    return call.ToVector();
}

}  // namespace

Ref<Event> ConvertTextInputRecord(Region record) {
    const std::u16string text = ReadString(record, kTextTag, u"");
    const bool paste = ReadU32(record, kPasteTag, 1) != 0;
    auto step = MakeRef<CallFunEvent>();
    step->delay = ReadU32(record, tag::kDelay, 1000);
    step->disabled = ReadU32(record, tag::kDisabled, 0);
    step->code = StoredExpr(TypeTextCall(text, paste));
    return step;
}

}  // namespace ovrix
