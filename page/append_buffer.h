#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "page/page_file.h"
#include "page/user_text.h"

namespace ziwei {

// True when `text` is ASCII without "@": a fragment that a writer may copy
// as it is in either encoding.
constexpr bool isPlainAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80 || c == '@') return false;
  }
  return true;
}

// Collects many small pieces on the stack and appends them to a string in
// large blocks: one bounds check and one copy per piece instead of a
// string's growth check, length update and terminator. finish() must be
// called to hand over what is still buffered.
//
// Given a Big5 code table (see big5Codes()), text added with += is written
// in Big5 as encodePage writes it, and a "@" in it is noted; ascii() pieces
// are copied as they are in either case.
class AppendBuffer {
 public:
  explicit AppendBuffer(std::string& out,
                        std::optional<std::span<const std::uint16_t, 0x10000>> big5 = std::nullopt)
      : out_(out), big5_(big5) {}
  AppendBuffer(const AppendBuffer&) = delete;
  AppendBuffer& operator=(const AppendBuffer&) = delete;

  // A piece that isPlainAscii. (Always inlined: most pieces are literals,
  // whose copy the compiler then makes with a few moves.)
  [[gnu::always_inline]] void ascii(std::string_view text) {
    if (text.size() <= kSize - used_) {
      std::memcpy(buffer_.data() + used_, text.data(), text.size());
      used_ += text.size();
    } else {
      appendAfterFinish(text);
    }
  }

  [[gnu::always_inline]] AppendBuffer& operator+=(std::string_view text) {
    if (big5_) {
      appendBig5Text(text);
    } else {
      ascii(text);
    }
    return *this;
  }

  [[gnu::always_inline]] AppendBuffer& operator+=(char c) {
    if (used_ == kSize) finish();
    buffer_[used_++] = c;
    if (c == '@') sawAt_ = true;
    return *this;
  }

  // The decimal digits of `number`, a minus sign first when negative.
  [[gnu::always_inline]] void appendNumber(int number) {
    constexpr std::size_t kLongest = 11;  // "-2147483648"
    if (kSize - used_ < kLongest) finish();
    char* to = buffer_.data() + used_;
    if (number >= 0 && number < 1000) {
      if (number >= 100) *to++ = static_cast<char>('0' + number / 100);
      if (number >= 10) *to++ = static_cast<char>('0' + number / 10 % 10);
      *to++ = static_cast<char>('0' + number % 10);
    } else {
      to = std::to_chars(to, to + kLongest, number).ptr;
    }
    used_ = static_cast<std::size_t>(to - buffer_.data());
  }

  // True when text added with += is written in Big5.
  bool writesBig5() const { return big5_.has_value(); }

  // Bytes already in the buffer's encoding, holding no "@" of the text they
  // stand for (say a table text encoded beforehand).
  [[gnu::always_inline]] void encoded(std::string_view bytes) { ascii(bytes); }

  // True when Big5 text added with += held a "@".
  bool sawAt() const { return sawAt_; }

  // Hands over what is buffered, then buffers `text` or, when it is longer
  // than the buffer, appends it directly.
  [[gnu::noinline]] void appendAfterFinish(std::string_view text) {
    finish();
    if (text.size() > kSize) {
      out_.append(text);
    } else {
      std::memcpy(buffer_.data(), text.data(), text.size());
      used_ = text.size();
    }
  }

  // Appends what is buffered to the string.
  void finish() {
    out_.append(buffer_.data(), used_);
    used_ = 0;
  }

 private:
  // Every character of `text` in Big5: at most two bytes for a character of
  // two or three UTF-8 bytes, "&#N;" for what Big5 cannot hold, "&#65533;"
  // for each byte of a malformed sequence (as takeCodePoint reads it).
  void appendBig5Text(std::string_view text) {
    // Room for the text and one reference; a reference makes room again.
    if (text.size() + kLongestReference > kSize - used_) {
      finish();
      if (text.size() + kLongestReference > kSize) {
        if (text.find('@') != std::string_view::npos) sawAt_ = true;
        appendBig5(out_, text);
        return;
      }
    }
    const char* at = text.data();
    const char* const end = at + text.size();
    char* to = buffer_.data() + used_;
    // Kept in a local while the bytes are stored: a member would be read
    // back after every store of a char, which may alias it.
    bool sawAt = false;
    const auto byte = [&at](std::size_t i) { return static_cast<unsigned char>(at[i]); };
    while (at != end) {
      const unsigned char lead = byte(0);
      if (lead < 0x80) {
        sawAt = sawAt || lead == '@';
        *to++ = *at++;
        continue;
      }
      const auto left = static_cast<std::size_t>(end - at);
      std::optional<char32_t> codePoint;
      if (left >= 3 && lead >= 0xE1 && lead <= 0xEF && lead != 0xED && (byte(1) & 0xC0) == 0x80 &&
          (byte(2) & 0xC0) == 0x80) {
        // U+1000..U+FFFF outside the surrogates, where Chinese lies.
        codePoint = static_cast<char32_t>((lead & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 |
                                          (byte(2) & 0x3Fu));
        at += 3;
      } else if (left >= 2 && lead >= 0xC2 && lead <= 0xDF && (byte(1) & 0xC0) == 0x80) {
        codePoint = static_cast<char32_t>((lead & 0x1Fu) << 6 | (byte(1) & 0x3Fu));
        at += 2;
      } else {
        std::string_view rest(at, left);
        codePoint = takeCodePoint(rest);
        at = end - rest.size();
      }
      const std::uint16_t code = codePoint && *codePoint < 0x10000 ? (*big5_)[*codePoint] : 0;
      if (code > 0xFF) *to++ = static_cast<char>(code >> 8);
      if (code != 0) {
        *to++ = static_cast<char>(code & 0xFF);
        continue;
      }
      *to++ = '&';
      *to++ = '#';
      to = std::to_chars(to, to + 8, static_cast<std::uint32_t>(codePoint ? *codePoint : 0xFFFD))
               .ptr;
      *to++ = ';';
      used_ = static_cast<std::size_t>(to - buffer_.data());
      if (static_cast<std::size_t>(end - at) + kLongestReference > kSize - used_) {
        finish();
        to = buffer_.data();
      }
    }
    sawAt_ = sawAt_ || sawAt;
    used_ = static_cast<std::size_t>(to - buffer_.data());
  }

  static constexpr std::size_t kSize = 4096;
  static constexpr std::size_t kLongestReference = 16;  // "&#1114111;"
  std::string& out_;
  std::optional<std::span<const std::uint16_t, 0x10000>> big5_;
  std::size_t used_ = 0;
  bool sawAt_ = false;
  std::array<char, kSize> buffer_;
};

}  // namespace ziwei
