#pragma once
// The records of ziwei batch: the columns a header names, the birth of each
// record, and the births of --all.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "birth/birth_time.h"
#include "birth/lunar_birth.h"
#include "birth/target_moment.h"
#include "chart/rule_options.h"
#include "cli/csv_reader.h"
#include "cli/options.h"
#include "rules/rule_text.h"
#include "vocabulary/vocabulary.h"

namespace ziwei::cli {

// The columns of the input, as its header names them: the first nine in any
// order, optionally "solar" and "on" (a running-periods target), the
// birth-time columns "tz", "place", "longitude" and "dst" (as --tz, --place,
// --longitude and --dst), "lang" (as --lang) and one column for each rule.
inline constexpr std::array<std::string_view, 16> kBirthColumns = {
    "name",   "sex",   "year", "month", "leap",  "day",       "hour", "minute",
    "second", "solar", "on",   "tz",    "place", "longitude", "dst",  "lang"};
inline constexpr auto kBatchColumns = [] {
  std::array<std::string_view, kBirthColumns.size() + kRuleOptions.size() + 1> names{};
  std::size_t at = 0;
  for (const std::string_view name : kBirthColumns) names[at++] = name;
  for (const RuleOption& rule : kRuleOptions) names[at++] = rule.name;
  names[at++] = kTransformationsColumn;
  return names;
}();
inline constexpr std::size_t kSolarColumn = 9;
inline constexpr std::size_t kTargetColumn = 10;
inline constexpr std::size_t kRequiredColumns = 9;  // the ones before "solar"

// Where each column stands in a record (kBatchColumns order; the optional
// ones may be missing), and how many fields a record has.
struct BatchColumns {
  std::array<std::optional<std::size_t>, kBatchColumns.size()> position;
  std::size_t fields = 0;
};

// The columns of a header record; throws a Refusal (a column missing,
// unknown or given twice).
BatchColumns readBatchHeader(const CsvRecord& header);

// The birth of one record, and how its lunar birth was found when it gave a
// birth-time field or a rule (empty fields keep the defaults).
struct BatchBirth {
  BirthRequest request;
  std::optional<BirthTimeSteps> steps;
  Language language = Language::ZhHant;  // of the names
};

// The birth of one record; throws a Refusal. A record with a solar date
// leaves year, month, leap and day empty; the date is converted to the lunar
// date, through the birth-time fields (cli/birth_time_options.h).
BatchBirth readBatchRecord(const CsvRecord& record, const BatchColumns& columns,
                           const ChartOptions& base = {});

// The running periods' target of a record checked by readBatchRecord: its
// "on" field as readTargetField reads it; none when empty or missing.
// Throws a Refusal "on: ...".
std::optional<TargetMoment> readBatchTarget(const CsvRecord& record, const BatchColumns& columns);

// The births of --all: lunar years 1912..2010 x months x the leap flag x days
// 1..30 x hours 0..23 x both sexes, minute and second 0, in that nesting.
inline constexpr std::size_t kAllBirths = 99 * 12 * 2 * 30 * 24 * 2;
BirthRequest allBirth(std::size_t index);

}  // namespace ziwei::cli
