#include "builtins/WindowSearch.h"

#include <cstdint>
#include <optional>
#include <unordered_map>

#include "container/Text.h"

namespace ovrix {

namespace {

// A run of two or more stars behaves as two do: inside the pattern as one,
// and at the end of the text it does not match the empty rest. Folding the
// runs keeps the pattern no longer than three times the text it can match.
std::u16string FoldStarRuns(std::u16string_view pattern) {
    std::u16string folded;
    folded.reserve(pattern.size());
    size_t run = 0;
    for (char16_t c : pattern) {
        run = c == u'*' ? run + 1 : 0;
        if (run <= 2) folded += c;
    }
    return folded;
}

// The matcher remembers, for each star and text position it reached, what
// trying the rest of the pattern there gave, so that no pattern makes it try
// the same place twice: the time is bounded by the product of the lengths.
class Matcher {
public:
    Matcher(std::u16string_view pattern, std::u16string_view text)
        : pattern_(pattern), text_(text) {}

    bool From(size_t p, size_t t) {
        while (true) {
            if (t == text_.size()) return RestIsEmptyOrOneStar(p);
            if (p == pattern_.size()) return false;
            const char16_t c = pattern_[p];
            if (c == u'*') return Star(p, t);
            if (c != u'?' && c != text_[t]) return false;
            ++p;
            ++t;
        }
    }

private:
    bool RestIsEmptyOrOneStar(size_t p) const {
        return p == pattern_.size() || (p + 1 == pattern_.size() && pattern_[p] == u'*');
    }

    // At a star with text left: the rest of the pattern from this text
    // position or any later one that still has text; else a star that ends
    // the pattern takes the rest of the text.
    bool Star(size_t p, size_t t) {
        const size_t key = p * (text_.size() + 1) + t;
        if (const auto known = memo_.find(key); known != memo_.end()) return known->second;
        bool found = false;
        for (size_t from = t; from < text_.size() && !found; ++from) found = From(p + 1, from);
        found = found || p + 1 == pattern_.size();
        memo_.emplace(key, found);
        return found;
    }

    std::u16string_view pattern_;
    std::u16string_view text_;
    std::unordered_map<size_t, bool> memo_;
};

}  // namespace

bool MatchPattern(std::u16string_view pattern, std::u16string_view text) {
    if (pattern.empty()) return text.empty();
    size_t literal = 0;
    for (char16_t c : pattern) literal += c != u'*' ? 1 : 0;
    // Every character but a star takes one character of the text.
    if (literal > text.size()) return false;
    const std::u16string folded = FoldStarRuns(pattern);
    return Matcher(folded, text).From(0, 0);
}

bool IsSearchableWindow(Windows& windows, WindowId window) {
    if (windows.GetTitle(window).empty() || !windows.IsVisible(window)) return false;
    const std::u16string className = windows.GetClassName(window);
    return className != u"Progman" && className != u"Button";
}

void BringToFront(Windows& windows, WindowId window) {
    if (windows.IsMinimized(window)) windows.Restore(window);
    windows.Activate(window);
}

WindowId FindWindowByTitle(Windows& windows, std::u16string_view pattern) {
    const std::u16string lowered = LowerCase(pattern);
    for (WindowId window : windows.TopLevelWindows()) {
        if (IsSearchableWindow(windows, window) && MatchPattern(lowered, LowerCase(windows.GetTitle(window)))) {
            return window;
        }
    }
    return kNoWindow;
}

std::vector<WindowId> ListWindowsMatching(Windows& windows, std::u16string_view pattern,
                                          std::u16string_view process, std::u16string_view className) {
    const std::u16string lowered = LowerCase(pattern);
    const std::u16string wantedClass = LowerCase(className);
    const std::u16string wantedProcess = LowerCase(process);
    std::vector<WindowId> found;
    for (WindowId window : windows.TopLevelWindows()) {
        if (!IsSearchableWindow(windows, window)) continue;
        if (!wantedClass.empty() && LowerCase(windows.GetClassName(window)) != wantedClass) continue;
        if (!wantedProcess.empty()) {
            const std::optional<std::u16string> name = windows.ProcessName(window);
            if (name && LowerCase(*name) != wantedProcess) continue;
        }
        if (!lowered.empty() && !MatchPattern(lowered, LowerCase(windows.GetTitle(window)))) continue;
        found.push_back(window);
    }
    return found;
}

}  // namespace ovrix
