#include "dialogs/ParameterItems.h"

#include "expr/KindsObject.h"
#include "expr/KindsValue.h"

namespace ovrix {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }

std::u16string_view TrimStart(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

std::u16string_view Trim(std::u16string_view text) {
    text = TrimStart(text);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<ParameterItem> ParseLine(std::u16string_view line) {
    // Leading '=' characters belong to no name: "==x" names x.
    while (!line.empty() && line.front() == u'=') line.remove_prefix(1);
    const size_t equals = line.find(u'=');
    std::u16string_view name = Trim(line.substr(0, equals));
    ParameterItem item;
    if (!name.empty() && name.back() == u'*') {
        while (!name.empty() && name.back() == u'*') name.remove_suffix(1);
        item.required = true;
    }
    if (name.empty()) return std::nullopt;
    item.name = std::u16string(name);
    if (equals != std::u16string_view::npos) item.value = std::u16string(TrimStart(line.substr(equals + 1)));
    return item;
}

const std::u16string& ValueAt(std::span<const std::u16string> values, size_t i) {
    static const std::u16string kEmpty;
    return i < values.size() ? values[i] : kEmpty;
}

}  // namespace

std::vector<ParameterItem> ParseParameterText(std::u16string_view text) {
    std::vector<ParameterItem> items;
    while (!text.empty()) {
        const size_t end = text.find(u"\r\n");
        const std::u16string_view line = text.substr(0, end);
        text = end == std::u16string_view::npos ? std::u16string_view() : text.substr(end + 2);
        if (line.empty()) continue;
        if (auto item = ParseLine(line)) items.push_back(std::move(*item));
    }
    return items;
}

std::optional<RefusedOk> CheckParameters(std::span<const ParameterItem> items,
                                         std::span<const std::u16string> values) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].required && ValueAt(values, i).empty()) {
            return RefusedOk{i, u"The value of \"" + items[i].name + u"\" can not be empty!"};
        }
    }
    return std::nullopt;
}

PExprItem ParametersResult(std::span<const ParameterItem> items, std::span<const std::u16string> values) {
    PExprItem result = MakeItem<ExprItem_NamedData>();
    auto* data = ItemAs<ExprItem_NamedData>(result);
    for (size_t i = 0; i < items.size(); ++i) data->Set(items[i].name, MakeItem<ExprItem_Text>(ValueAt(values, i)));
    return result;
}

}  // namespace ovrix
