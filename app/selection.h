#pragma once
// The birth data as the window's selectors hold them, read into numbers.
// Plain C++ without Qt, so that the fuzzer and the benchmark reach it too.

#include <stdexcept>
#include <string>

#include "birth/lunar_birth.h"

namespace ziwei::desktop {

// The selectors' texts: decimal numbers, the leap flag "正" (normal month)
// or "閏" (leap month), and the sex option.
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

// Reads every selector in turn (year, month, leap flag, day, hour, minute,
// second): a number is one or more ASCII digits within its range, the leap
// flag may carry blanks around it. Throws SelectionError naming the first
// field refused.
LunarBirth readSelection(const BirthSelection& selection, YearRange years = kSelectorYears);

}  // namespace ziwei::desktop
