#include "builtins/ProcessMemory.h"

#include <algorithm>
#include <cstring>

#include "container/Text.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

// Reads go page by page: the system reads nothing of a span that reaches
// into an unmapped page, so a text just before one is still read whole.
constexpr uint64_t kPageSize = 4096;
constexpr size_t kChunk = 256;

template <class T>
std::vector<uint8_t> BytesOf(T value) {
    std::vector<uint8_t> bytes(sizeof(T));
    std::memcpy(bytes.data(), &value, sizeof(T));
    return bytes;
}

template <class T>
T ValueAt(const uint8_t* bytes) {
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

// Appends what can be read of [address, address + size) to `out`; false
// when something could not be read (what came before it is kept).
bool ReadSpan(Processes& processes, ProcessHandle& process, uint64_t address, size_t size,
              std::vector<uint8_t>& out) {
    std::vector<uint8_t> chunk(size);
    if (processes.ReadMemory(process, address, chunk)) {
        out.insert(out.end(), chunk.begin(), chunk.end());
        return true;
    }
    // Readable memory may end inside the span: take it byte by byte.
    uint8_t byte = 0;
    for (size_t i = 0; i < size; ++i) {
        if (!processes.ReadMemory(process, address + i, std::span<uint8_t>(&byte, 1))) return false;
        out.push_back(byte);
    }
    return true;
}

}  // namespace

std::u16string CommandParameters(std::u16string_view command) {
    return u"/c " + ReplaceAll(command, u"\r\n", u"&");
}

std::u16string ExpandFileName(Processes& processes, std::u16string_view file) {
    std::u16string expanded = processes.ExpandEnvironment(file);
    if (expanded.size() > kMaxExpandedFile) expanded.resize(kMaxExpandedFile);
    return expanded;
}

size_t SizeOf(MemoryKind kind) {
    switch (kind) {
        case MemoryKind::Float: return 4;
        case MemoryKind::Double: return 8;
        case MemoryKind::Int: return 4;
        case MemoryKind::Short: return 2;
        case MemoryKind::Byte: return 1;
    }
    return 0;
}

std::vector<uint8_t> PackNumber(MemoryKind kind, double value) {
    if (kind == MemoryKind::Float) return BytesOf(static_cast<float>(value));
    if (kind == MemoryKind::Double) return BytesOf(value);
    const uint64_t bits = static_cast<uint64_t>(TruncateToInt64(value));
    std::vector<uint8_t> bytes(SizeOf(kind));
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
    return bytes;
}

double UnpackNumber(MemoryKind kind, const uint8_t* bytes) {
    switch (kind) {
        case MemoryKind::Float: return ValueAt<float>(bytes);
        case MemoryKind::Double: return ValueAt<double>(bytes);
        case MemoryKind::Int: return ValueAt<int32_t>(bytes);
        case MemoryKind::Short: return ValueAt<int16_t>(bytes);
        case MemoryKind::Byte: return bytes[0];
    }
    return 0.0;
}

std::vector<uint8_t> PackText(CodePage& codePage, std::u16string_view text, bool unicode) {
    if (!unicode) {
        const std::string ansi = codePage.ToAnsi(text, false);
        std::vector<uint8_t> bytes(ansi.begin(), ansi.end());
        bytes.push_back(0);
        return bytes;
    }
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2 + 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::optional<std::u16string> ReadText(Processes& processes, CodePage& codePage, ProcessHandle& process,
                                       uint64_t address, bool unicode) {
    const size_t unit = unicode ? 2 : 1;
    std::vector<uint8_t> bytes;
    size_t end = std::u16string::npos;  // bytes before the NUL
    bool readable = true;
    while (end == std::u16string::npos && readable && bytes.size() < kMaxTextBytes) {
        const uint64_t at = address + bytes.size();
        const size_t toPage = static_cast<size_t>(kPageSize - at % kPageSize);
        const size_t size = std::min({kChunk, toPage, kMaxTextBytes - bytes.size()});
        const size_t scanned = bytes.size() - bytes.size() % unit;
        readable = ReadSpan(processes, process, at, size, bytes);
        for (size_t i = scanned; i + unit <= bytes.size(); i += unit) {
            if (bytes[i] == 0 && (unit == 1 || bytes[i + 1] == 0)) {
                end = i;
                break;
            }
        }
    }
    if (end == std::u16string::npos) end = bytes.size() - bytes.size() % unit;
    if (end == 0 && bytes.size() < unit) return std::nullopt;
    if (!unicode) return codePage.FromAnsi(std::string_view(reinterpret_cast<const char*>(bytes.data()), end));
    std::u16string text;
    text.reserve(end / 2);
    for (size_t i = 0; i < end; i += 2) text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return text;
}

}  // namespace ovrix
