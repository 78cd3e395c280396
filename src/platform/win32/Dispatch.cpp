#include "platform/win32/Dispatch.h"

#include "platform/win32/Wide.h"

namespace ovrix::win32 {

DispatchRef ShareDispatch(IDispatch* dispatch) {
    if (dispatch != nullptr) dispatch->AddRef();
    return DispatchRef(dispatch);
}

void SetText(VARIANT& out, std::u16string_view text) {
    out.bstrVal = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()));
    if (out.bstrVal != nullptr) out.vt = VT_BSTR;
}

std::u16string BstrText(BSTR text) {
    std::wstring_view view(text != nullptr ? text : L"", text != nullptr ? ::SysStringLen(text) : 0);
    while (!view.empty() && view.back() == L'\0') view.remove_suffix(1);
    return FromWide(view);
}

// The conversion reads its source but is declared to take it writable.
bool ConvertVariant(const VARIANT& in, VARTYPE type, ScopedVariant& out) {
    return SUCCEEDED(::VariantChangeType(out.Get(), const_cast<VARIANT*>(&in), 0, type));
}

DispatchArguments::DispatchArguments(size_t count) : variants_(count) {
    for (VARIANT& v : variants_) ::VariantInit(&v);
}

DispatchArguments::~DispatchArguments() {
    for (VARIANT& v : variants_) ::VariantClear(&v);
}

DispatchRef CreateDispatch(std::u16string_view progId) {
    const std::wstring text = ToWide(progId);
    CLSID clsid{};
    const HRESULT found = !text.empty() && text.front() == L'{' ? ::CLSIDFromString(text.c_str(), &clsid)
                                                               : ::CLSIDFromProgID(text.c_str(), &clsid);
    if (FAILED(found)) return {};
    IDispatch* dispatch = nullptr;
    if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        return {};
    }
    return DispatchRef(dispatch);
}

std::optional<DISPID> MemberId(IDispatch* object, std::u16string_view name) {
    std::wstring text = ToWide(name);
    LPOLESTR names[] = {text.data()};
    DISPID id = DISPID_UNKNOWN;
    if (object == nullptr || FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
        return std::nullopt;
    }
    return id;
}

HRESULT InvokeMember(IDispatch* object, DISPID member, WORD flags, DispatchArguments& args, VARIANT* result) {
    if (object == nullptr) return E_POINTER;
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{args.Data(), nullptr, args.Count(), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT argError = 0;
    const HRESULT hr = object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &exception,
                                      &argError);
    ::SysFreeString(exception.bstrSource);
    ::SysFreeString(exception.bstrDescription);
    ::SysFreeString(exception.bstrHelpFile);
    return hr;
}

bool InvokeByName(IDispatch* object, std::u16string_view member, WORD flags, DispatchArguments& args,
                  VARIANT* result) {
    const std::optional<DISPID> id = MemberId(object, member);
    return id && SUCCEEDED(InvokeMember(object, *id, flags, args, result));
}

}  // namespace ovrix::win32
