// Per-operation times of the chart engine, the palace cells, the page and the
// JSON document. Every benchmark walks through a fixed set of births spread
// over the whole input space, so that no single chart's branches are learnt.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/selection.h"
#include "birth/lunar_birth.h"
#include "app/selection.h"
#include "birth/target_moment.h"
#include "chart/chart.h"
#include "chart/frame/chart_frame.h"
#include "json/chart_json.h"
#include "chart/periods/running_periods.h"
#include "chart/stars/palace_layout.h"
#include "page/chart_page.h"
#include "page/page_file.h"
#include "page/page_template.h"
#include "page/palace_cell.h"
#include "page/period_page.h"

namespace {

using namespace ziwei;
using desktop::BirthSelection;
using desktop::readSelection;

constexpr std::size_t kBirthCount = 1024;

// Births spread over years, months, leap flags, days, hours and both sexes
// by a fixed linear congruential walk.
const std::vector<BirthRequest>& births() {
  static const std::vector<BirthRequest> list = [] {
    std::vector<BirthRequest> all;
    std::uint32_t state = 12345;
    const auto next = [&state](int n) {
      state = state * 1664525u + 1013904223u;
      return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(n));
    };
    while (all.size() < kBirthCount) {
      BirthRequest request;
      request.name = "陳大文";
      LunarBirth& birth = request.birth;
      birth.male = next(2) == 0;
      birth.year = 1912 + next(99);
      birth.month = 1 + next(12);
      birth.leap = next(8) == 0;
      birth.day = 1 + next(30);
      birth.hour = next(24);
      birth.minute = next(60);
      all.push_back(request);
    }
    return all;
  }();
  return list;
}

// The same births as the window's selectors hold them.
const std::vector<BirthSelection>& selections() {
  static const std::vector<BirthSelection> list = [] {
    std::vector<BirthSelection> all;
    for (const BirthRequest& request : births()) {
      const LunarBirth& b = request.birth;
      all.push_back({std::to_string(b.year), std::to_string(b.month), b.leap ? "閏" : "正",
                     std::to_string(b.day), std::to_string(b.hour), std::to_string(b.minute),
                     std::to_string(b.second), b.male});
    }
    return all;
  }();
  return list;
}

const std::vector<Chart>& charts() {
  static const std::vector<Chart> list = [] {
    std::vector<Chart> all;
    for (const BirthRequest& request : births()) all.push_back(cast(request));
    return all;
  }();
  return list;
}

constexpr std::string_view kPrintDate = "2026/12/7";

void BM_Frame(benchmark::State& state) {
  const auto& input = births();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(castFrame(input[i++ % kBirthCount].birth));
  }
}
BENCHMARK(BM_Frame);

// The window's path: the selectors' texts read, then the frame.
void BM_SelectionAndFrame(benchmark::State& state) {
  const auto& input = selections();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(castFrame(readSelection(input[i++ % kBirthCount])));
  }
}
BENCHMARK(BM_SelectionAndFrame);

// All twelve palaces' star groups, graded and transformed.
void BM_StarGroups(benchmark::State& state) {
  const auto& input = charts();
  std::size_t i = 0;
  PalaceStarsByPalace stars;
  for (auto _ : state) {
    layOutPalaces(input[i++ % kBirthCount].frame, stars);
    benchmark::DoNotOptimize(stars.data());
  }
}
BENCHMARK(BM_StarGroups);

// The whole chart value, as every program casts it (into one reused chart,
// as batch does).
void BM_Cast(benchmark::State& state) {
  const auto& input = births();
  std::size_t i = 0;
  Chart chart;
  for (auto _ : state) {
    cast(input[i++ % kBirthCount], chart);
    benchmark::DoNotOptimize(&chart);
  }
}
BENCHMARK(BM_Cast);

// The twelve cells appended into one buffer, as the page writes them.
void BM_Cells(benchmark::State& state) {
  const auto& input = charts();
  std::size_t i = 0;
  std::size_t bytes = 0;
  std::string cells;
  for (auto _ : state) {
    const Chart& chart = input[i++ % kBirthCount];
    cells.clear();
    AppendBuffer buffer(cells);
    for (const PalaceNum p : kPalaces) HourInStr(buffer, chart, p, kZhHant);
    buffer.finish();
    bytes += cells.size();
    benchmark::DoNotOptimize(cells.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_Cells);

// The UTF-8 page, without encoding.
void BM_PageAssembly(benchmark::State& state) {
  const auto& input = charts();
  const PreparedTemplate& pageTemplate = chartPageTemplate();
  std::size_t i = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string page =
        assembleChartPage(pageTemplate, input[i++ % kBirthCount], kPrintDate);
    bytes += page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_PageAssembly);

// Big5 encoding alone, of pages made beforehand.
void BM_Big5Encoding(benchmark::State& state) {
  std::vector<std::string> pages;
  for (std::size_t k = 0; k < 64; ++k) {
    pages.push_back(assembleChartPage(chartPageTemplate(), charts()[k], kPrintDate));
  }
  encodePage(pages[0], PageEncoding::Big5);  // the table is taken once, outside the timing
  std::size_t i = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string big5 = encodePage(pages[i++ % pages.size()], PageEncoding::Big5);
    bytes += big5.size();
    benchmark::DoNotOptimize(big5.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_Big5Encoding);

// The whole page as ziwei writes it: assembly and Big5 encoding in one pass.
void BM_PageBig5(benchmark::State& state) {
  const auto& input = charts();
  const PreparedTemplate& pageTemplate = chartPageTemplate();
  std::size_t i = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string page =
        chartPageFile(pageTemplate, input[i++ % kBirthCount], kPrintDate, PageEncoding::Big5);
    bytes += page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_PageBig5);

void BM_Json(benchmark::State& state) {
  const auto& input = charts();
  std::size_t i = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string json = chartJson(input[i++ % kBirthCount]);
    bytes += json.size();
    benchmark::DoNotOptimize(json.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_Json);

// A target for each chart, read beforehand: a Gregorian date 0 to 89 years
// after the birth year (within the calendar), every other one with a time.
const std::vector<TargetMoment>& targets() {
  static const std::vector<TargetMoment> list = [] {
    std::vector<TargetMoment> all;
    for (std::size_t k = 0; k < kBirthCount; ++k) {
      const int year = std::min(births()[k].birth.year + 1 + static_cast<int>(k * 37 % 89), 2100);
      const calendar::GregorianDate date{year, 1 + static_cast<int>(k % 12),
                                         1 + static_cast<int>(k * 7 % 28)};
      all.push_back(
          targetOnSolar(date, k % 2 == 0 ? std::optional(ClockOfDay{static_cast<int>(k % 24), 30})
                                         : std::nullopt));
    }
    return all;
  }();
  return list;
}

// The running periods of a cast chart at its target: every level, its
// transformations and running stars.
void BM_RunningPeriods(benchmark::State& state) {
  const auto& input = charts();
  const auto& target = targets();
  std::size_t i = 0;
  for (auto _ : state) {
    const std::size_t k = i++ % kBirthCount;
    benchmark::DoNotOptimize(castPeriods(input[k].frame, target[k]));
  }
}
BENCHMARK(BM_RunningPeriods);

// The running-period page (UTF-8) of a cast chart at its target.
void BM_PeriodPage(benchmark::State& state) {
  static const std::vector<Chart> input = [] {
    std::vector<Chart> all;
    for (std::size_t k = 0; k < kBirthCount; ++k) {
      ChartRequest request = births()[k];
      request.target = targets()[k];
      all.push_back(cast(request));
    }
    return all;
  }();
  std::size_t i = 0;
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string page = assemblePeriodPage(input[i++ % kBirthCount], kPrintDate);
    bytes += page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_PeriodPage);

}  // namespace

BENCHMARK_MAIN();
