// Variants, as this player makes and reads them:
//   - A Number that is a whole number within 32 bits goes as VT_I4 (what
//     indexes and counts expect), any other as VT_R8. Every numeric type
//     that comes back (integers of any width, VT_R4, VT_CY, VT_DECIMAL)
//     becomes a Number through VT_R8.
//   - Texts are BSTRs; truth values VT_BOOL; automation objects VT_DISPATCH
//     (an IUnknown that comes back is asked for its dispatch interface).
//   - Dates are VT_DATE in local time, as the system's date variants are,
//     from and to the player's seconds since 1970 UTC.
//   - An array goes as a one-dimensional SAFEARRAY of VARIANTs from index
//     0. An array that comes back, of any element type and any number of
//     dimensions, becomes one flat Array in memory order (the first
//     dimension counts fastest).
//   - VT_EMPTY and VT_NULL come back as Empty; a reference (VT_BYREF) as
//     what it refers to; any other type as its text when the system can
//     convert it, else Empty.
#include "platform/win32/Win32Automation.h"

#include <cmath>
#include <cstring>

#include "platform/win32/Dispatch.h"

namespace ovrix::win32 {

namespace {

constexpr int kMaxNesting = 32;
constexpr int64_t kFileTimeEpochSeconds = 11644473600;  // 1601-01-01 to 1970-01-01

// One dispatch interface, released with the object.
class DispatchObject final : public AutoObject {
public:
    explicit DispatchObject(DispatchRef dispatch) : dispatch_(std::move(dispatch)) {}

    IDispatch* Get() const { return dispatch_.Get(); }
    uintptr_t Identity() const override { return reinterpret_cast<uintptr_t>(Get()); }
    std::u16string TypeName() const override {
        UINT count = 0;
        if (FAILED(Get()->GetTypeInfoCount(&count)) || count == 0) return {};
        ITypeInfo* info = nullptr;
        if (FAILED(Get()->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) || info == nullptr) return {};
        BSTR name = nullptr;
        const HRESULT hr = info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        info->Release();
        std::u16string out = SUCCEEDED(hr) ? BstrText(name) : std::u16string();
        ::SysFreeString(name);
        return out;
    }

private:
    DispatchRef dispatch_;
};

bool SecondsToVariantDate(int64_t seconds, DATE& out) {
    const int64_t ticks = (seconds + kFileTimeEpochSeconds) * 10000000;
    if (ticks < 0) return false;
    FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32)};
    FILETIME local{};
    SYSTEMTIME st{};
    return ::FileTimeToLocalFileTime(&utc, &local) && ::FileTimeToSystemTime(&local, &st) &&
           ::SystemTimeToVariantTime(&st, &out);
}

int64_t VariantDateToSeconds(DATE date) {
    SYSTEMTIME st{};
    FILETIME local{}, utc{};
    if (!::VariantTimeToSystemTime(date, &st) || !::SystemTimeToFileTime(&st, &local) ||
        !::LocalFileTimeToFileTime(&local, &utc)) {
        return 0;
    }
    const uint64_t ticks = (static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
    return static_cast<int64_t>(ticks / 10000000) - kFileTimeEpochSeconds;
}

AutoObjectRef WrapDispatch(DispatchRef dispatch) {
    if (!dispatch) return nullptr;
    return std::make_shared<DispatchObject>(std::move(dispatch));
}

// Fills `out` (VT_EMPTY on entry); the caller clears it.
void ToVariant(const AutoValue& value, VARIANT& out, int depth = 0) {
    switch (value.type) {
        case AutoValue::Type::Empty: return;
        case AutoValue::Type::Number:
            if (std::trunc(value.number) == value.number && value.number >= -2147483648.0 &&
                value.number <= 2147483647.0) {
                out.vt = VT_I4;
                out.lVal = static_cast<LONG>(value.number);
            } else {
                out.vt = VT_R8;
                out.dblVal = value.number;
            }
            return;
        case AutoValue::Type::Text:
            SetText(out, value.text);
            return;
        case AutoValue::Type::Bool:
            out.vt = VT_BOOL;
            out.boolVal = value.truth ? VARIANT_TRUE : VARIANT_FALSE;
            return;
        case AutoValue::Type::Date:
            if (SecondsToVariantDate(value.date, out.date)) out.vt = VT_DATE;
            return;
        case AutoValue::Type::Error:
            out.vt = VT_ERROR;
            out.scode = static_cast<SCODE>(static_cast<int64_t>(value.number));
            return;
        case AutoValue::Type::Object: {
            const auto* object = dynamic_cast<const DispatchObject*>(value.object.get());
            if (object == nullptr) return;
            out.vt = VT_DISPATCH;
            out.pdispVal = object->Get();
            out.pdispVal->AddRef();
            return;
        }
        case AutoValue::Type::Array: {
            if (depth >= kMaxNesting) return;
            SAFEARRAY* array = ::SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(value.array.size()));
            if (array == nullptr) return;
            for (size_t i = 0; i < value.array.size(); ++i) {
                ScopedVariant element;
                ToVariant(value.array[i], *element.Get(), depth + 1);
                LONG index = static_cast<LONG>(i);
                ::SafeArrayPutElement(array, &index, element.Get());  // copies the element
            }
            out.vt = VT_ARRAY | VT_VARIANT;
            out.parray = array;
            return;
        }
    }
}

AutoValue FromVariant(const VARIANT& in, int depth = 0);

AutoValue FromSafeArray(SAFEARRAY* array, VARTYPE type, int depth) {
    AutoValue list{AutoValue::Type::Array};
    if (array == nullptr || depth >= kMaxNesting) return list;
    size_t count = 1;
    for (UINT d = 0; d < array->cDims; ++d) count *= array->rgsabound[d].cElements;
    const UINT size = ::SafeArrayGetElemsize(array);
    void* data = nullptr;
    if (FAILED(::SafeArrayAccessData(array, &data))) return list;
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* element = bytes + i * size;
        if (type == VT_VARIANT) {
            list.array.push_back(FromVariant(*reinterpret_cast<const VARIANT*>(element), depth + 1));
        } else if (size <= sizeof(LONGLONG)) {
            // The element as the payload of a variant of its type, borrowed:
            // never cleared here.
            VARIANT borrowed;
            ::VariantInit(&borrowed);
            borrowed.vt = type;
            std::memcpy(&borrowed.llVal, element, size);
            list.array.push_back(FromVariant(borrowed, depth + 1));
        } else {
            list.array.push_back(AutoValue{});
        }
    }
    ::SafeArrayUnaccessData(array);
    return list;
}

AutoValue FromVariant(const VARIANT& in, int depth) {
    if ((in.vt & VT_BYREF) != 0) {
        ScopedVariant copy;
        if (FAILED(::VariantCopyInd(copy.Get(), const_cast<VARIANT*>(&in)))) return {};
        return FromVariant(*copy, depth);
    }
    if ((in.vt & VT_ARRAY) != 0) return FromSafeArray(in.parray, static_cast<VARTYPE>(in.vt & VT_TYPEMASK), depth);
    switch (in.vt) {
        case VT_EMPTY:
        case VT_NULL: return {};
        case VT_BSTR: return AutoValue::Text(BstrText(in.bstrVal));
        case VT_BOOL: return AutoValue::Bool(in.boolVal != VARIANT_FALSE);
        case VT_DATE: return AutoValue::Date(VariantDateToSeconds(in.date));
        case VT_ERROR: {
            AutoValue error{AutoValue::Type::Error};
            error.number = static_cast<double>(static_cast<uint32_t>(in.scode));
            return error;
        }
        case VT_DISPATCH: return in.pdispVal != nullptr ? AutoValue::Object(WrapDispatch(ShareDispatch(in.pdispVal))) : AutoValue{};
        case VT_UNKNOWN: {
            IDispatch* dispatch = nullptr;
            if (in.punkVal == nullptr || FAILED(in.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
                return {};
            }
            return AutoValue::Object(WrapDispatch(DispatchRef(dispatch)));
        }
        case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
        case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
        case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL: {
            ScopedVariant number;
            if (!ConvertVariant(in, VT_R8, number)) return {};
            return AutoValue::Number((*number).dblVal);
        }
        default: {
            ScopedVariant text;
            if (!ConvertVariant(in, VT_BSTR, text)) return {};
            return FromVariant(*text, depth);
        }
    }
}

}  // namespace

AutoObjectRef Win32Automation::DoCreateObject(std::u16string_view progId) {
    return WrapDispatch(CreateDispatch(progId));
}

// A method call also takes a property read, as automation clients call, so
// that obj.Item(key) reads an indexed property.
std::optional<AutoValue> Win32Automation::DoInvoke(AutoObject& object, const AutoMember& member, uint16_t flag,
                                                   std::span<const AutoValue> args) {
    auto* target = dynamic_cast<DispatchObject*>(&object);
    if (target == nullptr) return std::nullopt;
    DISPID dispid = member.dispid;
    if (!member.name.empty()) {
        const std::optional<DISPID> named = MemberId(target->Get(), member.name);
        if (!named) return std::nullopt;
        dispid = *named;
    }
    DispatchArguments variants(args.size());
    for (size_t i = 0; i < args.size(); ++i) ToVariant(args[i], variants[i]);
    const WORD flags = flag == dispatch::kMethod ? DISPATCH_METHOD | DISPATCH_PROPERTYGET : flag;
    ScopedVariant result;
    if (FAILED(InvokeMember(target->Get(), dispid, flags, variants, result.Get()))) return std::nullopt;
    return FromVariant(*result);
}

}  // namespace ovrix::win32
