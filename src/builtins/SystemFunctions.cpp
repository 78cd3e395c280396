// The system family: the speaker, sounds and the machine's identity.
#include <cstdio>

#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "container/Text.h"
#include "expr/NumberFormat.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace {

// A frequency or duration as the system takes it: truncated, and nothing
// below 0.
uint32_t Unsigned(double value) {
    const int64_t whole = TruncateToInt64(value);
    return whole < 0 ? 0 : whole > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<uint32_t>(whole);
}

PExprItem* Beep(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host != nullptr && count >= 2) {
        host->GetDesktop().sound.Beep(Unsigned(fnargs::Number(args, count, 0)), Unsigned(fnargs::Number(args, count, 1)));
    }
    return fnargs::None(result);
}

PExprItem* PlaySound(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    const std::u16string file = fnargs::Text(args, count, 0);
    if (host == nullptr || file.empty()) return fnargs::None(result);
    host->SetStatusLine(u"Playing...");
    host->GetDesktop().sound.PlaySound(file);
    return fnargs::None(result);
}

PExprItem* GetCpuId(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr) return fnargs::None(result);
    const CpuSignature cpu = host->GetDesktop().system.ProcessorSignature();
    char text[24];
    std::snprintf(text, sizeof text, "%08X%08X", static_cast<unsigned>(cpu.edx), static_cast<unsigned>(cpu.eax));
    return fnargs::ReturnText(result, Widen(text));
}

// 32-bit FNV-1a over the UTF-16 units of a text.
uint32_t Fingerprint(std::u16string_view text) {
    uint32_t hash = 2166136261u;
    for (char16_t unit : text) {
        hash = (hash ^ (unit & 0xFF)) * 16777619u;
        hash = (hash ^ (unit >> 8)) * 16777619u;
    }
    return hash;
}

// "XXXXXXXX-XXXXXXXX": the fingerprint of the system drive (its letter and
// size, which stay as long as the disk does; its free space would not),
// then that of the user's name, both without regard to case.
PExprItem* GetHardwareId(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr) return fnargs::None(result);
    const HardwareFacts facts = host->GetDesktop().system.Hardware();
    const uint32_t drive = Fingerprint(LowerCase(facts.systemDrive.substr(0, 1)) + u":" +
                                       Decimal(static_cast<int64_t>(facts.driveBytes)));
    const uint32_t user = Fingerprint(LowerCase(facts.userName));
    char text[24];
    std::snprintf(text, sizeof text, "%08X-%08X", static_cast<unsigned>(drive), static_cast<unsigned>(user));
    return fnargs::ReturnText(result, Widen(text));
}

const FunctionSpec kSystem[] = {
    {u"Beep", fkind::kNothing, Beep,
     {{u"Freq", fkind::kNumber, DefNumber(500)}, {u"Duration", fkind::kNumber, DefNumber(150)}}},
    {u"PlaySound", fkind::kNothing, PlaySound, {{u"SoundFile", fkind::kText}}},
    {u"GetCPUID", fkind::kText, GetCpuId},
    {u"GetHardwareID", fkind::kText, GetHardwareId},
};

}  // namespace

std::span<const FunctionSpec> SystemFunctions() { return kSystem; }

}  // namespace ovrix
