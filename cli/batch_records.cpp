#include "cli/batch_records.h"

#include <algorithm>

#include "cli/birth_time_options.h"
#include "cli/dates.h"
#include "unicode/utf8.h"

namespace ziwei::cli {

namespace {

constexpr std::string_view kColumnList =
    " (the columns: name,sex,year,month,leap,day,hour,minute,second and optionally solar,on,"
    "tz,place,longitude,dst,late-zi)";

constexpr std::size_t columnOf(std::string_view name) {
  return static_cast<std::size_t>(std::ranges::find(kBatchColumns, name) - kBatchColumns.begin());
}

// The lunar-date columns, left empty when a solar date is given.
constexpr std::array<std::size_t, 4> kLunarDateColumns = {columnOf("year"), columnOf("month"),
                                                          columnOf("leap"), columnOf("day")};

}  // namespace

BatchColumns readBatchHeader(const CsvRecord& header) {
  BatchColumns columns;
  columns.fields = header.fields.size();
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    const std::string_view name = header.fields[i];
    const std::size_t column = columnOf(name);
    if (column == kBatchColumns.size()) {
      throw Refusal{"the header names an unknown column " + shown(name) + std::string(kColumnList)};
    }
    if (columns.position[column])
      throw Refusal{"the header names the column " + shown(name) + " twice"};
    columns.position[column] = i;
  }
  for (std::size_t column = 0; column < kRequiredColumns; ++column) {
    if (!columns.position[column]) {
      throw Refusal{"the header lacks the column " + shown(kBatchColumns[column]) +
                    std::string(kColumnList)};
    }
  }
  return columns;
}

BatchBirth readBatchRecord(const CsvRecord& record, const BatchColumns& columns,
                           const ChartOptions& base) {
  if (record.fields.size() != columns.fields) {
    const std::size_t count = record.fields.size();
    throw Refusal{"the record has " + std::to_string(count) + (count == 1 ? " field" : " fields") +
                  ", the header " + std::to_string(columns.fields)};
  }
  const auto field = [&](std::size_t column) -> std::string_view {
    const auto& position = columns.position[column];
    return position ? std::string_view(record.fields[*position]) : std::string_view{};
  };
  BatchBirth read;
  BirthRequest& request = read.request;
  RecordedBirth given;
  bool ruleGiven = false;
  LunarBirth& birth = given.birth;
  if (const std::optional<TextFlaw> flaw = firstFlaw(field(0))) {
    throw Refusal{"name: " + describeFlaw(*flaw)};
  }
  request.name = std::string(field(0));
  birth.male = readWord("sex", field(1), "male|female") == 0;

  const std::string_view solar = field(kSolarColumn);
  for (const BirthNumberField& number : kBirthNumberFields) {
    const std::size_t column = columnOf(number.name);
    if (!solar.empty() && std::ranges::find(kLunarDateColumns, column) != kLunarDateColumns.end()) {
      continue;
    }
    birth.*number.member = readNumber(number.name, field(column), number.first, number.last);
  }
  given.options = base;
  for (const RuleOption& rule : kRuleOptions) {
    if (const std::string_view value = field(columnOf(rule.name)); !value.empty()) {
      rule.set(given.options, readWord(rule.name, value, rule.words));
      ruleGiven |= rule.birthTime;
    }
  }
  if (const std::string_view value = field(columnOf(kTransformationsColumn)); !value.empty()) {
    if (auto error = setTransformationsText(given.options, value)) {
      throw Refusal{std::string(kTransformationsColumn) + ": " + *error};
    }
  }
  if (const std::string_view zone = field(columnOf("tz")); !zone.empty()) {
    given.zone = readZone("tz", zone);
  }
  const std::string_view place = field(columnOf("place"));
  const std::string_view longitude = field(columnOf("longitude"));
  if (!place.empty() && !longitude.empty()) {
    throw Refusal{"place and longitude cannot both be given (the place gives the longitude)"};
  }
  if (!longitude.empty()) given.longitude = readLongitude("longitude", longitude);
  if (!place.empty()) given.place = &readPlace("place", place);
  if (const std::string_view dst = field(columnOf("dst")); !dst.empty()) {
    given.daylight = readWord("dst", dst, "yes|no") == 0;
  }
  if (const std::string_view lang = field(columnOf("lang")); !lang.empty()) {
    read.language = static_cast<Language>(readWord("lang", lang, "zh-Hant|zh-Hans|en"));
  }
  if (solar.empty()) {
    birth.leap = readWord("leap", field(columnOf("leap")), "0|1") == 1;
  } else {
    for (const std::size_t column : kLunarDateColumns) {
      if (!field(column).empty()) {
        throw Refusal{"solar: a solar date is given, so " + std::string(kBatchColumns[column]) +
                      " must be empty (it is " + shown(field(column)) + ")"};
      }
    }
    given.solar = readDate("solar", solar);
  }
  const ResolvedBirth resolved = resolveRequest(given, kColumnNames);
  request.birth = resolved.birth;
  request.birthInstant = recordedInstant(resolved.steps);
  request.options = given.options;
  request.solar = given.solar;
  if (stepsRecorded(given, ruleGiven)) read.steps = resolved.steps;
  return read;
}

std::optional<TargetMoment> readBatchTarget(const CsvRecord& record, const BatchColumns& columns) {
  const auto& position = columns.position[kTargetColumn];
  if (!position) return std::nullopt;
  try {
    return readTargetField(record.fields[*position]);
  } catch (const TargetError& error) {
    throw Refusal{oneLine(error.what())};
  }
}

BirthRequest allBirth(std::size_t index) {
  BirthRequest request;
  LunarBirth& birth = request.birth;
  birth.male = index % 2 == 0;
  index /= 2;
  birth.hour = static_cast<int>(index % 24);
  index /= 24;
  birth.day = static_cast<int>(index % 30) + 1;
  index /= 30;
  birth.leap = index % 2 == 1;
  index /= 2;
  birth.month = static_cast<int>(index % 12) + 1;
  index /= 12;
  birth.year = kSelectorYears.first + static_cast<int>(index);
  return request;
}

}  // namespace ziwei::cli
