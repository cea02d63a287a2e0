#pragma once

#include <optional>
#include <string>

#include "chart/frame/chart_frame.h"

namespace ziwei {

// A chart request as a caller outside the window gives it: the name and the
// lunar birth data as numbers, the month as given (before the leap rule).
// The defaults are the window's start-up selection.
struct BirthInput {
  std::string name = "您的姓名";
  bool male = true;
  int year = 2000;
  int month = 1;
  bool leap = false;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  // The Gregorian date "YYYY-MM-DD" the lunar date was converted from, when
  // the birth was given that way (see page/solar_birth.h).
  std::optional<std::string> solar;
};

// The same birth data as the window's selectors would hold them.
BirthSelection toSelection(const BirthInput& input);

}  // namespace ziwei
