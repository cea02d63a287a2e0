// Runs the built ziwei for the Gregorian-date features: the lunar and solar
// commands, --solar casts and the lunar years past 2010.
#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;

class ZiweiCalendar : public ZiweiProcessTest {
 protected:
  ZiweiCalendar() : ZiweiProcessTest("ziwei-calendar-") {}
};

rapidjson::Document json(const Result& result) {
  rapidjson::Document document;
  document.Parse(result.out.c_str());
  EXPECT_FALSE(document.HasParseError()) << result.out.substr(0, 200) << result.err;
  return document;
}

TEST_F(ZiweiCalendar, LunarPrintsEveryGoodDateAndReportsTheBadOnes) {
  const Result good = run({"lunar", "2001-06-08", "-", "2033-12-22"}, "2023-03-22\r\n\n");
  EXPECT_EQ(good.status, 0);
  EXPECT_EQ(good.out,
            "2001-06-08\t2001\t4\t1\t17\n"
            "2023-03-22\t2023\t2\t1\t1\n"
            "2033-12-22\t2033\t11\t1\t1\n");
  EXPECT_EQ(good.err, "");

  const Result bad = run({"lunar", "-", "2101-01-01", "1987-07-26"}, "1987-06-26\n2001-06-31\n");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out,
            "1987-06-26\t1987\t6\t0\t1\n"
            "1987-07-26\t1987\t6\t1\t1\n");
  EXPECT_EQ(bad.err,
            "ziwei: lunar: line 2 of standard input: \"2001-06-31\" is not an existing date\n"
            "ziwei: lunar: argument 2: 2101-01-01 is outside the supported range "
            "1900-01-31..2100-12-31\n");

  const Result usage = run({"lunar"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_EQ(usage.out, "");
  const Result help = run({"lunar", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: ziwei lunar DATE...\n"));
}

TEST_F(ZiweiCalendar, LunarToAFullDeviceIsAnIoError) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const Result full = run({"lunar", "2001-06-08"}, "", ">/dev/full");
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, "ziwei: cannot write to standard output\n");
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
  const Result shortMonth = run({"solar", "2001", "4", "30", "--leap"});
  EXPECT_EQ(shortMonth.status, 2);
  EXPECT_EQ(shortMonth.err,
            "ziwei: solar: lunar 2001, leap month 4, day 30: that month has 29 days\n");
}

TEST_F(ZiweiCalendar, SolarCastIsTheCastOfItsLunarDate) {
  // 23:30 on 2001-06-08 stays on that civil date: lunar leap month 4, day 17.
  const std::vector<std::string> time = {"--hour", "23", "--minute", "30", "--print-date", "d"};
  std::vector<std::string> solar = {"--solar", "2001-06-08", "--sex", "female"};
  std::vector<std::string> lunar = {"--year", "2001", "--month", "4",     "--leap",
                                    "--day",  "17",   "--sex",   "female"};
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
  const auto document = json(solarJson);
  EXPECT_EQ(document["input"]["day"].GetInt(), 17);
  EXPECT_TRUE(document["input"]["leap"].GetBool());
  EXPECT_EQ(document["frame"]["hourBranch"].GetInt(), 1);  // 子
}

TEST_F(ZiweiCalendar, CastsLunarYearsUpTo2100) {
  struct Year {
    const char* year;
    const char* stem;
    const char* branch;
  };
  for (const Year& y :
       {Year{"2011", "辛", "卯"}, Year{"2050", "庚", "午"}, Year{"2100", "庚", "申"}}) {
    const Result result =
        run({"--year", y.year, "--month", "12", "--day", "30", "--format", "json"});
    ASSERT_EQ(result.status, 0) << y.year << ": " << result.err;
    const auto document = json(result);
    EXPECT_STREQ(document["frame"]["yearStem"].GetString(), y.stem) << y.year;
    EXPECT_STREQ(document["frame"]["yearBranch"].GetString(), y.branch) << y.year;
    EXPECT_EQ(document["palaces"].Size(), 12u);
  }
  const Result last = run({"--solar", "2100-12-31", "--format", "json"});
  ASSERT_EQ(last.status, 0) << last.err;
  const auto document = json(last);
  EXPECT_EQ(document["input"]["year"].GetInt(), 2100);
  EXPECT_EQ(document["input"]["month"].GetInt(), 12);
  EXPECT_EQ(document["input"]["day"].GetInt(), 1);
  EXPECT_STREQ(document["input"]["solar"].GetString(), "2100-12-31");
}

TEST_F(ZiweiCalendar, SolarRefusalsAreUsageErrors) {
  for (const auto& [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--solar", "2001-06-08", "--month", "4"},
            "--solar and --month cannot be given together (--solar gives the lunar date)"},
           {{"--solar", "1912-02-17"},
            "--solar: \"1912-02-17\" falls in lunar year 1911 (allowed: 1912-02-18 to "
            "2100-12-31, lunar years 1912 to 2100)"},
           {{"--solar", "2001-13-01"}, "--solar: \"2001-13-01\" is not an existing date"},
       }) {
    const Result result = run(args);
    EXPECT_EQ(result.status, 2) << message;
    EXPECT_EQ(result.err, "ziwei: " + message + "\n");
    EXPECT_EQ(result.out, "");
  }
}

TEST_F(ZiweiCalendar, HelpExplainsHour23AndTheCommands) {
  const Result help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* text : {"--solar YYYY-MM-DD", "hour 23 is the 子 hour of this day",
                           "ziwei lunar DATE...", "ziwei solar YEAR MONTH DAY [--leap]"}) {
    EXPECT_NE(help.out.find(text), std::string::npos) << text;
  }
}

}  // namespace
