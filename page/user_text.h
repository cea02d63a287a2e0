#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ziwei {

// Text that a user typed (a name, a date text) as it goes into a page.

// True when `text` is well-formed UTF-8: shortest forms only, no UTF-16
// surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view text);

// Decodes the UTF-8 sequence at the front of `text` and removes it from
// `text`; nothing (and one byte removed) when the sequence is malformed.
std::optional<char32_t> takeCodePoint(std::string_view& text);

// The UTF-8 sequence of code point `c` (at most U+10FFFF).
std::string utf8Of(char32_t c);

// The text as it may stand in a page: & < > " ' become &amp; &lt; &gt;
// &quot; &#39;, "@" becomes &#64; so that no placeholder can be formed, and
// control characters (line breaks included) become "&#N;", so that the page
// stays one line of markup the user cannot change.
std::string escapeUserText(std::string_view text);

}  // namespace ziwei
