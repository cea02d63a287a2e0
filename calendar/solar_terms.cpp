#include "calendar/solar_terms.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <string>

#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"

namespace ziwei::calendar {

namespace {

constexpr int kYearCount = kSolarTermLastYear - kSolarTermFirstYear + 1;
constexpr int kMonthsPerYear = kSolarTermCount / 2;
constexpr UnixSeconds kSecondsPerDay = 86400;

using YearTerms = std::array<UnixSeconds, kSolarTermCount>;

constexpr auto kTerms = std::to_array<YearTerms>({
#include "calendar/solar_terms_table.inc"
});
static_assert(kTerms.size() == kYearCount);

// Unix seconds of midnight, China Standard Time, beginning a Gregorian date.
constexpr UnixSeconds china_midnight(const GregorianDate& date) {
  return chinaStandardSeconds(to_days(date));
}

// The table holds together: the terms follow one another by 14.5..16 days all
// through the table, and each row's 小寒 falls in January of its own year and
// its 冬至 in December (China Standard Time).
constexpr bool table_is_consistent() {
  UnixSeconds before = kTerms[0][0] - 15 * kSecondsPerDay;
  for (std::size_t i = 0; i < kTerms.size(); ++i) {
    const int year = kSolarTermFirstYear + static_cast<int>(i);
    if (kTerms[i].front() < china_midnight({year, 1, 1}) ||
        kTerms[i].front() >= china_midnight({year, 2, 1}) ||
        kTerms[i].back() < china_midnight({year, 12, 1}) ||
        kTerms[i].back() >= china_midnight({year + 1, 1, 1})) {
      return false;
    }
    for (const UnixSeconds instant : kTerms[i]) {
      const UnixSeconds gap = instant - before;
      if (gap < 29 * kSecondsPerDay / 2 || gap > 16 * kSecondsPerDay) return false;
      before = instant;
    }
  }
  return true;
}
static_assert(table_is_consistent());

// The 節 (even terms: 小寒, 立春, ... 大雪) in time order, 12 a year.
constexpr std::array<UnixSeconds, kYearCount* kMonthsPerYear> kJie = [] {
  std::array<UnixSeconds, kYearCount * kMonthsPerYear> result{};
  for (std::size_t i = 0; i < result.size(); ++i) {
    result[i] = kTerms[i / kMonthsPerYear][2 * (i % kMonthsPerYear)];
  }
  return result;
}();

// The last instant with a solar-term month: 2100-12-31 24:00 China Standard Time.
constexpr UnixSeconds kLastInstant = china_midnight({kSolarTermLastYear + 1, 1, 1});

}  // namespace

UnixSeconds solarTermInstant(int year, SolarTerm term) {
  if (year < kSolarTermFirstYear || year > kSolarTermLastYear) {
    throw CalendarError("solar-term year " + std::to_string(year) +
                        " is outside the supported range " + std::to_string(kSolarTermFirstYear) +
                        ".." + std::to_string(kSolarTermLastYear));
  }
  const auto index = static_cast<std::size_t>(term);
  if (index >= static_cast<std::size_t>(kSolarTermCount)) {
    throw CalendarError("solar term " + std::to_string(index) +
                        " does not exist (terms are 0..23)");
  }
  return kTerms[static_cast<std::size_t>(year - kSolarTermFirstYear)][index];
}

std::optional<SolarMonth> solarMonthAt(UnixSeconds instant) {
  if (instant < kJie.front() || instant > kLastInstant) return std::nullopt;
  // The last 節 at or before the instant begins its month: months of the
  // mean tropical year (365.2422 days) point to it within one, then it is
  // found by stepping.
  constexpr UnixSeconds kMeanMonth = 31556926 / kMonthsPerYear;
  auto index = static_cast<int>((instant - kJie.front()) / kMeanMonth);  // [0, kJie.size() - 1]
  index = std::min(index, static_cast<int>(kJie.size()) - 1);
  while (kJie[static_cast<std::size_t>(index)] > instant) --index;
  while (static_cast<std::size_t>(index) + 1 < kJie.size() &&
         kJie[static_cast<std::size_t>(index) + 1] <= instant) {
    ++index;
  }
  const int year = kSolarTermFirstYear + index / kMonthsPerYear;
  const int jie = index % kMonthsPerYear;  // 0 小寒, 1 立春, ... 11 大雪
  if (jie == 0) return SolarMonth{year - 1, 12};
  return SolarMonth{year, jie};
}

}  // namespace ziwei::calendar
