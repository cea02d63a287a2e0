#include "serve/access_log.h"

#include <limits.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdio>

namespace ziwei::serve {

namespace {

constexpr std::size_t kFlushAt = 16 * 1024;
constexpr std::size_t kMostTargetShown = 1000;
constexpr std::size_t kMostMethodShown = 32;
constexpr std::string_view kHex = "0123456789ABCDEF";

void appendNumber(std::string& out, std::uint64_t value) {
  std::array<char, 24> digits{};
  out.append(digits.data(), std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr);
}

void appendShown(std::string& out, std::string_view text, std::size_t most) {
  if (text.empty()) {
    out += '-';
    return;
  }
  const std::string_view shown = text.substr(0, most);
  for (const char c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7f) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  if (shown.size() < text.size()) out += "...";
}

void writeAll(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(STDERR_FILENO, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;  // nothing is left to tell a failure of standard error to
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

}  // namespace

int WallClock::refresh() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
  const std::time_t second = static_cast<std::time_t>(millis / 1000);
  if (second != second_) {
    second_ = second;
    std::tm parts{};
    ::gmtime_r(&second, &parts);
    httpLength_ = std::strftime(httpDate_, sizeof httpDate_, "%a, %d %b %Y %H:%M:%S GMT", &parts);
    isoLength_ = std::strftime(iso_, sizeof iso_, "%Y-%m-%dT%H:%M:%S", &parts);
  }
  return static_cast<int>(millis % 1000);
}

void AccessLog::add(const WallClock& clock, int millis, std::string_view peer,
                    std::string_view method, std::string_view target, int status,
                    std::uint64_t bytes, std::uint64_t micros) {
  if (!enabled_) return;
  buffer_ += clock.isoSecond();
  buffer_ += '.';
  buffer_ += static_cast<char>('0' + millis / 100);
  buffer_ += static_cast<char>('0' + millis / 10 % 10);
  buffer_ += static_cast<char>('0' + millis % 10);
  buffer_ += "Z ";
  buffer_ += peer;
  buffer_ += ' ';
  appendShown(buffer_, method, kMostMethodShown);
  buffer_ += ' ';
  appendShown(buffer_, target, kMostTargetShown);
  buffer_ += ' ';
  appendNumber(buffer_, static_cast<std::uint64_t>(status));
  buffer_ += ' ';
  appendNumber(buffer_, bytes);
  buffer_ += ' ';
  appendNumber(buffer_, micros);
  buffer_ += '\n';
  if (buffer_.size() >= kFlushAt) flush();
}

void AccessLog::flush() {
  // Whole lines, at most PIPE_BUF bytes a write: one write(2) of a pipe that
  // size is never mixed with another's. A line is shorter than PIPE_BUF.
  std::size_t begin = 0;
  while (begin < buffer_.size()) {
    std::size_t end = buffer_.size();
    if (end - begin > PIPE_BUF) {
      end = buffer_.rfind('\n', begin + PIPE_BUF - 1) + 1;
      if (end <= begin) end = begin + PIPE_BUF;
    }
    writeAll(buffer_.data() + begin, end - begin);
    begin = end;
  }
  buffer_.clear();
}

}  // namespace ziwei::serve
