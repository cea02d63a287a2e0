#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace ziwei {

// The nine minor-period ages of a palace as text, by the first age 1..12
// (minorPeriodFirstAge; each next age is 12 more): as the page's cell shows
// them, each after a blank (" 1 13 25 ... 97"), and as the JSON array holds
// them, separated by commas ("1,13,25,...,97"). Index 0 is the empty text.
class MinorAgesText {
 public:
  constexpr MinorAgesText() = default;
  constexpr MinorAgesText(int firstAge, bool commas) {
    for (int i = 0, age = firstAge; i < 9; ++i, age += 12) {
      if (!commas || i != 0) text_[size_++] = commas ? ',' : ' ';
      if (age >= 100) text_[size_++] = static_cast<char>('0' + age / 100);
      if (age >= 10) text_[size_++] = static_cast<char>('0' + age / 10 % 10);
      text_[size_++] = static_cast<char>('0' + age % 10);
    }
  }
  constexpr std::string_view view() const { return {text_.data(), size_}; }

 private:
  std::array<char, 40> text_{};
  std::size_t size_ = 0;
};

constexpr std::array<MinorAgesText, 13> minorAgesTexts(bool commas) {
  std::array<MinorAgesText, 13> texts{};
  for (int first = 1; first <= 12; ++first) {
    texts[static_cast<std::size_t>(first)] = MinorAgesText(first, commas);
  }
  return texts;
}

inline constexpr std::array<MinorAgesText, 13> kMinorAgesInCell = minorAgesTexts(false);
inline constexpr std::array<MinorAgesText, 13> kMinorAgesInJson = minorAgesTexts(true);

static_assert(kMinorAgesInCell[1].view() == " 1 13 25 37 49 61 73 85 97");
static_assert(kMinorAgesInJson[12].view() == "12,24,36,48,60,72,84,96,108");

}  // namespace ziwei
