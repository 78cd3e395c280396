// The system around the player: opening files, programs and addresses,
// shutting down (all traced), the system's version, the machine's identity
// figures, and the process's random generator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Facet.h"

namespace ovrix {

struct OsVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
};

// The processor identification instruction's answer for leaf 1.
struct CpuSignature {
    uint32_t eax = 0;  // the signature word
    uint32_t edx = 0;  // the feature-flags word
};

// What identifies the computer and its user: the drive of the system
// folder ("C:\"), its size in bytes, and the user's name.
struct HardwareFacts {
    std::u16string systemDrive;
    uint64_t driveBytes = 0;
    std::u16string userName;
};

class System : public TracedFacet {
public:
    // Traced.
    bool ShellExecute(std::u16string_view verb, std::u16string_view file, std::u16string_view parameters,
                      int32_t show);
    // Enabling the privilege answers false when the platform reported an
    // error; ExitWindows answers whether the system accepted.
    bool EnableShutdownPrivilege();
    bool ExitWindows(uint32_t flags, uint32_t reason);

    virtual OsVersion GetOsVersion() = 0;
    virtual CpuSignature ProcessorSignature() = 0;
    virtual HardwareFacts Hardware() = 0;
    virtual void SeedRandom(uint32_t seed) = 0;
    virtual uint32_t Random() = 0;  // 0 to 32767

protected:
    virtual bool DoShellExecute(std::u16string_view verb, std::u16string_view file, std::u16string_view parameters,
                                int32_t show) = 0;
    virtual bool DoEnableShutdownPrivilege() = 0;
    virtual bool DoExitWindows(uint32_t flags, uint32_t reason) = 0;
};

}  // namespace ovrix
