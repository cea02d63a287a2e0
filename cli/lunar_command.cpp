#include "cli/lunar_command.h"

#include <iostream>
#include <istream>
#include <ostream>

#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"
#include "calendar/lunar.h"
#include "cli/exit_status.h"
#include "cli/output.h"
#include "page/page_file.h"

namespace ziwei::cli {

namespace {

constexpr std::string_view kStandardInput = "-";

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Converts one date; on a refusal writes `where` and the reason to `err`.
bool convert(std::string_view date, const std::string& where, std::ostream& out,
             std::ostream& err) {
  try {
    out << lunarLine(date);
    return true;
  } catch (const calendar::CalendarError& error) {
    err << "ziwei: lunar: " << oneLine(where) << ": " << oneLine(error.what()) << '\n';
    return false;
  }
}

}  // namespace

LunarCommand parseLunarCommand(std::span<const std::string_view> args) {
  LunarOptions options;
  for (const std::string_view arg : args) {
    if (arg == "--help" || arg == "-h") return ShowHelp{};
    if (arg.starts_with('-') && arg != kStandardInput) {
      return UsageError{"lunar: unknown option \"" + std::string(arg) +
                        "\" (see ziwei lunar --help)"};
    }
    options.dates.emplace_back(arg);
  }
  if (options.dates.empty()) {
    return UsageError{
        "lunar: a date is missing (give dates as YYYY-MM-DD, or - to read them from standard "
        "input)"};
  }
  return options;
}

std::string lunarHelpText() {
  return "Usage: ziwei lunar DATE...\n"
         "Prints the lunar date of each Gregorian (國曆) date YYYY-MM-DD, a civil date in\n"
         "China Standard Time from 1900-01-31 to 2100-12-31, one line each: the date,\n"
         "the lunar year, month, leap flag (1 for a leap month, else 0) and day,\n"
         "separated by tabs, e.g.\n"
         "  2001-06-08\t2001\t4\t1\t17\n"
         "A DATE of - reads dates from standard input, one a line (blank lines are\n"
         "skipped).\n"
         "\n"
         "A date that is malformed or out of range is reported on standard error with\n"
         "its argument position or input line, and the other dates are still converted.\n"
         "\n"
         "Exit status: 0 done, 1 a date was refused or the output could not be written,\n"
         "2 bad command line.\n";
}

std::string lunarLine(std::string_view date) {
  const calendar::GregorianDate solar = calendar::parse_gregorian(date);
  const calendar::LunarDate lunar = calendar::to_lunar(solar);
  return calendar::format_gregorian(solar) + '\t' + std::to_string(lunar.year) + '\t' +
         std::to_string(lunar.month) + '\t' + (lunar.leap ? '1' : '0') + '\t' +
         std::to_string(lunar.day) + '\n';
}

int runLunar(const LunarOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  bool refused = false;
  for (std::size_t position = 0; position < options.dates.size() && out; ++position) {
    const std::string& date = options.dates[position];
    if (date != kStandardInput) {
      refused |= !convert(date, "argument " + std::to_string(position + 1), out, err);
      continue;
    }
    std::string line;
    for (long number = 1; out && std::getline(in, line); ++number) {
      const std::string_view text = trimmed(line);
      if (text.empty()) continue;
      refused |= !convert(text, "line " + std::to_string(number) + " of standard input", out, err);
    }
  }
  if (!out.flush()) {
    err << "ziwei: cannot write to standard output\n";
    return kExitIoError;
  }
  return refused ? kExitBadData : kExitDone;
}

int lunarCommand(std::span<const std::string_view> args) {
  const LunarCommand command = parseLunarCommand(args);
  if (const auto* error = std::get_if<UsageError>(&command)) {
    std::cerr << "ziwei: " << oneLine(error->message) << '\n';
    return kExitUsage;
  }
  if (std::holds_alternative<ShowHelp>(command)) {
    try {
      writeOutput(std::nullopt, lunarHelpText());
    } catch (const PageWriteError& error) {
      std::cerr << "ziwei: " << oneLine(error.what()) << '\n';
      return kExitIoError;
    }
    return kExitDone;
  }
  return runLunar(std::get<LunarOptions>(command), std::cin, std::cout, std::cerr);
}

}  // namespace ziwei::cli
