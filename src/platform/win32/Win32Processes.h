// The processes of the real desktop: programs started through the shell,
// process and module lists from tool-help snapshots, and other processes'
// memory read and written through handles opened with all access. Every
// handle lives in an owner, so a Process value that dies closes its process.
#pragma once

#include "platform/Processes.h"

namespace ovrix::win32 {

class Win32Processes final : public Processes {
public:
    bool WaitForExit(ProcessHandle& process, uint32_t ms) override;
    std::vector<RunningProcess> List() override;
    std::unique_ptr<ProcessHandle> Open(uint32_t id) override;
    std::vector<ProcessModule> Modules(ProcessHandle& process) override;
    bool ReadMemory(ProcessHandle& process, uint64_t address, std::span<uint8_t> out) override;
    std::u16string ExpandEnvironment(std::u16string_view text) override;
    std::optional<std::u16string> Environment(std::u16string_view name) override;

protected:
    StartedProgram DoStart(const StartRequest& request) override;
    bool DoTerminate(ProcessHandle& process) override;
    bool DoWriteMemory(ProcessHandle& process, uint64_t address, std::span<const uint8_t> bytes) override;
};

}  // namespace ovrix::win32
