#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "birth/lunar_birth.h"
#include "chart/chart.h"

namespace ziwei::test {

// 1984 (甲子), month 1, day 1, hour 0, male, normal month: 陽男, Life and
// Body at 寅, 火六局, 紫微 at 酉, 天府 at 未.
inline LunarBirth firstExampleBirth() { return {1984, 1, false, 1, 0, 0, 0, true}; }

// 2000 (庚辰), leap month 4, day 20, hour 13, female: month 5, 陽女, Life at
// 亥, Body at 丑, 土五局, 紫微 at 巳, 天府 at 亥.
inline LunarBirth secondExampleBirth() { return {2000, 4, true, 20, 13, 0, 0, false}; }

// The chart of `birth` for `name` (at `target`, when given).
inline Chart chartOf(const LunarBirth& birth, std::string name = "您的姓名",
                     std::optional<TargetMoment> target = std::nullopt) {
  ChartRequest request;
  request.birth = birth;
  request.name = std::move(name);
  request.target = target;
  return cast(request);
}

// The same chart for another name.
inline Chart renamed(Chart chart, std::string_view name) {
  chart.request.name = std::string(name);
  return chart;
}

inline Chart firstExample() { return chartOf(firstExampleBirth()); }
inline Chart secondExample() { return chartOf(secondExampleBirth()); }

// Sixty years (every stem and branch), every month, every third day (each
// day in turn), the leap flag, hours, minutes, sexes and names rotating with
// them: 7200 births. Some carry a solar date; names need escaping in HTML
// and JSON.
inline std::vector<BirthRequest> spreadBirths() {
  const std::vector<std::string> names = {"陳大文", "", "@CYY@ & <b>\"q\"",
                                          "a\nb\\@PAGENOTE@\x01\x1F\x7F"};
  std::vector<BirthRequest> births;
  for (int year = 1912; year < 1972; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1 + (year + month) % 3; day <= 30; day += 3) {
        BirthRequest request;
        LunarBirth& birth = request.birth;
        birth.year = year;
        birth.month = month;
        birth.day = day;
        birth.leap = (year + day) % 5 == 0;
        birth.hour = (year * 7 + month * 5 + day) % 24;
        birth.minute = (year + month + day) % 60;
        birth.male = (year + month + day) % 2 == 0;
        request.name = names[births.size() % names.size()];
        if (day % 7 == 0) request.solar = calendar::GregorianDate{2001, 6, 8};
        births.push_back(request);
      }
    }
  }
  return births;
}

}  // namespace ziwei::test
