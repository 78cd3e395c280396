#include "platform/sim/SimProcesses.h"

#include <algorithm>
#include <utility>

#include "container/Text.h"

namespace ovrix {

namespace {

class SimProcessHandle final : public ProcessHandle {
public:
    SimProcessHandle(uint32_t id, std::shared_ptr<int32_t> count) : ProcessHandle(id), count_(std::move(count)) {
        ++*count_;
    }
    ~SimProcessHandle() override { --*count_; }

private:
    std::shared_ptr<int32_t> count_;
};

// The file name a started file runs as: its last path part, with ".exe"
// when it has no extension ("cmd" runs as "cmd.exe").
std::u16string ImageNameOf(std::u16string_view file) {
    const size_t slash = file.find_last_of(u"\\/");
    std::u16string name(slash == std::u16string_view::npos ? file : file.substr(slash + 1));
    if (name.find(u'.') == std::u16string::npos) name += u".exe";
    return name;
}

}  // namespace

SimProcesses::SimProcesses(std::function<uint64_t()> nowMs, std::function<void(uint64_t)> sleepMs)
    : nowMs_(std::move(nowMs)), sleepMs_(std::move(sleepMs)) {}

uint32_t SimProcesses::Add(const SimProcessSpec& spec) {
    Process process{spec, std::nullopt};
    if (process.spec.pid == 0) process.spec.pid = FreePid();
    if (spec.exitsAfterMs) process.endMs = *spec.exitsAfterMs;
    processes_.push_back(std::move(process));
    return processes_.back().spec.pid;
}

// Ids are multiples of 4, as the system gives them, and never one in use.
uint32_t SimProcesses::FreePid() {
    while (std::any_of(processes_.begin(), processes_.end(),
                       [this](const Process& p) { return p.spec.pid == nextPid_; })) {
        nextPid_ += 4;
    }
    const uint32_t pid = nextPid_;
    nextPid_ += 4;
    return pid;
}

const SimProcesses::Process* SimProcesses::Live(uint32_t pid) const {
    const uint64_t now = nowMs_();
    for (const Process& p : processes_) {
        if (p.spec.pid == pid && (!p.endMs || now < *p.endMs)) return &p;
    }
    return nullptr;
}

SimProcesses::Process* SimProcesses::Live(uint32_t pid) {
    return const_cast<Process*>(std::as_const(*this).Live(pid));
}

bool SimProcesses::IsRunning(uint32_t pid) const { return Live(pid) != nullptr; }

uint8_t* SimProcesses::ByteAt(Process& process, uint64_t address) {
    for (SimMemoryRegion& region : process.spec.memory) {
        if (address >= region.address && address - region.address < region.bytes.size()) {
            return &region.bytes[address - region.address];
        }
    }
    return nullptr;
}

std::optional<std::vector<uint8_t>> SimProcesses::Peek(uint32_t pid, uint64_t address, size_t size) const {
    auto* process = const_cast<Process*>(Live(pid));
    if (process == nullptr) return std::nullopt;
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t* byte = ByteAt(*process, address + i);
        if (byte == nullptr) return std::nullopt;
        bytes.push_back(*byte);
    }
    return bytes;
}

StartedProgram SimProcesses::DoStart(const StartRequest& request) {
    SimProcessSpec spec;
    spec.name = ImageNameOf(request.file);
    spec.exitsAfterMs = 0;
    for (const SimProcessSpec& program : programs_) {
        if (EqualsNoCase(program.name, spec.name)) {
            spec = program;
            break;
        }
    }
    if (spec.pid != 0 && Live(spec.pid) != nullptr) spec.pid = 0;
    const uint64_t now = nowMs_();
    Process process{spec, std::nullopt};
    process.spec.pid = spec.pid != 0 ? spec.pid : FreePid();
    if (spec.exitsAfterMs) process.endMs = now + *spec.exitsAfterMs;
    processes_.push_back(std::move(process));
    return {true, std::make_unique<SimProcessHandle>(processes_.back().spec.pid, openHandles_)};
}

// A handle still names its process after it ended; a started process that
// has already ended is waited for at once.
bool SimProcesses::WaitForExit(ProcessHandle& handle, uint32_t ms) {
    const uint64_t now = nowMs_();
    for (auto it = processes_.rbegin(); it != processes_.rend(); ++it) {
        if (it->spec.pid != handle.Id()) continue;
        if (it->endMs && *it->endMs <= now) return true;
        if (it->endMs && *it->endMs <= now + ms) {
            sleepMs_(*it->endMs - now);
            return true;
        }
        sleepMs_(ms);
        return false;
    }
    return true;
}

std::vector<RunningProcess> SimProcesses::List() {
    std::vector<RunningProcess> out;
    const uint64_t now = nowMs_();
    for (const Process& p : processes_) {
        if (!p.endMs || now < *p.endMs) out.push_back({p.spec.pid, p.spec.name});
    }
    return out;
}

std::unique_ptr<ProcessHandle> SimProcesses::Open(uint32_t id) {
    if (Live(id) == nullptr) return nullptr;
    return std::make_unique<SimProcessHandle>(id, openHandles_);
}

std::vector<ProcessModule> SimProcesses::Modules(ProcessHandle& handle) {
    const Process* process = Live(handle.Id());
    return process != nullptr ? process->spec.modules : std::vector<ProcessModule>{};
}

bool SimProcesses::ReadMemory(ProcessHandle& handle, uint64_t address, std::span<uint8_t> out) {
    const std::optional<std::vector<uint8_t>> bytes = Peek(handle.Id(), address, out.size());
    if (!bytes) return false;
    std::copy(bytes->begin(), bytes->end(), out.begin());
    return true;
}

bool SimProcesses::DoWriteMemory(ProcessHandle& handle, uint64_t address, std::span<const uint8_t> bytes) {
    Process* process = Live(handle.Id());
    if (process == nullptr || !Peek(handle.Id(), address, bytes.size())) return false;
    for (size_t i = 0; i < bytes.size(); ++i) *ByteAt(*process, address + i) = bytes[i];
    return true;
}

bool SimProcesses::DoTerminate(ProcessHandle& handle) {
    Process* process = Live(handle.Id());
    if (process == nullptr) return false;
    process->endMs = nowMs_();
    return true;
}

std::optional<std::u16string> SimProcesses::Environment(std::u16string_view name) {
    for (const auto& [key, value] : environment) {
        if (EqualsNoCase(key, name)) return value;
    }
    return std::nullopt;
}

}  // namespace ovrix
