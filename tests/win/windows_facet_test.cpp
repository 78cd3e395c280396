// The windows facet on the real desktop, checked against a window of the
// test's own with named controls: what a script reads of other programs'
// windows (children, classes, titles, whole control texts, places in screen
// coordinates) and what it does to them (move, size, show, close).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "platform/win32/Win32Windows.h"

namespace ovrix::win32 {
namespace {

constexpr wchar_t kClass[] = L"OvrixFacetTestWindow";
constexpr int kLeft = 120, kTop = 90, kWidth = 420, kHeight = 300;

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        auto* closes = reinterpret_cast<int*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (closes != nullptr) ++*closes;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// A frame window with an Edit, a Button, a Static and a panel holding a
// child of its own, laid out in the frame's client area.
class WindowsFacetTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &TestWindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClass;
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        ::RegisterClassExW(&windowClass);  // fails harmlessly from the second test on

        frame_ = ::CreateWindowExW(0, kClass, L"Facet Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, kLeft, kTop,
                                   kWidth, kHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(frame_, nullptr);
        ::SetWindowLongPtrW(frame_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&closes_));
        edit_ = Control(frame_, L"Edit", std::wstring(2000, L'x'), 10, 20, 200, 24, ES_AUTOHSCROLL);
        button_ = Control(frame_, L"Button", L"Press", 10, 60, 80, 26, BS_PUSHBUTTON);
        static_ = Control(frame_, L"Static", L"Label", 10, 100, 80, 20, 0);
        panel_ = Control(frame_, L"Static", L"Panel", 220, 20, 150, 120, 0);
        inner_ = Control(panel_, L"Button", L"Inner", 5, 7, 60, 22, BS_PUSHBUTTON);
        PumpMessages();
    }

    void TearDown() override {
        if (::IsWindow(frame_)) ::DestroyWindow(frame_);
        PumpMessages();
    }

    static HWND Control(HWND parent, const wchar_t* className, const std::wstring& text, int x, int y, int width,
                        int height, DWORD style) {
        return ::CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                 parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    }

    ScreenRect ClientOrigin() const {
        POINT origin{0, 0};
        ::ClientToScreen(frame_, &origin);
        return {origin.x, origin.y, origin.x, origin.y};
    }

    Win32Windows windows_;
    int closes_ = 0;
    HWND frame_ = nullptr, edit_ = nullptr, button_ = nullptr, static_ = nullptr, panel_ = nullptr,
         inner_ = nullptr;
};

TEST(WindowHandleNumbers, RoundTripAndSignExtendLikeTheSystem) {
    const HWND desktop = ::GetDesktopWindow();
    EXPECT_EQ(ToHwnd(ToWindowId(desktop)), desktop);
    EXPECT_EQ(ToWindowId(nullptr), kNoWindow);
    EXPECT_EQ(ToHwnd(kNoWindow), nullptr);
    // A number with its top bit set widens to a negative pointer-sized value.
    EXPECT_EQ(reinterpret_cast<intptr_t>(ToHwnd(0xFFFF0010u)), static_cast<intptr_t>(-65520));
    EXPECT_EQ(ToWindowId(ToHwnd(0xFFFF0010u)), 0xFFFF0010u);
}

TEST_F(WindowsFacetTest, FindsTheFrameAndItsDirectChildrenInOrder) {
    const WindowId frame = ToWindowId(frame_);
    const std::vector<WindowId> top = windows_.TopLevelWindows();
    EXPECT_NE(std::find(top.begin(), top.end(), frame), top.end());
    EXPECT_EQ(std::find(top.begin(), top.end(), ToWindowId(edit_)), top.end()) << "a control is no top-level window";

    const std::vector<WindowId> children = windows_.ChildWindows(frame);
    const std::vector<WindowId> expected{ToWindowId(edit_), ToWindowId(button_), ToWindowId(static_),
                                         ToWindowId(panel_)};
    EXPECT_EQ(children, expected) << "the panel's own child is not the frame's";
    EXPECT_EQ(windows_.ChildWindows(ToWindowId(panel_)), std::vector<WindowId>{ToWindowId(inner_)});
    EXPECT_TRUE(windows_.ChildWindows(ToWindowId(inner_)).empty());

    EXPECT_EQ(windows_.GetParent(frame), kNoWindow);
    EXPECT_EQ(windows_.GetParent(ToWindowId(edit_)), frame);
    EXPECT_EQ(windows_.GetParent(ToWindowId(inner_)), ToWindowId(panel_));
}

TEST_F(WindowsFacetTest, ReadsClassesTitlesAndWholeControlTexts) {
    EXPECT_EQ(windows_.GetClassName(ToWindowId(frame_)), u"OvrixFacetTestWindow");
    // The system's control classes answer in their registered spelling.
    EXPECT_EQ(windows_.GetClassName(ToWindowId(edit_)), u"Edit");
    EXPECT_EQ(windows_.GetClassName(ToWindowId(button_)), u"Button");
    EXPECT_EQ(windows_.GetClassName(ToWindowId(static_)), u"Static");
    EXPECT_EQ(windows_.GetTitle(ToWindowId(frame_)), u"Facet Frame");
    EXPECT_EQ(windows_.GetTitle(ToWindowId(inner_)), u"Inner");

    // A title is read into 260 units; the control's message gives it all.
    EXPECT_EQ(windows_.GetTitle(ToWindowId(edit_)), std::u16string(259, u'x'));
    EXPECT_EQ(windows_.GetControlText(ToWindowId(edit_)), std::u16string(2000, u'x'));
    // Texts that just fill the first buffer, or the doubled one, are asked
    // for again and come back whole.
    for (size_t length : {510u, 511u, 512u, 1023u, 1024u}) {
        const std::u16string text(length, u'q');
        windows_.SetControlText(ToWindowId(edit_), text);
        EXPECT_EQ(windows_.GetControlText(ToWindowId(edit_)), text) << length;
    }
    windows_.SetControlText(ToWindowId(edit_), u"");
    EXPECT_EQ(windows_.GetControlText(ToWindowId(edit_)), u"");

    const std::optional<std::u16string> process = windows_.ProcessName(ToWindowId(frame_));
    ASSERT_TRUE(process.has_value());
    EXPECT_EQ(*process, u"ovrix_tests.exe");
}

TEST_F(WindowsFacetTest, TextsAndMessagesReachTheControls) {
    const WindowId edit = ToWindowId(edit_);
    windows_.SetControlText(edit, u"ab");
    ::SendMessageW(edit_, EM_SETSEL, 2, 2);
    // One character per unit: a character outside the basic plane is two.
    for (char16_t unit : std::u16string(u"c\U0001F600")) windows_.SendChar(edit, unit);
    EXPECT_EQ(windows_.GetControlText(edit), u"abc\U0001F600");
    EXPECT_EQ(windows_.SendMessage(edit, WM_GETTEXTLENGTH, 0, 0), 5);

    windows_.SetTitle(ToWindowId(frame_), u"Renamed Frame");
    EXPECT_EQ(windows_.GetTitle(ToWindowId(frame_)), u"Renamed Frame");
}

TEST_F(WindowsFacetTest, PlacesAreInScreenCoordinatesAndMovesKeepTheOtherHalf) {
    const std::optional<ScreenRect> frame = windows_.GetWindowRect(ToWindowId(frame_));
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->left, kLeft);
    EXPECT_EQ(frame->top, kTop);
    EXPECT_EQ(frame->Width(), kWidth);

    const ScreenRect origin = ClientOrigin();
    const std::optional<ScreenRect> client = windows_.GetClientRect(ToWindowId(frame_));
    ASSERT_TRUE(client.has_value());
    RECT clientSize{};
    ::GetClientRect(frame_, &clientSize);
    EXPECT_EQ(client->left, origin.left);
    EXPECT_EQ(client->top, origin.top);
    EXPECT_EQ(client->Width(), clientSize.right);
    EXPECT_EQ(client->Height(), clientSize.bottom);

    // A control's place is its parent's client origin plus its own offset;
    // the inner button's goes through the panel too.
    const std::optional<ScreenRect> edit = windows_.GetWindowRect(ToWindowId(edit_));
    ASSERT_TRUE(edit.has_value());
    EXPECT_EQ(edit->left, origin.left + 10);
    EXPECT_EQ(edit->top, origin.top + 20);
    EXPECT_EQ(edit->Width(), 200);
    const std::optional<ScreenRect> inner = windows_.GetWindowRect(ToWindowId(inner_));
    ASSERT_TRUE(inner.has_value());
    EXPECT_EQ(inner->left, origin.left + 220 + 5);
    EXPECT_EQ(inner->top, origin.top + 20 + 7);

    // A child moves within its parent's client area, a frame on the screen.
    windows_.Move(ToWindowId(edit_), 30, 40);
    windows_.Resize(ToWindowId(button_), 90, 33);
    windows_.Move(ToWindowId(frame_), 200, 150);
    const ScreenRect moved = ClientOrigin();
    EXPECT_EQ(windows_.GetWindowRect(ToWindowId(frame_))->left, 200);
    EXPECT_EQ(windows_.GetWindowRect(ToWindowId(frame_))->top, 150);
    EXPECT_EQ(windows_.GetWindowRect(ToWindowId(frame_))->Width(), kWidth) << "moving keeps the size";
    const ScreenRect editNow = *windows_.GetWindowRect(ToWindowId(edit_));
    EXPECT_EQ(editNow.left, moved.left + 30);
    EXPECT_EQ(editNow.top, moved.top + 40);
    EXPECT_EQ(editNow.Width(), 200);
    const ScreenRect buttonNow = *windows_.GetWindowRect(ToWindowId(button_));
    EXPECT_EQ(buttonNow.left, moved.left + 10) << "sizing keeps the place";
    EXPECT_EQ(buttonNow.top, moved.top + 60);
    EXPECT_EQ(buttonNow.Width(), 90);
    EXPECT_EQ(buttonNow.Height(), 33);

    // (A static control lets the point through to its parent; a button does not.)
    EXPECT_EQ(windows_.WindowFromPoint({buttonNow.left + 3, buttonNow.top + 3}), ToWindowId(button_));
}

TEST_F(WindowsFacetTest, ActivatesAndFocuses) {
    windows_.Activate(ToWindowId(frame_));
    EXPECT_EQ(windows_.GetForegroundWindow(), ToWindowId(frame_));
    windows_.Focus(ToWindowId(button_));
    EXPECT_EQ(::GetFocus(), button_);
    windows_.Focus(ToWindowId(edit_));
    EXPECT_EQ(::GetFocus(), edit_);
}

TEST_F(WindowsFacetTest, ShowsHidesMinimisesAndRestores) {
    const WindowId frame = ToWindowId(frame_);
    const WindowId button = ToWindowId(button_);
    EXPECT_TRUE(windows_.IsVisible(frame));
    windows_.Show(button, showcmd::kHide);
    EXPECT_FALSE(windows_.IsVisible(button));
    windows_.Show(button, showcmd::kShow);
    EXPECT_TRUE(windows_.IsVisible(button));

    windows_.Show(frame, showcmd::kHide);
    EXPECT_FALSE(windows_.IsVisible(button)) << "a control is hidden with its frame";
    windows_.Show(frame, showcmd::kShowNormal);
    windows_.Show(frame, showcmd::kMinimize);
    PumpMessages();
    EXPECT_TRUE(windows_.IsMinimized(frame));
    windows_.Restore(frame);
    PumpMessages();
    EXPECT_FALSE(windows_.IsMinimized(frame));
    EXPECT_TRUE(windows_.IsVisible(frame));
}

TEST_F(WindowsFacetTest, ACloseRequestIsPostedAndAGoneWindowReadsEmpty) {
    const WindowId frame = ToWindowId(frame_);
    const WindowId edit = ToWindowId(edit_);
    windows_.PostClose(frame);
    EXPECT_EQ(closes_, 0) << "the request is posted, not sent";
    EXPECT_TRUE(windows_.IsWindow(frame));
    PumpMessages();
    EXPECT_EQ(closes_, 1);
    EXPECT_FALSE(windows_.IsWindow(frame)) << "the default handling of the request destroys the window";

    EXPECT_FALSE(windows_.IsWindow(edit));
    EXPECT_EQ(windows_.GetTitle(frame), u"");
    EXPECT_EQ(windows_.GetClassName(edit), u"");
    EXPECT_EQ(windows_.GetControlText(edit), u"");
    EXPECT_FALSE(windows_.GetWindowRect(frame).has_value());
    EXPECT_FALSE(windows_.GetClientRect(edit).has_value());
    EXPECT_FALSE(windows_.ProcessName(frame).has_value());
    EXPECT_TRUE(windows_.ChildWindows(frame).empty());
    EXPECT_EQ(windows_.GetParent(edit), kNoWindow);
    // Acting on it does nothing, the theme switch included.
    windows_.Move(frame, 1, 1);
    windows_.DisableTheme(edit);
    EXPECT_EQ(windows_.SendMessage(edit, WM_GETTEXTLENGTH, 0, 0), 0);
}

}  // namespace
}  // namespace ovrix::win32
