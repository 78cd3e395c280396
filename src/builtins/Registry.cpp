// The function map, the placeholder map, the built-in module and its host
// services. The maps compare keys exactly: "Sqrt" and "sqrt" are two keys.
#include "builtins/Registry.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "builtins/BuiltinHost.h"
#include "platform/Desktop.h"
#include "builtins/FamilyTable.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

using FunctionMap = std::map<std::u16string, const PLX_FunctionBase*, std::less<>>;

BuiltinHost* currentHost = nullptr;

FunctionMap& Functions() {
    static FunctionMap map;
    return map;
}

std::map<std::u16string, std::unique_ptr<PLX_Function>, std::less<>>& Placeholders() {
    static std::map<std::u16string, std::unique_ptr<PLX_Function>, std::less<>> map;
    return map;
}

bool SameObject(const PExprItem* a, const PExprItem* b) {
    const ExprItem* x = a != nullptr ? a->Item() : nullptr;
    const ExprItem* y = b != nullptr ? b->Item() : nullptr;
    return x == y;
}

PExprItem* MakeNumber(PExprItem* result, double value) {
    *result = MakeItem<ExprItem_Num>(value);
    return result;
}

PExprItem* MakeInteger(PExprItem* result, int32_t value) {
    *result = MakeItem<ExprItem_Num>(static_cast<double>(value), numflag::kHex);
    return result;
}

PExprItem* MakeText(PExprItem* result, const char16_t* text) {
    *result = MakeItem<ExprItem_Text>(text != nullptr ? std::u16string(text) : std::u16string());
    return result;
}

PExprItem* MakeTruth(PExprItem* result, uint32_t value) {
    *result = MakeItem<ExprItem_Bool>(value != 0);
    return result;
}

// The built-in module's registration routine: every catalogue row becomes
// one descriptor, built on the first run only and kept until exit.
int32_t RegisterBuiltins(PLX_Module& module) {
    static std::vector<std::unique_ptr<PLX_Function>> descriptors;
    static std::vector<PLX_FunctionBase*> table;
    if (descriptors.empty()) {
        for (const FamilySpec& family : Catalogue()) {
            for (const FunctionSpec& spec : family.functions) {
                descriptors.push_back(BuildDescriptor(spec));
                table.push_back(descriptors.back().get());
            }
        }
    }
    module.count = static_cast<int32_t>(table.size());
    module.table = table.data();
    return 1;
}

PLX_Module& BuiltinModule() {
    static PLX_Module module;
    return module;
}

std::vector<PLX_Module*>& Modules() {
    static std::vector<PLX_Module*> modules;
    return modules;
}

void FileModule(PLX_Module& module) {
    for (int32_t i = 0; i < module.count; ++i) {
        PLX_FunctionBase* base = module.table[i];
        if (base == nullptr) continue;
        Functions()[base->GetName()] = base;
        if (auto* f = dynamic_cast<PLX_Function*>(base)) {
            f->owner = &module;
            if (f->aliasKey != nullptr && *f->aliasKey != 0) Functions()[f->aliasKey] = f;
        }
    }
}

std::u16string PluginMessage(std::u16string_view key) {
    return u"The plug-in function \"" + std::u16string(key) +
           u"\" does not exist!\nPlease make sure you have installed the plug-in.";
}

}  // namespace

BuiltinHost* SetBuiltinHost(BuiltinHost* host) {
    BuiltinHost* previous = currentHost;
    currentHost = host;
    return previous;
}

BuiltinHost* GetBuiltinHost() { return currentHost; }

const PLX_HostServices& HostServices() {
    static const PLX_HostServices services = [] {
        PLX_HostServices s;
        s.sameObject = SameObject;
        s.makeNumber = MakeNumber;
        s.makeInteger = MakeInteger;
        s.makeText = MakeText;
        s.makeTruth = MakeTruth;
        return s;
    }();
    return services;
}

void InitFunctionRegistry() {
    // Built on the main thread before any script loads; read-only afterwards.
    static bool built = false;
    if (built) return;
    built = true;
    RegisterFunctionEnumerations();
    BuiltinModule().registration = RegisterBuiltins;
    AddFunctionModule(BuiltinModule());
}

void AddFunctionModule(PLX_Module& module) {
    module.services = HostServices();
    if (module.registration != nullptr) module.registration(module);
    FileModule(module);
    Modules().push_back(&module);
}

const PLX_FunctionBase* FindFunction(std::u16string_view key) {
    const auto it = Functions().find(key);
    return it != Functions().end() ? it->second : nullptr;
}

const PLX_FunctionBase* LookupFunction(std::u16string_view key) {
    if (const PLX_FunctionBase* f = FindFunction(key)) return f;
    const auto it = Placeholders().find(key);
    return it != Placeholders().end() ? it->second.get() : nullptr;
}

const PLX_FunctionBase* ResolveLoadedFunction(std::u16string_view key) {
    if (const PLX_FunctionBase* f = LookupFunction(key)) return f;
    if (currentHost != nullptr) currentHost->GetDesktop().dialogs.ShowMessage(PluginMessage(key));
    auto placeholder = std::make_unique<PLX_Function>(std::u16string(key), fkind::kNothing, nullptr);
    placeholder->owner = Modules().empty() ? nullptr : Modules().front();
    const PLX_FunctionBase* made = placeholder.get();
    Placeholders().emplace(std::u16string(key), std::move(placeholder));
    return made;
}

void StartFunctionModules() {
    for (PLX_Module* module : Modules()) {
        if (module->startHook != nullptr) module->startHook();
    }
}

void StopFunctionModules() {
    for (PLX_Module* module : Modules()) {
        if (module->stopHook != nullptr) module->stopHook();
    }
}

}  // namespace ovrix
