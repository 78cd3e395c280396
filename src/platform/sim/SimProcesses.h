// The processes of the simulated desktop: those a test or a desktop
// description says are running, and those the player starts. A process
// lives from its start to the virtual moment it exits by itself or is
// ended; its memory is the regions its description gives, and reading or
// writing a byte outside them fails, as an address the process has not
// mapped does.
//
// Starting a file makes a process named after the file's name (".exe"
// added when it has none) from the program of that name the description
// lists; a program it does not list ends as soon as it started, so a dry
// run never hangs waiting for a program nobody described.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Processes.h"

namespace ovrix {

struct SimMemoryRegion {
    uint64_t address = 0;
    std::vector<uint8_t> bytes;
};

// A process as a test or a desktop description gives it. For a running
// process, exitsAfterMs counts from virtual time 0; for a program the
// player starts, from its start. None: it runs until it is ended.
struct SimProcessSpec {
    std::u16string name;  // executable's file name
    uint32_t pid = 0;     // 0: one is given out
    std::vector<ProcessModule> modules;
    std::vector<SimMemoryRegion> memory;
    std::optional<uint64_t> exitsAfterMs;
};

class SimProcesses final : public Processes {
public:
    SimProcesses(std::function<uint64_t()> nowMs, std::function<void(uint64_t)> sleepMs);

    // A process running from now on; answers its id.
    uint32_t Add(const SimProcessSpec& spec);
    // What starting a file of this name makes.
    void AddProgram(const SimProcessSpec& spec) { programs_.push_back(spec); }
    std::map<std::u16string, std::u16string> environment = {
        {u"SystemRoot", u"C:\\Windows"},
        {u"windir", u"C:\\Windows"},
        {u"ProgramFiles", u"C:\\Program Files"},
        {u"USERPROFILE", u"C:\\Users\\User"},
        {u"TEMP", u"C:\\Users\\User\\AppData\\Local\\Temp"},
    };

    bool IsRunning(uint32_t pid) const;
    // How many handles on processes the player holds now.
    int32_t OpenHandles() const { return *openHandles_; }
    // The bytes of a live process's memory, as a test looks at them.
    std::optional<std::vector<uint8_t>> Peek(uint32_t pid, uint64_t address, size_t size) const;

    bool WaitForExit(ProcessHandle& process, uint32_t ms) override;
    std::vector<RunningProcess> List() override;
    std::unique_ptr<ProcessHandle> Open(uint32_t id) override;
    std::vector<ProcessModule> Modules(ProcessHandle& process) override;
    bool ReadMemory(ProcessHandle& process, uint64_t address, std::span<uint8_t> out) override;
    std::optional<std::u16string> Environment(std::u16string_view name) override;

protected:
    StartedProgram DoStart(const StartRequest& request) override;
    bool DoTerminate(ProcessHandle& process) override;
    bool DoWriteMemory(ProcessHandle& process, uint64_t address, std::span<const uint8_t> bytes) override;

private:
    struct Process {
        SimProcessSpec spec;
        std::optional<uint64_t> endMs;
    };
    Process* Live(uint32_t pid);
    const Process* Live(uint32_t pid) const;
    uint32_t FreePid();
    // The byte at `address` in a region of the process; null outside them.
    static uint8_t* ByteAt(Process& process, uint64_t address);

    std::function<uint64_t()> nowMs_;
    std::function<void(uint64_t)> sleepMs_;
    std::vector<Process> processes_;
    std::vector<SimProcessSpec> programs_;
    uint32_t nextPid_ = 5000;
    // Shared with the handles, which may outlive the desktop in a test.
    std::shared_ptr<int32_t> openHandles_ = std::make_shared<int32_t>(0);
};

}  // namespace ovrix
