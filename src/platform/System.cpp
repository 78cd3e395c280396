#include "platform/System.h"

#include "platform/Trace.h"

namespace ovrix {

bool System::ShellExecute(std::u16string_view verb, std::u16string_view file, std::u16string_view parameters,
                          int32_t show) {
    TraceEvent("shell", JsonString(verb) + " " + JsonString(file) + " " + JsonString(parameters) + " " +
                            std::to_string(show));
    return DoShellExecute(verb, file, parameters, show);
}

bool System::EnableShutdownPrivilege() {
    const bool granted = DoEnableShutdownPrivilege();
    TraceEvent("privilege", std::string("\"SeShutdownPrivilege\" ") + (granted ? "1" : "0"));
    return granted;
}

bool System::ExitWindows(uint32_t flags, uint32_t reason) {
    TraceEvent("exitwindows", Hex(flags) + " " + Hex(reason));
    return DoExitWindows(flags, reason);
}

}  // namespace ovrix
