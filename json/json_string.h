#pragma once
// A JSON string: "\"", "\\" and control characters escaped (as \b \t \n \f
// \r or \u00XX), everything else as it is.

#include <array>
#include <cstddef>
#include <string_view>

namespace ziwei {

namespace detail {
// The escape of each byte: 0 for none, else the letter after the backslash
// ('u' for \u00XX).
inline constexpr std::array<char, 128> kJsonEscapes = [] {
  std::array<char, 128> escapes{};
  for (std::size_t c = 0; c < 0x20; ++c) escapes[c] = 'u';
  escapes['\b'] = 'b';
  escapes['\t'] = 't';
  escapes['\n'] = 'n';
  escapes['\f'] = 'f';
  escapes['\r'] = 'r';
  escapes['"'] = '"';
  escapes['\\'] = '\\';
  return escapes;
}();
}  // namespace detail

// Appends the JSON string of `text`, which must be valid UTF-8, to `out`
// (a std::string or anything that takes += of a char and a string_view).
template <class Out>
void appendJsonString(Out& out, std::string_view text) {
  out += '"';
  std::size_t done = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80 || detail::kJsonEscapes[byte] == 0) continue;
    out += text.substr(done, i - done);
    out += '\\';
    out += detail::kJsonEscapes[byte];
    if (detail::kJsonEscapes[byte] == 'u') {
      constexpr std::string_view kHex = "0123456789ABCDEF";
      out += std::string_view("00");
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
    done = i + 1;
  }
  out += text.substr(done);
  out += '"';
}

}  // namespace ziwei
