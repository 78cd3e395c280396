// The windows facet on the real desktop, checked against a window of the
// test's own with named controls: what a script reads of other programs'
// windows (children, classes, titles, whole control texts, places in screen
// coordinates) and what it does to them (move, size, show, close).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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

    POINT ClientOrigin() const {
        POINT origin{0, 0};
        ::ClientToScreen(frame_, &origin);
        return origin;
    }

    // Left, top, width and height of a place on the screen.
    static std::vector<int32_t> Sides(const std::optional<ScreenRect>& r) {
        return r ? std::vector<int32_t>{r->left, r->top, r->Width(), r->Height()} : std::vector<int32_t>{};
    }
    std::vector<int32_t> Place(HWND window) { return Sides(windows_.GetWindowRect(ToWindowId(window))); }

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
    EXPECT_EQ(windows_.GetParent(ToWindowId(inner_)), ToWindowId(panel_));
}

TEST_F(WindowsFacetTest, ReadsClassesTitlesAndWholeControlTexts) {
    EXPECT_EQ(windows_.GetClassName(ToWindowId(frame_)), u"OvrixFacetTestWindow");
    // The system's control classes answer in their registered spelling.
    EXPECT_EQ(windows_.GetClassName(ToWindowId(edit_)), u"Edit");
    EXPECT_EQ(windows_.GetTitle(ToWindowId(frame_)), u"Facet Frame");

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
    EXPECT_EQ(windows_.ProcessName(ToWindowId(frame_)), u"ovrix_tests.exe");
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
    EXPECT_EQ(Place(frame_), (std::vector<int32_t>{kLeft, kTop, kWidth, kHeight}));
    const POINT origin = ClientOrigin();
    RECT clientSize{};
    ::GetClientRect(frame_, &clientSize);
    EXPECT_EQ(Sides(windows_.GetClientRect(ToWindowId(frame_))),
              (std::vector<int32_t>{origin.x, origin.y, clientSize.right, clientSize.bottom}));
    // A control's place is its parent's client origin plus its own offset;
    // the inner button's goes through the panel too.
    EXPECT_EQ(Place(edit_), (std::vector<int32_t>{origin.x + 10, origin.y + 20, 200, 24}));
    EXPECT_EQ(Place(inner_), (std::vector<int32_t>{origin.x + 220 + 5, origin.y + 20 + 7, 60, 22}));

    // A child moves within its parent's client area, a frame on the screen;
    // moving keeps the size, sizing the place.
    windows_.Move(ToWindowId(edit_), 30, 40);
    windows_.Resize(ToWindowId(button_), 90, 33);
    windows_.Move(ToWindowId(frame_), 200, 150);
    const POINT moved = ClientOrigin();
    EXPECT_EQ(Place(frame_), (std::vector<int32_t>{200, 150, kWidth, kHeight}));
    EXPECT_EQ(Place(edit_), (std::vector<int32_t>{moved.x + 30, moved.y + 40, 200, 24}));
    EXPECT_EQ(Place(button_), (std::vector<int32_t>{moved.x + 10, moved.y + 60, 90, 33}));
    // (A static control lets the point through to its parent; a button does not.)
    EXPECT_EQ(windows_.WindowFromPoint({moved.x + 13, moved.y + 63}), ToWindowId(button_));
}

TEST_F(WindowsFacetTest, ActivatesFocusesShowsHidesMinimisesAndRestores) {
    const WindowId frame = ToWindowId(frame_);
    const WindowId button = ToWindowId(button_);
    windows_.Activate(frame);
    EXPECT_EQ(windows_.GetForegroundWindow(), frame);
    windows_.Focus(button);
    EXPECT_EQ(::GetFocus(), button_);
    windows_.Focus(ToWindowId(edit_));
    EXPECT_EQ(::GetFocus(), edit_);

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
    EXPECT_EQ(windows_.GetTitle(frame) + windows_.GetClassName(edit) + windows_.GetControlText(edit), u"");
    EXPECT_FALSE(windows_.GetWindowRect(frame) || windows_.GetClientRect(edit) || windows_.ProcessName(frame));
    EXPECT_TRUE(windows_.ChildWindows(frame).empty());
    EXPECT_EQ(windows_.GetParent(edit), kNoWindow);
    // Acting on it does nothing, the theme switch included.
    windows_.Move(frame, 1, 1);
    windows_.DisableTheme(edit);
    EXPECT_EQ(windows_.SendMessage(edit, WM_GETTEXTLENGTH, 0, 0), 0);
}

}  // namespace
}  // namespace ovrix::win32
