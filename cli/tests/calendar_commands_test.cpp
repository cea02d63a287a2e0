// The calendar commands (ziwei lunar, ziwei solar), their parsers, and the
// Gregorian-date birth conversion that --solar and the batch caster share.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "calendar/calendar_error.h"
#include "cli/exit_status.h"
#include "cli/lunar_command.h"
#include "cli/solar_command.h"
#include "cli/tests/ziwei_process.h"

namespace ziwei::cli {
namespace {

std::string refusalOf(const auto& command) {
  const auto* error = std::get_if<UsageError>(&command);
  return error != nullptr ? error->message : "(accepted)";
}

LunarCommand lunarArgs(std::vector<std::string_view> args) { return parseLunarCommand(args); }
SolarCommand solarArgs(std::vector<std::string_view> args) { return parseSolarCommand(args); }

TEST(LunarCommand, ParsesDatesAndStandardInput) {
  const LunarCommand command = lunarArgs({"2001-06-08", "-", "nonsense"});
  ASSERT_TRUE(std::holds_alternative<LunarOptions>(command)) << refusalOf(command);
  EXPECT_EQ(std::get<LunarOptions>(command).dates,
            (std::vector<std::string>{"2001-06-08", "-", "nonsense"}));
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(lunarArgs({"2001-06-08", "--help"})));
  EXPECT_EQ(refusalOf(lunarArgs({})),
            "lunar: a date is missing (give dates as YYYY-MM-DD, or - to read them from standard "
            "input)");
  EXPECT_EQ(refusalOf(lunarArgs({"2001-06-08", "--leap"})),
            "lunar: unknown option \"--leap\" (see ziwei lunar --help)");
}

testing::Result runLunarOn(std::vector<std::string> dates, const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = runLunar(LunarOptions{std::move(dates)}, in, out, err);
  return {status, out.str(), err.str()};
}

// The lines of the issue, the ends of the range, and refusals from
// arguments and standard input, in the order given.
TEST(LunarCommand, ConvertsEveryGoodDateAndNamesTheBadOnes) {
  const auto run = runLunarOn({"2020-05-23", "2001-06-08", "2001-05-09", "1900-01-31", "2024-02-29",
                               "-", "2023-02-29", "1900-01-30", "2001-6-8", "2033-12-22"},
                              "2023-03-22\r\n\n  2023-04-20\t\n1899-12-31\n2023-13-01\n2100-12-31");
  EXPECT_EQ(run.status, kExitBadData);
  EXPECT_EQ(run.out,
            "2020-05-23\t2020\t4\t1\t1\n"
            "2001-06-08\t2001\t4\t1\t17\n"
            "2001-05-09\t2001\t4\t0\t17\n"
            "1900-01-31\t1900\t1\t0\t1\n"
            "2024-02-29\t2024\t1\t0\t20\n"
            "2023-03-22\t2023\t2\t1\t1\n"
            "2023-04-20\t2023\t3\t0\t1\n"
            "2100-12-31\t2100\t12\t0\t1\n"
            "2033-12-22\t2033\t11\t1\t1\n");
  EXPECT_EQ(run.err,
            "ziwei: lunar: line 4 of standard input: 1899-12-31 is outside the supported range "
            "1900-01-31..2100-12-31\n"
            "ziwei: lunar: line 5 of standard input: \"2023-13-01\" is not an existing date\n"
            "ziwei: lunar: argument 7: \"2023-02-29\" is not an existing date\n"
            "ziwei: lunar: argument 8: 1900-01-30 is outside the supported range "
            "1900-01-31..2100-12-31\n"
            "ziwei: lunar: argument 9: \"2001-6-8\" is not a date of the form YYYY-MM-DD\n");

  const auto good = runLunarOn({"-"}, "2001-06-08\n");
  EXPECT_EQ(good.status, kExitDone);
  EXPECT_EQ(good.out, "2001-06-08\t2001\t4\t1\t17\n");
  EXPECT_EQ(good.err, "");
  EXPECT_EQ(runLunarOn({"-"}, "").status, kExitDone);
}

TEST(SolarCommand, ParsesALunarDate) {
  const auto line = [](std::vector<std::string_view> args) {
    const SolarCommand command = solarArgs(std::move(args));
    const auto* options = std::get_if<SolarOptions>(&command);
    return options != nullptr ? solarLine(options->date) : refusalOf(command);
  };
  EXPECT_EQ(line({"2001", "4", "--leap", "17"}), "2001-06-08\n");
  EXPECT_EQ(line({"2001", "04", "17"}), "2001-05-09\n");
  EXPECT_TRUE(std::holds_alternative<ShowHelp>(solarArgs({"-h"})));
}

TEST(SolarCommand, RefusesDatesThatDoNotExistAndMalformedCommandLines) {
  for (const auto& [args, message] :
       std::vector<std::pair<std::vector<std::string_view>, std::string>>{
           {{"2023", "3", "1", "--leap"},
            "lunar 2023, leap month 3, day 1: lunar year 2023 has no leap month 3 (its leap month "
            "is 2)"},
           {{"2022", "6", "1", "--leap"},
            "lunar 2022, leap month 6, day 1: lunar year 2022 has no leap month 6 (it has no leap "
            "month)"},
           {{"2001", "4", "30", "--leap"},
            "lunar 2001, leap month 4, day 30: that month has 29 days"},
           {{"2001", "13", "1"}, "lunar 2001, month 13, day 1: months are numbered 1..12"},
           {{"1899", "12", "1"},
            "lunar 1899, month 12, day 1: the year is outside the supported range 1900..2100"},
           {{"2100", "12", "2"},
            "lunar 2100, month 12, day 2 falls on 2101-01-01, outside the supported range "
            "1900-01-31..2100-12-31"},
           {{"2001", "4"}, "DAY is missing (give YEAR MONTH DAY [--leap], a lunar date)"},
           {{"2001", "4", "1", "2"}, "unexpected argument \"2\" (give YEAR MONTH DAY [--leap])"},
           {{"2001", "four", "1"},
            "MONTH: \"four\" is not a whole number (see ziwei solar --help)"},
           {{"99999999999", "4", "1"},
            "YEAR: \"99999999999\" is out of range (see ziwei solar --help)"},
           {{"2001", "4", "1", "--lep"}, "unknown option \"--lep\" (see ziwei solar --help)"},
           // A negative number is a value, refused by the calendar.
           {{"2001", "4", "-1"}, "lunar 2001, month 4, day -1: that month has 30 days"},
       }) {
    EXPECT_EQ(refusalOf(solarArgs(args)), "solar: " + message);
  }
  for (std::string_view bad : {"", "+1", " 1", "1.0", "0x1"}) {
    EXPECT_NE(refusalOf(solarArgs({"2001", "4", bad})).find("is not a whole number"),
              std::string::npos)
        << bad;
  }
}

}  // namespace
}  // namespace ziwei::cli
