// Calling COM objects through their dispatch interface: one owner for an
// interface pointer, one for a VARIANT, and one call by name or dispatch id.
// The automation facet and the ADO connection both call through these. COM
// must be started on the calling thread; the player starts it on the thread
// that plays (App.cpp).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WinApi.h"

#include <oleauto.h>

namespace ovrix::win32 {

struct DispatchTraits {
    using Type = IDispatch*;
    static Type Invalid() { return nullptr; }
    static void Close(Type p) { p->Release(); }
};
// Holds one reference.
using DispatchRef = UniqueResource<DispatchTraits>;

// A further reference to an interface someone else holds.
DispatchRef ShareDispatch(IDispatch* dispatch);

// A VARIANT cleared when it goes; VT_EMPTY when made.
class ScopedVariant {
public:
    ScopedVariant() { ::VariantInit(&value_); }
    ~ScopedVariant() { ::VariantClear(&value_); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT* Get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

private:
    VARIANT value_;
};

// Fills an empty variant with a BSTR of the text (left empty when the
// system has no memory for it).
void SetText(VARIANT& out, std::u16string_view text);

// A BSTR's text by its length, without the zero units that some servers
// count at its end (Wine's shell object does when it expands variables).
std::u16string BstrText(BSTR text);

// `in` converted to `type` into `out`, as the system converts; false when
// it cannot be.
bool ConvertVariant(const VARIANT& in, VARTYPE type, ScopedVariant& out);

// Arguments of one call, given in written order and kept last first, as
// the system takes them; cleared when the call is over.
class DispatchArguments {
public:
    explicit DispatchArguments(size_t count);
    ~DispatchArguments();
    DispatchArguments(const DispatchArguments&) = delete;
    DispatchArguments& operator=(const DispatchArguments&) = delete;

    // The argument at `index` in written order; VT_EMPTY until filled.
    VARIANT& operator[](size_t index) { return variants_[variants_.size() - 1 - index]; }
    VARIANT* Data() { return variants_.empty() ? nullptr : variants_.data(); }
    UINT Count() const { return static_cast<UINT>(variants_.size()); }

private:
    std::vector<VARIANT> variants_;
};

// An object made by ProgID, or by class id when the text is in braces; it
// may live in the process or in a server of its own. Empty when the class
// is unknown or will not be made.
DispatchRef CreateDispatch(std::u16string_view progId);

// The dispatch id of a member; nullopt when the object has no such member.
std::optional<DISPID> MemberId(IDispatch* object, std::u16string_view name);

// Calls a member with the system's DISPATCH_ flags. A property write names
// its value as the system requires. An exception inside the object comes
// back as a failed call: its texts are dropped. `result` may be null.
HRESULT InvokeMember(IDispatch* object, DISPID member, WORD flags, DispatchArguments& args, VARIANT* result);

// The same by name; false for an unknown member or a failed call.
bool InvokeByName(IDispatch* object, std::u16string_view member, WORD flags, DispatchArguments& args,
                  VARIANT* result);

}  // namespace ovrix::win32
