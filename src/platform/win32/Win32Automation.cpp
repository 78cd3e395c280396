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
#include <vector>

#include "platform/win32/WinApi.h"
#include "platform/win32/Wide.h"

#include <oleauto.h>

namespace ovrix::win32 {

namespace {

constexpr int kMaxNesting = 32;
constexpr int64_t kFileTimeEpochSeconds = 11644473600;  // 1601-01-01 to 1970-01-01

// A BSTR's text by its length, without the zero units that some servers
// count at its end (Wine's shell object does when it expands variables).
std::u16string BstrText(BSTR text) {
    std::wstring_view view(text != nullptr ? text : L"", text != nullptr ? ::SysStringLen(text) : 0);
    while (!view.empty() && view.back() == L'\0') view.remove_suffix(1);
    return FromWide(view);
}

// One dispatch interface, released with the object.
class DispatchObject final : public AutoObject {
public:
    // Takes over one reference.
    explicit DispatchObject(IDispatch* dispatch) : dispatch_(dispatch) {}
    ~DispatchObject() override { dispatch_->Release(); }
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    IDispatch* Get() const { return dispatch_; }
    uintptr_t Identity() const override { return reinterpret_cast<uintptr_t>(dispatch_); }
    std::u16string TypeName() const override {
        UINT count = 0;
        if (FAILED(dispatch_->GetTypeInfoCount(&count)) || count == 0) return {};
        ITypeInfo* info = nullptr;
        if (FAILED(dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) || info == nullptr) return {};
        BSTR name = nullptr;
        const HRESULT hr = info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        info->Release();
        std::u16string out = SUCCEEDED(hr) ? BstrText(name) : std::u16string();
        ::SysFreeString(name);
        return out;
    }

private:
    IDispatch* dispatch_;
};

// A variant cleared when it goes.
struct ScopedVariant {
    ScopedVariant() { ::VariantInit(&v); }
    ~ScopedVariant() { ::VariantClear(&v); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    VARIANT v;
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

AutoObjectRef WrapDispatch(IDispatch* dispatch) {
    if (dispatch == nullptr) return nullptr;
    dispatch->AddRef();
    return std::make_shared<DispatchObject>(dispatch);
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
            out.bstrVal = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(value.text.data()),
                                              static_cast<UINT>(value.text.size()));
            if (out.bstrVal != nullptr) out.vt = VT_BSTR;
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
                ToVariant(value.array[i], element.v, depth + 1);
                LONG index = static_cast<LONG>(i);
                ::SafeArrayPutElement(array, &index, &element.v);  // copies the element
            }
            out.vt = VT_ARRAY | VT_VARIANT;
            out.parray = array;
            return;
        }
    }
}

AutoValue FromVariant(const VARIANT& in, int depth = 0);

// The conversion calls read their source but are declared to take it
// writable.
VARIANT* Source(const VARIANT& v) { return const_cast<VARIANT*>(&v); }

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
        if (FAILED(::VariantCopyInd(&copy.v, Source(in)))) return {};
        return FromVariant(copy.v, depth);
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
        case VT_DISPATCH: return in.pdispVal != nullptr ? AutoValue::Object(WrapDispatch(in.pdispVal)) : AutoValue{};
        case VT_UNKNOWN: {
            IDispatch* dispatch = nullptr;
            if (in.punkVal == nullptr || FAILED(in.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
                return {};
            }
            return AutoValue::Object(std::make_shared<DispatchObject>(dispatch));
        }
        case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_INT:
        case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8: case VT_UINT:
        case VT_R4: case VT_R8: case VT_CY: case VT_DECIMAL: {
            ScopedVariant number;
            if (FAILED(::VariantChangeType(&number.v, Source(in), 0, VT_R8))) return {};
            return AutoValue::Number(number.v.dblVal);
        }
        default: {
            ScopedVariant text;
            if (FAILED(::VariantChangeType(&text.v, Source(in), 0, VT_BSTR))) return {};
            return FromVariant(text.v, depth);
        }
    }
}

// Arguments in the order the system wants them (the last first), cleared
// when the call is over.
class ArgumentVariants {
public:
    explicit ArgumentVariants(std::span<const AutoValue> args) : variants_(args.size()) {
        for (size_t i = 0; i < args.size(); ++i) {
            VARIANT& v = variants_[args.size() - 1 - i];
            ::VariantInit(&v);
            ToVariant(args[i], v);
        }
    }
    ~ArgumentVariants() {
        for (VARIANT& v : variants_) ::VariantClear(&v);
    }
    ArgumentVariants(const ArgumentVariants&) = delete;
    ArgumentVariants& operator=(const ArgumentVariants&) = delete;

    VARIANT* Data() { return variants_.empty() ? nullptr : variants_.data(); }
    UINT Count() const { return static_cast<UINT>(variants_.size()); }

private:
    std::vector<VARIANT> variants_;
};

}  // namespace

// A text in braces is a class id; anything else a ProgID. The object may
// live in the process or in a server of its own.
AutoObjectRef Win32Automation::DoCreateObject(std::u16string_view progId) {
    const std::wstring text = ToWide(progId);
    CLSID clsid{};
    const HRESULT found = !text.empty() && text.front() == L'{' ? ::CLSIDFromString(text.c_str(), &clsid)
                                                               : ::CLSIDFromProgID(text.c_str(), &clsid);
    if (FAILED(found)) return nullptr;
    IDispatch* dispatch = nullptr;
    if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, reinterpret_cast<void**>(&dispatch))) ||
        dispatch == nullptr) {
        return nullptr;
    }
    return std::make_shared<DispatchObject>(dispatch);
}

// A method call also takes a property read, as automation clients call, so
// that obj.Item(key) reads an indexed property. A property write names its
// value as the system requires. An exception inside the object comes back as
// a failed call: its texts are dropped.
std::optional<AutoValue> Win32Automation::DoInvoke(AutoObject& object, const AutoMember& member, uint16_t flag,
                                                   std::span<const AutoValue> args) {
    auto* target = dynamic_cast<DispatchObject*>(&object);
    if (target == nullptr) return std::nullopt;
    DISPID dispid = member.dispid;
    if (!member.name.empty()) {
        std::wstring name = ToWide(member.name);
        LPOLESTR names[] = {name.data()};
        if (FAILED(target->Get()->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid))) return std::nullopt;
    }
    ArgumentVariants variants(args);
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{variants.Data(), nullptr, variants.Count(), 0};
    if (flag == dispatch::kPropertyPut) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    const WORD flags = flag == dispatch::kMethod ? DISPATCH_METHOD | DISPATCH_PROPERTYGET : flag;
    ScopedVariant result;
    EXCEPINFO exception{};
    UINT argError = 0;
    const HRESULT hr = target->Get()->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                             &result.v, &exception, &argError);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    if (FAILED(hr)) return std::nullopt;
    return FromVariant(result.v);
}

}  // namespace ovrix::win32
