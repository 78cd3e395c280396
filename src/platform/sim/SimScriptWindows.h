// Script-made windows on the simulated desktop. They live in the simulated
// window list (SimWindows), so the window functions and steps find them: a
// top-level window or dialog is a window of its own (a dialog remembers the
// window that owns it), a control is a child of its parent. A window made
// without a place stands at (100, 100); without a size it is 640 x 480.
//
// Their procedure hands a message to its handler script and otherwise does
// what the system would: WM_CLOSE destroys the window, and the rest is
// answered as any simulated window answers it. Button checks, list rows and
// progress positions are kept here.
//
// The person's doings are `events`: a control's command or a message for a
// script-made window, each at a virtual time, delivered by the first
// message dispatch at or after it to the live script-made window of that
// title (dropped when there is none). Posted messages wait for the next
// dispatch too.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ScriptWindows.h"
#include "platform/sim/SimWindows.h"

namespace ovrix {

struct SimWindowEvent {
    uint64_t atMs = 0;
    std::u16string window;             // the title
    std::optional<int32_t> command;    // a control's id: WM_COMMAND with BN_CLICKED
    std::optional<uint32_t> message;   // else this message, both parameters 0
};

class SimScriptWindows final : public ScriptWindows {
public:
    explicit SimScriptWindows(SimWindows& windows);
    ~SimScriptWindows() override;

    // In ascending time.
    std::vector<SimWindowEvent> events;
    // What the message dispatch at virtual time `nowMs` delivers.
    void Dispatch(uint64_t nowMs);

    bool IsEnabled(WindowId window) override;
    void Enable(WindowId window, bool enable) override;
    WindowId ActiveWindow() override { return windows_.GetForegroundWindow(); }
    void SetActive(WindowId window) override { windows_.Raise(window); }
    void Redraw(WindowId) override {}
    void Repaint(WindowId) override {}
    WindowId ParentOf(WindowId window) override;
    int64_t DefaultProcessing(WindowId window, uint32_t message, int64_t wParam, int64_t lParam) override;
    int32_t ControlId(WindowId window) override;

    bool GetCheck(WindowId button) override;
    void SetCheck(WindowId button, bool check) override;

    void ListSetExtendedStyle(WindowId list, uint32_t style) override;
    void ListInsertColumn(WindowId list, int32_t column, std::u16string_view heading, uint32_t format,
                          int32_t width) override;
    void ListInsertItem(WindowId list, int32_t item, std::u16string_view text) override;
    void ListSetItemText(WindowId list, int32_t item, int32_t subItem, std::u16string_view text) override;
    std::u16string ListGetItemText(WindowId list, int32_t item, int32_t subItem) override;
    int32_t ListItemCount(WindowId list) override;
    void ListSetCheck(WindowId list, int32_t item, bool check) override;
    bool ListGetCheck(WindowId list, int32_t item) override;
    void ListEnsureVisible(WindowId, int32_t) override {}
    void ListSelect(WindowId list, int32_t item, bool select, bool unselectOthers) override;
    int32_t ListNextSelected(WindowId list, int32_t from) override;

    void ProgressSetRange(WindowId bar, int32_t lower, int32_t upper) override;
    int32_t ProgressPos(WindowId bar) override;
    std::pair<int32_t, int32_t> ProgressRange(WindowId bar) override;
    void ProgressSetPos(WindowId bar, int32_t pos) override;
    void ProgressStep(WindowId bar, int32_t delta) override;

    // What a test reads of a list control.
    struct ListRow {
        std::vector<std::u16string> texts;  // item text, then sub-items
        bool checked = false;
        bool selected = false;
    };
    struct Control {
        ScriptWindowKind kind = ScriptWindowKind::kWindow;
        WindowId owner = kNoWindow;
        bool enabled = true;
        bool checked = false;
        uint32_t extendedStyle = 0;
        std::vector<std::u16string> columns;
        std::vector<ListRow> rows;
        int32_t lower = 0, upper = 100, pos = 0;
        VBmp image;
    };
    const Control* Find(WindowId window) const;

protected:
    WindowId DoCreate(const ScriptWindowRequest& request) override;
    void DoDestroy(WindowId window) override;
    std::u16string Title(WindowId window) override { return windows_.GetTitle(window); }
    bool Exists(WindowId window) override { return windows_.IsWindow(window); }

private:
    std::optional<int64_t> Procedure(WindowId window, uint32_t message, int64_t wParam, int64_t lParam, bool posted);
    int64_t Handle(WindowId window, uint32_t message, int64_t wParam, int64_t lParam);
    Control* At(WindowId window, ScriptWindowKind kind);
    ListRow* Row(WindowId list, int32_t item);
    WindowId ByTitle(const std::u16string& title);

    struct Posted {
        WindowId window;
        uint32_t message;
        int64_t wParam, lParam;
    };

    SimWindows& windows_;
    std::map<WindowId, Control> controls_;
    std::deque<Posted> posted_;
    size_t eventsDone_ = 0;
};

}  // namespace ovrix
