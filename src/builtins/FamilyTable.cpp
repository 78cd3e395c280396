// Turning family rows into descriptors, the catalogue of families, and the
// implementations' shared argument helpers.
#include "builtins/FamilyTable.h"

#include "builtins/Registry.h"
#include "expr/KindsValue.h"
#include "expr/NumberEnum.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

PExprItem MakeDefault(const DefaultSpec& def) {
    switch (def.type) {
        case DefaultSpec::Type::None: return {};
        case DefaultSpec::Type::Number:
            return MakeItem<ExprItem_Num>(def.number, 0u, def.enumName ? FindLibraryEnumeration(def.enumName) : nullptr);
        case DefaultSpec::Type::Integer: return MakeItem<ExprItem_Num>(def.number, numflag::kHex);
        case DefaultSpec::Type::Text: return MakeItem<ExprItem_Text>(def.text);
        case DefaultSpec::Type::Bool: return MakeItem<ExprItem_Bool>(def.number != 0.0);
        case DefaultSpec::Type::Empty: return MakeItem<ExprItem_Empty>();
        case DefaultSpec::Type::Made: return {};  // made when a call needs it
    }
    return {};
}

// The catalogue's families and their sizes in the complete library; a
// family without rows yet has an empty span.
const FamilySpec* Families(size_t& count) {
    static const FamilySpec families[] = {
        {u"Arrays", 11, ArrayFunctions()},
        {u"Named data", 8, NamedDataFunctions()},
        {u"OLE objects", 5, OleFunctions()},
        {u"Calculator and solver", 5, CalculatorFunctions()},
        {u"Rectangles and points", 16, RectangleFunctions()},
        {u"Files", 14, FileFunctions()},
        {u"Processes and process memory", 17, ProcessFunctions()},
        {u"Web", 3, WebFunctions()},
        {u"Dialogs", 7, DialogFunctions()},
        {u"Keyboard", 4, KeyboardFunctions()},
        {u"Mouse", 7, MouseFunctions()},
        {u"Binary data", 4, BinaryDataFunctions()},
        {u"Script state", 10, ScriptStateFunctions()},
        {u"Database", 8, DatabaseFunctions()},
        {u"Date and time", 27, DateTimeFunctions()},
        {u"Clipboard", 7, ClipboardFunctions()},
        {u"Registry", 7, RegistryFunctions()},
        {u"Script-created windows", 39, ScriptWindowFunctions()},
        {u"Windows", 25, WindowFunctions()},
        {u"Images", 10, ImageFunctions()},
        {u"System", 4, SystemFunctions()},
        {u"Math", 9, MathFunctions()},
        {u"Workbooks", 15, WorkbookFunctions()},
        {u"Strings", 20, StringFunctions()},
    };
    count = std::size(families);
    return families;
}

}  // namespace

std::span<const FamilySpec> Catalogue() {
    size_t count = 0;
    const FamilySpec* families = Families(count);
    return {families, count};
}

std::unique_ptr<PLX_Function> BuildDescriptor(const FunctionSpec& spec) {
    std::unique_ptr<PLX_Function> f;
    if (spec.member) {
        f = std::make_unique<ThisCall_Function>(spec.key, spec.returnKind, spec.impl, spec.returnTypeName,
                                                spec.memberName, spec.propertyGet, spec.propertySet);
    } else {
        f = std::make_unique<PLX_Function>(spec.key, spec.returnKind, spec.impl, spec.returnTypeName);
    }
    if (spec.note != nullptr) f->note = spec.note;
    f->aliasKey = spec.alias;
    for (const ArgSpec& a : spec.args) {
        PLX_FunArg* arg = f->AddArg(a.name, a.kind, MakeDefault(a.def), a.flags, a.label);
        if (arg == nullptr) continue;
        if (a.def.type == DefaultSpec::Type::Made) arg->makeDefault = a.def.make;
        if (a.flagNames != nullptr) arg->flagNames = FindLibraryEnumeration(a.flagNames);
    }
    return f;
}

namespace fnargs {

double Number(const PExprItem* args, int32_t count, int32_t i) {
    return i < count ? AsNumber(args[i]) : 0.0;
}

std::u16string Text(const PExprItem* args, int32_t count, int32_t i) {
    return i < count ? AsText(args[i]) : std::u16string();
}

PExprItem* None(PExprItem* result) {
    result->Reset();
    return result;
}

PExprItem* ReturnNumber(PExprItem* result, double value) { return HostServices().makeNumber(result, value); }

PExprItem* ReturnText(PExprItem* result, const std::u16string& text) {
    return HostServices().makeText(result, text.c_str());
}

PExprItem* ReturnValue(PExprItem* result, PExprItem value) {
    *result = std::move(value);
    return result;
}

}  // namespace fnargs

}  // namespace ovrix
