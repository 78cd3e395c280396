// A two-column property grid on a report-view list control: names on the
// left, values on the right, one value cell edited at a time by an in-place
// edit field (id 1) or, for a row that offers choices, an in-place drop-down
// list (id 2). Both are children of the list, hidden while nothing is edited.
// The invariant: at most one row is being edited (row_), and the control
// showing it is the only visible in-place control.
//
// The owner takes part through CallBack: it may refuse a new value and hears
// when an edit ends. Keys in the in-place controls: Enter ends the edit
// committed (Ctrl+Enter in the edit field then presses the dialog's OK), Esc
// drops the typed text, Up and Down move the edit to the row above or below.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/WinApi.h"

namespace ovrix::win32 {

class CPropList {
public:
    class CallBack {
    public:
        virtual ~CallBack() = default;
        // Non-zero refuses the text: the cell keeps its value.
        virtual uint32_t OnValueChange(CPropList& list, int row, const std::wstring& text) { return 0; }
        virtual void OnEndEdit(CPropList& list, int row, bool committed) {}
        // An edit has started on the row, its control shown and focused.
        virtual void OnStartEdit(CPropList& list, int row) {}
    };

    CPropList() = default;
    ~CPropList();
    CPropList(const CPropList&) = delete;
    CPropList& operator=(const CPropList&) = delete;

    // Takes over a report-view list control: two columns, full-row selection,
    // and the in-place controls created in `font`.
    void Attach(HWND list, HFONT font, CallBack* callback);
    void SetColumns(const std::wstring& nameTitle, int nameWidth, const std::wstring& valueTitle, int valueWidth);
    // Appends a row; with choices its value is edited by the drop-down list.
    int AddRow(const std::wstring& name, const std::wstring& value, std::vector<std::wstring> choices = {});

    int RowCount() const { return static_cast<int>(rows_.size()); }
    std::wstring Value(int row) const;
    int EditingRow() const { return row_; }
    HWND List() const { return list_; }
    HWND EditField() const { return edit_; }
    HWND DropDown() const { return combo_; }

    void StartEdit(int row);
    void EndEdit(bool committed, bool pressOk) { EndEditAndFocus(committed, pressOk, true); }

    uint32_t readOnly = 0;

private:
    struct Row {
        std::vector<std::wstring> choices;
    };

    void EndEditAndFocus(bool committed, bool pressOk, bool focusList);
    // The keys of the in-place controls; true when the key was taken.
    bool OnFloatKey(WPARAM key, bool inEditField);
    // The in-place control lost the focus to `gaining`.
    void OnFloatFocusLost(HWND gaining);
    void OnListClick(LPARAM point);

    static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    static LRESULT CALLBACK FloatProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    HWND list_ = nullptr;
    HWND edit_ = nullptr;   // the in-place edit field (CFloatEdit)
    HWND combo_ = nullptr;  // the in-place drop-down list (CFloatCombo)
    CallBack* callback_ = nullptr;
    std::vector<Row> rows_;
    int row_ = -1;
    uint32_t inEndEdit_ = 0;
    // The character message that follows a key the in-place control took.
    wchar_t swallowChar_ = 0;
};

}  // namespace ovrix::win32
