// ADO connections through the "ADODB.Connection" automation object, called
// by name through IDispatch: Open and Execute on the connection; EOF,
// MoveNext and Fields on the record set; Count and Item on the fields; Value
// on a field. Any error of the provider or of a call reads as failure (no
// connection, no record set) or as the end of the rows, never as a crash.
#include <memory>
#include <optional>
#include <utility>

#include "platform/win32/Dispatch.h"
#include "platform/win32/Win32Databases.h"

namespace ovrix::win32 {

namespace {

constexpr WORD kRead = DISPATCH_PROPERTYGET;
constexpr WORD kCall = DISPATCH_METHOD;

// Calls a member without arguments.
bool Invoke(IDispatch* object, std::u16string_view member, WORD flags, VARIANT* result) {
    DispatchArguments none(0);
    return InvokeByName(object, member, flags, none, result);
}

// A property or item that is itself an object; empty when it is not one.
DispatchRef GetObject(IDispatch* object, std::u16string_view member, DispatchArguments& args) {
    ScopedVariant value;
    if (!InvokeByName(object, member, kRead | kCall, args, value.Get()) || (*value).vt != VT_DISPATCH) return {};
    return ShareDispatch((*value).pdispVal);
}

DispatchRef GetObject(IDispatch* object, std::u16string_view member) {
    DispatchArguments none(0);
    return GetObject(object, member, none);
}

// A field's value as text (NULL and nothing as the empty text); nullopt when
// it has no text form.
std::optional<std::u16string> ValueText(const VARIANT& value) {
    if (value.vt == VT_NULL || value.vt == VT_EMPTY) return std::u16string();
    ScopedVariant text;
    if (!ConvertVariant(value, VT_BSTR, text)) return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>((*text).bstrVal), ::SysStringLen((*text).bstrVal));
}

class AdoRecordSet final : public DbRecordSet {
public:
    explicit AdoRecordSet(DispatchRef records) : records_(std::move(records)) {}

    // A closed record set (a statement without rows) answers no EOF: it is
    // at its end.
    bool AtEnd() override {
        ScopedVariant eof;
        ScopedVariant truth;
        return !Invoke(records_.Get(), u"EOF", kRead, eof.Get()) || !ConvertVariant(*eof, VT_BOOL, truth) ||
               (*truth).boolVal != VARIANT_FALSE;
    }
    int32_t FieldCount() override {
        ScopedVariant count;
        ScopedVariant number;
        if (!Invoke(GetObject(records_.Get(), u"Fields").Get(), u"Count", kRead, count.Get()) ||
            !ConvertVariant(*count, VT_I4, number)) {
            return 0;
        }
        return (*number).lVal;
    }
    void MoveNext() override { Invoke(records_.Get(), u"MoveNext", kCall, nullptr); }
    std::optional<std::u16string> FieldByIndex(int32_t index) override {
        DispatchArguments key(1);
        key[0].vt = VT_I4;
        key[0].lVal = index;
        return Value(key);
    }
    std::optional<std::u16string> FieldByName(std::u16string_view name) override {
        DispatchArguments key(1);
        SetText(key[0], name);
        return Value(key);
    }

private:
    std::optional<std::u16string> Value(DispatchArguments& key) {
        const DispatchRef fields = GetObject(records_.Get(), u"Fields");
        const DispatchRef field = GetObject(fields.Get(), u"Item", key);
        ScopedVariant value;
        if (!Invoke(field.Get(), u"Value", kRead, value.Get())) return std::nullopt;
        return ValueText(*value);
    }

    DispatchRef records_;
};

class AdoConnection final : public DbConnection {
public:
    explicit AdoConnection(DispatchRef connection) : connection_(std::move(connection)) {}

    std::unique_ptr<DbRecordSet> Execute(std::u16string_view sql) override {
        DispatchArguments text(1);
        SetText(text[0], sql);
        DispatchRef records = GetObject(connection_.Get(), u"Execute", text);
        if (!records) return nullptr;
        return std::make_unique<AdoRecordSet>(std::move(records));
    }

private:
    DispatchRef connection_;
};

}  // namespace

std::unique_ptr<DbConnection> OpenAdoConnection(std::u16string_view connectionString) {
    DispatchRef connection = CreateDispatch(u"ADODB.Connection");
    DispatchArguments text(1);
    SetText(text[0], connectionString);
    if (!connection || !InvokeByName(connection.Get(), u"Open", kCall, text, nullptr)) return nullptr;
    return std::make_unique<AdoConnection>(std::move(connection));
}

}  // namespace ovrix::win32
