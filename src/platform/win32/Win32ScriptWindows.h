// Script-made windows on the real desktop: windows of the two classes
// "DefaultWindowClass" and "DefaultDialogClass" (which start-up registers
// with the default procedure) and controls of the system's classes. Every
// one is subclassed: its procedure offers each message to the script's
// handler first and otherwise paints with the window's colours (a picture
// box draws its image) or leaves the message to the class.
//
// Windows are made on the playback thread, so their procedures run there
// too, inside the message dispatch of the playback's waits: handlers play on
// the playback thread's state as the engine requires.
#pragma once

#include <map>

#include "platform/ScriptWindows.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WinApi.h"

namespace ovrix::win32 {

class Win32ScriptWindows final : public ScriptWindows {
public:
    Win32ScriptWindows() = default;
    ~Win32ScriptWindows() override;

    bool IsEnabled(WindowId window) override;
    void Enable(WindowId window, bool enable) override;
    WindowId ParentOf(WindowId window) override;
    WindowId ActiveWindow() override;
    void SetActive(WindowId window) override;
    void Redraw(WindowId window) override;
    void Repaint(WindowId window) override;
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
    void ListEnsureVisible(WindowId list, int32_t item) override;
    void ListSelect(WindowId list, int32_t item, bool select, bool unselectOthers) override;
    int32_t ListNextSelected(WindowId list, int32_t from) override;

    void ProgressSetRange(WindowId bar, int32_t lower, int32_t upper) override;
    int32_t ProgressPos(WindowId bar) override;
    std::pair<int32_t, int32_t> ProgressRange(WindowId bar) override;
    void ProgressSetPos(WindowId bar, int32_t pos) override;
    void ProgressStep(WindowId bar, int32_t delta) override;

protected:
    WindowId DoCreate(const ScriptWindowRequest& request) override;
    void DoDestroy(WindowId window) override;
    std::u16string Title(WindowId window) override;
    bool Exists(WindowId window) override;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);
    // The share of the procedure that is this program's; nullopt: the
    // class's processing follows.
    std::optional<LRESULT> Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> ControlColours(HWND control, HDC dc);
    bool PaintPicture(HWND box);
    HBRUSH BrushFor(uint32_t colour);

    std::map<WindowId, VBmp> pictures_;
    std::map<WindowId, bool> ownClass_;  // a window of the two classes, not a control
    std::map<uint32_t, UniqueBrush> brushes_;
};

}  // namespace ovrix::win32
