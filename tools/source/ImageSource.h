// The source form of a whole image: its settings, its scripts with their
// streams, and each stream's steps as indented lines. The writer works on
// the stored records, so what it writes compiles back to the same bytes:
// records it cannot show in a readable form are written raw.
//
//     # settings, one per line, in the order the image keeps them
//     repeat 3
//     script 0 "main.mcr"
//       magic
//       version 119
//       IfVar condition=...
//         MsgBox message="hello"
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "FieldValues.h"
#include "SourceText.h"
#include "container/Container.h"

namespace ovrix {

// The image's source text. With `files`, pictures go to files beside the
// source (the caller writes them out); without, they are written inline.
std::u16string WriteImageSource(Region image, PictureFiles* files);

// Compiles a source text to an image; nullopt with the errors added when the
// text has mistakes. `files` (may be null) gives the picture files.
std::optional<Bytes> CompileImageSource(std::u16string_view source, SourceErrors& errors, PictureFiles* files);

// How deep steps may nest in a source file (and in an image the writer shows
// as indented lines; deeper lists are written raw).
constexpr size_t kMaxSourceDepth = 64;

}  // namespace ovrix
