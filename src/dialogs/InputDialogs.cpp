#include "dialogs/InputDialogs.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "expr/KindsObject.h"

namespace ovrix {

namespace {

constexpr std::u16string_view kSelectOnlyPrompt = u"Please select a value:";
constexpr std::u16string_view kSelectOrEnterPrompt = u"Please select or enter a value:";

// Case folding as the list control compares: letters of the Latin ranges
// the dialogs meet, each to its lower case.
char16_t Fold(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
    return c;
}

bool FoldedLess(std::u16string_view a, std::u16string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return Fold(x) < Fold(y); });
}

bool StartsWithFolded(std::u16string_view text, std::u16string_view prefix) {
    if (prefix.size() > text.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (Fold(text[i]) != Fold(prefix[i])) return false;
    }
    return true;
}

void AddLines(std::u16string_view text, std::vector<std::u16string>& items) {
    while (!text.empty()) {
        const size_t end = text.find(u"\r\n");
        const std::u16string_view line = text.substr(0, end);
        if (!line.empty()) items.emplace_back(line);
        text = end == std::u16string_view::npos ? std::u16string_view() : text.substr(end + 2);
    }
}

bool IsSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// "%d": blanks, a sign, decimal digits; beyond 32 bits it stops at the
// nearest end of the range instead of overflowing.
double ReadDecimal(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    int64_t magnitude = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = std::min(magnitude * 10 + (text[i] - u'0'), kLimit);
    }
    const int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return static_cast<double>(value);
}

// "%X" after the "0x" the caller found: hexadecimal digits into a 32-bit
// word, shown as the signed integer it holds (0xFFFFFFFF is -1); digits past
// the eighth push the oldest out.
double ReadHex(std::u16string_view digits) {
    uint32_t word = 0;
    for (char16_t c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) break;
        word = (word << 4) | static_cast<uint32_t>(digit);
    }
    return static_cast<double>(static_cast<int32_t>(word));
}

// "%lf": the text's ASCII beginning through the C library's reading, which
// accepts what the format does (blanks, sign, exponent, inf and nan) and
// answers infinity rather than overflowing.
double ReadReal(std::u16string_view text) {
    std::string ascii;
    ascii.reserve(text.size());
    for (char16_t c : text) {
        if (c == 0 || c > 0x7F) break;
        ascii.push_back(static_cast<char>(c));
    }
    return std::strtod(ascii.c_str(), nullptr);
}

}  // namespace

std::u16string DialogCaption(std::u16string_view title, std::u16string_view defaultTitle) {
    return std::u16string(title.empty() ? defaultTitle : title);
}

InputBoxRequest MakeInputBoxRequest(std::u16string_view prompt, std::u16string_view defaultText,
                                    std::u16string_view title, std::u16string_view defaultTitle, bool multiLine) {
    InputBoxRequest request;
    request.caption = DialogCaption(title, defaultTitle);
    request.prompt = std::u16string(prompt);
    request.text = std::u16string(defaultText);
    request.multiLine = multiLine;
    return request;
}

std::vector<std::u16string> SelectListItems(const PExprItem& itemsOrText) {
    std::vector<std::u16string> items;
    if (const auto* array = ItemAs<AnyArray>(itemsOrText)) {
        for (const PExprItem& element : array->elements) {
            std::u16string text = AsText(element);
            if (!text.empty()) items.push_back(std::move(text));
        }
        return items;
    }
    AddLines(AsText(itemsOrText), items);
    return items;
}

SelectListRequest MakeSelectListRequest(std::vector<std::u16string> items, bool selectOnly, std::u16string_view prompt,
                                        std::u16string_view title, std::u16string_view defaultItem) {
    SelectListRequest request;
    request.caption = std::u16string(title);
    request.prompt = std::u16string(!prompt.empty() ? prompt : selectOnly ? kSelectOnlyPrompt : kSelectOrEnterPrompt);
    request.selectOnly = selectOnly;
    request.items = std::move(items);
    request.defaultItem = std::u16string(defaultItem);
    return request;
}

std::vector<std::u16string> ShownItems(const SelectListRequest& request) {
    std::vector<std::u16string> shown = request.items;
    if (request.selectOnly) std::stable_sort(shown.begin(), shown.end(), FoldedLess);
    return shown;
}

std::optional<size_t> PreselectedItem(const std::vector<std::u16string>& shown, std::u16string_view defaultItem) {
    if (defaultItem.empty()) return std::nullopt;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (StartsWithFolded(shown[i], defaultItem)) return i;
    }
    return std::nullopt;
}

std::u16string OpeningSelection(const SelectListRequest& request) {
    const std::vector<std::u16string> shown = ShownItems(request);
    if (const auto index = PreselectedItem(shown, request.defaultItem)) return shown[*index];
    return request.selectOnly ? std::u16string() : request.defaultItem;
}

double ReadInputNumber(std::u16string_view answer) {
    if (answer.find(u'.') != std::u16string_view::npos) return ReadReal(answer);
    if (answer.size() >= 2 && answer[0] == u'0' && (answer[1] == u'x' || answer[1] == u'X')) {
        return ReadHex(answer.substr(2));
    }
    return ReadDecimal(answer);
}

}  // namespace ovrix
