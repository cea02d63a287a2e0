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

// A piece made once (say the whole text of a table entry) and appended
// many times. It is kept in a room of fixed size, so that appending it is
// one copy of a fixed size, a few moves, rather than a copy of varying
// length; a fragment that fits in `Short` bytes (say in the vocabularies
// most written) takes the shorter copy.
template <std::size_t Room, std::size_t Short = Room>
class Fragment {
  static_assert(Room <= 255 && Short <= Room);

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

  // Copies it less its first `skip` bytes (0 or 1: say the comma before a
  // list item, left out for the first) to `to`, where Room bytes are free,
  // and returns the end of the copy.
  [[gnu::always_inline]] char* copyTo(char* to, std::size_t skip = 0) const {
    const std::size_t size = size_ - skip;
    if constexpr (Short < Room) {
      if (size <= Short) {
        std::memcpy(to, bytes_.data() + skip, Short);
        return to + size;
      }
    }
    std::memcpy(to, bytes_.data() + skip, Room);
    return to + size;
  }

 private:
  std::array<char, Room + 1> bytes_{};  // one more, so that a room from bytes_ + 1 lies inside
  std::uint8_t size_ = 0;
};

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

  // A fragment less its first `skip` bytes (see Fragment::copyTo).
  template <std::size_t Room, std::size_t Short>
  [[gnu::always_inline]] void append(const Fragment<Room, Short>& fragment, std::size_t skip = 0) {
    static_assert(Room <= kSize);
    if (kSize - used_ < Room) finish();
    used_ =
        static_cast<std::size_t>(fragment.copyTo(buffer_.data() + used_, skip) - buffer_.data());
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

  // For FragmentCursor: where the next byte goes and where the buffer
  // ends; the end of what was written there; and, for a cursor that needs
  // room, the buffer handed over up to `end` and emptied.
  char* next() { return buffer_.data() + used_; }
  const char* end() const { return buffer_.data() + kSize; }
  void advanceTo(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }
  [[gnu::noinline]] char* flushAt(const char* end) {
    advanceTo(end);
    finish();
    return buffer_.data();
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

// Appends a run of many fragments and literal pieces to an AppendBuffer
// through a pointer of its own. Kept in a local, the pointer stays in a
// register, where the buffer's own count, written through the same bytes,
// would be read back after every piece. The buffer must not be written
// otherwise while the cursor lives; it takes the count back when the cursor
// goes.
class FragmentCursor {
 public:
  explicit FragmentCursor(AppendBuffer& out) : out_(out), to_(out.next()) {}
  ~FragmentCursor() { out_.advanceTo(to_); }
  FragmentCursor(const FragmentCursor&) = delete;
  FragmentCursor& operator=(const FragmentCursor&) = delete;

  // A fragment less its first `skip` bytes (see Fragment::copyTo).
  template <std::size_t Room, std::size_t Short>
  [[gnu::always_inline]] void append(const Fragment<Room, Short>& fragment, std::size_t skip = 0) {
    makeRoom(Room);
    to_ = fragment.copyTo(to_, skip);
  }

  // A literal piece that isPlainAscii.
  template <std::size_t N>
  [[gnu::always_inline]] FragmentCursor& operator+=(const char (&literal)[N]) {
    makeRoom(N - 1);
    std::memcpy(to_, literal, N - 1);
    to_ += N - 1;
    return *this;
  }

 private:
  [[gnu::always_inline]] void makeRoom(std::size_t size) {
    if (static_cast<std::size_t>(out_.end() - to_) < size) to_ = out_.flushAt(to_);
  }

  AppendBuffer& out_;
  char* to_;
};

}  // namespace ziwei
