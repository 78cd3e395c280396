// The system family: the speaker, sounds and the machine's identity. Every
// row needs the machine, so the rows are registered with no implementation
// yet: a call shows and saves as usual and evaluates to no value.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const FunctionSpec kSystem[] = {
    {u"Beep", fkind::kNothing, nullptr,
     {{u"Freq", fkind::kNumber, DefNumber(500)}, {u"Duration", fkind::kNumber, DefNumber(150)}}},
    {u"PlaySound", fkind::kNothing, nullptr, {{u"SoundFile", fkind::kText}}},
    {u"GetCPUID", fkind::kText, nullptr},
    {u"GetHardwareID", fkind::kText, nullptr},
};

}  // namespace

std::span<const FunctionSpec> SystemFunctions() { return kSystem; }

}  // namespace ovrix
