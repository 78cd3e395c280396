// The processes family: starting programs and commands and waiting for
// them, ending and opening processes by name, and reading and writing
// another process's memory. Without a host, or with a Process argument that
// holds no open process, a call does nothing and gives no value; so does a
// read or a lookup that fails.
#include <array>

#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "builtins/ProcessMemory.h"
#include "builtins/Registry.h"
#include "container/Text.h"
#include "expr/KindsObject.h"
#include "expr/NumberFormat.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace {

using namespace fnargs;

// A started program is looked at this often while the player waits for it.
constexpr uint32_t kWaitSliceMs = 100;

Processes* ProcessesOf(int32_t count, int32_t needs) {
    BuiltinHost* host = GetBuiltinHost();
    return host != nullptr && count >= needs ? &host->GetDesktop().processes : nullptr;
}

// Only asked for once ProcessesOf has found a host.
CodePage& DesktopCodePage() { return GetBuiltinHost()->GetDesktop().codePage; }

// The open process the first argument holds, or null.
ProcessHandle* OpenedAt(const PExprItem* args, int32_t count) {
    const auto* value = count > 0 ? ItemAs<ExprItem_Process>(args[0]) : nullptr;
    return value != nullptr ? value->process.get() : nullptr;
}

bool Flag(const PExprItem* args, int32_t count, int32_t i) { return i < count && AsTruth(args[i]); }

uint64_t AddressAt(const PExprItem* args, int32_t count) {
    return static_cast<uint64_t>(TruncateToInt64(Number(args, count, 1)));
}

// Until the program ends or playback is stopped; the waits between looks let
// messages through and honour pause.
void WaitForProgram(Processes& processes, ProcessHandle& process) {
    BuiltinHost& host = *GetBuiltinHost();
    while (!host.StopRequested() && !processes.WaitForExit(process, 0)) host.Wait(kWaitSliceMs);
}

void StartAndWait(Processes& processes, const StartRequest& request, bool wait) {
    StartedProgram started = processes.Start(request);
    if (wait && started.process != nullptr) WaitForProgram(processes, *started.process);
}

PExprItem* ExecuteFile(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Processes* processes = ProcessesOf(count, 1);
    const std::u16string file = Text(args, count, 0);
    if (processes == nullptr || file.empty()) return None(result);
    StartRequest request{ExpandFileName(*processes, file), Text(args, count, 1),
                         TruncateToInt32(Number(args, count, 2)), true};
    StartAndWait(*processes, request, Flag(args, count, 3));
    return None(result);
}

PExprItem* Command(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    if (Processes* processes = ProcessesOf(count, 1)) {
        StartRequest request{u"cmd", CommandParameters(Text(args, count, 0)),
                             TruncateToInt32(Number(args, count, 1)), false};
        StartAndWait(*processes, request, Flag(args, count, 2));
    }
    return None(result);
}

// A process that cannot be opened is passed over.
PExprItem* TaskKill(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Processes* processes = ProcessesOf(count, 1);
    if (processes == nullptr) return None(result);
    const std::u16string name = Text(args, count, 0);
    for (const RunningProcess& running : processes->List()) {
        if (!EqualsNoCase(running.exeName, name)) continue;
        if (std::unique_ptr<ProcessHandle> process = processes->Open(running.id)) processes->Terminate(*process);
    }
    return None(result);
}

PExprItem* OpenProcess(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Processes* processes = ProcessesOf(count, 1);
    if (processes == nullptr) return None(result);
    const std::u16string name = Text(args, count, 0);
    for (const RunningProcess& running : processes->List()) {
        if (!EqualsNoCase(running.exeName, name)) continue;
        std::unique_ptr<ProcessHandle> process = processes->Open(running.id);
        if (process == nullptr) break;
        return ReturnValue(result, MakeItem<ExprItem_Process>(std::move(process)));
    }
    return None(result);
}

PExprItem* GetModuleBaseAddress(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Processes* processes = ProcessesOf(count, 2);
    ProcessHandle* process = OpenedAt(args, count);
    if (processes == nullptr || process == nullptr) return None(result);
    const std::u16string name = Text(args, count, 1);
    for (const ProcessModule& module : processes->Modules(*process)) {
        if (EqualsNoCase(module.name, name)) return ReturnNumber(result, static_cast<double>(module.base));
    }
    return None(result);
}

template <MemoryKind Kind>
PExprItem* ReadNumber(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Processes* processes = ProcessesOf(count, 2);
    ProcessHandle* process = OpenedAt(args, count);
    std::array<uint8_t, 8> bytes{};
    const std::span<uint8_t> wanted(bytes.data(), SizeOf(Kind));
    if (processes == nullptr || process == nullptr ||
        !processes->ReadMemory(*process, AddressAt(args, count), wanted)) {
        return None(result);
    }
    const double value = UnpackNumber(Kind, bytes.data());
    if (Kind == MemoryKind::Float || Kind == MemoryKind::Double) return ReturnNumber(result, value);
    return HostServices().makeInteger(result, static_cast<int32_t>(value));
}

PExprItem* ReadString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Processes* processes = ProcessesOf(count, 2);
    ProcessHandle* process = OpenedAt(args, count);
    if (processes == nullptr || process == nullptr) return None(result);
    const std::optional<std::u16string> text =
        ReadText(*processes, DesktopCodePage(), *process, AddressAt(args, count), Flag(args, count, 2));
    return text ? ReturnText(result, *text) : None(result);
}

template <MemoryKind Kind>
PExprItem* WriteNumber(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Processes* processes = ProcessesOf(count, 3);
    ProcessHandle* process = OpenedAt(args, count);
    if (processes != nullptr && process != nullptr) {
        processes->WriteMemory(*process, AddressAt(args, count), PackNumber(Kind, Number(args, count, 2)));
    }
    return None(result);
}

PExprItem* WriteString(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    Processes* processes = ProcessesOf(count, 3);
    ProcessHandle* process = OpenedAt(args, count);
    if (processes != nullptr && process != nullptr) {
        processes->WriteMemory(*process, AddressAt(args, count),
                               PackText(DesktopCodePage(), Text(args, count, 2), Flag(args, count, 3)));
    }
    return None(result);
}

const ArgSpec kProcess{u"Process", fkind::kObject, {}, 0, u"Process Process"};
const ArgSpec kAddress{u"Address", fkind::kNumber};
const ArgSpec kValue{u"Value", fkind::kNumber};
const ArgSpec kUnicode{u"Unicode", fkind::kBool, DefBool(false)};

template <MemoryKind Kind>
FunctionSpec Read(const char16_t* key) {
    return {key, fkind::kNumber, ReadNumber<Kind>, {kProcess, kAddress}};
}
template <MemoryKind Kind>
FunctionSpec Write(const char16_t* key) {
    return {key, fkind::kNothing, WriteNumber<Kind>, {kProcess, kAddress, kValue}};
}

const FunctionSpec kProcesses[] = {
    {u"ExecuteFile", fkind::kNothing, ExecuteFile,
     {{u"File", fkind::kText},
      {u"Parameters", fkind::kText},
      {u"ShowWindow", fkind::kNumber, DefNumber(5, u"ShowWindowType")},
      {u"WaitUntilAppClose", fkind::kBool, DefBool(false)}}},
    {u"Command", fkind::kNothing, Command,
     {{u"Command", fkind::kText},
      {u"ShowWindow", fkind::kNumber, DefNumber(5, u"ShowWindowType")},
      {u"WaitUntilCommandFinish", fkind::kBool}}},
    {u"OpenProcess", fkind::kObject, OpenProcess, {{u"ProcessName", fkind::kText}}, u"Process"},
    {u"GetModuleBaseAddress", fkind::kNumber, GetModuleBaseAddress, {kProcess, {u"ModuleName", fkind::kText}}},
    Read<MemoryKind::Float>(u"ReadProcessMemoryFloat"),
    Read<MemoryKind::Double>(u"ReadProcessMemoryDouble"),
    Read<MemoryKind::Int>(u"ReadProcessMemoryInt"),
    Read<MemoryKind::Short>(u"ReadProcessMemoryShort"),
    Read<MemoryKind::Byte>(u"ReadProcessMemoryByte"),
    {u"ReadProcessMemoryString", fkind::kText, ReadString, {kProcess, kAddress, kUnicode}},
    Write<MemoryKind::Float>(u"WriteProcessMemoryFloat"),
    Write<MemoryKind::Double>(u"WriteProcessMemoryDouble"),
    Write<MemoryKind::Int>(u"WriteProcessMemoryInt"),
    Write<MemoryKind::Short>(u"WriteProcessMemoryShort"),
    Write<MemoryKind::Byte>(u"WriteProcessMemoryByte"),
    {u"WriteProcessMemoryString", fkind::kNothing, WriteString, {kProcess, kAddress, kValue, kUnicode}},
    {u"TaskKill", fkind::kNothing, TaskKill, {{u"ImageName", fkind::kText}}},
};

}  // namespace

std::span<const FunctionSpec> ProcessFunctions() { return kProcesses; }

}  // namespace ovrix
