#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"

namespace ziwei {

// The birth data exactly as the window's selectors hold them: decimal texts,
// the leap flag "正" (normal month) or "閏" (leap month), and the sex option.
struct BirthSelection {
  std::string year = "2000";
  std::string month = "1";
  std::string leap = "正";
  std::string day = "1";
  std::string hour = "0";
  std::string minute = "0";
  std::string second = "0";
  bool male = true;
};

// The lunar years a caller accepts. The desktop selectors offer 1912..2010;
// the command line accepts more.
struct YearRange {
  std::int16_t first = 1912;
  std::int16_t last = 2010;
};
inline constexpr YearRange kSelectorYears{1912, 2010};

// A selector text that is not a whole number or lies outside its list.
// what() reads like: year: "1800" is not allowed (allowed: 1912 to 2010).
class SelectionError : public std::invalid_argument {
 public:
  SelectionError(std::string field, std::string given, std::string allowed);

  const std::string& field() const noexcept { return field_; }
  const std::string& given() const noexcept { return given_; }
  const std::string& allowed() const noexcept { return allowed_; }

 private:
  std::string field_;
  std::string given_;
  std::string allowed_;
};

// The first half of the chart request: reads the selection, checks every
// field and computes the whole chart frame. Throws SelectionError, naming the
// first bad field, and computes nothing when a field is refused.
ChartState castFrame(const BirthSelection& selection, YearRange years = kSelectorYears);

// Palace of 紫微 from the bureau's table of lunar days (1..30); 0 for an
// unknown bureau name or a day outside 1..30.
PalaceNum ziWeiPalace(std::string_view bureauName, std::int16_t birthDay);

// The rule every entry of that table follows, for bureau number 2..6 and any
// day from 1 up: with k the least number making day + k a multiple of the
// bureau number and q the quotient, start at 寅, step q - 1 palaces forward,
// then k palaces backward (k odd) or forward (k even). 0 for other inputs.
PalaceNum ziWeiByRule(int bureauNum, int birthDay);

// Palace of 天府, the mirror of 紫微 across the 寅-申 axis; 0 outside 1..12.
PalaceNum tianFuPalace(PalaceNum ziWei);

}  // namespace ziwei
