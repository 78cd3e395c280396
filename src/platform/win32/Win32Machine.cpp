// What the real machine tells about itself: the processor's signature and
// the figures its hardware id is made of.
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/Wide.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace ovrix::win32 {

// Processors without the instruction (none that runs this system) and
// other architectures answer zeros.
CpuSignature Win32Platform::ProcessorSignature() {
#if defined(__i386__) || defined(__x86_64__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return {eax, edx};
#endif
    return {};
}

HardwareFacts Win32Platform::Hardware() {
    HardwareFacts facts;
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length >= 3 && length <= MAX_PATH) {
        const std::wstring root(folder, 3);  // "C:\"
        facts.systemDrive = FromWide(root);
        ULARGE_INTEGER total{};
        if (::GetDiskFreeSpaceExW(root.c_str(), nullptr, &total, nullptr)) facts.driveBytes = total.QuadPart;
    }
    wchar_t user[257] = {};
    DWORD size = 257;
    if (::GetUserNameW(user, &size)) facts.userName = FromWide(user);
    return facts;
}

}  // namespace ovrix::win32
