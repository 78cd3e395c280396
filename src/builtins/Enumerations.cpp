// The named value tables that built-in arguments refer to (window show
// states, dispatch flags, window messages, virtual keys, and the families'
// flag tables) and the registry root keys. All are constant: built once
// from the tables below and never changed, because descriptors' defaults
// and loaded Number values point at them.
#include <map>
#include <memory>

#include "builtins/FamilyTable.h"
#include "builtins/Registry.h"
#include "expr/NumberEnum.h"

namespace ovrix {

namespace {

struct NamedValue {
    int64_t value;
    const char16_t* name;
};

constexpr NamedValue kShowWindowType[] = {{5, u"Normal"}, {3, u"Maximized"}, {2, u"Minimized"}, {0, u"Hidden"}};

constexpr NamedValue kDispatchFlag[] = {
    {1, u"DISPATCH_METHOD"}, {2, u"DISPATCH_PROPERTYGET"}, {4, u"DISPATCH_PROPERTYPUT"}};

constexpr NamedValue kWindowMessage[] = {
    {0x102, u"WM_CHAR"},          {0x10, u"WM_CLOSE"},          {0x111, u"WM_COMMAND"},
    {0x2, u"WM_DESTROY"},         {0x100, u"WM_KEYDOWN"},       {0x101, u"WM_KEYUP"},
    {0x201, u"WM_LBUTTONDOWN"},   {0x202, u"WM_LBUTTONUP"},     {0x203, u"WM_LBUTTONDBLCLK"},
    {0x204, u"WM_RBUTTONDOWN"},   {0x205, u"WM_RBUTTONUP"},     {0x206, u"WM_RBUTTONDBLCLK"},
    {0x207, u"WM_MBUTTONDOWN"},   {0x208, u"WM_MBUTTONUP"},     {0x209, u"WM_MBUTTONDBLCLK"},
    {0x20A, u"WM_MOUSEWHEEL"},    {0x114, u"WM_HSCROLL"},       {0x115, u"WM_VSCROLL"},
};

// The named virtual keys; digits and letters are added by their character.
constexpr NamedValue kVirtualKey[] = {
    {0x01, u"VK_LBUTTON"}, {0x02, u"VK_RBUTTON"}, {0x03, u"VK_CANCEL"}, {0x04, u"VK_MBUTTON"},
    {0x05, u"VK_XBUTTON1"}, {0x06, u"VK_XBUTTON2"}, {0x08, u"VK_BACK"}, {0x09, u"VK_TAB"},
    {0x0C, u"VK_CLEAR"}, {0x0D, u"VK_RETURN"}, {0x10, u"VK_SHIFT"}, {0x11, u"VK_CONTROL"},
    {0x12, u"VK_MENU"}, {0x13, u"VK_PAUSE"}, {0x14, u"VK_CAPITAL"}, {0x15, u"VK_KANA"},
    {0x17, u"VK_JUNJA"}, {0x18, u"VK_FINAL"}, {0x19, u"VK_HANJA"}, {0x1B, u"VK_ESCAPE"},
    {0x1C, u"VK_CONVERT"}, {0x1D, u"VK_NONCONVERT"}, {0x1E, u"VK_ACCEPT"}, {0x1F, u"VK_MODECHANGE"},
    {0x20, u"VK_SPACE"}, {0x21, u"VK_PRIOR"}, {0x22, u"VK_NEXT"}, {0x23, u"VK_END"},
    {0x24, u"VK_HOME"}, {0x25, u"VK_LEFT"}, {0x26, u"VK_UP"}, {0x27, u"VK_RIGHT"},
    {0x28, u"VK_DOWN"}, {0x29, u"VK_SELECT"}, {0x2A, u"VK_PRINT"}, {0x2B, u"VK_EXECUTE"},
    {0x2C, u"VK_SNAPSHOT"}, {0x2D, u"VK_INSERT"}, {0x2E, u"VK_DELETE"}, {0x2F, u"VK_HELP"},
    {0x5B, u"VK_LWIN"}, {0x5C, u"VK_RWIN"}, {0x5D, u"VK_APPS"}, {0x5F, u"VK_SLEEP"},
    {0x60, u"VK_NUMPAD0"}, {0x61, u"VK_NUMPAD1"}, {0x62, u"VK_NUMPAD2"}, {0x63, u"VK_NUMPAD3"},
    {0x64, u"VK_NUMPAD4"}, {0x65, u"VK_NUMPAD5"}, {0x66, u"VK_NUMPAD6"}, {0x67, u"VK_NUMPAD7"},
    {0x68, u"VK_NUMPAD8"}, {0x69, u"VK_NUMPAD9"}, {0x6A, u"VK_MULTIPLY"}, {0x6B, u"VK_ADD"},
    {0x6C, u"VK_SEPARATOR"}, {0x6D, u"VK_SUBTRACT"}, {0x6E, u"VK_DECIMAL"}, {0x6F, u"VK_DIVIDE"},
    {0x70, u"VK_F1"}, {0x71, u"VK_F2"}, {0x72, u"VK_F3"}, {0x73, u"VK_F4"},
    {0x74, u"VK_F5"}, {0x75, u"VK_F6"}, {0x76, u"VK_F7"}, {0x77, u"VK_F8"},
    {0x78, u"VK_F9"}, {0x79, u"VK_F10"}, {0x7A, u"VK_F11"}, {0x7B, u"VK_F12"},
    {0x7C, u"VK_F13"}, {0x7D, u"VK_F14"}, {0x7E, u"VK_F15"}, {0x7F, u"VK_F16"},
    {0x80, u"VK_F17"}, {0x81, u"VK_F18"}, {0x82, u"VK_F19"}, {0x83, u"VK_F20"},
    {0x84, u"VK_F21"}, {0x85, u"VK_F22"}, {0x86, u"VK_F23"}, {0x87, u"VK_F24"},
    {0x90, u"VK_NUMLOCK"}, {0x91, u"VK_SCROLL"}, {0x92, u"VK_OEM_NEC_EQUAL"}, {0x93, u"VK_OEM_FJ_MASSHOU"},
    {0x94, u"VK_OEM_FJ_TOUROKU"}, {0x95, u"VK_OEM_FJ_LOYA"}, {0x96, u"VK_OEM_FJ_ROYA"},
    {0xA0, u"VK_LSHIFT"}, {0xA1, u"VK_RSHIFT"}, {0xA2, u"VK_LCONTROL"}, {0xA3, u"VK_RCONTROL"},
    {0xA4, u"VK_LMENU"}, {0xA5, u"VK_RMENU"}, {0xA6, u"VK_BROWSER_BACK"}, {0xA7, u"VK_BROWSER_FORWARD"},
    {0xA8, u"VK_BROWSER_REFRESH"}, {0xA9, u"VK_BROWSER_STOP"}, {0xAA, u"VK_BROWSER_SEARCH"},
    {0xAB, u"VK_BROWSER_FAVORITES"}, {0xAC, u"VK_BROWSER_HOME"}, {0xAD, u"VK_VOLUME_MUTE"},
    {0xAE, u"VK_VOLUME_DOWN"}, {0xAF, u"VK_VOLUME_UP"}, {0xB0, u"VK_MEDIA_NEXT_TRACK"},
    {0xB1, u"VK_MEDIA_PREV_TRACK"}, {0xB2, u"VK_MEDIA_STOP"}, {0xB3, u"VK_MEDIA_PLAY_PAUSE"},
    {0xB4, u"VK_LAUNCH_MAIL"}, {0xB5, u"VK_LAUNCH_MEDIA_SELECT"}, {0xB6, u"VK_LAUNCH_APP1"},
    {0xB7, u"VK_LAUNCH_APP2"}, {0xBA, u"VK_OEM_1"}, {0xBB, u"VK_OEM_PLUS"}, {0xBC, u"VK_OEM_COMMA"},
    {0xBD, u"VK_OEM_MINUS"}, {0xBE, u"VK_OEM_PERIOD"}, {0xBF, u"VK_OEM_2"}, {0xC0, u"VK_OEM_3"},
    {0xDB, u"VK_OEM_4"}, {0xDC, u"VK_OEM_5"}, {0xDD, u"VK_OEM_6"}, {0xDE, u"VK_OEM_7"},
    {0xDF, u"VK_OEM_8"}, {0xE1, u"VK_OEM_AX"}, {0xE2, u"VK_OEM_102"}, {0xE3, u"VK_ICO_HELP"},
    {0xE4, u"VK_ICO_00"}, {0xE5, u"VK_PROCESSKEY"}, {0xE6, u"VK_ICO_CLEAR"}, {0xE7, u"VK_PACKET"},
    {0xE9, u"VK_OEM_RESET"}, {0xEA, u"VK_OEM_JUMP"}, {0xEB, u"VK_OEM_PA1"}, {0xEC, u"VK_OEM_PA2"},
    {0xED, u"VK_OEM_PA3"}, {0xEE, u"VK_OEM_WSCTRL"}, {0xEF, u"VK_OEM_CUSEL"}, {0xF0, u"VK_OEM_ATTN"},
    {0xF1, u"VK_OEM_FINISH"}, {0xF2, u"VK_OEM_COPY"}, {0xF3, u"VK_OEM_AUTO"}, {0xF4, u"VK_OEM_ENLW"},
    {0xF5, u"VK_OEM_BACKTAB"}, {0xF6, u"VK_ATTN"}, {0xF7, u"VK_CRSEL"}, {0xF8, u"VK_EXSEL"},
    {0xF9, u"VK_EREOF"}, {0xFA, u"VK_PLAY"}, {0xFB, u"VK_ZOOM"}, {0xFC, u"VK_NONAME"},
    {0xFD, u"VK_PA1"}, {0xFE, u"VK_OEM_CLEAR"},
};
static_assert(std::size(kVirtualKey) == 156);

constexpr NamedValue kRegistryRoots[] = {
    {0x80000000, u"CLASSES_ROOT"},      {0x80000001, u"CURRENT_USER"},
    {0x80000002, u"LOCAL_MACHINE"},     {0x80000003, u"USERS"},
    {0x80000004, u"PERFORMANCE_DATA"},  {0x80000050, u"PERFORMANCE_TEXT"},
    {0x80000060, u"PERFORMANCE_NLSTEXT"}, {0x80000005, u"CURRENT_CONFIG"},
    {0x80000006, u"DYN_DATA"},
};

using EnumerationMap = std::map<std::u16string, std::unique_ptr<NumberEnum>, std::less<>>;

template <typename Values>
NumberEnum& Fill(EnumerationMap& tables, const char16_t* name, const Values& values) {
    std::unique_ptr<NumberEnum>& table = tables[name];
    if (!table) table = std::make_unique<NumberEnum>(name);
    for (const auto& v : values) table->Add(v.value, v.name);
    return *table;
}

EnumerationMap BuildEnumerations() {
    EnumerationMap tables;
    Fill(tables, u"ShowWindowType", kShowWindowType);
    Fill(tables, u"DispatchFlag", kDispatchFlag);
    Fill(tables, u"WindowMessage", kWindowMessage);
    NumberEnum& keys = Fill(tables, u"VirtualKey", kVirtualKey);
    for (char16_t c = u'0'; c <= u'9'; ++c) keys.Add(c, std::u16string(1, c));
    for (char16_t c = u'A'; c <= u'Z'; ++c) keys.Add(c, std::u16string(1, c));
    for (const FlagTable& flags : DialogFlagTables()) Fill(tables, flags.name, flags.pairs);
    for (const FlagTable& flags : ScriptWindowFlagTables()) Fill(tables, flags.name, flags.pairs);
    return tables;
}

// Built from kRegistryRoots on first use and never changed.
const std::map<std::u16string, uint32_t, std::less<>>& RegistryRoots() {
    static const auto roots = [] {
        std::map<std::u16string, uint32_t, std::less<>> built;
        for (const NamedValue& root : kRegistryRoots) built[root.name] = static_cast<uint32_t>(root.value);
        return built;
    }();
    return roots;
}

}  // namespace

const NumberEnum* FindLibraryEnumeration(std::u16string_view name) {
    static const EnumerationMap tables = BuildEnumerations();
    const auto it = tables.find(name);
    return it != tables.end() ? it->second.get() : nullptr;
}

bool FindRegistryRoot(std::u16string_view name, uint32_t& root) {
    const auto it = RegistryRoots().find(name);
    if (it == RegistryRoots().end()) return false;
    root = it->second;
    return true;
}

}  // namespace ovrix
