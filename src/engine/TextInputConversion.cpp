// The old text-input step becomes a Call Function step whose expression is a
// stored built-in call node: TypeText(text, paste). The node is written in
// the stored expression form, so it loads like any compiled call.
#include "engine/TextInputConversion.h"

#include "container/Tags.h"
#include "engine/FunctionSteps.h"
#include "expr/ExprKinds.h"

namespace ovrix {

namespace {

constexpr uint32_t kPasteTag = MakeTag("PST");
// The call form word of a plain call: not a member, not a property access.
constexpr uint32_t kPlainCallForm = 0;

std::vector<uint8_t> TypeTextCall(std::u16string_view text, bool paste) {
    RecordBuffer textArg;
    WriteU32(textArg, tag::kType, kind::kText);
    WriteString(textArg, tag::kText, text);

    RecordBuffer pasteArg;
    WriteU32(pasteArg, tag::kType, kind::kBool);
    WriteU32(pasteArg, tag::kBool, paste ? 1 : 0);

    RecordBuffer call;
    WriteU32(call, tag::kType, kind::kFunction);
    WriteString(call, tag::kFunction, u"TypeText");
    WriteU32(call, tag::kCallForm, kPlainCallForm);
    WriteContainer(call, tag::Argument(0), textArg);
    WriteContainer(call, tag::Argument(1), pasteArg);
    return call.ToVector();
}

}  // namespace

Ref<Event> ConvertTextInputRecord(Region record) {
    const std::u16string text = ReadString(record, tag::kText, u"");
    const bool paste = ReadU32(record, kPasteTag, 1) != 0;
    auto step = MakeRef<CallFunEvent>();
    step->delay = ReadU32(record, tag::kDelay, 1000);
    step->disabled = ReadU32(record, tag::kDisabled, 0);
    step->code = StoredExpr(TypeTextCall(text, paste));
    return step;
}

}  // namespace ovrix
