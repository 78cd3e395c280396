#include "platform/Processes.h"

#include "platform/Trace.h"

namespace ovrix {

StartedProgram Processes::Start(const StartRequest& request) {
    TraceEvent("process", "start " + JsonString(request.file) + " " + JsonString(request.parameters));
    return DoStart(request);
}

bool Processes::Terminate(ProcessHandle& process) {
    TraceEvent("process", "kill " + std::to_string(process.Id()));
    return DoTerminate(process);
}

bool Processes::WriteMemory(ProcessHandle& process, uint64_t address, std::span<const uint8_t> bytes) {
    if (Tracing()) {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        std::string line = "write " + std::to_string(process.Id()) + " " + std::to_string(address) + " ";
        for (const uint8_t byte : bytes) {
            line += kDigits[byte >> 4];
            line += kDigits[byte & 15];
        }
        TraceEvent("process", line);
    }
    return DoWriteMemory(process, address, bytes);
}

std::u16string Processes::ExpandEnvironment(std::u16string_view text) {
    return ExpandPercentNames(text, [this](std::u16string_view name) { return Environment(name); });
}

}  // namespace ovrix
