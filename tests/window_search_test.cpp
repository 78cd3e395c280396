// The title matcher the window searches use (the searches themselves, on the
// simulated desktop, are in the window_* golden traces).
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "builtins/WindowSearch.h"

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

}  // namespace
}  // namespace ovrix
