// Call nodes of built-in and script functions: stored form, text forms and
// the call of a built-in. A built-in call finds its descriptor by key in
// the function registry that the expression state holds, and takes from it
// its text form (members as obj.Member, property sets, "Call " for
// functions without a result), its by-reference arguments and, at load, the
// defaults of missing arguments.
// A node whose key has no descriptor (one made in code, never loaded) shows
// its key and arguments and gives no value.
#include <map>

#include "expr/ExprReader.h"
#include "expr/ExprState.h"
#include "expr/FunctionDescriptor.h"
#include "expr/KindsNode.h"

namespace ovrix {

namespace {

// The first record of each 'A'+n index, found in one pass with the same
// bounds as FindRecord (the scan ends at a record of length 0 or less or
// at one that runs past the region).
std::map<uint32_t, Region> ArgumentRecords(Region region) {
    std::map<uint32_t, Region> found;
    if (region.Empty()) return found;
    const uint64_t end = region.size;
    uint64_t p = 0;
    while (p + 8 < end) {
        const uint32_t tag = LoadU32(region.base + p);
        const int32_t n = LoadI32(region.base + p + 4);
        if (n < 1) break;
        const uint64_t next = p + 8 + static_cast<uint64_t>(n);
        if (next > end) break;
        if ((tag >> 24) == 'A') found.emplace(tag & 0xFFFFFFu, Region{region.base + p + 8, static_cast<uint32_t>(n)});
        p = next;
    }
    return found;
}

const PLX_FunctionBase* LookupFunction(std::u16string_view key) {
    const ExprState* state = CurrentExprState();
    return state != nullptr && state->functions != nullptr ? state->functions->Lookup(key) : nullptr;
}

const PLX_FunctionBase* ResolveLoadedFunction(std::u16string_view key) {
    const ExprState* state = CurrentExprState();
    return state != nullptr && state->functions != nullptr ? state->functions->ResolveLoaded(key) : nullptr;
}

}  // namespace

const std::u16string& PLX_FunctionBase::GetDisplayName() const {
    if (displayName_.empty()) {
        const std::u16string key = GetName();
        const size_t hash = key.rfind(u'#');
        displayName_ = hash == std::u16string::npos ? key : key.substr(0, hash);
    }
    return displayName_;
}

bool ExprItem_FunBase::Walk(ExprWalkFn callback, void* context) {
    if (!callback(this, context)) return false;
    for (const PExprItem& a : args) {
        if (a && !a->Walk(callback, context)) return false;
    }
    return true;
}

// A built-in call: by-reference arguments go as their nodes, the others
// evaluated; the node's own argument count is passed, which may exceed the
// descriptor's. A placeholder (no implementation) gives no value. Calls of
// script functions are resolved by the script-function runner and give no
// value here.
PExprItem ExprItem_FunBase::Evaluate() {
    if (Kind() != kind::kFunction) return {};
    const PLX_FunctionBase* function = LookupFunction(name);
    if (function == nullptr || function->GetImpl() == nullptr) return {};
    std::vector<PExprItem> values(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        const PLX_FunArg* arg = function->GetArg(static_cast<int32_t>(i));
        if (arg != nullptr && (arg->flags & funarg::kByReference) != 0) {
            values[i] = args[i];
        } else if (args[i]) {
            values[i] = args[i]->Evaluate();
        }
    }
    PExprItem result;
    function->GetImpl()(&result, static_cast<int32_t>(values.size()), values.data(), function->GetUserWord());
    return result;
}

void ExprItem_FunBase::LoadArguments(Region region) {
    args.clear();
    const auto records = ArgumentRecords(region);
    for (uint32_t n = 0;; ++n) {
        const auto it = records.find(n);
        if (it == records.end()) break;
        args.push_back(ReadExprItem(it->second));
    }
}

void ExprItem_FunBase::SaveArguments(RecordBuffer& buffer) const {
    for (size_t i = 0; i < args.size(); ++i) SaveSubNode(buffer, tag::Argument(static_cast<uint32_t>(i)), args[i]);
}

void ExprItem_FunBase::CloneInto(ExprItem_FunBase& copy) const {
    copy.name = name;
    copy.args.clear();
    for (const PExprItem& a : args) copy.args.push_back(a ? a->Clone() : PExprItem());
}

std::u16string ExprItem_FunBase::ArgumentText(bool marked) const {
    size_t shown = args.size();
    if (shown > 0) {
        const auto* last = dynamic_cast<const ExprItem_ValueList*>(args.back().Item());
        if (last != nullptr && last->elements.empty()) --shown;
    }
    std::u16string out = u"(";
    for (size_t i = 0; i < shown; ++i) {
        if (i > 0) out += u", ";
        out += NodeText(args[i], marked);
    }
    return out + u")";
}

std::u16string ExprItem_Fun::DisplayName(std::u16string_view key) {
    const size_t hash = key.rfind(u'#');
    return std::u16string(hash == std::u16string_view::npos ? key : key.substr(0, hash));
}

std::u16string ExprItem_Fun::CurrentKey(std::u16string_view key) {
    if (key == u"<OLE Invoke Method>") return u"<OleObject.InvokeMethod>";
    if (key == u"<OLE Set Property>") return u"<OleObject.SetProperty>";
    if (key == u"<OLE Get Property>") return u"<OleObject.GetProperty>";
    return std::u16string(key);
}

std::u16string ExprItem_Fun::Render(bool marked) const {
    const auto nameText = [marked](const std::u16string& shown) { return marked ? Marker(u'F', shown) : shown; };
    const PLX_FunctionBase* function = LookupFunction(name);
    if (function == nullptr) return nameText(DisplayName(name)) + ArgumentText(marked);

    const bool set = function->IsPropertySet();
    const bool get = function->IsPropertyGet();
    size_t first = 0;
    std::u16string out;
    if (set) out += u"Set ";
    if (function->IsMember()) {
        out += args.empty() ? std::u16string(u"Empty") : NodeText(args[0], marked);
        out += u".";
        first = 1;
    }
    if (!set && function->GetReturnType() == 0) out += u"Call ";
    if (!function->IsMember()) {
        out += nameText(function->GetDisplayName());
    } else if (const char16_t* member = function->GetMemberName()) {
        out += nameText(member);
    } else {
        if (args.size() > 1) out += NodeText(args[1], marked);
        first = 2;
    }
    if (!get && !set) out += u"(";
    if (set) out += u" = ";
    size_t shown = args.size();
    if (shown > first) {
        const auto* last = dynamic_cast<const ExprItem_ValueList*>(args.back().Item());
        if (last != nullptr && last->elements.empty()) --shown;
    }
    for (size_t i = first; i < shown; ++i) {
        if (i > first) out += u", ";
        out += NodeText(args[i], marked);
    }
    if (!get && !set) out += u")";
    return out;
}

void ExprItem_Fun::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    WriteString(buffer, tag::kFunction, name);
    WriteU32(buffer, tag::kCallForm, callForm);
    SaveArguments(buffer);
}

// The key is resolved when read, so a key that no module supplies shows the
// missing-plug-in message once; a call stored with fewer arguments than its
// descriptor gets copies of the remaining defaults (null where none).
void ExprItem_Fun::Load(Region region) {
    name = CurrentKey(ReadString(region, tag::kFunction, u""));
    callForm = ReadU32(region, tag::kCallForm, 0);
    const PLX_FunctionBase* function = ResolveLoadedFunction(name);
    LoadArguments(region);
    if (function == nullptr) return;
    for (int32_t i = static_cast<int32_t>(args.size()); i < function->GetArgCount(); ++i) {
        const PLX_FunArg* arg = function->GetArg(i);
        if (arg->makeDefault != nullptr) {
            args.push_back(arg->makeDefault());
            continue;
        }
        const PExprItem& fallback = arg->defaultValue;
        args.push_back(fallback ? fallback->Clone() : PExprItem());
    }
}

PExprItem ExprItem_Fun::Clone() const {
    auto* copy = new ExprItem_Fun();
    CloneInto(*copy);
    copy->callForm = callForm;
    return PExprItem::Of(copy);
}

std::u16string ExprItem_DynFun::Render(bool marked) const {
    return u"Call " + (marked ? Marker(u'E', name) : name) + ArgumentText(marked);
}

void ExprItem_DynFun::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    WriteString(buffer, tag::kFunction, name);
    SaveArguments(buffer);
}

void ExprItem_DynFun::Load(Region region) {
    name = ReadString(region, tag::kFunction, u"");
    LoadArguments(region);
}

// A script function call: resolved and played by the engine's caller, which
// reports unknown names and wrong argument counts; without one, no value.
PExprItem ExprItem_DynFun::Evaluate() {
    const ExprState* state = CurrentExprState();
    return state != nullptr && state->scriptFunctionCaller != nullptr ? state->scriptFunctionCaller(*this) : PExprItem();
}

PExprItem ExprItem_DynFun::Clone() const {
    auto* copy = new ExprItem_DynFun();
    CloneInto(*copy);
    return PExprItem::Of(copy);
}

}  // namespace ovrix
