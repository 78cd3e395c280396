// File finders: a directory search run one match at a time. The search
// itself is the platform's (FileSearch of platform/Files.h); this
// file holds the finder's state machine and the shape of its answers.
//
// States: a new finder has its first-call flag at 1 and a search object.
// The first FindNextFile starts the search (First) and clears the flag;
// later calls continue it (Next). When the search runs out the search
// object is dropped, and from then on every call answers no value. The
// folder entries "." and ".." are never answered.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "expr/Array.h"
#include "platform/Files.h"

namespace ovrix {

// A new finder over the pattern. An empty pattern or no search object
// answers no value.
PExprItem CreateFileFinder(std::u16string_view pattern, std::unique_ptr<FileSearch> search);

// The folder part of a pattern: everything up to and including its last
// '\', '/' or ':'; empty when it has none.
std::u16string PatternFolder(std::u16string_view pattern);

// The next match of a finder as named data, or no value when the argument
// is not a finder or the search has run out. The entries, in this order:
// "FileName" (Text), "FullPath" (Text: the pattern's folder and the name),
// "IsFolder" (Bool), "Size" (Number), "Attributes" (Number shown in hex),
// "CreationTime", "LastAccessTime", "LastModifyTime" (DateTime).
PExprItem FindNextFile(const PExprItem& finder);

namespace containers {

PExprItem FindNextFile(Arguments args);  // finder

}  // namespace containers

}  // namespace ovrix
