#include "platform/win32/Win32Processes.h"

#include "platform/win32/Handles.h"
#include "platform/win32/Wide.h"
#include "platform/win32/WinApi.h"

#include <tlhelp32.h>

namespace ovrix::win32 {

namespace {

constexpr DWORD kAllAccess = 0x1F0FFF;

class Win32ProcessHandle final : public ProcessHandle {
public:
    Win32ProcessHandle(uint32_t id, HANDLE handle) : ProcessHandle(id), handle_(handle) {}
    HANDLE Get() const { return handle_.Get(); }

private:
    UniqueHandle handle_;
};

HANDLE HandleOf(ProcessHandle& process) { return static_cast<Win32ProcessHandle&>(process).Get(); }

// A tool-help snapshot owns a kernel handle, but fails with
// INVALID_HANDLE_VALUE rather than null.
UniqueHandle Snapshot(DWORD flags, DWORD id) {
    // A module snapshot of a process that is loading a module asks to be
    // taken again.
    constexpr int kTries = 8;
    for (int i = 0; i < kTries; ++i) {
        const HANDLE snapshot = ::CreateToolhelp32Snapshot(flags, id);
        if (snapshot != INVALID_HANDLE_VALUE) return UniqueHandle(snapshot);
        if (::GetLastError() != ERROR_BAD_LENGTH) break;
    }
    return UniqueHandle();
}

LPVOID At(uint64_t address) { return reinterpret_cast<LPVOID>(static_cast<uintptr_t>(address)); }

}  // namespace

StartedProgram Win32Processes::DoStart(const StartRequest& request) {
    const std::wstring file = ToWide(request.file);
    const std::wstring parameters = ToWide(request.parameters);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | (request.quiet ? SEE_MASK_FLAG_NO_UI : 0);
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = request.show;
    StartedProgram started;
    started.started = ::ShellExecuteExW(&info) != FALSE;
    if (started.started && info.hProcess != nullptr) {
        started.process = std::make_unique<Win32ProcessHandle>(::GetProcessId(info.hProcess), info.hProcess);
    }
    return started;
}

bool Win32Processes::WaitForExit(ProcessHandle& process, uint32_t ms) {
    return ::WaitForSingleObject(HandleOf(process), ms) != WAIT_TIMEOUT;
}

std::vector<RunningProcess> Win32Processes::List() {
    std::vector<RunningProcess> out;
    const UniqueHandle snapshot = Snapshot(TH32CS_SNAPPROCESS, 0);
    if (!snapshot) return out;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more; more = ::Process32NextW(snapshot.Get(), &entry)) {
        out.push_back({entry.th32ProcessID, FromWide(entry.szExeFile)});
    }
    return out;
}

std::unique_ptr<ProcessHandle> Win32Processes::Open(uint32_t id) {
    const HANDLE handle = ::OpenProcess(kAllAccess, FALSE, id);
    if (handle == nullptr) return nullptr;
    return std::make_unique<Win32ProcessHandle>(id, handle);
}

// Both module lists: a 64-bit player looking at a 32-bit program sees its
// modules only with TH32CS_SNAPMODULE32.
std::vector<ProcessModule> Win32Processes::Modules(ProcessHandle& process) {
    std::vector<ProcessModule> out;
    const UniqueHandle snapshot = Snapshot(TH32CS_SNAPMODULE | TH32CS_SNAPMODULE32, process.Id());
    if (!snapshot) return out;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Module32FirstW(snapshot.Get(), &entry); more; more = ::Module32NextW(snapshot.Get(), &entry)) {
        out.push_back({FromWide(entry.szModule), reinterpret_cast<uintptr_t>(entry.modBaseAddr)});
    }
    return out;
}

bool Win32Processes::ReadMemory(ProcessHandle& process, uint64_t address, std::span<uint8_t> out) {
    SIZE_T read = 0;
    return ::ReadProcessMemory(HandleOf(process), At(address), out.data(), out.size(), &read) != FALSE &&
           read == out.size();
}

// A page the target keeps read-only (its constants, its code) is made
// writable for the write and given its protection back afterwards.
bool Win32Processes::DoWriteMemory(ProcessHandle& process, uint64_t address, std::span<const uint8_t> bytes) {
    const HANDLE handle = HandleOf(process);
    DWORD previous = 0;
    const bool unprotected =
        ::VirtualProtectEx(handle, At(address), bytes.size(), PAGE_EXECUTE_READWRITE, &previous) != FALSE;
    SIZE_T written = 0;
    const bool ok = ::WriteProcessMemory(handle, At(address), bytes.data(), bytes.size(), &written) != FALSE &&
                    written == bytes.size();
    if (unprotected) {
        DWORD ignored = 0;
        ::VirtualProtectEx(handle, At(address), bytes.size(), previous, &ignored);
    }
    return ok;
}

bool Win32Processes::DoTerminate(ProcessHandle& process) { return ::TerminateProcess(HandleOf(process), 0) != FALSE; }

std::u16string Win32Processes::ExpandEnvironment(std::u16string_view text) {
    const std::wstring wide = ToWide(text);
    const DWORD needed = ::ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (needed == 0) return std::u16string(text);
    std::wstring out(needed, L'\0');
    const DWORD written = ::ExpandEnvironmentStringsW(wide.c_str(), out.data(), needed);
    if (written == 0 || written > needed) return std::u16string(text);
    out.resize(written - 1);
    return FromWide(out);
}

std::optional<std::u16string> Win32Processes::Environment(std::u16string_view name) {
    const std::wstring wide = ToWide(name);
    const DWORD needed = ::GetEnvironmentVariableW(wide.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::wstring value(needed, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(wide.c_str(), value.data(), needed);
    if (length >= needed) return std::nullopt;
    value.resize(length);
    return FromWide(value);
}

}  // namespace ovrix::win32
