#include "cli/find_command.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <cstdio>

#include "calendar/gregorian.h"
#include "cli/command.h"
#include "cli/dates.h"
#include "cli/exit_status.h"
#include "cli/progress.h"
#include "find/condition_text.h"
#include "output/output_file.h"
#include "output/output_lines.h"

namespace ziwei::cli {

namespace {

using Row = OptionRow<FindOptions>;

constexpr std::array<Row, 8> kSearchRows{{
    {"from", 0, Shape::Text, "YYYY-MM-DD",
     "the first Gregorian date searched, China Standard Time (default: 1912-02-18, the first "
     "day of lunar 1912)",
     [](FindOptions& o, const OptionValue& v) { o.from = std::string(v.text); }},
    {"to", 0, Shape::Text, "YYYY-MM-DD", "the last date searched (default: 2100-12-31)",
     [](FindOptions& o, const OptionValue& v) { o.to = std::string(v.text); }},
    {"sex", 0, Shape::Word, "male|female|both", "the sexes searched (default: both)",
     [](FindOptions& o, const OptionValue& v) {
       o.range.male = v.word != 1;
       o.range.female = v.word != 0;
     }},
    {"hours", 0, Shape::Text, "all|H,H,...",
     "the clock hours searched on each date, 0 to 23, e.g. 0,5,13; all (the default) is the "
     "twelve hour branches, each at its first hour: 0 (子), 1 (丑), 3 (寅) .. 21 (亥)",
     [](FindOptions& o, const OptionValue& v) { o.hours = std::string(v.text); }},
    {"where", 'w', Shape::Text, "COND",
     "a condition the chart must meet (see Conditions above); give one or more, all must hold",
     [](FindOptions& o, const OptionValue& v) { o.where.emplace_back(v.text); }},
    {"format", 0, Shape::Word, "csv|jsonl|count",
     "each match as a CSV line after a header (the default), as a JSON line, or only the "
     "number of matches",
     [](FindOptions& o, const OptionValue& v) { o.format = static_cast<FindFormat>(v.word); }},
    {"limit", 0, Shape::Number, "N", "stop after N matches (default: no limit)",
     [](FindOptions& o, const OptionValue& v) { o.limit = static_cast<std::uint64_t>(v.number); },
     nullptr, 1, INT_MAX},
    {"jobs", 'j', Shape::Number, "N", "threads that cast (default: one per core)",
     [](FindOptions& o, const OptionValue& v) { o.jobs = static_cast<unsigned>(v.number); },
     nullptr, 1, 256},
}};

constexpr auto kRuleRows = ruleRows<FindOptions, &FindOptions::rules>();

constexpr std::array<Row, 1> kHelpRows{{
    {"help", 'h', Shape::Help, "", "show this help and exit"},
}};

constexpr auto kRows = join(kSearchRows, kRuleRows, kHelpRows);
constexpr OptionTable<FindOptions> kTable{"find", kRows};

std::vector<int> readHours(std::string_view text) {
  if (text == "all") return {find::kBranchHours.begin(), find::kBranchHours.end()};
  std::vector<int> hours;
  for (std::size_t begin = 0;;) {
    const std::size_t comma = text.find(',', begin);
    hours.push_back(readNumber("--hours", text.substr(begin, comma - begin), 0, 23));
    if (comma == std::string_view::npos) break;
    begin = comma + 1;
  }
  std::sort(hours.begin(), hours.end());
  hours.erase(std::unique(hours.begin(), hours.end()), hours.end());
  return hours;
}

// The date of --from or --to, within the dates searched.
calendar::GregorianDate readRangeDate(std::string_view option, std::string_view text) {
  const calendar::GregorianDate date = readDate(option, text);
  find::BirthRange alone;
  alone.from = alone.to = date;
  if (const auto fault = find::rangeFault(alone))
    throw Refusal{std::string(option) + ": " + *fault};
  return date;
}

void finish(FindOptions& options) {
  if (options.from) options.range.from = readRangeDate("--from", *options.from);
  if (options.to) options.range.to = readRangeDate("--to", *options.to);
  if (options.hours) options.range.hours = readHours(*options.hours);
  if (options.where.empty()) {
    throw Refusal{
        "a condition is missing: give --where COND, e.g. --where '命宮 has 紫微' (see "
        "ziwei find --help)"};
  }
  for (std::size_t i = 0; i < options.where.size(); ++i) {
    auto read = find::readCondition(options.where[i]);
    if (const auto* error = std::get_if<find::ConditionError>(&read)) {
      throw Refusal{"--where " + std::to_string(i + 1) + ", character " +
                    std::to_string(error->character) + ": " + error->message};
    }
    options.conditions.push_back(std::get<find::Condition>(read));
  }
  settleRules(options.rules);
  options.range.options = options.rules.options;
  if (const auto fault = find::rangeFault(options.range)) throw Refusal{*fault};
}

constexpr std::string_view kPrefix = "find: ";

void report(std::string_view message) { reportError(std::string(kPrefix) + std::string(message)); }

void printSummary(const find::SearchTotals& totals, std::chrono::steady_clock::time_point start) {
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char summary[200];
  std::snprintf(summary, sizeof summary,
                "%llu match%s%s among %s%llu chart%s, %.2f s, %.0f charts per second",
                static_cast<unsigned long long>(totals.matches), totals.matches == 1 ? "" : "es",
                totals.limited ? " (the limit)" : "", totals.limited ? "the first " : "",
                static_cast<unsigned long long>(totals.charts), totals.charts == 1 ? "" : "s",
                seconds, seconds > 0 ? static_cast<double>(totals.charts) / seconds : 0.0);
  report(summary);
}

int runFind(const FindOptions& options) {
  const auto start = std::chrono::steady_clock::now();
  const find::Query query(options.conditions);
  find::SearchTotals totals;
  try {
    OutputLines out;
    out.add(matchHeader(options.format));
    Progress progress(find::birthCount(options.range), SecondCount::Found);
    totals = find::search(
        query, options.range, {options.jobs, options.limit},
        [&](const find::Match& match) { out.add(matchLine(match, options.format)); },
        [&](std::uint64_t done, std::uint64_t, std::uint64_t matches) {
          progress.update(done, static_cast<std::size_t>(done), static_cast<std::size_t>(matches));
        });
    progress.clear();
    if (options.format == FindFormat::Count) out.add(std::to_string(totals.matches) + "\n");
    out.finish();
  } catch (const OutputError& error) {
    report(error.what());
    return kExitIoError;
  }
  printSummary(totals, start);
  return kExitDone;
}

}  // namespace

Parsed<FindOptions> parseFindCommand(std::span<const std::string_view> args) {
  return parseOptions(kTable, args, FindOptions{}, finish);
}

std::optional<Shape> findOptionShape(std::string_view name) { return shapeOf(kTable, name); }

std::string_view matchHeader(FindFormat format) {
  return format == FindFormat::Csv ? "solar,year,month,leap,day,hour,sex\n" : "";
}

std::string matchLine(const find::Match& match, FindFormat format) {
  const calendar::LunarDate& lunar = match.lunar;
  const std::string date = calendar::format_gregorian(match.date);
  const char* sex = match.male ? "male" : "female";
  char line[160];
  switch (format) {
    case FindFormat::Csv:
      std::snprintf(line, sizeof line, "%s,%d,%d,%d,%d,%d,%s\n", date.c_str(), lunar.year,
                    lunar.month, lunar.leap ? 1 : 0, lunar.day, match.hour, sex);
      return line;
    case FindFormat::JsonLines:
      std::snprintf(line, sizeof line,
                    "{\"solar\":\"%s\",\"year\":%d,\"month\":%d,\"leap\":%s,\"day\":%d,"
                    "\"hour\":%d,\"sex\":\"%s\"}\n",
                    date.c_str(), lunar.year, lunar.month, lunar.leap ? "true" : "false", lunar.day,
                    match.hour, sex);
      return line;
    case FindFormat::Count:
      break;
  }
  return {};
}

std::string findHelpText() {
  return "Usage: ziwei find [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--sex male|female|both]\n"
         "                  [--hours all|H,H,...] --where COND... [--format csv|jsonl|count]\n"
         "                  [--limit N] [-j N] [RULE OPTION]...\n"
         "Casts the chart of every birth from --from to --to (Gregorian dates in China\n"
         "Standard Time), at each hour of --hours, for each sex of --sex, and writes\n"
         "those whose natal chart meets every --where condition, in the order of date,\n"
         "hour and sex (male first), one line each: the Gregorian date, the lunar date\n"
         "the chart was cast for (year, month, leap 0 or 1, day), the hour and the sex:\n"
         "  solar,year,month,leap,day,hour,sex\n"
         "  2001-06-08,2001,4,1,17,0,male\n"
         "(--format jsonl: {\"solar\":\"2001-06-08\",\"year\":2001,\"month\":4,\"leap\":true,\n"
         "\"day\":17,\"hour\":0,\"sex\":\"male\"}). Standard error shows a progress bar when it\n"
         "is a terminal, and the number of matches at the end.\n"
         "\n"
         "Conditions (COND, one argument: quote it):\n"
         "  PALACE has STAR[,STAR...]      every star listed lies in the palace\n"
         "  PALACE has-any STAR[,STAR...]  at least one of them does\n"
         "  PALACE lacks STAR[,STAR...]    none of them does\n"
         "  PALACE sees STAR[,STAR...]     every one lies in its 三方四正 (the palace, the\n"
         "                                 one opposite and the two in trine)\n"
         "  PALACE empty                   none of the fourteen main stars 紫微 .. 破軍\n"
         "                                 lies in the palace (空宮)\n"
         "  PALACE self 祿|權|科|忌         the palace's stem transforms one of its own\n"
         "                                 stars so (自化, 離心自化)\n"
         "PALACE is a palace's name (命宮 .. 父母宮, or 命 .. 父母 without 宮), 身宮 (or\n"
         "身) or a branch (子 .. 亥, or 子宮 .. 亥宮) for the palace of that branch. A STAR\n"
         "is any star of the chart, or one of 祿, 權, 科, 忌 (or 化祿 ..): with has,\n"
         "has-any, lacks and sees, a star that carries that birth-year transformation\n"
         "(生年四化), e.g. '命宮 sees 祿,權'. Names are zh-Hant or zh-Hans, or the English\n"
         "names of --lang en (Life, Body, Zi, Emperor, prosperity, ...; any case). Stars\n"
         "are separated by \",\", \"，\" or \"、\". An unknown name is refused with the names\n"
         "close to it; a refusal names the --where (1 for the first) and the character\n"
         "where the fault begins.\n"
         "\n"
         "Time rectification: with one date (--from and --to the same) and --hours all,\n"
         "the lines are the hours of that date whose chart has the traits given:\n"
         "  ziwei find --from 2001-06-08 --to 2001-06-08 --sex male --hours all \\\n"
         "             --where '命宮 has 太陽,天梁' --where '官祿宮 empty'\n"
         "\n" +
         optionHelp(kTable) +
         "\n"
         "The rule options are those of the cast (see ziwei --help); --late-zi next-day\n"
         "makes an hour 23 the 子 hour of the next date's lunar day, and --year-boundary\n"
         "spring compares the hour on the date searched with 立春. --period-boundary and\n"
         "--running-stems are accepted but change nothing: they are rules of the running\n"
         "periods, and the conditions read the natal chart. The whole default range is\n"
         "68,984 dates x 12 hours x 2 sexes, 1,655,616 charts; the search keeps no\n"
         "chart, so memory stays flat however many match.\n"
         "\n"
         "Exit status: 0 done (whether or not a birth matched), 1 the output could not\n"
         "be written, 2 bad command line.\n";
}

int findCommand(std::span<const std::string_view> args) {
  return runParsed(parseFindCommand(args), findHelpText, runFind);
}

}  // namespace ziwei::cli
