#include "cli/lunar_command.h"

#include <array>

#include "calendar/calendar_error.h"
#include "calendar/lunar.h"
#include "cli/command.h"
#include "cli/dates.h"
#include "cli/exit_status.h"
#include "cli/input.h"
#include "output/output_file.h"
#include "output/output_lines.h"

namespace ziwei::cli {

namespace {

constexpr std::string_view kStandardInput = "-";

constexpr std::array<OptionRow<LunarOptions>, 1> kRows{{
    {"help", 'h', Shape::Help, "", "show this help and exit"},
}};
constexpr OptionTable<LunarOptions> kTable{
    "lunar", kRows, [](LunarOptions& o, std::string_view date) { o.dates.emplace_back(date); }};

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Converts one date; a refusal goes to standard error.
bool convert(std::string_view date, const std::string& where, OutputLines& out) {
  try {
    out.add(lunarLine(where, date));
    return true;
  } catch (const Refusal& refusal) {
    reportError("lunar: " + refusal.message);
    return false;
  }
}

// The dates of standard input, one a line.
bool convertInput(OutputLines& out) {
  bool refused = false;
  Input input(std::nullopt);
  for (long number = 1;; ++number) {
    std::size_t end = std::string_view::npos;
    while ((end = input.data().find('\n')) == std::string_view::npos &&
           input.data().size() <= kLongestLine && input.fill()) {
    }
    const std::string where = "line " + std::to_string(number) + " of standard input";
    if (end == std::string_view::npos && input.data().size() > kLongestLine) {
      reportError("lunar: " + where + ": " + std::string(kTooLong));
      refused = true;
      input.skipLine();
      continue;
    }
    if (end == std::string_view::npos && input.data().empty()) break;
    const std::string_view line = input.data().substr(0, end);
    if (const std::string_view date = trimmed(line); !date.empty()) {
      refused |= !convert(date, where, out);
    }
    input.consume(end == std::string_view::npos ? line.size() : end + 1);
  }
  return !refused;
}

}  // namespace

Parsed<LunarOptions> parseLunarCommand(std::span<const std::string_view> args) {
  return parseOptions(
      kTable, args, LunarOptions{}, +[](LunarOptions& o) {
        if (o.dates.empty()) {
          throw Refusal{
              "a date is missing (give dates as YYYY-MM-DD, or - to read them from standard "
              "input)"};
        }
      });
}

std::string lunarHelpText() {
  return "Usage: ziwei lunar DATE...\n"
         "Prints the lunar date of each Gregorian (國曆) date YYYY-MM-DD, a civil date in\n"
         "China Standard Time from 1900-01-31 to 2100-12-31, one line each: the date,\n"
         "the lunar year, month, leap flag (1 for a leap month, else 0) and day,\n"
         "separated by tabs, e.g.\n"
         "  2001-06-08\t2001\t4\t1\t17\n"
         "A DATE of - reads dates from standard input, one a line (blank lines are\n"
         "skipped; a line may hold 1 MiB).\n"
         "\n" +
         optionHelp(kTable) +
         "\n"
         "A date that is malformed or out of range is reported on standard error with\n"
         "its argument position or input line, and the other dates are still converted.\n"
         "\n"
         "Exit status: 0 done, 1 a date was refused, standard input could not be read or\n"
         "the output could not be written, 2 bad command line.\n";
}

std::string lunarLine(std::string_view what, std::string_view date) {
  const calendar::GregorianDate solar = readDate(what, date);
  try {
    const calendar::LunarDate lunar = calendar::to_lunar(solar);
    return calendar::format_gregorian(solar) + '\t' + std::to_string(lunar.year) + '\t' +
           std::to_string(lunar.month) + '\t' + (lunar.leap ? '1' : '0') + '\t' +
           std::to_string(lunar.day) + '\n';
  } catch (const calendar::CalendarError& error) {
    throw Refusal{std::string(what) + ": " + error.what()};
  }
}

int runLunar(const LunarOptions& options) {
  bool refused = false;
  try {
    OutputLines out;
    for (std::size_t position = 0; position < options.dates.size(); ++position) {
      const std::string& date = options.dates[position];
      if (date == kStandardInput) {
        refused |= !convertInput(out);
      } else {
        refused |= !convert(date, "argument " + std::to_string(position + 1), out);
      }
    }
    out.flush();
  } catch (const InputError& error) {
    reportError("lunar: " + error.message);
    return kExitIoError;
  } catch (const OutputError& error) {
    reportError(error.what());
    return kExitIoError;
  }
  return refused ? kExitBadData : kExitDone;
}

int lunarCommand(std::span<const std::string_view> args) {
  return runParsed(parseLunarCommand(args), lunarHelpText, runLunar);
}

}  // namespace ziwei::cli
