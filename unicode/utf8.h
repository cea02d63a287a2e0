#pragma once
// UTF-8 text as every layer reads it: user input, table texts, messages.

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

// `text` made safe to print as one line of a message: control characters
// (C0, DEL and C1, line breaks included) and bytes that are not valid UTF-8
// are written as "\xNN", so that a given value can neither break the line
// nor send control sequences to a terminal. Other text is kept as it is.
std::string oneLine(std::string_view text);

// oneLine(text) in double quotes, as a message shows a value it refuses.
std::string quotedForMessage(std::string_view text);

}  // namespace ziwei
