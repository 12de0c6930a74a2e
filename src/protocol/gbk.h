// GBK (code page 936) text on the wire, UTF-8 inside the program.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallow::protocol {

// Splits UTF-8 text into its characters (each a UTF-8 byte sequence). Invalid bytes become
// one "character" each so that nothing is lost.
std::vector<std::string_view> Utf8Chars(std::string_view text);

// Number of characters of UTF-8 text.
std::size_t CharCount(std::string_view text);

// The first n characters of UTF-8 text.
std::string FirstChars(std::string_view text, std::size_t n);

// GBK bytes of one UTF-8 character: one byte for a single-byte character, two bytes for a
// double-byte one; nothing when the character has no GBK code.
std::optional<std::string> CharToGbk(std::string_view utf8Char);

// Whole-text conversions. Characters without a GBK code are dropped (ToGbk); byte sequences
// that are not GBK become U+FFFD (FromGbk). Decoding stops at the first NUL byte.
std::string ToGbk(std::string_view utf8);
std::string FromGbk(std::span<const std::uint8_t> gbk);
std::string FromGbk(std::string_view gbk);

// True when the first character of the text is a single-byte GBK character.
bool IsSingleByteGbk(std::string_view utf8);

}  // namespace tallow::protocol
