#pragma once
// An input read in blocks from a file or standard input, so that memory stays
// bounded however long the input: what is not consumed yet is kept.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ziwei::cli {

// The longest line (or CSV record) read; a longer one is refused with
// kTooLong and skipped.
inline constexpr std::size_t kLongestLine = 1 << 20;
inline constexpr std::string_view kTooLong =
    "longer than 1 MiB (1048576 bytes), the longest allowed";

// An input that could not be opened or read; the message names it and the
// cause.
struct InputError {
  std::string message;
};

class Input {
 public:
  // The file `path`, or standard input when there is none. Throws InputError.
  explicit Input(const std::optional<std::string>& path);
  // The bytes of `text`, for tests and fuzzing.
  static Input ofText(std::string_view text);
  ~Input();
  Input(Input&& other) noexcept;
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;
  Input& operator=(Input&&) = delete;

  // The bytes read and not yet consumed; invalidated by fill().
  std::string_view data() const { return std::string_view(buffer_).substr(at_); }
  // Reads the next block; false at the end of the input. Throws InputError.
  bool fill();
  // Drops the bytes up to and with the next line feed, reading as needed.
  void skipLine();
  // Drops the first `count` bytes of data().
  void consume(std::size_t count) {
    at_ += count;
    consumed_ += count;
  }
  bool ended() const { return ended_; }
  // Bytes consumed so far, and the whole size when the input is a file.
  std::uint64_t consumed() const { return consumed_; }
  std::optional<std::uint64_t> size() const { return size_; }
  const std::string& name() const { return name_; }

 private:
  Input() = default;
  int fd_ = -1;
  bool ownFd_ = false;
  bool ended_ = false;
  std::string name_;
  std::string buffer_;
  std::size_t at_ = 0;
  std::uint64_t consumed_ = 0;
  std::optional<std::uint64_t> size_;
};

}  // namespace ziwei::cli
