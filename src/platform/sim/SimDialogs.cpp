// The simulated person answering the dialogs that ask: each dialog takes the
// next answer of the queue, and what the answer leaves out stays as the
// dialog opened. Where the real controls decide something (the sorted
// select-only list, the prefix preselection, OK refused on an empty
// required value) the portable decisions stand in for them.
#include "dialogs/InputDialogs.h"
#include "dialogs/ParameterItems.h"
#include "platform/sim/SimPlatform.h"

#include <algorithm>

namespace ovrix {

std::optional<SimDialogAnswer> SimPlatform::NextDialogAnswer() {
    Advance(options_.callCostUs);
    if (dialogAnswers.empty()) return std::nullopt;
    SimDialogAnswer answer = std::move(dialogAnswers.front());
    dialogAnswers.pop_front();
    return answer;
}

DialogAnswer SimPlatform::DoRunInputBox(const InputBoxRequest& request) {
    const auto answer = NextDialogAnswer();
    if (!answer || answer->button == DialogButton::Cancel) return {};
    return {DialogButton::Ok, answer->text.value_or(request.text)};
}

DialogAnswer SimPlatform::DoRunSelectList(const SelectListRequest& request) {
    const auto answer = NextDialogAnswer();
    if (!answer || answer->button == DialogButton::Cancel) return {};
    if (!answer->text) return {DialogButton::Ok, OpeningSelection(request)};
    if (!request.selectOnly) return {DialogButton::Ok, *answer->text};
    // A select-only list offers only its items: choosing anything else
    // leaves the selection as it opened.
    const bool listed = std::find(request.items.begin(), request.items.end(), *answer->text) != request.items.end();
    return {DialogButton::Ok, listed ? *answer->text : OpeningSelection(request)};
}

DialogButton SimPlatform::DoRunConfirmBox(const ConfirmRequest&) {
    const auto answer = NextDialogAnswer();
    return answer ? answer->button : DialogButton::Cancel;
}

InputParaAnswer SimPlatform::DoRunInputPara(const InputParaRequest& request) {
    // The rows keep what was typed while a refused OK leaves the dialog open.
    std::vector<std::u16string> values;
    for (const ParameterItem& item : request.items) values.push_back(item.value);
    while (const auto answer = NextDialogAnswer()) {
        if (answer->button == DialogButton::Cancel) return {};
        for (size_t i = 0; i < request.items.size(); ++i) {
            for (const auto& [name, value] : answer->values) {
                if (name == request.items[i].name) values[i] = value;
            }
        }
        const auto refused = CheckParameters(request.items, values);
        if (!refused) return {DialogButton::Ok, std::move(values)};
        ShowMessage(refused->message);
    }
    return {};
}

}  // namespace ovrix
