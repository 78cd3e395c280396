// Key-name table. Digits and letters name themselves, F1 to F12 are numbered
// from code 112; every other name is listed.
#include "actions/KeyName.h"

#include <string_view>

namespace ovrix {

namespace {

struct NamedKey {
    uint32_t code;
    std::u16string_view name;
};

// Code 220 is listed on purpose: its name is the empty text.
constexpr NamedKey kNamedKeys[] = {
    {8, u"Backspace"},  {9, u"Tab"},         {13, u"Enter"},        {16, u"Shift"},     {160, u"Shift"},
    {161, u"Shift"},    {17, u"Ctrl"},       {162, u"Ctrl"},        {163, u"Ctrl"},     {18, u"Alt"},
    {164, u"Alt"},      {165, u"Alt"},       {20, u"Caps Lock"},    {27, u"Esc"},       {32, u"Space"},
    {33, u"Page Up"},   {34, u"Page Down"},  {35, u"End"},          {36, u"Home"},      {37, u"Left"},
    {38, u"Up"},        {39, u"Right"},      {40, u"Down"},         {44, u"Print Screen"},
    {45, u"Insert"},    {46, u"Delete"},     {91, u"Win"},          {92, u"Win"},       {93, u"Application"},
    {144, u"Num Lock"}, {186, u";"},         {187, u"="},           {188, u","},        {189, u"-"},
    {190, u"."},        {191, u"/"},         {192, u"`"},           {219, u"["},        {220, u""},
    {221, u"]"},        {222, u"'"},
};

constexpr uint32_t kNumpad0 = 96;
constexpr uint32_t kF1 = 112;

}  // namespace

std::u16string KeyName(uint32_t virtualKey) {
    for (const NamedKey& key : kNamedKeys) {
        if (key.code == virtualKey) return std::u16string(key.name);
    }
    if (virtualKey >= kNumpad0 && virtualKey <= kNumpad0 + 9) {
        return u"NUMPAD" + std::u16string(1, static_cast<char16_t>(u'0' + (virtualKey - kNumpad0)));
    }
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z')) {
        return std::u16string(1, static_cast<char16_t>(virtualKey));
    }
    if (virtualKey >= kF1 && virtualKey <= kF1 + 11) {
        const uint32_t n = virtualKey - kF1 + 1;
        std::u16string name = u"F";
        if (n >= 10) name += static_cast<char16_t>(u'0' + n / 10);
        name += static_cast<char16_t>(u'0' + n % 10);
        return name;
    }
    return {};
}

}  // namespace ovrix
