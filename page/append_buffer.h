#pragma once

#include <array>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace ziwei {

// Collects many small pieces on the stack and appends them to a string in
// large blocks: one bounds check and one copy per piece instead of a
// string's growth check, length update and terminator. finish() must be
// called to hand over what is still buffered.
class AppendBuffer {
 public:
  explicit AppendBuffer(std::string& out) : out_(out) {}
  AppendBuffer(const AppendBuffer&) = delete;
  AppendBuffer& operator=(const AppendBuffer&) = delete;

  AppendBuffer& operator+=(std::string_view text) {
    if (text.size() > kSize - used_) {
      finish();
      if (text.size() > kSize) {
        out_.append(text);
        return *this;
      }
    }
    std::memcpy(buffer_.data() + used_, text.data(), text.size());
    used_ += text.size();
    return *this;
  }

  AppendBuffer& operator+=(char c) {
    if (used_ == kSize) finish();
    buffer_[used_++] = c;
    return *this;
  }

  // The decimal digits of `number`, a minus sign first when negative.
  void appendNumber(int number) {
    if (number >= 0 && number < 1000) {
      char digits[3];
      std::size_t count = 0;
      if (number >= 100) digits[count++] = static_cast<char>('0' + number / 100);
      if (number >= 10) digits[count++] = static_cast<char>('0' + number / 10 % 10);
      digits[count++] = static_cast<char>('0' + number % 10);
      *this += std::string_view(digits, count);
      return;
    }
    char digits[12];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
    *this += std::string_view(digits, static_cast<std::size_t>(end - digits));
  }

  // Appends what is buffered to the string.
  void finish() {
    out_.append(buffer_.data(), used_);
    used_ = 0;
  }

 private:
  static constexpr std::size_t kSize = 4096;
  std::string& out_;
  std::size_t used_ = 0;
  std::array<char, kSize> buffer_;
};

}  // namespace ziwei
