#include "platform/ClipboardHtml.h"

#include <cstdio>

#include "container/Text.h"

namespace ovrix {

namespace {

constexpr std::u16string_view kStartMarker = u"<!--StartFragment-->";
constexpr std::u16string_view kEndMarker = u"<!--EndFragment-->";

std::string Offset(size_t value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%010zu", value);
    return digits;
}

// The tag's text (between "<" and ">") starts with these letters, in either
// case, and a blank.
bool TagStartsWith(std::u16string_view tag, std::u16string_view letters) {
    if (tag.size() <= letters.size() || tag[letters.size()] != u' ') return false;
    for (size_t i = 0; i < letters.size(); ++i) {
        if (FoldCase(tag[i]) != letters[i]) return false;
    }
    return true;
}

}  // namespace

std::string HtmlFormatData(std::u16string_view markup) {
    const std::string before = "<html><body>\r\n<!--StartFragment-->";
    const std::string after = "<!--EndFragment-->\r\n</body></html>";
    const std::string fragment = ToUtf8(markup);
    // Every offset line has the same length, so the header's size is known
    // before its numbers are.
    const size_t headerSize = std::string("Version:0.9\r\n").size() + 4 * (10 + 2) +
                              std::string("StartHTML:EndHTML:StartFragment:EndFragment:").size();
    const size_t startFragment = headerSize + before.size();
    const size_t endFragment = startFragment + fragment.size();
    std::string data = "Version:0.9\r\nStartHTML:" + Offset(headerSize) + "\r\nEndHTML:" +
                       Offset(endFragment + after.size()) + "\r\nStartFragment:" + Offset(startFragment) +
                       "\r\nEndFragment:" + Offset(endFragment) + "\r\n";
    data += before;
    data += fragment;
    data += after;
    return data;
}

std::u16string HtmlFragmentText(std::u16string_view data) {
    const size_t start = data.find(kStartMarker);
    if (start == std::u16string_view::npos) return {};
    const size_t from = start + kStartMarker.size();
    const size_t end = data.find(kEndMarker);
    if (end == std::u16string_view::npos || end < from) return {};

    std::u16string text;
    const std::u16string_view fragment = data.substr(from, end - from);
    for (size_t i = 0; i < fragment.size();) {
        if (fragment[i] != u'<') {
            text += fragment[i++];
            continue;
        }
        const size_t close = fragment.find(u'>', i + 1);
        const std::u16string_view tag =
            fragment.substr(i + 1, (close == std::u16string_view::npos ? fragment.size() : close) - i - 1);
        if (TagStartsWith(tag, u"br") || (TagStartsWith(tag, u"div") && !text.empty())) text += u"\r\n";
        if (close == std::u16string_view::npos) break;
        i = close + 1;
    }
    return text;
}

}  // namespace ovrix
