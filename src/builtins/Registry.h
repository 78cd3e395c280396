// The function registry: every descriptor of every module filed by its key
// (exact, case-sensitive) and, for constructors, a second alias key; beside
// it the placeholders made for keys that no module supplies, so that the
// missing-plug-in message is shown once per key, and the host that built-in
// functions reach the player through. A registry is built whole with its
// runtime, which installs it for the playback's scope; it is read-only
// afterwards except for the placeholder map, which grows while streams load.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "builtins/Function.h"

namespace ovrix {

class BuiltinHost;
class NumberEnum;

// The value services a module uses instead of the value classes. Each make
// service stores a new value into the result handle and answers it.
struct PLX_HostServices {
    bool (*sameObject)(const PExprItem* a, const PExprItem* b) = nullptr;
    PExprItem* (*makeNumber)(PExprItem* result, double value) = nullptr;
    PExprItem* (*makeInteger)(PExprItem* result, int32_t value) = nullptr;
    PExprItem* (*makeText)(PExprItem* result, const char16_t* text) = nullptr;
    PExprItem* (*makeTruth)(PExprItem* result, uint32_t value) = nullptr;
};

struct PLX_Module {
    int32_t count = 0;
    PLX_FunctionBase* const* table = nullptr;
    int32_t (*registration)(PLX_Module& module) = nullptr;
    void (*startHook)() = nullptr;
    void (*stopHook)() = nullptr;
    PLX_HostServices services;
};

class FunctionRegistry final : public FunctionLookup {
public:
    // Files every descriptor of the built-in catalogue. The descriptors
    // themselves are built once per process and never change, so a registry
    // is cheap to make (the fuzz target and the tools make one per image).
    FunctionRegistry();
    FunctionRegistry(const FunctionRegistry&) = delete;
    FunctionRegistry& operator=(const FunctionRegistry&) = delete;
    ~FunctionRegistry();

    // Fills a further module's host services, runs its registration routine
    // and files its descriptors; a key filed before is replaced.
    void AddModule(PLX_Module& module);
    const PLX_FunctionBase* Find(std::u16string_view key) const;
    const PLX_FunctionBase* Lookup(std::u16string_view key) const override;
    const PLX_FunctionBase* ResolveLoaded(std::u16string_view key) override;
    const NumberEnum* FindEnumeration(std::u16string_view name) const override;
    void StartModules();
    void StopModules();

    BuiltinHost* host = nullptr;

private:
    void FileModule(PLX_Module& module);

    std::vector<const PLX_Module*> modules_;
    // Keys of the modules added after the built-in one; the built-in keys
    // are shared by every registry.
    std::map<std::u16string, const PLX_FunctionBase*, std::less<>> functions_;
    std::map<std::u16string, std::unique_ptr<PLX_Function>, std::less<>> placeholders_;
};

// The installed registry, or null.
FunctionRegistry* CurrentFunctionRegistry();
// Installs a registry (null removes it); answers the previous one. The
// engine's runtime scope is the one caller.
FunctionRegistry* InstallFunctionRegistry(FunctionRegistry* registry);

// The operations below act on the installed registry; with none, nothing
// is found and nothing is filed.
void AddFunctionModule(PLX_Module& module);

// The descriptor filed under exactly this key, or null.
const PLX_FunctionBase* FindFunction(std::u16string_view key);
// Module hooks, called when playback starts and ends.
void StartFunctionModules();
void StopFunctionModules();

// The host services of the built-in module (a constant table).
const PLX_HostServices& HostServices();

// The registry roots by name ("CURRENT_USER" 0x80000001, ...); false when
// the name is not one of them.
bool FindRegistryRoot(std::u16string_view name, uint32_t& root);

// The named value tables of the library by exact name (ShowWindowType,
// DispatchFlag, WindowMessage, VirtualKey and the families' flag tables such
// as MessageBoxType and WindowStyle), or null. Constant tables, built on
// first use and never changed, so values may point at them for the life of
// the program.
const NumberEnum* FindLibraryEnumeration(std::u16string_view name);

}  // namespace ovrix
