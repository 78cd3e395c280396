// The processes family: starting programs and commands, ending processes,
// and reading and writing another process's memory. Every row needs the
// desktop, so the rows are registered with no implementation yet: a call
// shows and saves as usual and evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const ArgSpec kProcess{u"Process", fkind::kObject, {}, 0, u"Process Process"};
const ArgSpec kAddress{u"Address", fkind::kNumber};
const ArgSpec kValue{u"Value", fkind::kNumber};
const ArgSpec kUnicode{u"Unicode", fkind::kBool, DefBool(false)};

FunctionSpec Read(const char16_t* key) { return {key, fkind::kNumber, nullptr, {kProcess, kAddress}}; }
FunctionSpec Write(const char16_t* key) { return {key, fkind::kNothing, nullptr, {kProcess, kAddress, kValue}}; }

const FunctionSpec kProcesses[] = {
    {u"ExecuteFile", fkind::kNothing, nullptr,
     {{u"File", fkind::kText},
      {u"Parameters", fkind::kText},
      {u"ShowWindow", fkind::kNumber, DefNumber(5, u"ShowWindowType")},
      {u"WaitUntilAppClose", fkind::kBool, DefBool(false)}}},
    {u"Command", fkind::kNothing, nullptr,
     {{u"Command", fkind::kText},
      {u"ShowWindow", fkind::kNumber, DefNumber(5, u"ShowWindowType")},
      {u"WaitUntilCommandFinish", fkind::kBool}}},
    {u"OpenProcess", fkind::kObject, nullptr, {{u"ProcessName", fkind::kText}}, u"Process"},
    {u"GetModuleBaseAddress", fkind::kNumber, nullptr, {kProcess, {u"ModuleName", fkind::kText}}},
    Read(u"ReadProcessMemoryFloat"),
    Read(u"ReadProcessMemoryDouble"),
    Read(u"ReadProcessMemoryInt"),
    Read(u"ReadProcessMemoryShort"),
    Read(u"ReadProcessMemoryByte"),
    {u"ReadProcessMemoryString", fkind::kText, nullptr, {kProcess, kAddress, kUnicode}},
    Write(u"WriteProcessMemoryFloat"),
    Write(u"WriteProcessMemoryDouble"),
    Write(u"WriteProcessMemoryInt"),
    Write(u"WriteProcessMemoryShort"),
    Write(u"WriteProcessMemoryByte"),
    {u"WriteProcessMemoryString", fkind::kNothing, nullptr, {kProcess, kAddress, kValue, kUnicode}},
    {u"TaskKill", fkind::kNothing, nullptr, {{u"ImageName", fkind::kText}}},
};

}  // namespace

std::span<const FunctionSpec> ProcessFunctions() { return kProcesses; }

}  // namespace ovrix
