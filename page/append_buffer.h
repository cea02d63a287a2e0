#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "page/big5.h"
#include "page/page_file.h"

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
// Writing Big5, text added with += is encoded as the page files write it
// (encodeBig5); ascii() pieces are copied as they are in either case.
class AppendBuffer {
 public:
  explicit AppendBuffer(std::string& out, PageEncoding encoding = PageEncoding::Utf8)
      : out_(out), big5_(encoding == PageEncoding::Big5) {}
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

  // The last two decimal digits of `number` (0 <= number), a leading zero
  // included: the parts of dates and clock times.
  [[gnu::always_inline]] void appendTwoDigits(int number) {
    *this += static_cast<char>('0' + number / 10 % 10);
    *this += static_cast<char>('0' + number % 10);
  }

  // True when text added with += is written in Big5.
  bool writesBig5() const { return big5_; }

  // Bytes already in the buffer's encoding (say a table text encoded
  // beforehand).
  [[gnu::always_inline]] void encoded(std::string_view bytes) { ascii(bytes); }

  // The first `size` bytes of the `Room` bytes at `bytes`, which are in the
  // buffer's encoding already: the whole room is copied (a fixed-size copy,
  // a few moves) and `size` bytes of it kept.
  template <std::size_t Room>
  [[gnu::always_inline]] void room(const char* bytes, std::size_t size) {
    static_assert(Room <= kSize);
    if (kSize - used_ < Room) finish();
    std::memcpy(buffer_.data() + used_, bytes, Room);
    used_ += size;
  }

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
  void appendBig5Text(std::string_view text) {
    for (;;) {
      used_ = static_cast<std::size_t>(
          encodeBig5(text, buffer_.data() + used_, buffer_.data() + kSize) - buffer_.data());
      if (text.empty()) return;
      finish();
    }
  }

  static constexpr std::size_t kSize = 4096;
  std::string& out_;
  bool big5_;
  std::size_t used_ = 0;
  std::array<char, kSize> buffer_;
};

// A piece made once (say the whole text of a table entry) and appended
// many times, kept in a room of fixed size so that appending it is one
// fixed-size copy (AppendBuffer::room) rather than a copy of varying length.
template <std::size_t Room>
class Fragment {
  static_assert(Room <= 255);

 public:
  // Adds `text` (bytes in the encoding of the buffers it is appended to).
  // Throws std::length_error past the room.
  constexpr Fragment& operator+=(std::string_view text) {
    if (text.size() > Room - size_) throw std::length_error("a fragment outgrew its room");
    for (const char c : text) bytes_[size_++] = c;
    return *this;
  }
  constexpr Fragment& operator+=(char c) { return *this += std::string_view(&c, 1); }

  constexpr std::string_view view() const { return {bytes_.data(), size_}; }

  // Appends it less its first `skip` bytes (0 or 1: say the comma before a
  // list item, left out for the first).
  [[gnu::always_inline]] void appendTo(AppendBuffer& out, std::size_t skip = 0) const {
    out.room<Room>(bytes_.data() + skip, size_ - skip);
  }

 private:
  std::array<char, Room + 1> bytes_{};  // one more, so that a room from bytes_ + 1 lies inside
  std::uint8_t size_ = 0;
};

}  // namespace ziwei
