// The function registry and the built-in module's host services. The maps
// compare keys exactly: "Sqrt" and "sqrt" are two keys.
#include "builtins/Registry.h"

#include "builtins/BuiltinHost.h"
#include "platform/Desktop.h"
#include "builtins/FamilyTable.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

FunctionRegistry* installed = nullptr;

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

std::u16string PluginMessage(std::u16string_view key) {
    return u"The plug-in function \"" + std::u16string(key) +
           u"\" does not exist!\nPlease make sure you have installed the plug-in.";
}

using KeyMap = std::map<std::u16string, const PLX_FunctionBase*, std::less<>>;

// Files a module's descriptors by key and alias key; a key filed before is
// replaced.
void FileKeys(const PLX_Module& module, KeyMap& keys) {
    for (int32_t i = 0; i < module.count; ++i) {
        const PLX_FunctionBase* base = module.table[i];
        if (base == nullptr) continue;
        keys[base->GetName()] = base;
        if (const auto* f = dynamic_cast<const PLX_Function*>(base)) {
            if (f->aliasKey != nullptr && *f->aliasKey != 0) keys[f->aliasKey] = f;
        }
    }
}

// The built-in module: every descriptor of the catalogue, built on first use
// and read-only afterwards. Defaults that depend on the playing runtime are
// made when a call needs them, so nothing here depends on which runtime was
// installed when it was built.
class BuiltinLibrary {
public:
    BuiltinLibrary() {
        for (const FamilySpec& family : Catalogue()) {
            for (const FunctionSpec& spec : family.functions) {
                descriptors_.push_back(BuildDescriptor(spec));
                descriptors_.back()->owner = &module_;
                table_.push_back(descriptors_.back().get());
            }
        }
        module_.count = static_cast<int32_t>(table_.size());
        module_.table = table_.data();
        module_.services = HostServices();
        FileKeys(module_, byKey_);
    }
    BuiltinLibrary(const BuiltinLibrary&) = delete;
    BuiltinLibrary& operator=(const BuiltinLibrary&) = delete;

    const PLX_Module& Module() const { return module_; }
    const PLX_FunctionBase* Find(std::u16string_view key) const {
        const auto it = byKey_.find(key);
        return it != byKey_.end() ? it->second : nullptr;
    }

private:
    std::vector<std::unique_ptr<PLX_Function>> descriptors_;
    std::vector<PLX_FunctionBase*> table_;
    PLX_Module module_;
    KeyMap byKey_;
};

const BuiltinLibrary& Builtins() {
    static const BuiltinLibrary library;
    return library;
}

}  // namespace

FunctionRegistry::FunctionRegistry() { modules_.push_back(&Builtins().Module()); }

FunctionRegistry::~FunctionRegistry() = default;

void FunctionRegistry::AddModule(PLX_Module& module) {
    module.services = HostServices();
    if (module.registration != nullptr) module.registration(module);
    FileModule(module);
    modules_.push_back(&module);
}

void FunctionRegistry::FileModule(PLX_Module& module) {
    for (int32_t i = 0; i < module.count; ++i) {
        if (auto* f = dynamic_cast<PLX_Function*>(module.table[i])) f->owner = &module;
    }
    FileKeys(module, functions_);
}

const PLX_FunctionBase* FunctionRegistry::Find(std::u16string_view key) const {
    // Keys filed by later modules replace the built-in ones.
    const auto it = functions_.find(key);
    return it != functions_.end() ? it->second : Builtins().Find(key);
}

const PLX_FunctionBase* FunctionRegistry::Lookup(std::u16string_view key) const {
    if (const PLX_FunctionBase* f = Find(key)) return f;
    const auto it = placeholders_.find(key);
    return it != placeholders_.end() ? it->second.get() : nullptr;
}

const PLX_FunctionBase* FunctionRegistry::ResolveLoaded(std::u16string_view key) {
    if (const PLX_FunctionBase* f = Lookup(key)) return f;
    if (host != nullptr) host->GetDesktop().dialogs.ShowMessage(PluginMessage(key));
    auto placeholder = std::make_unique<PLX_Function>(std::u16string(key), fkind::kNothing, nullptr);
    placeholder->owner = modules_.empty() ? nullptr : modules_.front();
    const PLX_FunctionBase* made = placeholder.get();
    placeholders_.emplace(std::u16string(key), std::move(placeholder));
    return made;
}

const NumberEnum* FunctionRegistry::FindEnumeration(std::u16string_view name) const {
    return FindLibraryEnumeration(name);
}

void FunctionRegistry::StartModules() {
    for (const PLX_Module* module : modules_) {
        if (module->startHook != nullptr) module->startHook();
    }
}

void FunctionRegistry::StopModules() {
    for (const PLX_Module* module : modules_) {
        if (module->stopHook != nullptr) module->stopHook();
    }
}

FunctionRegistry* CurrentFunctionRegistry() { return installed; }

FunctionRegistry* InstallFunctionRegistry(FunctionRegistry* registry) {
    FunctionRegistry* previous = installed;
    installed = registry;
    return previous;
}

BuiltinHost* SetBuiltinHost(BuiltinHost* host) {
    if (installed == nullptr) return nullptr;
    BuiltinHost* previous = installed->host;
    installed->host = host;
    return previous;
}

BuiltinHost* GetBuiltinHost() { return installed != nullptr ? installed->host : nullptr; }

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

void AddFunctionModule(PLX_Module& module) {
    if (installed != nullptr) installed->AddModule(module);
}

const PLX_FunctionBase* FindFunction(std::u16string_view key) { return installed != nullptr ? installed->Find(key) : nullptr; }

void StartFunctionModules() {
    if (installed != nullptr) installed->StartModules();
}

void StopFunctionModules() {
    if (installed != nullptr) installed->StopModules();
}

}  // namespace ovrix
