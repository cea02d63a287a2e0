#pragma once
// The one Big5 encoder of the page files.

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <array>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "unicode/utf8.h"

namespace ziwei {

// The Big5 code of every character U+0000..U+FFFF as the page files write
// it: 0 when Big5 cannot hold the character (and for ASCII, which is
// written as it is), a value below 0x100 for a one-byte code, else the two
// bytes. From page/big5_table.inc.
extern const std::array<std::uint16_t, 0x10000> kBig5Codes;

// The most bytes one character takes: "&#1114111;".
inline constexpr std::size_t kBig5Slack = 16;

namespace big5_detail {

// Copies the ASCII run that starts at `from`, up to `end`, to `to` and
// returns its length.
[[gnu::always_inline]] inline std::size_t copyAsciiRun(const char* from, const char* end,
                                                       char* to) {
  const char* at = from;
#if defined(__SSE2__)
  // Sixteen bytes a step, stored before they are looked at: the bytes beyond
  // the run are written over afterwards.
  for (; end - at >= 16; at += 16, to += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), bytes);
    if (const int high = _mm_movemask_epi8(bytes); high != 0) {
      return static_cast<std::size_t>(at - from) +
             static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(high)));
    }
  }
#endif
  while (at != end && static_cast<unsigned char>(*at) < 0x80) *to++ = *at++;
  return static_cast<std::size_t>(at - from);
}

// The code point of the UTF-8 sequence at `at` (not ASCII), and moves `at`
// past it; nothing (one byte passed) when the sequence is malformed. The
// sequences of U+0080..U+FFFF outside the surrogates are read directly.
[[gnu::always_inline]] inline std::optional<char32_t> takeNonAscii(const char*& at,
                                                                   const char* end) {
  const auto byte = [at](std::ptrdiff_t i) { return static_cast<unsigned char>(at[i]); };
  const std::ptrdiff_t left = end - at;
  if (left >= 3 && byte(0) >= 0xE1 && byte(0) <= 0xEF && byte(0) != 0xED &&
      (byte(1) & 0xC0) == 0x80 && (byte(2) & 0xC0) == 0x80) {
    const auto codePoint =
        static_cast<char32_t>((byte(0) & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 | (byte(2) & 0x3Fu));
    at += 3;
    return codePoint;
  }
  if (left >= 2 && byte(0) >= 0xC2 && byte(0) <= 0xDF && (byte(1) & 0xC0) == 0x80) {
    const auto codePoint = static_cast<char32_t>((byte(0) & 0x1Fu) << 6 | (byte(1) & 0x3Fu));
    at += 2;
    return codePoint;
  }
  std::string_view rest(at, static_cast<std::size_t>(left));
  const std::optional<char32_t> codePoint = takeCodePoint(rest);
  at = end - rest.size();
  return codePoint;
}

}  // namespace big5_detail

// Encodes the UTF-8 text `in` into the room [to, toEnd) as the page files
// write it: ASCII as it is, every other character in Big5 or, where Big5
// cannot hold it, as "&#N;" (each byte of a malformed sequence as
// "&#65533;"). Stops at the end of the text or when less than kBig5Slack
// bytes of room are left; takes what it encoded off `in` and returns the end
// of what it wrote. Text encoded in pieces comes out as encoded whole when no
// piece begins inside a character; held text is never longer in Big5.
[[gnu::always_inline]] inline char* encodeBig5(std::string_view& in, char* to, char* const toEnd) {
  const char* at = in.data();
  const char* const end = at + in.size();
  while (at != end && static_cast<std::size_t>(toEnd - to) >= kBig5Slack) {
    const std::size_t room = static_cast<std::size_t>(toEnd - to);
    const char* const runEnd = static_cast<std::size_t>(end - at) < room ? end : at + room;
    const std::size_t run = big5_detail::copyAsciiRun(at, runEnd, to);
    at += run;
    to += run;
    if (at == runEnd || static_cast<std::size_t>(toEnd - to) < kBig5Slack) continue;
    const std::optional<char32_t> codePoint = big5_detail::takeNonAscii(at, end);
    const std::uint16_t code = codePoint && *codePoint < 0x10000 ? kBig5Codes[*codePoint] : 0;
    if (code > 0xFF) *to++ = static_cast<char>(code >> 8);
    if (code != 0) {
      *to++ = static_cast<char>(code & 0xFF);
      continue;
    }
    *to++ = '&';
    *to++ = '#';
    to = std::to_chars(to, toEnd, static_cast<std::uint32_t>(codePoint ? *codePoint : 0xFFFD)).ptr;
    *to++ = ';';
  }
  in.remove_prefix(static_cast<std::size_t>(at - in.data()));
  return to;
}

// Appends the Big5 bytes of `utf8` to `out`, as encodeBig5 writes them.
void appendBig5(std::string& out, std::string_view utf8);

}  // namespace ziwei
