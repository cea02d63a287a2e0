#pragma once
// The progress bar of ziwei batch and ziwei find on a terminal's standard
// error.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace ziwei::cli {

// One line, redrawn at most five times a second; nothing when standard
// error is not a terminal. The bar shows `done` of `total` (input bytes or
// births) when the total is known, and always the charts cast, the second
// count (the records refused, or the charts found among those cast) and the
// rate of records or charts.
enum class SecondCount { Refused, Found };
class Progress {
 public:
  explicit Progress(std::optional<std::uint64_t> total, SecondCount second = SecondCount::Refused);
  void update(std::uint64_t done, std::size_t cast, std::size_t refused);
  // Clears the bar, so that a message can take the line.
  void clear();

 private:
  std::string counts(std::size_t cast, std::size_t second, double rate) const;
  std::optional<std::uint64_t> total_;
  SecondCount second_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point last_{};
  bool shown_;
  bool drawn_ = false;
};

}  // namespace ziwei::cli
