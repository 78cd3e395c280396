#include "platform/Automation.h"

#include <string>

#include "container/Text.h"
#include "platform/Trace.h"

namespace ovrix {

AutoObjectRef Automation::CreateObject(std::u16string_view progId) {
    TraceEvent("ole", "create " + JsonString(progId));
    AutoObjectRef object = DoCreateObject(progId);
    if (object) object->progId.assign(progId);
    return object;
}

std::optional<AutoValue> Automation::Invoke(AutoObject& object, const AutoMember& member, uint16_t flag,
                                            std::span<const AutoValue> args) {
    if (Tracing()) {
        const std::u16string shown =
            member.name.empty() ? u"#" + Widen(Hex(static_cast<uint32_t>(member.dispid))) : member.name;
        const std::u16string& made = object.progId.empty() ? object.TypeName() : object.progId;
        TraceEvent("ole", "call " + JsonString(made) + " " + JsonString(shown));
    }
    return DoInvoke(object, member, flag, args);
}

}  // namespace ovrix
