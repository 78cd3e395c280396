// ADO connections through the "ADODB.Connection" automation object, called
// by name through IDispatch: Open and Execute on the connection; EOF,
// MoveNext and Fields on the record set; Count and Item on the fields; Value
// on a field. Any error of the provider or of a call reads as failure (no
// connection, no record set) or as the end of the rows, never as a crash.
#include <ole2.h>
#include <oleauto.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/win32/Wide.h"
#include "platform/win32/Win32Databases.h"

namespace ovrix::win32 {

namespace {

// COM for the calling thread, started on its first ADO call and kept: the
// playback thread is the only caller. A thread already in another
// apartment model serves as it is.
bool ComReady() {
    thread_local const HRESULT started = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(started) || started == RPC_E_CHANGED_MODE;
}

class Variant {
public:
    Variant() { ::VariantInit(&value_); }
    explicit Variant(std::u16string_view text) : Variant() {
        V_VT(&value_) = VT_BSTR;
        V_BSTR(&value_) = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                               static_cast<UINT>(text.size()));
    }
    explicit Variant(int32_t number) : Variant() {
        V_VT(&value_) = VT_I4;
        V_I4(&value_) = number;
    }
    ~Variant() { ::VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* Get() { return &value_; }
    // The value as text (NULL and nothing as the empty text); nullopt when it
    // has no text form.
    std::optional<std::u16string> Text() {
        if (V_VT(&value_) == VT_NULL || V_VT(&value_) == VT_EMPTY) return std::u16string();
        Variant text;
        if (FAILED(::VariantChangeType(text.Get(), &value_, 0, VT_BSTR))) return std::nullopt;
        const BSTR b = V_BSTR(text.Get());
        return std::u16string(reinterpret_cast<const char16_t*>(b), ::SysStringLen(b));
    }

private:
    VARIANT value_;
};

// An owned interface pointer.
class Dispatch {
public:
    Dispatch() = default;
    explicit Dispatch(IDispatch* p) : p_(p) {}
    ~Dispatch() {
        if (p_ != nullptr) p_->Release();
    }
    Dispatch(Dispatch&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    Dispatch& operator=(Dispatch&&) = delete;

    IDispatch* Get() const { return p_; }
    IDispatch** Out() { return &p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    IDispatch* p_ = nullptr;
};

// Calls the member by name with its arguments in written order.
bool Invoke(IDispatch* object, const wchar_t* member, WORD flags, std::vector<Variant*> args, Variant* result) {
    if (object == nullptr) return false;
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(member);
    if (FAILED(object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id))) return false;
    // IDispatch takes the arguments last first.
    std::vector<VARIANTARG> reversed;
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(*(*it)->Get());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    return SUCCEEDED(object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                    result != nullptr ? result->Get() : nullptr, nullptr, nullptr));
}

// A property or item that is itself an object.
Dispatch GetObject(IDispatch* object, const wchar_t* member, std::vector<Variant*> args = {}) {
    Variant value;
    if (!Invoke(object, member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, std::move(args), &value) ||
        V_VT(value.Get()) != VT_DISPATCH || V_DISPATCH(value.Get()) == nullptr) {
        return {};
    }
    IDispatch* p = V_DISPATCH(value.Get());
    p->AddRef();
    return Dispatch(p);
}

class AdoRecordSet final : public DbRecordSet {
public:
    explicit AdoRecordSet(Dispatch records) : records_(std::move(records)) {}

    // A closed record set (a statement without rows) answers no EOF: it is
    // at its end.
    bool AtEnd() override {
        Variant eof;
        if (!Invoke(records_.Get(), L"EOF", DISPATCH_PROPERTYGET, {}, &eof)) return true;
        Variant truth;
        return FAILED(::VariantChangeType(truth.Get(), eof.Get(), 0, VT_BOOL)) || V_BOOL(truth.Get()) != VARIANT_FALSE;
    }
    int32_t FieldCount() override {
        Variant count;
        Variant number;
        if (!Invoke(GetObject(records_.Get(), L"Fields").Get(), L"Count", DISPATCH_PROPERTYGET, {}, &count) ||
            FAILED(::VariantChangeType(number.Get(), count.Get(), 0, VT_I4))) {
            return 0;
        }
        return V_I4(number.Get());
    }
    void MoveNext() override { Invoke(records_.Get(), L"MoveNext", DISPATCH_METHOD, {}, nullptr); }
    std::optional<std::u16string> FieldByIndex(int32_t index) override {
        Variant key(index);
        return Value(key);
    }
    std::optional<std::u16string> FieldByName(std::u16string_view name) override {
        Variant key(name);
        return Value(key);
    }

private:
    std::optional<std::u16string> Value(Variant& key) {
        const Dispatch fields = GetObject(records_.Get(), L"Fields");
        const Dispatch field = GetObject(fields.Get(), L"Item", {&key});
        Variant value;
        if (!Invoke(field.Get(), L"Value", DISPATCH_PROPERTYGET, {}, &value)) return std::nullopt;
        return value.Text();
    }

    Dispatch records_;
};

class AdoConnection final : public DbConnection {
public:
    explicit AdoConnection(Dispatch connection) : connection_(std::move(connection)) {}

    std::unique_ptr<DbRecordSet> Execute(std::u16string_view sql) override {
        Variant text(sql);
        Dispatch records = GetObject(connection_.Get(), L"Execute", {&text});
        if (!records) return nullptr;
        return std::make_unique<AdoRecordSet>(std::move(records));
    }

private:
    Dispatch connection_;
};

}  // namespace

std::unique_ptr<DbConnection> OpenAdoConnection(std::u16string_view connectionString) {
    CLSID id;
    Dispatch connection;
    if (!ComReady() || FAILED(::CLSIDFromProgID(L"ADODB.Connection", &id)) ||
        FAILED(::CoCreateInstance(id, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                  reinterpret_cast<void**>(connection.Out())))) {
        return nullptr;
    }
    Variant text(connectionString);
    if (!Invoke(connection.Get(), L"Open", DISPATCH_METHOD, {&text}, nullptr)) return nullptr;
    return std::make_unique<AdoConnection>(std::move(connection));
}

}  // namespace ovrix::win32
