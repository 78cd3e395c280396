// The asking dialogs on the real desktop, driven from inside their modal
// loops: a thread timer plays one step at a time, posting keys to the focused
// control so they pass through the dialog manager first; Ctrl is held by
// setting the thread's key state.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/CommonControls.h"
#include "platform/win32/InputBoxDialog.h"
#include "platform/win32/InputParaDialog.h"
#include "platform/win32/Resource.h"
#include "platform/win32/SelectListDialog.h"

namespace ovrix::win32 {
namespace {

// One step against the shown dialog; answers false to be tried again at the
// next tick (the dialog is not there yet, or not ready).
using DriverStep = std::function<bool(HWND dialog)>;

class DialogDriver {
public:
    explicit DialogDriver(std::vector<DriverStep> steps) : steps_(std::move(steps)) {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 20, &Tick);
    }
    ~DialogDriver() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
        Ctrl(false);
    }
    bool Finished() const { return next_ == steps_.size(); }

    static void Ctrl(bool down) {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = down ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }

private:
    static BOOL CALLBACK FindShown(HWND window, LPARAM found) {
        wchar_t className[16] = {};
        ::GetClassNameW(window, className, 16);
        if (::IsWindowVisible(window) && std::wstring(className) == L"#32770") {
            *reinterpret_cast<HWND*>(found) = window;  // the last one is the newest, on top
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        DialogDriver* self = current_;
        if (self == nullptr || self->Finished() || self->busy_) return;
        HWND dialog = ::GetActiveWindow();
        if (dialog == nullptr) ::EnumThreadWindows(::GetCurrentThreadId(), &FindShown, reinterpret_cast<LPARAM>(&dialog));
        if (dialog == nullptr) return;
        self->busy_ = true;  // a step may run a nested modal loop (a message box)
        if (self->steps_[self->next_](dialog)) ++self->next_;
        self->busy_ = false;
    }

    static inline DialogDriver* current_ = nullptr;
    std::vector<DriverStep> steps_;
    size_t next_ = 0;
    UINT_PTR timer_ = 0;
    bool busy_ = false;
};

DriverStep Key(WORD vk, bool ctrl = false) {
    return [vk, ctrl](HWND) {
        DialogDriver::Ctrl(ctrl);
        const HWND focus = ::GetFocus();
        ::PostMessageW(focus, WM_KEYDOWN, vk, 1);
        ::PostMessageW(focus, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
        return true;
    };
}

DriverStep Type(std::wstring text) {
    return [text](HWND) {
        DialogDriver::Ctrl(false);
        for (const wchar_t c : text) ::PostMessageW(::GetFocus(), WM_CHAR, c, 1);
        return true;
    };
}

DriverStep Check(std::function<void(HWND)> check) {
    return [check](HWND dialog) {
        check(dialog);
        return true;
    };
}

std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, 512);
    return text;
}

std::wstring FocusText() { return Text(::GetFocus()); }

TEST(AskDialogs, OneLineInputBoxShowsItsTextsAndAnswersOkOrCancel) {
    {
        DialogDriver driver({Check([](HWND dialog) {
                                 EXPECT_EQ(Text(dialog), L"Your name");
                                 EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_INPUT_PROMPT)), L"Name?");
                                 EXPECT_EQ(::GetFocus(), ::GetDlgItem(dialog, IDC_INPUT_TEXT));
                             }),
                             Type(L"Bob"), Key(VK_RETURN)});
        const DialogAnswer answer = CInputBox({u"Your name", u"Name?", u"Al", false}).Run();
        EXPECT_TRUE(driver.Finished());
        EXPECT_EQ(answer.button, DialogButton::Ok);
        EXPECT_EQ(answer.text, u"Bob");  // the initial text was selected, typing replaced it
    }
    {
        DialogDriver driver({Check([](HWND dialog) { EXPECT_EQ(Text(dialog), L"Input Box"); }), Type(L"x"),
                             Key(VK_ESCAPE)});
        const DialogAnswer answer = CInputBox({u"", u"Name?", u"Al", false}).Run();
        EXPECT_EQ(answer.button, DialogButton::Cancel);
        EXPECT_EQ(answer.text, u"");
    }
}

TEST(AskDialogs, MultiLineBoxKeepsEnterAppendsTabsAndClosesOnCtrlEnter) {
    DialogDriver driver({
        Key(VK_END, true),  // Ctrl+End: the caret after "one"
        Key(VK_RETURN),
        Type(L"two"),
        Key(VK_HOME, true),  // the caret back at the start: Tab still appends at the end
        Key(VK_TAB),
        Check([](HWND dialog) {
            EXPECT_EQ(FocusText(), L"one\r\ntwo\t") << "Tab moved the focus or typed at the caret";
        }),
        Key('A', true),
        Check([](HWND) {
            DWORD start = 0, end = 0;
            ::SendMessageW(::GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, 9u);
        }),
        Key(VK_END, true),
        Key(VK_RETURN, true),
    });
    const DialogAnswer answer = CInputBoxML({u"Lines", u"Some lines?", u"one", true}).Run();
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(answer.button, DialogButton::Ok);
    EXPECT_EQ(answer.text, u"one\r\ntwo\t") << "Ctrl+Enter typed a line break before closing";
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const auto count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[64] = {};
        ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

TEST(AskDialogs, SelectListSortsOnlyTheSelectOnlyFormAndPreselectsByPrefix) {
    const std::vector<std::u16string> items = {u"cherry", u"apple", u"Banana", u"blueberry"};
    {
        DialogDriver driver({Check([](HWND dialog) {
                                 const HWND combo = ::GetDlgItem(dialog, IDC_SELECT_COMBO);
                                 EXPECT_EQ(ComboItems(combo), (std::vector<std::wstring>{L"apple", L"Banana",
                                                                                         L"blueberry", L"cherry"}));
                                 EXPECT_EQ(Text(combo), L"Banana");  // "b" without regard to case, the first
                                 EXPECT_EQ(Text(::GetDlgItem(dialog, IDC_SELECT_PROMPT)), L"Fruit?");
                                 EXPECT_EQ(Text(dialog), L"Select String");
                             }),
                             Key(VK_DOWN), Key(VK_RETURN)});
        const DialogAnswer answer = SelStrDlg({u"", u"Fruit?", true, items, u"b"}).Run();
        EXPECT_EQ(answer.button, DialogButton::Ok);
        EXPECT_EQ(answer.text, u"blueberry");
    }
    {
        DialogDriver driver({Check([](HWND dialog) {
                                 const HWND combo = ::GetDlgItem(dialog, IDC_SELECT_COMBO);
                                 EXPECT_EQ(ComboItems(combo), (std::vector<std::wstring>{L"cherry", L"apple",
                                                                                         L"Banana", L"blueberry"}));
                                 EXPECT_EQ(Text(combo), L"");  // no item begins with "x"
                             }),
                             Type(L"kiwi"), Key(VK_RETURN)});
        const DialogAnswer answer = SelStrDlg({u"Pick", u"Fruit?", false, items, u"x"}).Run();
        EXPECT_EQ(answer.button, DialogButton::Ok);
        EXPECT_EQ(answer.text, u"kiwi");
    }
}

InputParaRequest Parameters() {
    return {u"", {{u"Name", u"Alice", true}, {u"Age", u"16", false}, {u"Address", u"", false}, {u"Zip", u"", false}}};
}

HWND ParameterList(HWND dialog) { return ::GetDlgItem(dialog, IDC_PARAMETER_LIST); }

std::wstring Cell(HWND dialog, int row, int column) {
    wchar_t text[128] = {};
    ListView_GetItemText(ParameterList(dialog), row, column, text, 128);
    return text;
}

// A click on the row's value cell, as the mouse would post it.
DriverStep ClickRow(int row) {
    return [row](HWND dialog) {
        RECT cell{};
        ListView_GetSubItemRect(ParameterList(dialog), row, 1, LVIR_BOUNDS, &cell);
        const LPARAM at = MAKELPARAM(cell.left + 10, (cell.top + cell.bottom) / 2);
        ::PostMessageW(ParameterList(dialog), WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(ParameterList(dialog), WM_LBUTTONUP, 0, at);
        return true;
    };
}

// The row whose value cell the focused in-place control covers, or -1.
int EditedRow(HWND dialog) {
    RECT control{};
    ::GetWindowRect(::GetFocus(), &control);
    ::MapWindowPoints(nullptr, ParameterList(dialog), reinterpret_cast<POINT*>(&control), 2);
    for (int row = 0; row < ListView_GetItemCount(ParameterList(dialog)); ++row) {
        RECT cell{};
        ListView_GetSubItemRect(ParameterList(dialog), row, 1, LVIR_BOUNDS, &cell);
        if (control.top == cell.top + 2 && control.left == cell.left + 5) return row;
    }
    return -1;
}

TEST(AskDialogs, InputParaEditsEmptyValuesInTurnAndRefusesAnEmptyRequiredOne) {
    std::vector<std::u16string> messages;
    DialogDriver driver({
        Check([](HWND dialog) {
            EXPECT_EQ(Text(dialog), L"Input Parameters");
            EXPECT_EQ(Cell(dialog, 0, 0), L"Name *");
            EXPECT_EQ(Cell(dialog, 0, 1), L"Alice");
            // Editing begins in the first empty value, in the edit field (id 1) on the list.
            EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), 1);
            EXPECT_EQ(EditedRow(dialog), 2);
        }),
        Type(L"Main St"),
        Key(VK_RETURN),  // committed: on to the next empty value below
        Check([](HWND dialog) {
            EXPECT_EQ(Cell(dialog, 2, 1), L"Main St");
            EXPECT_EQ(EditedRow(dialog), 3);
        }),
        Type(L"dropped"),
        Key(VK_ESCAPE),
        Check([](HWND dialog) {
            EXPECT_EQ(Cell(dialog, 3, 1), L"") << "Esc kept the typed text";
            EXPECT_EQ(::GetFocus(), ParameterList(dialog));
        }),
        ClickRow(0),
        Key(VK_UP),  // nothing above the first row
        Check([](HWND dialog) {
            EXPECT_EQ(EditedRow(dialog), 0);
            EXPECT_EQ(FocusText(), L"Alice");
        }),
        Key(VK_DOWN),
        Check([](HWND dialog) { EXPECT_EQ(EditedRow(dialog), 1); }),
        Key(VK_UP),
        Type(L"\b\b\b\b\b"),
        Key(VK_RETURN, true),  // committed, then OK: refused, Name is required
        Check([&messages](HWND dialog) {
            EXPECT_EQ(messages, (std::vector<std::u16string>{u"The value of \"Name\" can not be empty!"}));
            EXPECT_EQ(EditedRow(dialog), 0) << "editing did not return to the refused row";
            EXPECT_TRUE(::IsWindowVisible(dialog));
        }),
        Type(L"Bob"),
        Key(VK_RETURN, true),
    });
    const InputParaAnswer answer =
        InputPara(Parameters(), [&messages](std::u16string_view text) { messages.emplace_back(text); }).Run();
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(answer.button, DialogButton::Ok);
    EXPECT_EQ(answer.values, (std::vector<std::u16string>{u"Bob", u"16", u"Main St", u""}));
}

TEST(AskDialogs, InputParaCancelsAndSizesItsColumnsToTheNames) {
    InputParaRequest request{u"Details", {{u"A rather long parameter name", u"x", true}, {u"B", u"y", false}}};
    DialogDriver driver({
        Check([&request](HWND dialog) {
            EXPECT_EQ(Text(dialog), L"Details");
            const HWND list = ParameterList(dialog);
            // Nothing is empty: the list itself has the focus.
            EXPECT_EQ(::GetFocus(), list);
            const int name = ListView_GetStringWidth(list, L"A rather long parameter name *");
            const int nameColumn = std::max(name, 85) + 15;
            EXPECT_EQ(ListView_GetColumnWidth(list, 0), nameColumn);
            RECT client{};
            ::GetClientRect(list, &client);
            EXPECT_EQ(ListView_GetColumnWidth(list, 1), client.right - nameColumn - 20);
        }),
        Key(VK_ESCAPE),
    });
    const InputParaAnswer answer = InputPara(request, nullptr).Run();
    EXPECT_EQ(answer.button, DialogButton::Cancel);
    EXPECT_TRUE(answer.values.empty());
}

// A grid on a plain modeless dialog, for the parts InputPara does not use.
class PropListTest : public ::testing::Test, public CPropList::CallBack {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&classes);
        const DialogTemplate layout = InputParametersTemplate();
        dialog_ = ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), layout.Get(), nullptr, &IgnoreAll, 0);
        ASSERT_NE(dialog_, nullptr);
        ::ShowWindow(dialog_, SW_SHOWNA);  // a hidden parent hides the in-place controls too
        list_.Attach(::GetDlgItem(dialog_, IDC_PARAMETER_LIST), nullptr, this);
        list_.SetColumns(L"Parameter", 100, L"Value", 200);
        list_.AddRow(L"Colour", L"green", {L"red", L"green", L"blue"});
        list_.AddRow(L"Size", L"10");
    }
    void TearDown() override { ::DestroyWindow(dialog_); }

    uint32_t OnValueChange(CPropList&, int row, const std::wstring& text) override {
        changes.push_back(text);
        return refuse ? 1 : 0;
    }
    void OnEndEdit(CPropList&, int row, bool committed) override { ends.emplace_back(row, committed); }

    static INT_PTR CALLBACK IgnoreAll(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

    HWND dialog_ = nullptr;
    CPropList list_;
    std::vector<std::wstring> changes;
    std::vector<std::pair<int, bool>> ends;
    bool refuse = false;
};

TEST_F(PropListTest, ChoicesAreEditedInTheDropDownAndARefusedValueIsNotWritten) {
    list_.StartEdit(0);
    EXPECT_TRUE(::IsWindowVisible(list_.DropDown()));
    EXPECT_FALSE(::IsWindowVisible(list_.EditField()));
    EXPECT_EQ(Text(list_.DropDown()), L"green");  // the cell's choice selected
    ::SendMessageW(list_.DropDown(), CB_SETCURSEL, 2, 0);
    list_.StartEdit(1);  // ends the running edit uncommitted, its choice kept
    EXPECT_EQ(list_.Value(0), L"blue");
    EXPECT_TRUE(::IsWindowVisible(list_.EditField()));
    EXPECT_FALSE(::IsWindowVisible(list_.DropDown()));
    EXPECT_EQ(Text(list_.EditField()), L"10");

    refuse = true;
    ::SetWindowTextW(list_.EditField(), L"11");
    list_.EndEdit(true, false);
    EXPECT_EQ(list_.Value(1), L"10");
    EXPECT_EQ(changes, (std::vector<std::wstring>{L"blue", L"11"}));
    EXPECT_EQ(ends, (std::vector<std::pair<int, bool>>{{0, false}, {1, true}}));
    EXPECT_EQ(list_.EditingRow(), -1);
    EXPECT_FALSE(::IsWindowVisible(list_.EditField()));
}

TEST_F(PropListTest, ScrollingDropsTheTypedTextAndGivesTheListTheKeys) {
    list_.StartEdit(1);
    ::SetWindowTextW(list_.EditField(), L"99");
    ASSERT_EQ(::GetFocus(), list_.EditField());
    ::SendMessageW(list_.List(), WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(list_.Value(1), L"10");
    EXPECT_EQ(list_.EditingRow(), -1);
    EXPECT_FALSE(::IsWindowVisible(list_.EditField()));
    EXPECT_EQ(::GetFocus(), list_.List());
    EXPECT_TRUE(changes.empty()) << "a dropped text was offered as a new value";
}

TEST_F(PropListTest, AReadOnlyListSelectsButShowsNoEditor) {
    list_.readOnly = 1;
    list_.StartEdit(1);
    EXPECT_FALSE(::IsWindowVisible(list_.EditField()) || ::IsWindowVisible(list_.DropDown()));
    EXPECT_EQ(ListView_GetNextItem(list_.List(), -1, LVNI_SELECTED), 1);
}

}  // namespace
}  // namespace ovrix::win32
