#pragma once
// The search over births: every birth of a range of Gregorian dates, hours
// and sexes is cast (through cast(), as any chart) and those whose chart
// meets a Query are handed back, in the order of date, then hour, then sex
// (male first), on the calling thread. The charts are cast on several
// threads, a few runs of days at a time, so memory stays flat: no match is
// kept once it is handed back.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "calendar/gregorian.h"
#include "calendar/lunar.h"
#include "chart/request.h"
#include "find/condition.h"

namespace ziwei::find {

// The hours of the twelve hour branches, each written as its first clock
// hour on its own date: 0 for 子 (23:00 is 子 too, but the late-子 rule may
// move it to the next day), then 1 for 丑, 3 for 寅 .. 21 for 亥.
inline constexpr std::array<int, 12> kBranchHours = {0, 1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21};

// The births searched: each Gregorian date (civil dates in China Standard
// Time) from `from` to `to`, each clock hour of `hours` (minute 0), each sex
// asked for, cast by `options`, as `ziwei --solar DATE --hour H` casts it:
// the moment of birth (for the rules that compare it with a solar term) is
// that hour on that date, and an hour 23 under LateZi::NextDay is the 子
// hour of the next date's lunar day.
struct BirthRange {
  calendar::GregorianDate from{1912, 2, 18};
  calendar::GregorianDate to{2100, 12, 31};
  bool male = true;
  bool female = true;
  std::vector<int> hours{kBranchHours.begin(), kBranchHours.end()};  // ascending, each once
  ChartOptions options;
};

// What is wrong with a range, in English, or nothing: `from` after `to`; a
// date that does not exist or lies outside 1912-02-18..2100-12-31 (lunar
// years 1912..2100); no sex; no hour, an hour outside 0..23, hours not
// ascending or one twice; an hour 23 under LateZi::NextDay on 2100-12-31,
// whose lunar day the calendar does not have.
std::optional<std::string> rangeFault(const BirthRange& range);

// The births of a valid range.
std::uint64_t birthCount(const BirthRange& range);

// A birth whose chart met the query.
struct Match {
  std::uint64_t birth = 0;       // its place in the range, from 0
  calendar::GregorianDate date;  // the Gregorian date searched
  calendar::LunarDate lunar;     // the lunar date the chart was cast for
  int hour = 0;                  // the clock hour, 0..23
  bool male = true;
  friend bool operator==(const Match&, const Match&) = default;
};

struct SearchSettings {
  unsigned threads = 0;     // the threads that cast; 0 for one per core
  std::uint64_t limit = 0;  // stop after this many matches; 0 for no limit
};

struct SearchTotals {
  std::uint64_t charts = 0;   // the births searched: all, or up to the last match of a limit
  std::uint64_t matches = 0;  // the matches handed back
  bool limited = false;       // the search stopped at the limit
};

// Searches `range` (which must have no rangeFault; else throws
// std::invalid_argument with it) for charts that meet `query`. Calls
// `found` for each match in order and `progress(births done, births in all,
// matches)` now and then, both on the calling thread; an exception thrown by
// either ends the search and is passed on once the threads have stopped.
SearchTotals search(
    const Query& query, const BirthRange& range, const SearchSettings& settings,
    const std::function<void(const Match&)>& found,
    const std::function<void(std::uint64_t, std::uint64_t, std::uint64_t)>& progress = {});

}  // namespace ziwei::find
