// Automation objects on the real desktop: COM objects made by ProgID or
// class id and called through their dispatch interface, with AutoValue
// turned into the system's variants and back (Win32Automation.cpp records
// the conversions). COM must be initialised on the calling thread (the
// player does so on its playback thread); without it no object is made.
#pragma once

#include "platform/Automation.h"

namespace ovrix::win32 {

class Win32Automation final : public Automation {
protected:
    AutoObjectRef DoCreateObject(std::u16string_view progId) override;
    std::optional<AutoValue> DoInvoke(AutoObject& object, const AutoMember& member, uint16_t flag,
                                      std::span<const AutoValue> args) override;
};

}  // namespace ovrix::win32
