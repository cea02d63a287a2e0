#include "cli/solar_command.h"

#include <array>

#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"
#include "cli/command.h"
#include "cli/exit_status.h"

namespace ziwei::cli {

namespace {

// The arguments in their order, with what each allows.
struct Field {
  std::string_view name;
  int calendar::LunarDate::*member;
  int first;
  int last;
};
constexpr std::array<Field, 3> kFields{{
    {"YEAR", &calendar::LunarDate::year, 1900, 2100},
    {"MONTH", &calendar::LunarDate::month, 1, 12},
    {"DAY", &calendar::LunarDate::day, 1, 30},
}};

constexpr std::array<OptionRow<SolarOptions>, 2> kRows{{
    {"leap", 0, Shape::Flag, "", "the month is the leap month that follows MONTH",
     [](SolarOptions& o, const OptionValue&) { o.date.leap = true; }},
    {"help", 'h', Shape::Help, "", "show this help and exit"},
}};

void operand(SolarOptions& o, std::string_view text) {
  if (o.given == static_cast<int>(kFields.size())) {
    throw Refusal{"unexpected argument " + shown(text) + " (give YEAR MONTH DAY [--leap])"};
  }
  const Field& field = kFields[static_cast<std::size_t>(o.given++)];
  o.date.*field.member = readNumber(field.name, text, field.first, field.last);
}

// A value may be negative, so "-1" is an argument, refused by its range.
constexpr OptionTable<SolarOptions> kTable{"solar", kRows, operand, true};

void finish(SolarOptions& o) {
  if (o.given < static_cast<int>(kFields.size())) {
    throw Refusal{std::string(kFields[static_cast<std::size_t>(o.given)].name) +
                  " is missing (give YEAR MONTH DAY [--leap], a lunar date)"};
  }
  try {
    (void)calendar::to_days(o.date);
  } catch (const calendar::CalendarError& error) {
    throw Refusal{error.what()};
  }
}

int runSolar(const SolarOptions& options) { return printText(solarLine(options.date)); }

}  // namespace

Parsed<SolarOptions> parseSolarCommand(std::span<const std::string_view> args) {
  return parseOptions(kTable, args, SolarOptions{}, finish);
}

std::string solarHelpText() {
  return "Usage: ziwei solar YEAR MONTH DAY [--leap]\n"
         "Prints the Gregorian (國曆) date, YYYY-MM-DD in China Standard Time, of the\n"
         "lunar date YEAR (by its Western number), MONTH and DAY. Lunar dates from 1900,\n"
         "month 1, day 1 to 2100, month 12, day 1 (2100-12-31). A date that does not\n"
         "exist, such as a leap month the year does not have or day 30 of a 29-day\n"
         "month, is refused.\n"
         "\n" +
         optionHelp(kTable) +
         "\n"
         "Exit status: 0 done, 1 the output could not be written, 2 bad command line\n"
         "or a lunar date that does not exist.\n";
}

std::string solarLine(const calendar::LunarDate& date) {
  return calendar::format_gregorian(calendar::to_gregorian(date)) + '\n';
}

int solarCommand(std::span<const std::string_view> args) {
  return runParsed(parseSolarCommand(args), solarHelpText, runSolar);
}

}  // namespace ziwei::cli
