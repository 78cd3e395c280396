// UTF-16 text helpers shared by every layer: conversion to and from UTF-8,
// simple case folding, and the printf-style formatting the player's texts use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ovrix {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);
// ASCII-only widening for literals and numbers.
std::u16string Widen(std::string_view ascii);

char16_t FoldCase(char16_t ch);
std::u16string LowerCase(std::u16string_view text);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

// Numbers and quotes as the player's texts show them: "%d", "0x%X", "\"%s\"".
std::u16string Decimal(int64_t value);
std::u16string HexText(uint32_t value);
std::u16string Quote(std::u16string_view text);

// Replaces every occurrence of `from` in `text` by `to`.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to);

}  // namespace ovrix
