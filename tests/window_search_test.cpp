// The title matcher, the window searches, and the simulated desktop's
// windows that they run over.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "builtins/WindowSearch.h"
#include "platform/sim/SimPlatform.h"

namespace ovrix {
namespace {

TEST(MatchPattern, AnchoredWildcardsAndTheEndOfText) {
    struct Case {
        const char16_t* pattern;
        const char16_t* text;
        bool matches;
    } cases[] = {
        {u"*notepad", u"untitled - notepad", true},
        {u"untitled", u"untitled - notepad", false},  // anchored at the end
        {u"notepad", u"untitled - notepad", false},   // and at the start
        {u"a?b", u"axb", true},
        {u"a?b", u"ab", false},
        {u"abc*", u"abc", true},
        {u"abc**", u"abc", false},  // two stars at the end do not take the empty rest
        {u"abc**", u"abcd", true},
        {u"a*b*c", u"axxbyyc", true},
        {u"a*b*c", u"axxbyy", false},
        {u"*", u"", true},
        {u"", u"", true},
        {u"", u"a", false},
        {u"?", u"", false},
        {u"*x", u"x", true},
        {u"*", u"anything", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchPattern(c.pattern, c.text), c.matches)
            << std::string(c.pattern, c.pattern + std::char_traits<char16_t>::length(c.pattern));
    }
}

// A pattern built to make a backtracking matcher try every split of the
// text answers at once.
TEST(MatchPattern, HostilePatternsEndQuickly) {
    std::u16string pattern;
    for (int i = 0; i < 200; ++i) pattern += u"*a";
    pattern += u"b";
    const std::u16string text(259, u'a');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(MatchPattern(pattern, text));
    EXPECT_FALSE(MatchPattern(std::u16string(100000, u'*') + u"b", text));
    EXPECT_TRUE(MatchPattern(std::u16string(100000, u'*'), text));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

struct Desk {
    SimPlatform sim;
    SimWindows& windows = sim.windows;

    WindowId Add(std::u16string title) {
        SimWindowSpec spec;
        spec.title = std::move(title);
        spec.rect = {100, 100, 500, 400};
        return windows.Add(spec);
    }
};

TEST(FindWindowByTitle, FindsTheFrontmostAndFollowsActivation) {
    Desk d;
    const WindowId first = d.Add(u"Report 1");
    const WindowId second = d.Add(u"Report 2");
    EXPECT_EQ(FindWindowByTitle(d.windows, u"report*"), first);
    d.windows.Activate(second);
    EXPECT_EQ(FindWindowByTitle(d.windows, u"report*"), second);
    EXPECT_EQ(d.windows.GetForegroundWindow(), second);
}

TEST(SimWindows, LiveFromAppearanceToClosing) {
    Desk d;
    SimWindowSpec spec;
    spec.title = u"Later";
    spec.appearMs = 500;
    spec.closeMs = 900;
    const WindowId later = d.windows.Add(spec);
    spec.title = u"Stubborn";
    spec.appearMs = 0;
    spec.closeMs.reset();
    spec.closesOnRequest = false;
    spec.rect = {0, 0, 400, 300};
    SimWindowSpec edit;
    edit.title = u"text";
    edit.className = u"Edit";
    edit.rect = {10, 20, 110, 40};
    spec.controls.push_back(edit);
    const WindowId stubborn = d.windows.Add(spec);

    EXPECT_FALSE(d.windows.IsWindow(later));
    d.sim.Advance(500'000);
    EXPECT_TRUE(d.windows.IsWindow(later));
    d.sim.Advance(400'000);
    EXPECT_FALSE(d.windows.IsWindow(later));
    EXPECT_EQ(d.windows.GetTitle(later), u"");

    d.windows.PostClose(stubborn);
    ASSERT_TRUE(d.windows.IsWindow(stubborn));
    const std::vector<WindowId> children = d.windows.ChildWindows(stubborn);
    ASSERT_EQ(children.size(), 1u);
    const WindowId control = children[0];
    // A control sits in its parent's client area, and moves with it.
    d.windows.Move(stubborn, 300, 200);
    EXPECT_EQ(d.windows.GetWindowRect(control)->left, 310);
    EXPECT_EQ(d.windows.WindowFromPoint({315, 225}), control);
    d.windows.SendChar(control, u'!');
    d.windows.SendChar(stubborn, u'!');  // not an edit control: nothing typed
    EXPECT_EQ(d.windows.GetControlText(control), u"text!");
    EXPECT_EQ(d.windows.GetTitle(stubborn), u"Stubborn");
}

}  // namespace
}  // namespace ovrix
