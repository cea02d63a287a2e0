#include "cli/solar_command.h"

#include <array>
#include <charconv>
#include <iostream>

#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"
#include "cli/exit_status.h"
#include "cli/output.h"
#include "page/page_file.h"

namespace ziwei::cli {

namespace {

constexpr std::array<std::string_view, 3> kFields = {"YEAR", "MONTH", "DAY"};
constexpr std::string_view kSeeHelp = " (see ziwei solar --help)";

// The whole number `text`, or a refusal naming the field.
std::variant<int, UsageError> number(std::string_view field, std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || stop != end || error != std::errc{}) {
    const bool tooLong = error == std::errc::result_out_of_range && stop == end;
    return UsageError{"solar: " + std::string(field) + ": \"" + std::string(text) + "\" is " +
                      (tooLong ? "out of range" : "not a whole number") + std::string(kSeeHelp)};
  }
  return value;
}

}  // namespace

SolarCommand parseSolarCommand(std::span<const std::string_view> args) {
  std::array<int, kFields.size()> values{};
  std::size_t count = 0;
  bool leap = false;
  for (const std::string_view arg : args) {
    if (arg == "--help" || arg == "-h") return ShowHelp{};
    if (arg == "--leap") {
      leap = true;
      continue;
    }
    // A value may be negative, so only what cannot be a number is an option.
    if (arg.starts_with("--") ||
        (arg.starts_with('-') && arg.size() > 1 && (arg[1] < '0' || arg[1] > '9'))) {
      return UsageError{"solar: unknown option \"" + std::string(arg) + "\"" +
                        std::string(kSeeHelp)};
    }
    if (count == values.size()) {
      return UsageError{"solar: unexpected argument \"" + std::string(arg) +
                        "\" (give YEAR MONTH DAY [--leap])"};
    }
    auto parsed = number(kFields[count], arg);
    if (auto* error = std::get_if<UsageError>(&parsed)) return std::move(*error);
    values[count++] = std::get<int>(parsed);
  }
  if (count < values.size()) {
    return UsageError{"solar: " + std::string(kFields[count]) +
                      " is missing (give YEAR MONTH DAY " + "[--leap], a lunar date)"};
  }
  const calendar::LunarDate date{values[0], values[1], leap, values[2]};
  try {
    (void)calendar::to_days(date);
  } catch (const calendar::CalendarError& error) {
    return UsageError{"solar: " + std::string(error.what())};
  }
  return SolarOptions{date};
}

std::string solarHelpText() {
  return "Usage: ziwei solar YEAR MONTH DAY [--leap]\n"
         "Prints the Gregorian (國曆) date, YYYY-MM-DD in China Standard Time, of the\n"
         "lunar date YEAR (by its Western number), MONTH and DAY; --leap names the leap\n"
         "month that follows MONTH. Lunar dates from 1900, month 1, day 1 to 2100,\n"
         "month 12, day 1 (2100-12-31). A date that does not exist, such as a leap month\n"
         "the year does not have or day 30 of a 29-day month, is refused.\n"
         "\n"
         "Exit status: 0 done, 1 the output could not be written, 2 bad command line\n"
         "or a lunar date that does not exist.\n";
}

std::string solarLine(const calendar::LunarDate& date) {
  return calendar::format_gregorian(calendar::to_gregorian(date)) + '\n';
}

int solarCommand(std::span<const std::string_view> args) {
  const SolarCommand command = parseSolarCommand(args);
  if (const auto* error = std::get_if<UsageError>(&command)) {
    std::cerr << "ziwei: " << oneLine(error->message) << '\n';
    return kExitUsage;
  }
  try {
    writeOutput(std::nullopt, std::holds_alternative<ShowHelp>(command)
                                  ? solarHelpText()
                                  : solarLine(std::get<SolarOptions>(command).date));
  } catch (const PageWriteError& error) {
    std::cerr << "ziwei: " << oneLine(error.what()) << '\n';
    return kExitIoError;
  }
  return kExitDone;
}

}  // namespace ziwei::cli
