#include "text/close_names.h"

#include <algorithm>
#include <utility>

namespace ziwei {

namespace {

constexpr std::size_t kMostEdits = 2;

std::size_t lengthGap(std::string_view a, std::string_view b) {
  return a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
}

// Levenshtein distance, or kMostEdits + 1 once it is known to exceed
// kMostEdits; `row` is the caller's buffer.
std::size_t editDistance(std::string_view a, std::string_view b, std::vector<std::size_t>& row) {
  if (lengthGap(a, b) > kMostEdits) return kMostEdits + 1;
  row.resize(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    std::size_t best = row[0];
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
      best = std::min(best, row[j]);
    }
    if (best > kMostEdits) return kMostEdits + 1;
  }
  return row[b.size()];
}

}  // namespace

std::string foldAsciiCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::vector<std::string_view> closeNames(std::string_view given,
                                         std::span<const std::string_view> names,
                                         std::size_t most) {
  const std::string wanted = foldAsciiCase(given);
  std::vector<std::pair<std::size_t, std::string_view>> close;  // (distance, name)
  std::vector<std::size_t> row;
  std::string folded;
  for (const std::string_view name : names) {
    if (lengthGap(wanted, name) > kMostEdits) continue;  // folding keeps the length
    folded.assign(name);
    for (char& c : folded) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    const std::size_t distance = editDistance(wanted, folded, row);
    if (distance > kMostEdits) continue;
    if (std::none_of(close.begin(), close.end(), [&](const auto& c) { return c.second == name; })) {
      close.emplace_back(distance, name);
    }
  }
  std::stable_sort(close.begin(), close.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string_view> result;
  for (const auto& [distance, name] : close) {
    if (result.size() == most) break;
    result.push_back(name);
  }
  return result;
}

}  // namespace ziwei
