#pragma once
// The progress bar of ziwei batch on a terminal's standard error.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace ziwei::cli {

// One line, redrawn at most five times a second; nothing when standard
// error is not a terminal. The bar shows `done` of `total` (input bytes or
// births) when the total is known, and always the charts cast, the records
// refused and the rate.
class Progress {
 public:
  explicit Progress(std::optional<std::uint64_t> total);
  void update(std::uint64_t done, std::size_t cast, std::size_t refused);
  // Clears the bar, so that a message can take the line.
  void clear();

 private:
  std::optional<std::uint64_t> total_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point last_{};
  bool shown_;
  bool drawn_ = false;
};

}  // namespace ziwei::cli
