// The script-state family: playback counters, script and command-line
// arguments, the last picture's rectangle and the script options. All of
// it is state of the player, read through the builtin host; without a host
// these functions give no value.
//
// Script arguments: element 0 of a run's argument list is the played file
// (or the program), so GetScriptArg counts the arguments proper from 1 and
// GetScriptArgCount counts the elements after element 0.
#include <cmath>

#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "expr/KindsObject.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

using namespace fnargs;

PExprItem* GetCurrentLoopIndex(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    return host != nullptr ? ReturnNumber(result, host->CurrentLoopIndex()) : None(result);
}

PExprItem* GetCurrentRepeat(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    return host != nullptr ? ReturnNumber(result, host->CurrentRepeat()) : None(result);
}

PExprItem* GetScriptArg(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr || count < 1) return None(result);
    const int64_t index = TruncateToInt64(Number(args, count, 0));
    if (index < 0 || static_cast<uint64_t>(index) >= host->ScriptArgCount()) return None(result);
    return ReturnValue(result, host->ScriptArg(static_cast<size_t>(index)));
}

PExprItem* GetScriptArgCount(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr) return None(result);
    const size_t n = host->ScriptArgCount();
    return ReturnNumber(result, n > 0 ? static_cast<double>(n - 1) : 0.0);
}

std::u16string Trimmed(std::u16string_view text) {
    const auto blank = [](char16_t c) {
        return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
    };
    size_t begin = 0, end = text.size();
    while (begin < end && blank(text[begin])) ++begin;
    while (end > begin && blank(text[end - 1])) --end;
    return std::u16string(text.substr(begin, end - begin));
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Lines "Key = Value" cut at CR LF; only DefaultTitle is known.
PExprItem* SetScriptOptions(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr || count < 1) return None(result);
    const std::u16string text = Text(args, count, 0);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        const std::u16string_view line = std::u16string_view(text).substr(start, end - start);
        const size_t equals = line.find(u'=');
        const bool titleLine =
            equals != std::u16string_view::npos && EqualsIgnoringCase(Trimmed(line.substr(0, equals)), u"DefaultTitle");
        if (titleLine) host->SetDefaultTitle(Trimmed(line.substr(equals + 1)));
        start = end + 2;
    }
    return None(result);
}

template <int32_t Part>
PExprItem* LastPicture(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr) return None(result);
    const PictureRect r = host->LastPictureRect();
    const int32_t parts[] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
    return ReturnNumber(result, parts[Part]);
}

PExprItem* GetCommandLineArgs(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr) return None(result);
    auto* array = new AnyArray();
    for (const std::u16string& arg : host->CommandLineArgs()) array->Push(MakeItem<ExprItem_Text>(arg));
    return ReturnValue(result, PExprItem::Of(array));
}

const FunctionSpec kScriptState[] = {
    {u"GetCurrentLoopIndex", fkind::kNumber, GetCurrentLoopIndex},
    {u"GetCurrentRepeat", fkind::kNumber, GetCurrentRepeat},
    {u"GetScriptArg", fkind::kVariable, GetScriptArg, {{u"ArgIndex", fkind::kNumber, DefNumber(1)}}, nullptr,
     u"Note: The first argument index is 1."},
    {u"GetScriptArgCount", fkind::kNumber, GetScriptArgCount},
    {u"SetScriptOptions", fkind::kNothing, SetScriptOptions,
     {{u"ScriptOptions", fkind::kText, DefText(u"DefaultTitle = Vantorel")}}},
    {u"GetLastBmpRegionX", fkind::kNumber, LastPicture<0>},
    {u"GetLastBmpRegionY", fkind::kNumber, LastPicture<1>},
    {u"GetLastBmpRegionWdith", fkind::kNumber, LastPicture<2>},
    {u"GetLastBmpRegionHeight", fkind::kNumber, LastPicture<3>},
    {u"GetCommandLineArgs", fkind::kObject, GetCommandLineArgs, {}, u"Array"},
};

}  // namespace

std::span<const FunctionSpec> ScriptStateFunctions() { return kScriptState; }

}  // namespace ovrix
