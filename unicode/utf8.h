#pragma once
// UTF-8 text as every layer reads it: user input, table texts, messages.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace ziwei {

// True when `text` is well-formed UTF-8: shortest forms only, no UTF-16
// surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

// Decodes the UTF-8 sequence at the front of `text` and removes it from
// `text`; nothing (and one byte removed) when the sequence is malformed.
std::optional<char32_t> takeCodePoint(std::string_view& text);

// The UTF-8 sequence of code point `c` (at most U+10FFFF).
std::string utf8Of(char32_t c);

// The length of the longest start of `text` within `most` bytes that ends
// at a character boundary (`text.size()` when it is not longer): where a text
// is cut without splitting a character.
std::size_t utf8CutWithin(std::string_view text, std::size_t most);

// The first character of `text` that a name or a message value may not hold:
// a byte that is not valid UTF-8, or a control character (C0, DEL and C1,
// line breaks included). `character` counts from 1.
struct TextFlaw {
  std::size_t byte = 0;          // where it begins
  std::size_t character = 1;     // the how-manyth character it is
  std::optional<char32_t> code;  // the control character, or none for a malformed byte
};
std::optional<TextFlaw> firstFlaw(std::string_view text);

// What is wrong, in English: "the text is not valid UTF-8 (byte 7, character
// 3)" or "the text holds the control character U+0085 (character 3)".
std::string describeFlaw(const TextFlaw& flaw);

// `text` made safe to print as one line of a message: control characters
// (C0, DEL and C1, line breaks included) and bytes that are not valid UTF-8
// are written as "\xNN", so that a given value can neither break the line
// nor send control sequences to a terminal. Other text is kept as it is.
std::string oneLine(std::string_view text);

// oneLine(text) in double quotes, as a message shows a value it refuses: at
// most its first 200 bytes (cut at a character boundary), followed by the
// whole length when cut, e.g. "\"Asia/...\"... (131072 bytes)".
inline constexpr std::size_t kShownBytes = 200;
std::string quotedForMessage(std::string_view text);

}  // namespace ziwei
