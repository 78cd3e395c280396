#include "platform/Automation.h"

#include <string>

#include "container/Text.h"
#include "platform/Trace.h"

namespace ovrix {

AutoObjectRef Automation::CreateObject(std::u16string_view progId) {
    TraceEvent("object create", JsonString(progId));
    return DoCreateObject(progId);
}

std::optional<AutoValue> Automation::Invoke(AutoObject& object, const AutoMember& member, uint16_t flag,
                                            std::span<const AutoValue> args) {
    if (Tracing()) {
        const std::u16string shown =
            member.name.empty() ? u"#" + Widen(Hex(static_cast<uint32_t>(member.dispid))) : member.name;
        TraceEvent("object call", JsonString(shown) + " " + std::to_string(flag));
    }
    return DoInvoke(object, member, flag, args);
}

}  // namespace ovrix
