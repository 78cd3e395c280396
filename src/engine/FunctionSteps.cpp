// Stored fields and text forms of the function, call and jump steps.
#include "engine/FunctionSteps.h"

#include "expr/VariableName.h"

namespace ovrix {

namespace {

constexpr uint32_t kLabelTag = MakeTag("Lbl");
constexpr uint32_t kFunctionNameTag = MakeTag("FN");
constexpr uint32_t kReturnTypeTag = MakeTag("RetT");
constexpr uint32_t kArgCountTag = MakeTag("NArg");
constexpr char kArgLetter = 'A';
constexpr uint32_t kArgNameTag = MakeTag("AVN");
constexpr uint32_t kArgTypeTag = MakeTag("ValT");
constexpr uint32_t kArgDefaultTag = MakeTag("DefV");
constexpr uint32_t kCallNameTag = MakeTag("FUN");  // inside a stored call node
constexpr uint32_t kScriptArgVarTag = MakeTag("VAR");
constexpr uint32_t kScriptArgIndexTag = MakeTag("ARG");

}  // namespace

void GoToEvent::Save(RecordBuffer& buffer) const { WriteString(buffer, kLabelTag, label); }

void GoToEvent::Load(Region data, EventList& /*owner*/) { label = ReadString(data, kLabelTag, u""); }

std::u16string ExitScriptEvent::GetText() const {
    if (!code.Present()) return u"Return";
    return u"Return " + code.DisplayText();
}

std::u16string CustomFunEvent::GetText() const {
    return u"Function " + ReadString(code.AsRegion(), kCallNameTag, u"") + u"(";
}

std::u16string FunStartEvent::GetText() const {
    std::u16string text = u"Function " + functionName + u"(";
    for (size_t i = 0; i < args.size(); ++i) {
        if (i > 0) text += u", ";
        text += args[i].name;
    }
    return text + u")";
}

void FunStartEvent::Save(RecordBuffer& buffer) const {
    WriteString(buffer, kFunctionNameTag, functionName);
    WriteU32(buffer, kReturnTypeTag, returnType);
    WriteU32(buffer, kArgCountTag, static_cast<uint32_t>(args.size()));
    for (size_t i = 0; i < args.size(); ++i) {
        RecordBuffer record;
        WriteString(record, kArgNameTag, args[i].name);
        WriteU32(record, kArgTypeTag, args[i].valueType);
        args[i].defaultValue.Save(record, kArgDefaultTag);
        WriteContainer(buffer, IndexedTag(kArgLetter, static_cast<uint32_t>(i)), record);
    }
    SaveChildren(buffer);
}

// The count decides how many arguments there are; an argument whose record
// is missing keeps the defaults (no name, type 0, no default value).
void FunStartEvent::Load(Region data, EventList& owner) {
    functionName = ReadString(data, kFunctionNameTag, u"");
    returnType = ReadU32(data, kReturnTypeTag, 0);
    const uint32_t count = ReadU32(data, kArgCountTag, 0);
    args.assign(count < kMaxArgs ? count : kMaxArgs, FunctionArg{});
    for (size_t i = 0; i < args.size(); ++i) {
        const auto record = FindRecord(data, IndexedTag(kArgLetter, static_cast<uint32_t>(i)));
        if (!record) continue;
        // Each name becomes a variable node, which keeps it in canonical form.
        args[i].name = CanonicalVariableName(ReadString(*record, kArgNameTag, u""));
        args[i].valueType = ReadU32(*record, kArgTypeTag, 0);
        args[i].defaultValue.Load(*record, kArgDefaultTag);
    }
    LoadChildren(data, owner);
}

std::u16string GetScriptArgEvent::GetText() const {
    return u"Alias " + variable + u" = GetScriptArg(" + index.DisplayText() + u")";
}

void GetScriptArgEvent::Save(RecordBuffer& buffer) const {
    WriteString(buffer, kScriptArgVarTag, variable);
    index.Save(buffer, kScriptArgIndexTag);
}

void GetScriptArgEvent::Load(Region data, EventList& /*owner*/) {
    variable = ReadString(data, kScriptArgVarTag, u"");
    index.Load(data, kScriptArgIndexTag);
}

}  // namespace ovrix
