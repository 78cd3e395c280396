// The function registry: every descriptor of every module filed by its key
// (exact, case-sensitive) and, for constructors, a second alias key; beside
// it the placeholders made for keys that no module supplies, so that the
// missing-plug-in message is shown once per key. Built once per process and
// read-only afterwards, except for the placeholder map, which grows while
// streams load.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "builtins/Function.h"

namespace ovrix {

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

// Fills the enumerations, the registry root table and the function map.
// Runs its work once per process; later calls return at once.
void InitFunctionRegistry();

// Fills a further module's host services, runs its registration routine
// and files its descriptors; a key filed before is replaced.
void AddFunctionModule(PLX_Module& module);

// The descriptor filed under exactly this key, or null.
const PLX_FunctionBase* FindFunction(std::u16string_view key);

// The descriptor or placeholder for a key, without side effects (null when
// neither exists).
const PLX_FunctionBase* LookupFunction(std::u16string_view key);

// The lookup of a call node being loaded: the function map, then the
// placeholders; a key found in neither gets the missing-plug-in message
// (through the host) and a new placeholder.
const PLX_FunctionBase* ResolveLoadedFunction(std::u16string_view key);

// The host services of the built-in module.
const PLX_HostServices& HostServices();

// Module hooks, called when playback starts and ends.
void StartFunctionModules();
void StopFunctionModules();

// The registry roots by name ("CURRENT_USER" 0x80000001, ...); false when
// the name is not one of them.
bool FindRegistryRoot(std::u16string_view name, uint32_t& root);

// Files the enumerations (ShowWindowType, DispatchFlag, WindowMessage,
// VirtualKey) in the NumberEnum registry and fills the registry roots.
void RegisterFunctionEnumerations();

}  // namespace ovrix
