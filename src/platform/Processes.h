// The processes of the desktop: starting programs, listing and ending
// processes, and reading and writing another process's memory. A process
// the player holds is a ProcessHandle: the desktop that opened it closes it
// when the handle dies, so no caller closes anything by hand.
//
// Acting on another process is traced:
//   process start "<file>" "<parameters>"     a program or document started
//   process kill <pid>                         a process ended
//   process write <pid> <address> <bytes>     bytes written into its memory
// (the bytes as hexadecimal pairs, the address in decimal).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Facet.h"

namespace ovrix {

// A process held open (with all access, or the one a start answered); the
// desktop that handed it out closes it when it dies.
class ProcessHandle {
public:
    virtual ~ProcessHandle() = default;
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    uint32_t Id() const { return id_; }

protected:
    explicit ProcessHandle(uint32_t id) : id_(id) {}

private:
    uint32_t id_;
};

struct RunningProcess {
    uint32_t id = 0;
    std::u16string exeName;  // the executable's file name, "notepad.exe"
};

struct ProcessModule {
    std::u16string name;  // "kernel32.dll"
    uint64_t base = 0;
};

// What a start did: whether the system accepted it, and the process it
// made when there is one to wait for (opening a document in a program that
// already runs makes none).
struct StartedProgram {
    bool started = false;
    std::unique_ptr<ProcessHandle> process;
};

// How a program is started: the file, its parameters, the ShowWindow
// command, and whether the system may show its own error boxes.
struct StartRequest {
    std::u16string file;
    std::u16string parameters;
    int32_t show = 5;
    bool quiet = false;  // no error boxes from the system (no-UI start)
};

class Processes : public TracedFacet {
public:
    // Traced.
    StartedProgram Start(const StartRequest& request);
    // Ends the process with exit code 0; false when the system refused.
    bool Terminate(ProcessHandle& process);
    // All of `bytes` at `address`, or nothing; false when any byte could not
    // be written. A page the target keeps read-only is written too.
    bool WriteMemory(ProcessHandle& process, uint64_t address, std::span<const uint8_t> bytes);

    // Whether the process has ended, waiting for it at most `ms`.
    virtual bool WaitForExit(ProcessHandle& process, uint32_t ms) = 0;
    // The running processes in the system's order.
    virtual std::vector<RunningProcess> List() = 0;
    // The process opened with all access; null when it does not run or
    // cannot be opened.
    virtual std::unique_ptr<ProcessHandle> Open(uint32_t id) = 0;
    // The modules loaded into the process, the executable first.
    virtual std::vector<ProcessModule> Modules(ProcessHandle& process) = 0;
    // All of `out` from `address`, or false (nothing outside the process's
    // readable memory is read).
    virtual bool ReadMemory(ProcessHandle& process, uint64_t address, std::span<uint8_t> out) = 0;

    // The text with each %NAME% of a defined variable replaced by its value
    // (names found without regard to case); what names no variable stays as
    // it is.
    virtual std::u16string ExpandEnvironment(std::u16string_view text);
    // The value of an environment variable, without regard to case.
    virtual std::optional<std::u16string> Environment(std::u16string_view name) = 0;

protected:
    virtual StartedProgram DoStart(const StartRequest& request) = 0;
    virtual bool DoTerminate(ProcessHandle& process) = 0;
    virtual bool DoWriteMemory(ProcessHandle& process, uint64_t address, std::span<const uint8_t> bytes) = 0;
};

// %NAME% expansion with the variables `lookup` knows. A name it does not
// know stays with both its '%' and scanning goes on after the closing one;
// a '%' that no second one follows stays as it is.
template <class Lookup>
std::u16string ExpandPercentNames(std::u16string_view text, Lookup&& lookup) {
    std::u16string out;
    size_t i = 0;
    while (i < text.size()) {
        const size_t open = text.find(u'%', i);
        if (open == std::u16string_view::npos) break;
        const size_t close = text.find(u'%', open + 1);
        if (close == std::u16string_view::npos) break;
        out.append(text.substr(i, open - i));
        const std::u16string_view name = text.substr(open + 1, close - open - 1);
        const std::optional<std::u16string> value = name.empty() ? std::nullopt : lookup(name);
        if (value) {
            out += *value;
        } else {
            out.append(text.substr(open, close - open + 1));
        }
        i = close + 1;
    }
    out.append(text.substr(i));
    return out;
}

}  // namespace ovrix
