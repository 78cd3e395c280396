// The automation objects of the simulated desktop: a few simulated classes
// registered by ProgID (compared without case), enough to play scripts that
// make objects, call their members and hand values and objects back and
// forth. Members are named without case as well; a simulated object has no
// dispatch identifiers unless its class gives them.
//
// Nothing is registered from the start: a dry run plays as on a machine
// where no component is installed, and every ProgID makes no object. Tests
// register what they play with, such as the simulated dictionary.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Automation.h"

namespace ovrix {

class SimObject : public AutoObject {
public:
    explicit SimObject(std::u16string typeName) : typeName_(std::move(typeName)) {}
    std::u16string TypeName() const override { return typeName_; }
    uintptr_t Identity() const override { return reinterpret_cast<uintptr_t>(this); }
    // The member's answer; nullopt for a member the object lacks, a flag it
    // does not take, or a call it refuses.
    virtual std::optional<AutoValue> Call(const AutoMember& member, uint16_t flag,
                                          std::span<const AutoValue> args) = 0;

private:
    std::u16string typeName_;
};

class SimAutomation final : public Automation {
public:
    using Factory = std::function<AutoObjectRef()>;
    SimAutomation();

    // Registers (or replaces) a class.
    void Register(std::u16string_view progId, Factory make);
    // Registers "Scripting.Dictionary": a keyed store (Add, Item get and put,
    // Count, Exists, Keys, Items, Remove, RemoveAll) that keeps the values it
    // is given as they came, so that what goes in comes back out.
    void RegisterDictionary();
    // Objects made or handed out by calls that are still held somewhere.
    int32_t LiveObjects() const;

protected:
    AutoObjectRef DoCreateObject(std::u16string_view progId) override;
    std::optional<AutoValue> DoInvoke(AutoObject& object, const AutoMember& member, uint16_t flag,
                                      std::span<const AutoValue> args) override;

private:
    void Remember(const AutoValue& value);

    std::map<std::u16string, Factory> classes_;  // by lower-case ProgID
    std::vector<std::weak_ptr<AutoObject>> seen_;
};

}  // namespace ovrix
