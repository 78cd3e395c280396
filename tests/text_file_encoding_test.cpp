// Reading and writing text files: which encoding a file's first bytes name,
// and the bytes each encoding writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builtins/TextFileEncoding.h"
#include "platform/Windows1252.h"

namespace ovrix {
namespace {

using Bytes = std::vector<uint8_t>;

const TextCodePage kCodePage{FromWindows1252, ToWindows1252};

TEST(TextFileEncoding, TheMarkDecidesAndAFileWithoutOneIsAnsi) {
    const struct {
        Bytes bytes;
        std::u16string text;
    } cases[] = {
        {{0xFF, 0xFE, 0x41, 0x00, 0xE9, 0x00, 0x3D, 0xD8, 0x00, 0xDE}, u"A\u00E9\U0001F600"},
        {{0xEF, 0xBB, 0xBF, 0xC3, 0xA9, 0x41}, u"\u00E9A"},
        {{0xFE, 0xFF, 0x00, 0x41, 0x20, 0xAC}, u"A\u20AC"},
        // No mark: the code page, even where the bytes would be good UTF-8.
        {{0xC3, 0xA9, 0x80, 0x81}, u"\u00C3\u00A9\u20AC\u0081"},
        {{0xFF, 0xFE, 0x41, 0x00, 0x42}, u"A"},  // an odd last byte is dropped
        {{0xFF}, u"\u00FF"},                    // too short for a mark
        {{}, u""},
    };
    for (const auto& c : cases) EXPECT_EQ(DecodeTextFile(c.bytes, kCodePage), c.text) << c.bytes.size();
}

TEST(TextFileEncoding, EachEncodingWritesItsBytes) {
    const std::u16string text = u"\u00E9\u20AC\U0001F600";
    EXPECT_EQ(EncodeText(text, TextEncoding::Utf16Le, true, kCodePage),
              (Bytes{0xFF, 0xFE, 0xE9, 0x00, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(EncodeText(u"A", TextEncoding::Utf16Le, false, kCodePage), (Bytes{0x41, 0x00}));
    EXPECT_EQ(EncodeText(u"A", TextEncoding::Utf16Be, true, kCodePage), (Bytes{0xFE, 0xFF, 0x00, 0x41}));
    EXPECT_EQ(EncodeText(u"\u00E9", TextEncoding::Utf8, false, kCodePage), (Bytes{0xC3, 0xA9}));
    EXPECT_EQ(EncodeText(u"\u00E9", TextEncoding::Utf8, true, kCodePage), (Bytes{0xEF, 0xBB, 0xBF, 0xC3, 0xA9}));
    // The code page has no mark; what it cannot hold is one '?' a character.
    EXPECT_EQ(EncodeText(text + u"\u0416", TextEncoding::Ansi, true, kCodePage), (Bytes{0xE9, 0x80, '?', '?'}));
}

// Every byte reads as a character that writes back as the same byte.
TEST(TextFileEncoding, Windows1252RoundTripsEveryByte) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::u16string text = FromWindows1252(all);
    EXPECT_EQ(text[0x80], u'\u20AC');
    EXPECT_EQ(text[0x9F], u'\u0178');
    EXPECT_EQ(ToWindows1252(text), all);
}

}  // namespace
}  // namespace ovrix
