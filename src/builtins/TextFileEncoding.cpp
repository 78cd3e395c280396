#include "builtins/TextFileEncoding.h"

#include "container/Text.h"

namespace ovrix {

namespace {

std::u16string FromUtf16(std::span<const uint8_t> bytes, bool bigEndian) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t first = bytes[2 * i], second = bytes[2 * i + 1];
        text[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    }
    return text;
}

void AppendUtf16(std::vector<uint8_t>& out, std::u16string_view text, bool bigEndian) {
    for (const char16_t unit : text) {
        const auto high = static_cast<uint8_t>(unit >> 8), low = static_cast<uint8_t>(unit & 0xFF);
        out.push_back(bigEndian ? high : low);
        out.push_back(bigEndian ? low : high);
    }
}

}  // namespace

TextEncoding DetectEncoding(std::span<const uint8_t> bytes, size_t& markLength) {
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        markLength = 2;
        return TextEncoding::Utf16Le;
    }
    if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        markLength = 3;
        return TextEncoding::Utf8;
    }
    if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        markLength = 2;
        return TextEncoding::Utf16Be;
    }
    markLength = 0;
    return TextEncoding::Ansi;
}

std::u16string DecodeTextFile(std::span<const uint8_t> bytes, const TextCodePage& ansi) {
    size_t mark = 0;
    const TextEncoding encoding = DetectEncoding(bytes, mark);
    const std::span<const uint8_t> body = bytes.subspan(mark);
    const std::string_view chars(reinterpret_cast<const char*>(body.data()), body.size());
    switch (encoding) {
        case TextEncoding::Utf16Le: return FromUtf16(body, false);
        case TextEncoding::Utf16Be: return FromUtf16(body, true);
        case TextEncoding::Utf8: return FromUtf8(chars);
        case TextEncoding::Ansi: break;
    }
    return ansi.decode(chars);
}

std::vector<uint8_t> EncodeText(std::u16string_view text, TextEncoding encoding, bool mark, const TextCodePage& ansi) {
    std::vector<uint8_t> out;
    switch (encoding) {
        case TextEncoding::Utf16Le:
            if (mark) out = {0xFF, 0xFE};
            AppendUtf16(out, text, false);
            break;
        case TextEncoding::Utf16Be:
            if (mark) out = {0xFE, 0xFF};
            AppendUtf16(out, text, true);
            break;
        case TextEncoding::Utf8: {
            if (mark) out = {0xEF, 0xBB, 0xBF};
            const std::string utf8 = ToUtf8(text);
            out.insert(out.end(), utf8.begin(), utf8.end());
            break;
        }
        case TextEncoding::Ansi: {
            const std::string bytes = ansi.encode(text);
            out.assign(bytes.begin(), bytes.end());
            break;
        }
    }
    return out;
}

}  // namespace ovrix
