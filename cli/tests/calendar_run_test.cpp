// Runs the built ziwei for the Gregorian-date features: the lunar and solar
// commands, --solar casts and the lunar years past 2010. The messages
// themselves are checked in calendar_commands_test.cpp; these check exit
// statuses and what reaches each stream.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;
using Args = std::vector<std::string>;

class ZiweiCalendar : public ZiweiProcessTest {
 protected:
  ZiweiCalendar() : ZiweiProcessTest("ziwei-calendar-") {}
};

TEST_F(ZiweiCalendar, LunarPrintsEveryGoodDateAndReportsTheBadOnes) {
  const Result good = run({"lunar", "2001-06-08", "-"}, "2023-03-22\r\n\n");
  EXPECT_EQ(good.status, 0);
  EXPECT_EQ(good.out, "2001-06-08\t2001\t4\t1\t17\n2023-03-22\t2023\t2\t1\t1\n");
  EXPECT_EQ(good.err, "");

  const Result bad = run({"lunar", "-", "2101-01-01", "1987-07-26"}, "1987-06-26\n2001-06-31\n");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "1987-06-26\t1987\t6\t0\t1\n1987-07-26\t1987\t6\t1\t1\n");
  EXPECT_EQ(bad.err,
            "ziwei: lunar: line 2 of standard input: \"2001-06-31\" is not an existing date\n"
            "ziwei: lunar: argument 2: 2101-01-01 is outside the supported range "
            "1900-01-31..2100-12-31\n");

  const Result full = run({"lunar", "2001-06-08"}, "", "/dev/full");
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, "ziwei: cannot write to standard output: No space left on device\n");
}

TEST_F(ZiweiCalendar, SolarPrintsTheGregorianDateOrRefuses) {
  const Result leap = run({"solar", "2001", "4", "17", "--leap"});
  EXPECT_EQ(leap.status, 0);
  EXPECT_EQ(leap.out, "2001-06-08\n");
  EXPECT_EQ(run({"solar", "2033", "11", "1", "--leap"}).out, "2033-12-22\n");

  const Result missing = run({"solar", "2033", "7", "1", "--leap"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_EQ(missing.err,
            "ziwei: solar: lunar 2033, leap month 7, day 1: lunar year 2033 has no leap month 7 "
            "(its leap month is 11)\n");
}

TEST_F(ZiweiCalendar, SolarCastIsTheCastOfItsLunarDate) {
  // 23:30 on 2001-06-08 stays on that civil date: lunar leap month 4, day 17.
  const Args time = {"--hour", "23", "--minute", "30", "--print-date", "d", "--sex", "female"};
  Args solar = {"--solar", "2001-06-08"};
  Args lunar = {"--year", "2001", "--month", "4", "--leap", "--day", "17"};
  solar.insert(solar.end(), time.begin(), time.end());
  lunar.insert(lunar.end(), time.begin(), time.end());

  const Result solarPage = run(solar);
  EXPECT_EQ(solarPage.status, 0) << solarPage.err;
  EXPECT_EQ(solarPage.out, run(lunar).out);

  solar.insert(solar.end(), {"--format", "json"});
  lunar.insert(lunar.end(), {"--format", "json"});
  const Result solarJson = run(solar);
  std::string lunarJson = run(lunar).out;
  const std::string seconds = "\"second\":0";
  ASSERT_NE(lunarJson.find(seconds), std::string::npos);
  lunarJson.insert(lunarJson.find(seconds) + seconds.size(), ",\"solar\":\"2001-06-08\"");
  EXPECT_EQ(solarJson.out, lunarJson);
  EXPECT_EQ(parseJson(solarJson.out)["frame"]["hourBranch"].GetInt(), 1);  // 子
}

TEST_F(ZiweiCalendar, CastsLunarYearsUpTo2100) {
  for (const auto& [args, stemBranch] : std::vector<std::pair<Args, std::string>>{
           {{"--year", "2011", "--month", "12", "--day", "30"}, "辛卯"},
           {{"--year", "2050", "--month", "12", "--day", "30"}, "庚午"},
           {{"--year", "2100", "--month", "12", "--day", "30"}, "庚申"},
           {{"--solar", "2100-12-31"}, "庚申"},
       }) {
    Args json = args;
    json.insert(json.end(), {"--format", "json"});
    const Result result = run(json);
    ASSERT_EQ(result.status, 0) << args[1] << ": " << result.err;
    const auto document = parseJson(result.out);
    EXPECT_EQ(std::string(document["frame"]["yearStem"].GetString()) +
                  document["frame"]["yearBranch"].GetString(),
              stemBranch)
        << args[1];
    EXPECT_EQ(document["palaces"].Size(), 12u);
    EXPECT_EQ(document["input"]["year"].GetInt(),
              args[1] == "2100-12-31" ? 2100 : std::stoi(args[1]));
  }
}

}  // namespace
