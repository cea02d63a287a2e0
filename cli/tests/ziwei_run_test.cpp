// Runs the built ziwei as a user would: what the cast and the calendar
// commands write and how they exit.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;
using Args = std::vector<std::string>;

using Ziwei = ZiweiProcessTest;

TEST_F(Ziwei, CastsPagesAndJson) {
  const Result page = run({"--name", "王😀", "--print-date", "2026/12/6"});
  EXPECT_EQ(page.status, 0);
  EXPECT_EQ(page.err, "");
  EXPECT_TRUE(
      page.out.starts_with("<html><head><title>Tessaro\xB5\xB5\xB7L\xA4\xE6\xBC\xC6</title>"));
  EXPECT_TRUE(page.out.ends_with("</body></html>\r\n"));
  EXPECT_NE(page.out.find("[                \xA4\xFD&#128512; ]"), std::string::npos);
  EXPECT_NE(page.out.find("<td width='30%'>2026/12/6</td>"), std::string::npos);
  EXPECT_EQ(page.out.find('\n'), page.out.size() - 1);
  // The same bytes into a file.
  EXPECT_EQ(
      run({"--name", "王😀", "--print-date", "2026/12/6", "-o", (dir_ / "c.htm").string()}).out, "");
  EXPECT_EQ(readFile(dir_ / "c.htm"), page.out);

  const Result utf8 = run({"--encoding", "utf-8", "--name", "王"});
  EXPECT_NE(utf8.out.find("charset=utf-8"), std::string::npos);
  EXPECT_NE(utf8.out.find("[                王 ]"), std::string::npos);
  const auto document =
      parseJson(run({"--format", "json", "--year", "1984", "--name", "<王>"}).out);
  ASSERT_TRUE(document.IsObject());
  EXPECT_STREQ(document["input"]["name"].GetString(), "<王>");
  EXPECT_STREQ(document["frame"]["bureau"].GetString(), "火六局");
  EXPECT_EQ(document["palaces"].Size(), 12u);
}

// --lang names the chart in zh-Hans or English: UTF-8 pages, the same JSON
// keys and numbers; a Big5 page holds zh-Hant only and says so. In batch the
// column lang does the same for its record.
TEST_F(Ziwei, LanguagesOfPagesAndJson) {
  const Result hans = run({"--lang", "zh-Hans", "--year", "1984", "--print-date", "d"});
  EXPECT_EQ(hans.status, 0);
  EXPECT_NE(hans.out.find("charset=utf-8"), std::string::npos);
  EXPECT_NE(hans.out.find("命宫"), std::string::npos);
  EXPECT_EQ(hans.out.find("命宮"), std::string::npos);
  const Result en = run({"--lang", "en", "--year", "1984", "--format", "json", "--name", "陳"});
  const auto document = parseJson(en.out);
  ASSERT_TRUE(document.IsObject());
  EXPECT_STREQ(document["input"]["name"].GetString(), "陳");
  EXPECT_STREQ(document["frame"]["bureau"].GetString(), "Fire 6");
  EXPECT_STREQ(document["palaces"][2]["name"].GetString(), "Life");
  const Result big5 = run({"--lang", "en", "--encoding", "big5"});
  EXPECT_EQ(big5.status, 2);
  EXPECT_EQ(big5.err,
            "ziwei: --encoding: \"big5\" is not allowed with --lang en (a Big5 page holds zh-Hant "
            "names only; zh-Hans and en pages are UTF-8)\n");
  EXPECT_EQ(run({"--lang", "fr"}).status, 2);

  const std::string records =
      "name,sex,year,month,leap,day,hour,minute,second,lang\n"
      "a,male,1984,1,0,1,0,0,0,en\nb,male,1984,1,0,1,0,0,0,\n";
  const Result lines = run({"batch", "-"}, records);
  EXPECT_EQ(lines.status, 0);
  EXPECT_NE(lines.out.find("\"bureau\":\"Fire 6\""), std::string::npos);
  EXPECT_NE(lines.out.find("\"bureau\":\"火六局\""), std::string::npos);
  const Result pages = run({"batch", "--pages", (dir_ / "p").string(), "-"}, records);
  EXPECT_NE(pages.err.find("line 2: lang: a Big5 page holds zh-Hant names only; give --encoding "
                           "utf-8 for zh-Hans and en pages"),
            std::string::npos)
      << pages.err;
}

// Status, standard output and standard error of whole runs.
TEST_F(Ziwei, StatusesAndStreams) {
  for (const auto& [args, input, status, out, err] :
       std::vector<std::tuple<Args, std::string, int, std::string, std::string>>{
           {{"--version"}, "", 0, std::string("ziwei ") + ZIWEI_VERSION + "\n", ""},
           {{"--year", "1800", "-o", (dir_ / "x.htm").string()},
            "",
            2,
            "",
            "ziwei: --year: \"1800\" is not allowed (allowed: 1912 to 2100)\n"},
           {{"lunar", "2001-06-08", "-"},
            "2023-03-22\r\n\n",
            0,
            "2001-06-08\t2001\t4\t1\t17\n2023-03-22\t2023\t2\t1\t1\n",
            ""},
           {{"lunar", "-", "2101-01-01", "1987-07-26"},
            "1987-06-26\n2001-06-31\n",
            1,
            "1987-06-26\t1987\t6\t0\t1\n1987-07-26\t1987\t6\t1\t1\n",
            "ziwei: lunar: line 2 of standard input: \"2001-06-31\" is not an existing date\n"
            "ziwei: lunar: argument 2: 2101-01-01 is outside the supported range "
            "1900-01-31..2100-12-31\n"},
           {{"solar", "2033", "11", "1", "--leap"}, "", 0, "2033-12-22\n", ""},
           // A lunar date the calendar lacks is cast, with a warning.
           {{"--year", "2001", "--month", "4", "--leap", "--day", "30", "-o",
             (dir_ / "w.htm").string()},
            "",
            0,
            "",
            "ziwei: warning: lunar 2001, leap month 4, day 30: the day is not allowed (allowed: "
            "days 1 to 29 of that month); the calendar lacks this date, the chart is cast as "
            "given\n"},
           {{"--year", "2001", "--month", "4", "--leap", "--day", "29", "-o",
             (dir_ / "w.htm").string()},
            "",
            0,
            "",
            ""},
       }) {
    const Result result = run(args, input);
    EXPECT_EQ(result.status, status) << args[0];
    EXPECT_EQ(result.out, out) << args[0];
    EXPECT_EQ(result.err, err) << args[0];
  }
  EXPECT_FALSE(fs::exists(dir_ / "x.htm"));
  EXPECT_TRUE(fs::exists(dir_ / "w.htm"));
  EXPECT_TRUE(run({"--help"}).out.starts_with("Usage: ziwei [OPTION]..."));
}

TEST_F(Ziwei, SolarCastIsTheCastOfItsLunarDate) {
  // 23:30 on 2001-06-08 stays on that civil date: lunar leap month 4, day 17.
  const Args time = {"--hour", "23", "--minute", "30", "--print-date", "d", "--format", "json"};
  Args solar = {"--solar", "2001-06-08"};
  Args lunar = {"--year", "2001", "--month", "4", "--leap", "--day", "17"};
  solar.insert(solar.end(), time.begin(), time.end());
  lunar.insert(lunar.end(), time.begin(), time.end());
  std::string lunarJson = run(lunar).out;
  const std::string seconds = "\"second\":0,\"dateExists\":true";
  ASSERT_NE(lunarJson.find(seconds), std::string::npos);
  lunarJson.insert(lunarJson.find(seconds) + seconds.size(), ",\"solar\":\"2001-06-08\"");
  EXPECT_EQ(run(solar).out, lunarJson);
  EXPECT_EQ(parseJson(lunarJson)["frame"]["hourBranch"].GetInt(), 1);  // 子

  for (const auto& [args, stemBranch] : std::vector<std::pair<Args, std::string>>{
           {{"--year", "2011", "--month", "12", "--day", "30"}, "辛卯"},
           {{"--year", "2100", "--month", "12", "--day", "30"}, "庚申"},
           {{"--solar", "2100-12-31"}, "庚申"},
       }) {
    Args json = args;
    json.insert(json.end(), {"--format", "json"});
    const auto document = parseJson(run(json).out);
    ASSERT_TRUE(document.IsObject()) << args[1];
    EXPECT_EQ(std::string(document["frame"]["yearStem"].GetString()) +
                  document["frame"]["yearBranch"].GetString(),
              stemBranch);
  }
}

// A target gives the running-period page or the document's "periods"; a bad
// one is refused with exit status 2 and one line naming it.
TEST_F(Ziwei, RunningPeriodsAndBadTargets) {
  const Result page =
      run({"--year", "1984", "--on", "2026-05-14", "--encoding", "utf-8", "--print-date", "d"});
  EXPECT_EQ(page.status, 0);
  EXPECT_TRUE(page.out.starts_with("<html><head><title>Tessaro紫微斗數運限</title>"));
  EXPECT_NE(page.out.find("運限: 國曆2026年5月14日<br>農曆丙午年3月28日 虛歲43歲"),
            std::string::npos);
  const auto lunar = parseJson(run({"--year", "1984", "--on-lunar", "2023-2-10", "--on-leap",
                                    "--on-time", "08:00", "--format", "json"})
                                   .out);
  ASSERT_TRUE(lunar.IsObject());
  EXPECT_STREQ(lunar["periods"]["target"]["solar"].GetString(), "2023-03-31");
  EXPECT_STREQ(lunar["periods"]["hour"]["branch"].GetString(), "辰");

  for (const auto& [args, err] : std::vector<std::pair<Args, std::string>>{
           {{"--year", "2000", "--on", "1990-01-01"},
            "--on: the target 1990-01-01 falls in lunar year 1989, before the birth year 2000 "
            "(allowed: from lunar year 2000 on, its first day 2000-02-05 to 2100-12-31)"},
           {{"--on-lunar", "2001-1-1", "--year", "2002"},
            "--on-lunar: the target 2001-01-24 falls in lunar year 2001, before the birth year "
            "2002 (allowed: from lunar year 2002 on, its first day 2002-02-12 to 2100-12-31)"},
           {{"--on", "2101-01-01"},
            "--on: \"2101-01-01\" is not allowed (allowed: YYYY-MM-DD from 1900-01-31 to "
            "2100-12-31)"},
           {{"--on", "2026-5-14"},
            "--on: \"2026-5-14\" is not a date of the form YYYY-MM-DD (allowed: YYYY-MM-DD from "
            "1900-01-31 to 2100-12-31)"},
           {{"--on", "2026-05-14", "--on-time", "24:00"},
            "--on-time: \"24:00\" is not a clock time (allowed: HH:MM from 00:00 to 23:59)"},
           {{"--on-lunar", "2026-3"},
            "--on-lunar: \"2026-3\" is not a lunar date (allowed: Y-M-D, lunar years 1900 to "
            "2100, months 1 to 12, days 1 to 30)"},
           {{"--on-time", "08:00"}, "--on-time: needs a date (allowed: with --on or --on-lunar)"},
           {{"--on", "2026-05-14", "--on-lunar", "2026-3-28", "--format", "json"},
            "--on-lunar: a lunar date cannot be given together with a Gregorian one (allowed: "
            "either --on or --on-lunar)"},
       }) {
    const Result result = run(args);
    EXPECT_EQ(result.status, 2) << args[1];
    EXPECT_EQ(result.out, "") << args[1];
    EXPECT_EQ(result.err, "ziwei: " + err + "\n") << args[1];
  }
}

}  // namespace
