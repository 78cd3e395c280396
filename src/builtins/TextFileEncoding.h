// How text files are read and written: the byte order mark decides the
// encoding of a file that has one (UTF-16LE FF FE, UTF-8 EF BB BF, UTF-16BE
// FE FF); a file without a mark is read in the desktop's ANSI code page (the
// system's on Windows, Windows-1252 on the simulated desktop), never guessed
// to be UTF-8. New text is written as UTF-16LE with its mark, or in the ANSI
// code page without one; text added to a file goes in the encoding its mark
// names, with no second mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ovrix {

enum class TextEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The largest file the text and binary loaders read whole; a bigger one
// gives no value rather than the player's whole memory.
inline constexpr uint64_t kMaxLoadedFileBytes = 256ull * 1024 * 1024;

// The ANSI code page's two directions, from the desktop.
struct TextCodePage {
    std::function<std::u16string(std::string_view)> decode;
    std::function<std::string(std::u16string_view)> encode;
};

// The encoding the file's first bytes name, and the length of its mark (0
// for Ansi).
TextEncoding DetectEncoding(std::span<const uint8_t> bytes, size_t& markLength);

// A whole file's text. A UTF-16 file of an odd length loses its last byte.
std::u16string DecodeTextFile(std::span<const uint8_t> bytes, const TextCodePage& ansi);

// The bytes of the text in the encoding, with the encoding's mark first
// when `mark` is true (Ansi has none).
std::vector<uint8_t> EncodeText(std::u16string_view text, TextEncoding encoding, bool mark, const TextCodePage& ansi);

}  // namespace ovrix
