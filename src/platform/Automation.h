// Automation objects of other components: made by ProgID (or a class id in
// braces), called by member name or by dispatch identifier, released when
// the last holder drops them. Values cross in AutoValue, a portable variant:
// the real desktop turns it into the system's variants and back, the
// simulated desktop hands it to its simulated objects as it is. A failure
// anywhere (no such class, no such member, an exception inside the object)
// is no value, never an error to the caller.
// Traced as
//   ole create "<progid>"
//   ole call "<progid>" "<member>"       a member by name
//   ole call "<progid>" "#0x<dispid>"    a member by dispatch identifier
// where an object a call returned shows its type name for its ProgID.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Facet.h"

namespace ovrix {

// One automation object; destroying it releases the object.
class AutoObject {
public:
    virtual ~AutoObject() = default;
    // The name its type information gives; empty when it has none.
    virtual std::u16string TypeName() const = 0;
    // Stable and unique while the object lives (the interface pointer).
    virtual uintptr_t Identity() const = 0;

    // The ProgID (or class id) it was made by; empty for an object a call
    // returned.
    std::u16string progId;
};
using AutoObjectRef = std::shared_ptr<AutoObject>;

// The portable variant. Numbers are one type whatever width they had; a
// date is seconds since 1970-01-01 00:00 UTC, as script dates are; an error
// carries the status code an object answered in a value.
struct AutoValue {
    enum class Type { Empty, Number, Text, Bool, Date, Array, Object, Error };
    Type type = Type::Empty;
    double number = 0.0;  // Number; the code of an Error
    int64_t date = 0;
    bool truth = false;
    std::u16string text;
    std::vector<AutoValue> array;
    AutoObjectRef object;

    AutoValue() = default;
    explicit AutoValue(Type t) : type(t) {}
    static AutoValue Number(double n) {
        AutoValue v(Type::Number);
        v.number = n;
        return v;
    }
    static AutoValue Text(std::u16string t) {
        AutoValue v(Type::Text);
        v.text = std::move(t);
        return v;
    }
    static AutoValue Bool(bool b) {
        AutoValue v(Type::Bool);
        v.truth = b;
        return v;
    }
    static AutoValue Date(int64_t seconds) {
        AutoValue v(Type::Date);
        v.date = seconds;
        return v;
    }
    static AutoValue Object(AutoObjectRef o) {
        AutoValue v(Type::Object);
        v.object = std::move(o);
        return v;
    }
};

// How a member is called (the system's dispatch flags).
namespace dispatch {
inline constexpr uint16_t kMethod = 1;
inline constexpr uint16_t kPropertyGet = 2;
inline constexpr uint16_t kPropertyPut = 4;
}  // namespace dispatch

// A member named by name, or by dispatch identifier when the name is empty.
struct AutoMember {
    std::u16string name;
    int32_t dispid = 0;
};

class Automation : public TracedFacet {
public:
    // Traced; null when the class is not registered or the object cannot be
    // made or has no dispatch interface.
    AutoObjectRef CreateObject(std::u16string_view progId);
    // Traced; the member's result (Empty when it gives none), or nullopt
    // when the call fails. Arguments go in the order given.
    std::optional<AutoValue> Invoke(AutoObject& object, const AutoMember& member, uint16_t flag,
                                    std::span<const AutoValue> args);

protected:
    virtual AutoObjectRef DoCreateObject(std::u16string_view progId) = 0;
    virtual std::optional<AutoValue> DoInvoke(AutoObject& object, const AutoMember& member, uint16_t flag,
                                              std::span<const AutoValue> args) = 0;
};

}  // namespace ovrix
