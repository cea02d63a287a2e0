#include "find/search.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <thread>

#include "birth/solar_birth.h"
#include "chart/chart.h"
#include "parallel/ordered_pipeline.h"

namespace ziwei::find {

namespace {

using std::chrono::days;
using std::chrono::sys_days;

constexpr std::int64_t kDaysPerChunk = 64;  // about 1,500 charts, a millisecond or so

// A run of days and the matches among its births.
struct Chunk {
  sys_days first;
  std::int64_t count = 0;   // days
  std::uint64_t birth = 0;  // the place of its first birth in the range
  std::vector<Match> matches;
  std::exception_ptr failure;
};

struct Walk {
  const Query* query;
  const BirthRange* range;
  std::vector<bool> sexes;  // true for male, in the order searched
  std::uint64_t birthsPerDay;
};

// Each thread's chart, cast into birth after birth.
Chart& threadChart() {
  thread_local Chart chart;
  return chart;
}

bool movesToNextDay(const BirthRange& range, int hour) {
  return hour == 23 && range.options.lateZi == LateZi::NextDay;
}

void searchChunk(Chunk& chunk, const Walk& walk) {
  try {
    Chart& chart = threadChart();
    ChartRequest request;
    request.name.clear();
    request.options = walk.range->options;
    std::uint64_t birth = chunk.birth;
    for (std::int64_t d = 0; d < chunk.count; ++d) {
      const sys_days day = chunk.first + days{d};
      const calendar::LunarDate lunar = calendar::lunar_from_days(day);
      std::optional<calendar::LunarDate> next;
      for (const int hour : walk.range->hours) {
        const calendar::LunarDate& cast =
            movesToNextDay(*walk.range, hour)
                ? next.emplace(calendar::lunar_from_days(day + days{1}))
                : lunar;
        LunarBirth& b = request.birth;
        b.year = cast.year;
        b.month = cast.month;
        b.leap = cast.leap;
        b.day = cast.day;
        b.hour = hour;
        // The moment of birth, for the rules that compare it with a solar
        // term: the clock hour on the date searched, as a cast --solar has it.
        request.birthInstant = calendar::chinaStandardSeconds(day, hour * 3600);
        for (const bool male : walk.sexes) {
          b.male = male;
          ziwei::cast(request, chart);
          if (walk.query->matches(chart)) {
            chunk.matches.push_back({birth, calendar::gregorian_from_days(day), cast, hour, male});
          }
          ++birth;
        }
      }
    }
  } catch (...) {
    chunk.failure = std::current_exception();
  }
}

}  // namespace

std::optional<std::string> rangeFault(const BirthRange& range) {
  const SolarSpan span = solarSpan(kCommandLineYears);
  const auto shown = [](const calendar::GregorianDate& date) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return std::string(text);
  };
  for (const calendar::GregorianDate& date : {range.from, range.to}) {
    if (!calendar::is_valid(date)) return "the date " + shown(date) + " does not exist";
    if (date < span.first || date > span.last) {
      return "the date " + shown(date) + " lies outside " + calendar::format_gregorian(span.first) +
             " to " + calendar::format_gregorian(span.last) + " (lunar years 1912 to 2100)";
    }
  }
  if (range.to < range.from) {
    return "the range ends (" + calendar::format_gregorian(range.to) + ") before it begins (" +
           calendar::format_gregorian(range.from) + ")";
  }
  if (!range.male && !range.female) return "neither sex is searched";
  if (range.hours.empty()) return "no hour is searched";
  for (std::size_t i = 0; i < range.hours.size(); ++i) {
    const int hour = range.hours[i];
    if (hour < 0 || hour > 23) return "the hour " + std::to_string(hour) + " is not 0 to 23";
    if (i > 0 && hour <= range.hours[i - 1]) return "the hours are not ascending, each once";
  }
  if (range.to == span.last && movesToNextDay(range, range.hours.back())) {
    return "hour 23 under the late-zi next-day rule is the next day's 子 hour, and the calendar "
           "ends on " +
           calendar::format_gregorian(span.last) + " (end the range a day earlier)";
  }
  return std::nullopt;
}

std::uint64_t birthCount(const BirthRange& range) {
  const auto dates = (calendar::to_days(range.to) - calendar::to_days(range.from)).count() + 1;
  return static_cast<std::uint64_t>(dates) * range.hours.size() *
         ((range.male ? 1u : 0u) + (range.female ? 1u : 0u));
}

SearchTotals search(
    const Query& query, const BirthRange& range, const SearchSettings& settings,
    const std::function<void(const Match&)>& found,
    const std::function<void(std::uint64_t, std::uint64_t, std::uint64_t)>& progress) {
  if (const auto fault = rangeFault(range)) throw std::invalid_argument(*fault);
  Walk walk{&query, &range, {}, 0};
  if (range.male) walk.sexes.push_back(true);
  if (range.female) walk.sexes.push_back(false);
  walk.birthsPerDay = range.hours.size() * walk.sexes.size();
  const std::uint64_t total = birthCount(range);

  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const unsigned threads = settings.threads != 0 ? settings.threads : cores;
  // The chunks under way: enough to keep every thread busy while the
  // oldest is handed back.
  const std::size_t window = 4 * static_cast<std::size_t>(threads);
  const sys_days last = calendar::to_days(range.to);
  sys_days next = calendar::to_days(range.from);
  std::uint64_t nextBirth = 0;

  SearchTotals totals;
  OrderedPipeline<Chunk> pipeline(threads, [&walk](Chunk& chunk) { searchChunk(chunk, walk); });
  for (;;) {
    while (next <= last && pipeline.size() < window) {
      Chunk chunk;
      chunk.first = next;
      chunk.count = std::min<std::int64_t>(kDaysPerChunk, (last - next).count() + 1);
      chunk.birth = nextBirth;
      next += days{chunk.count};
      nextBirth += static_cast<std::uint64_t>(chunk.count) * walk.birthsPerDay;
      pipeline.push(std::move(chunk));
    }
    if (pipeline.size() == 0) break;
    const Chunk chunk = pipeline.pop();
    if (chunk.failure) std::rethrow_exception(chunk.failure);
    for (const Match& match : chunk.matches) {
      found(match);
      ++totals.matches;
      if (settings.limit != 0 && totals.matches == settings.limit) {
        totals.limited = true;
        totals.charts = match.birth + 1;
        return totals;
      }
    }
    totals.charts = chunk.birth + static_cast<std::uint64_t>(chunk.count) * walk.birthsPerDay;
    if (progress) progress(totals.charts, total, totals.matches);
  }
  return totals;
}

}  // namespace ziwei::find
