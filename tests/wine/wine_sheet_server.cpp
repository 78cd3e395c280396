// ovrix-wine-sheet-server.dll: a spreadsheet application for the Windows
// end-to-end tests, where none is installed. An in-process automation server
// whose class the tests register under the ProgID "Excel.Application"; its
// objects answer IDispatch with the simulated desktop's spreadsheet model
// (SimSpreadsheet) behind them, so that both desktops play workbook scripts
// against the same behaviour.
//
// Names map to the application's fixed dispatch identifiers (Worksheets,
// Item, Cells, Add, Name, Save) and to ids of our own for the rest; a call by
// a fixed identifier reaches the model by identifier, any other by name.
//
// A saved workbook is also written to its file, one line a cell under a line
// per sheet, UTF-8:
//   [Sheet1]
//   2,3=text            (row,column=value)
// and a workbook opened from a file the model has not seen is read from it
// in that form, so the tests can check and prepare files from the outside.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <fstream>
#include <string>

#include "container/Text.h"
#include "platform/sim/SimAutomation.h"
#include "platform/sim/SimSpreadsheet.h"

namespace {

using ovrix::AutoMember;
using ovrix::AutoObjectRef;
using ovrix::AutoValue;
using ovrix::SimObject;

// {5E1F0C7A-3B2D-4C8E-9A61-0D2F4B7C8E15}
constexpr CLSID kClassId = {0x5e1f0c7a, 0x3b2d, 0x4c8e, {0x9a, 0x61, 0x0d, 0x2f, 0x4b, 0x7c, 0x8e, 0x15}};

struct Name {
    const wchar_t* name;
    DISPID id;
    bool fixed;  // the application's own identifier: the model is called by it
};
constexpr Name kNames[] = {
    {L"Worksheets", 0x1EE, true}, {L"Item", 0xAA, true},        {L"Cells", 0xEE, true},
    {L"Add", 0xB5, true},         {L"Name", 0x6E, true},        {L"Save", 0x11B, true},
    {L"Visible", 1001, false},    {L"DisplayAlerts", 1002, false}, {L"Workbooks", 1003, false},
    {L"Quit", 1004, false},       {L"Open", 1005, false},       {L"SaveAs", 1006, false},
    {L"Value", 1007, false},      {L"Rows", 1008, false},       {L"Columns", 1009, false},
    {L"UsedRange", 1010, false},  {L"Count", 1011, false},      {L"Delete", 1012, false},
    {L"Row", 1013, false},        {L"Column", 1014, false},
};

std::shared_ptr<ovrix::SimSpreadsheetFiles>& Files() {
    static auto files = std::make_shared<ovrix::SimSpreadsheetFiles>();
    return files;
}

std::u16string FromWide(const wchar_t* s, size_t n) { return std::u16string(reinterpret_cast<const char16_t*>(s), n); }
std::wstring ToWide(const std::u16string& s) { return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size()); }

std::string Utf8(const std::u16string& s) {
    const std::wstring w = ToWide(s);
    const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
    return out;
}
std::u16string FromUtf8(const std::string& s) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
    return FromWide(out.data(), out.size());
}

std::string CellText(const AutoValue& v) {
    switch (v.type) {
        case AutoValue::Type::Text: return Utf8(v.text);
        case AutoValue::Type::Bool: return v.truth ? "True" : "False";
        case AutoValue::Type::Number: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.15g", v.number);
            return buf;
        }
        default: return "";
    }
}

// Every saved workbook to its file (the model keys them by lower-case path,
// which names the same file on this system).
void WriteSaved() {
    for (const auto& [path, sheets] : Files()->saved) {
        std::ofstream out(ToWide(path).c_str(), std::ios::binary | std::ios::trunc);
        for (const ovrix::SimSheet& sheet : sheets) {
            out << '[' << Utf8(sheet.name) << "]\n";
            for (const auto& [at, value] : sheet.cells) {
                out << at.first << ',' << at.second << '=' << CellText(value) << '\n';
            }
        }
    }
}

// Reads a workbook file into the model unless it holds the workbook already.
void ReadUnseen(const std::u16string& path) {
    const std::u16string key = ovrix::LowerCase(path);
    if (Files()->saved.count(key) != 0) return;
    std::ifstream in(ToWide(path).c_str(), std::ios::binary);
    if (!in) return;
    std::vector<ovrix::SimSheet> sheets;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sheets.push_back({FromUtf8(line.substr(1, line.size() - 2)), {}});
            continue;
        }
        int row = 0, column = 0, used = 0;
        if (sheets.empty() || std::sscanf(line.c_str(), "%d,%d=%n", &row, &column, &used) != 2 || used == 0) continue;
        sheets.back().cells[{row, column}] = AutoValue::Text(FromUtf8(line.substr(static_cast<size_t>(used))));
    }
    if (!sheets.empty()) Files()->saved[key] = std::move(sheets);
}

bool ToAuto(const VARIANT& in, AutoValue& out) {
    const VARIANT* v = &in;
    if (v->vt == (VT_BYREF | VT_VARIANT)) v = v->pvarVal;
    switch (v->vt) {
        case VT_EMPTY: out = AutoValue{}; return true;
        case VT_BSTR: out = AutoValue::Text(FromWide(v->bstrVal, SysStringLen(v->bstrVal))); return true;
        case VT_BOOL: out = AutoValue::Bool(v->boolVal != VARIANT_FALSE); return true;
        default: break;
    }
    VARIANT number;
    VariantInit(&number);
    // The source is only read, whatever the declaration says.
    if (FAILED(VariantChangeType(&number, const_cast<VARIANT*>(v), 0, VT_R8))) return false;
    out = AutoValue::Number(number.dblVal);
    return true;
}

void ToVariant(const AutoValue& in, VARIANT* out);

// One model object behind the dispatch interface.
class Dispatch final : public IDispatch {
public:
    explicit Dispatch(AutoObjectRef object) : object_(std::move(object)) {}
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count != nullptr) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info != nullptr) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            // Only the member is looked up; argument names are not taken.
            if (i > 0) {
                hr = DISP_E_UNKNOWNNAME;
                continue;
            }
            for (const Name& n : kNames) {
                if (_wcsicmp(n.name, names[i]) == 0) ids[i] = n.id;
            }
            if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* argError) override {
        const Name* name = nullptr;
        for (const Name& n : kNames) {
            if (n.id == id) name = &n;
        }
        if (name == nullptr) return DISP_E_MEMBERNOTFOUND;
        const AutoMember member =
            name->fixed ? AutoMember{u"", id} : AutoMember{FromWide(name->name, std::wcslen(name->name))};
        // A method called with the property-get flag as well is a method.
        const uint16_t flag = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) ? ovrix::dispatch::kPropertyPut
                              : (flags & DISPATCH_METHOD)                             ? ovrix::dispatch::kMethod
                                                                                      : ovrix::dispatch::kPropertyGet;
        std::vector<AutoValue> args;
        const UINT count = params != nullptr ? params->cArgs : 0;
        for (UINT i = count; i-- > 0;) {  // the last argument comes first
            AutoValue v;
            if (!ToAuto(params->rgvarg[i], v)) {
                if (argError != nullptr) *argError = i;
                return DISP_E_TYPEMISMATCH;
            }
            args.push_back(std::move(v));
        }
        if (member.name == u"Open" && args.size() == 1) ReadUnseen(args[0].text);
        const std::optional<AutoValue> answer =
            static_cast<SimObject&>(*object_).Call(member, flag, std::span<const AutoValue>(args));
        if (!answer) return DISP_E_EXCEPTION;
        if (id == 0x11B || member.name == u"SaveAs") WriteSaved();
        if (result != nullptr) ToVariant(*answer, result);
        return S_OK;
    }

private:
    std::atomic<ULONG> refs_{1};
    AutoObjectRef object_;
};

void ToVariant(const AutoValue& in, VARIANT* out) {
    VariantInit(out);
    switch (in.type) {
        case AutoValue::Type::Number:
            out->vt = VT_R8;
            out->dblVal = in.number;
            break;
        case AutoValue::Type::Text:
            out->vt = VT_BSTR;
            out->bstrVal = SysAllocStringLen(ToWide(in.text).c_str(), static_cast<UINT>(in.text.size()));
            break;
        case AutoValue::Type::Bool:
            out->vt = VT_BOOL;
            out->boolVal = in.truth ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case AutoValue::Type::Object:
            out->vt = VT_DISPATCH;
            out->pdispVal = new Dispatch(in.object);
            break;
        default: break;  // the model answers nothing else
    }
}

class Factory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The one factory lives as long as the library.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        auto* app = new Dispatch(ovrix::MakeSimSpreadsheet(Files()));
        const HRESULT hr = app->QueryInterface(riid, out);
        app->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory gFactory;

}  // namespace

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (clsid != kClassId) return CLASS_E_CLASSNOTAVAILABLE;
    return gFactory.QueryInterface(riid, out);
}

// The model keeps saved workbooks in memory: the library stays while the
// process does.
extern "C" HRESULT __stdcall DllCanUnloadNow() { return S_FALSE; }
