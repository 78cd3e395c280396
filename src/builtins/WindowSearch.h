// Finding top-level windows by a title pattern, as the window steps and the
// window functions do.
//
// A title pattern is matched against the whole title: '*' stands for any run
// of characters (none too), '?' for exactly one, and every other character
// for itself. Both sides are lower-cased before matching. At the end of the
// text only an empty rest of the pattern or a single '*' matches, so "abc*"
// matches "abc" but "abc**" does not.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Windows.h"

namespace ovrix {

// The comparison itself, on texts already lower-cased as the caller wants.
// Any pattern is safe: the time is bounded by the product of the lengths.
bool MatchPattern(std::u16string_view pattern, std::u16string_view text);

// Whether a top-level window takes part in title searches: it has a title,
// is visible, and is not the desktop shell ("Progman") or a stray "Button".
bool IsSearchableWindow(Windows& windows, WindowId window);

// Brings a window to the front, restoring it first when it is minimised.
void BringToFront(Windows& windows, WindowId window);

// The first searchable top-level window, front to back, whose title matches
// the pattern without regard to case; kNoWindow when none does.
WindowId FindWindowByTitle(Windows& windows, std::u16string_view pattern);

// Every searchable top-level window, in the system's order, that passes the
// filters that are not empty: the class (without regard to case), the
// process's executable name (without regard to case; a window whose process
// cannot be told passes) and the title pattern.
std::vector<WindowId> ListWindowsMatching(Windows& windows, std::u16string_view pattern,
                                          std::u16string_view process, std::u16string_view className);

}  // namespace ovrix
