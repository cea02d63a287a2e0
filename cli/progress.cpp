#include "cli/progress.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace ziwei::cli {

namespace {

void toStandardError(const std::string& text) {
  (void)!::write(STDERR_FILENO, text.data(), text.size());
}

}  // namespace

std::string Progress::counts(std::size_t cast, std::size_t second, double rate) const {
  char text[160];
  std::snprintf(text, sizeof text, "%zu cast, %zu %s, %.0f/s", cast, second,
                second_ == SecondCount::Refused ? "refused" : "found", rate);
  return text;
}

Progress::Progress(std::optional<std::uint64_t> total, SecondCount second)
    : total_(total), second_(second), shown_(::isatty(STDERR_FILENO) == 1) {}

void Progress::update(std::uint64_t done, std::size_t cast, std::size_t refused) {
  if (!shown_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - last_ < std::chrono::milliseconds(200)) return;
  last_ = now;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  // A refused record was dealt with as one cast was; a chart found was cast.
  const std::size_t dealt = cast + (second_ == SecondCount::Refused ? refused : 0);
  const double rate = seconds > 0 ? static_cast<double>(dealt) / seconds : 0;
  std::string line = "\r";
  if (total_) {
    constexpr std::uint64_t kWidth = 30;
    const std::uint64_t total = *total_ == 0 ? 1 : *total_;
    const std::uint64_t part = std::min(done, total);
    const std::uint64_t filled = part * kWidth / total;
    const double fraction = static_cast<double>(part) / static_cast<double>(total);
    const auto left =
        static_cast<long>(fraction > 0 ? seconds * (1 - fraction) / fraction + 0.5 : 0);
    char text[64];
    std::snprintf(text, sizeof text, "] %3u%% ", static_cast<unsigned>(part * 100 / total));
    line += "[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + text;
    std::snprintf(text, sizeof text, ", %ld:%02ld left", left / 60, left % 60);
    line += counts(cast, refused, rate);
    line += text;
  } else {
    line += counts(cast, refused, rate);
  }
  line += "\033[K";
  toStandardError(line);
  drawn_ = true;
}

void Progress::clear() {
  if (drawn_) toStandardError("\r\033[K");
  drawn_ = false;
}

}  // namespace ziwei::cli
