// The decisions of the processes family that do not depend on a desktop:
// how a command line and a file to start are built, how numbers and texts
// are packed into the bytes written into another process and unpacked from
// those read, and how a text is read up to its terminating NUL without
// reading the other process's memory unbounded.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Processes.h"

namespace ovrix {

// The parameters "cmd" gets for a command: "/c " and the command with every
// CR LF made '&', so that the lines run one after another.
std::u16string CommandParameters(std::u16string_view command);

// A file name with its environment variables expanded, at most
// kMaxExpandedFile characters (the rest is cut off).
inline constexpr size_t kMaxExpandedFile = 519;
std::u16string ExpandFileName(Processes& processes, std::u16string_view file);

// The memory kinds the read and write functions know, with their sizes.
enum class MemoryKind { Float, Double, Int, Short, Byte };
size_t SizeOf(MemoryKind kind);

// A number as the kind's bytes, little-endian. Integers keep the low bits of
// the number truncated toward zero, so 0xFFFFFFFF writes as an Int of all
// ones and 300 as a Byte of 44.
std::vector<uint8_t> PackNumber(MemoryKind kind, double value);
// The kind's bytes (SizeOf(kind) of them) as a number: Int and Short are
// signed, Byte is not.
double UnpackNumber(MemoryKind kind, const uint8_t* bytes);

// A text as written into another process, with its terminating NUL: UTF-16
// units, or the desktop's 8-bit characters.
std::vector<uint8_t> PackText(CodePage& codePage, std::u16string_view text, bool unicode);

// Reading a text stops at its NUL, at the first byte that cannot be read, or
// after kMaxTextBytes bytes, whichever comes first; no text when not even
// its first character can be read.
inline constexpr size_t kMaxTextBytes = 65536;
std::optional<std::u16string> ReadText(Processes& processes, CodePage& codePage, ProcessHandle& process,
                                       uint64_t address, bool unicode);

}  // namespace ovrix
