#include "text/close_names.h"

#include <algorithm>
#include <utility>

#include "unicode/utf8.h"

namespace ziwei {

namespace {

template <class Sequence>
std::size_t lengthGap(const Sequence& a, const Sequence& b) {
  return a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
}

// Levenshtein distance, or `most` + 1 once it is known to exceed `most`;
// `row` is the caller's buffer.
template <class Sequence>
std::size_t editDistance(const Sequence& a, const Sequence& b, std::size_t most,
                         std::vector<std::size_t>& row) {
  if (lengthGap(a, b) > most) return most + 1;
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
    if (best > most) return most + 1;
  }
  return row[b.size()];
}

// The code points of `text` with A-Z made lower case; a malformed byte
// stands as U+FFFD.
std::u32string foldedCharacters(std::string_view text) {
  std::u32string characters;
  while (!text.empty()) {
    char32_t c = takeCodePoint(text).value_or(U'\uFFFD');
    if (c >= U'A' && c <= U'Z') c = c - U'A' + U'a';
    characters.push_back(c);
  }
  return characters;
}

// The names within `edits` of `given` once both are made sequences by
// `fold`, the closest first and in their order among equals, at most `most`
// of them and no name twice.
template <class Fold>
std::vector<std::string_view> closest(std::string_view given,
                                      std::span<const std::string_view> names, std::size_t edits,
                                      std::size_t most, Fold fold) {
  const auto wanted = fold(given);
  std::vector<std::pair<std::size_t, std::string_view>> close;  // (distance, name)
  std::vector<std::size_t> row;
  for (const std::string_view name : names) {
    const std::size_t distance = editDistance(wanted, fold(name), edits, row);
    if (distance > edits) continue;
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
  return closest(given, names, 2, most, foldAsciiCase);
}

std::vector<std::string_view> closeNamesByCharacter(std::string_view given,
                                                    std::span<const std::string_view> names,
                                                    std::size_t edits, std::size_t most) {
  return closest(given, names, edits, most, foldedCharacters);
}

}  // namespace ziwei
