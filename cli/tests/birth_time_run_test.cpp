// The birth-time options as a user gives them: --tz, --dst, --longitude,
// --place, --late-zi and --explain of the cast, the same columns of ziwei
// batch, and ziwei places. The conversions themselves are the engine's
// (birth/tests); these cases check what reaches it and what comes back out.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "cli/tests/ziwei_process.h"

namespace {

using namespace ziwei::cli::testing;
using Args = std::vector<std::string>;

using BirthTimeRun = ZiweiProcessTest;

// `text` split at blanks; '' stands for an empty argument.
Args words(const std::string& text) {
  Args args;
  std::istringstream in(text);
  for (std::string word; in >> word;) args.push_back(word == "''" ? "" : word);
  return args;
}

TEST_F(BirthTimeRun, CastExplainsOrRefuses) {
  // Each case: the arguments (--explain added), and a part of standard
  // output when it succeeds or the start of the one line of standard error
  // when it exits 2 (the engine's messages are checked in birth/tests).
  const std::string taipei = "--solar 1979-07-01 --hour 10 --minute 30 --tz Asia/Taipei";
  const std::string dst = "daylight saving time: 1h00m00s removed, standard time ";
  const std::string repeated = "--solar 1979-09-30 --hour 23 --minute 30 --tz Asia/Taipei";
  const std::string skipped = "--solar 1979-07-01 --minute 30 --tz Asia/Taipei";
  const std::string degrees = " (allowed: -180 to 180, degrees east of Greenwich, west negative)";
  const std::vector<std::tuple<std::string, int, std::string>> cases = {
      {taipei, 0,
       "clock time: 1979-07-01 10:30:00 in Asia/Taipei (UTC+09:00)\n" + dst +
           "1979-07-01 09:30:00 (UTC+08:00)\n"
           "lunar date: 1979, month 6, day 8; hour 09:30:00, 巳 hour (branch 6)\n"},
      // A lunar date goes through the Gregorian date it falls on.
      {"--year 1979 --month 6 --day 8 --hour 10 --minute 30 --tz Asia/Taipei", 0,
       dst + "1979-07-01 09:30:00"},
      {"--solar 1988-06-15 --hour 10 --minute 30 --tz Asia/Shanghai", 0,
       dst + "1988-06-15 09:30:00"},
      {"--solar 1970-07-01 --hour 10 --minute 30 --tz Asia/Hong_Kong", 0,
       dst + "1970-07-01 09:30:00"},
      {repeated, 2, "ziwei: 1979-09-30 23:30:00 in Asia/Taipei occurred twice"},
      {repeated + " --dst yes", 0, "lunar date: 1979, month 8, day 10; hour 22:30:00, 亥 hour"},
      {skipped, 2, "ziwei: 1979-07-01 00:30:00 in Asia/Taipei did not exist"},
      {skipped + " --dst yes", 0, "lunar date: 1979, month 6, day 7; hour 23:30:00, 子 hour"},
      {skipped + " --dst no", 0, "lunar date: 1979, month 6, day 8; hour 00:30:00, 子 hour"},
      // Urumqi: the gazetteer's longitude, 87.58°E, and the one given.
      {"--solar 1990-03-15 --hour 12 --place 烏魯木齊", 0,
       "true solar time (真太陽時) 1990-03-15 09:41:12\n"},
      {"--solar 1990-03-15 --hour 12 --longitude 87.6", 0,
       "longitude 87.60°E, 32.40° west of the meridian 120.00°E: -2h09m36s\n"},
      // Late 子 over the lunar new year, from a Gregorian and a lunar date.
      {"--solar 2000-02-04 --hour 23 --late-zi next-day", 0,
       "lunar date: 2000, month 1, day 1; hour 23:00:00"},
      {"--year 1998 --month 12 --day 30 --hour 23 --late-zi next-day", 0,
       "lunar date: 1999, month 1, day 1; hour 23:00:00"},
      {"--tz Asia/Taipe", 2, "ziwei: --tz: unknown time zone \"Asia/Taipe\" (close: Asia/Taipei)"},
      {"--tz localtime", 2, "ziwei: --tz: unknown time zone \"localtime\""},
      {"--tz ''", 2, "ziwei: --tz: \"\" is not allowed (allowed: an IANA time-zone name"},
      {"--place Atlantis", 2,
       "ziwei: --place: \"Atlantis\" is not in the gazetteer (close: Atlanta)"},
      {"--longitude -180.5", 2, "ziwei: --longitude: \"-180.5\" is not allowed" + degrees},
      {"--longitude 1e2", 2, "ziwei: --longitude: \"1e2\" is not a number of degrees" + degrees},
      {"--place Taipei --longitude 121", 2,
       "ziwei: --place and --longitude cannot be given together"},
      {"--format json", 2, "ziwei: --explain prints the steps instead of a chart, so --format"},
  };
  for (const auto& [args, status, text] : cases) {
    Args all = words(args);
    all.push_back("--explain");
    const Result result = run(all);
    EXPECT_EQ(result.status, status) << args;
    EXPECT_NE((status == 0 ? result.out : result.err).find(text), std::string::npos)
        << args << "\n"
        << result.out << result.err;
    EXPECT_EQ(lines(status == 0 ? result.err : result.err + result.out).size(), status / 2) << args;
  }
  // An ambiguous place: its candidates follow the line.
  EXPECT_EQ(run({"--place", "Suzhou"}).err,
            "ziwei: --place: \"Suzhou\" fits 2 places: Suzhou, Anhui; Suzhou, Jiangsu (name one as "
            "shown)\n"
            "  Suzhou, Anhui: Suzhou 宿州 (Anhui, China; 33.64°N 116.98°E; Asia/Shanghai)\n"
            "  Suzhou, Jiangsu: Suzhou 蘇州 苏州 (Jiangsu, China; 31.30°N 120.62°E; "
            "Asia/Shanghai)\n");
}

// The JSON "input" from "second" to the pillars: the steps follow only when
// asked for.
std::string inputEnd(const std::string& json) {
  const std::size_t from = json.find("\"second\"");
  return json.substr(from, json.find(",\"pillars\":") - from);
}

TEST_F(BirthTimeRun, JsonInputRecordsTheStepsOnlyWhenAsked) {
  const std::string taipei =
      run(words("--solar 1979-07-01 --hour 10 --minute 30 --place Taipei --format json")).out;
  EXPECT_EQ(inputEnd(taipei),
            "\"second\":41,\"dateExists\":true,\"solar\":\"1979-07-01\",\"clock\":\"1979-07-01T10:"
            "30:00\","
            "\"place\":\"Taipei\",\"zone\":\"Asia/Taipei\",\"utcOffset\":32400,"
            "\"dstRemoved\":true,\"standardTime\":\"1979-07-01T09:30:00\",\"longitude\":121.5683,"
            "\"meanTimeCorrection\":376,\"equationOfTime\":-215,"
            "\"trueSolarTime\":\"1979-07-01T09:32:41\",\"lateZi\":\"same-day\","
            "\"lateZiMoved\":false,\"hourBranch\":6");
  // Its pillars, by hand: 1979 is 己未; the instant is after 芒種 (06-06), so
  // the 午 month, 庚午 by the five tigers of 己, and lunar month 6, 辛未; the
  // day 1979-07-01 is 己巳 and true solar 09:32 the 巳 hour, 己巳 by the five
  // rats of 己.
  EXPECT_NE(taipei.find("\"pillars\":{\"solarTerms\":{\"year\":\"己未\",\"month\":\"庚午\","
                        "\"day\":\"己巳\",\"hour\":\"己巳\"},\"lunar\":{\"year\":\"己未\","
                        "\"month\":\"辛未\",\"day\":\"己巳\",\"hour\":\"己巳\"}}},"),
            std::string::npos);
  EXPECT_EQ(inputEnd(run(words("--late-zi same-day --format json")).out),
            "\"second\":0,\"dateExists\":true,\"clock\":null,\"place\":null,\"zone\":null,"
            "\"utcOffset\":28800,"
            "\"dstRemoved\":false,\"standardTime\":null,\"longitude\":null,"
            "\"meanTimeCorrection\":null,\"equationOfTime\":null,\"trueSolarTime\":null,"
            "\"lateZi\":\"same-day\",\"lateZiMoved\":false,\"hourBranch\":1");
  EXPECT_EQ(inputEnd(run(words("--format json")).out), "\"second\":0,\"dateExists\":true");
  // The birth's zone reads the running periods' target time too.
  EXPECT_NE(run(words("--year 1960 --tz Asia/Taipei --on 1979-07-01 --on-time 10:30 --format json"))
                .out.find("\"target\":{\"solar\":\"1979-07-01\",\"time\":\"09:30\""),
            std::string::npos);
}

TEST_F(BirthTimeRun, TargetTimesInTheBirthsZone) {
  const std::string json = " --format json";
  // Past 2037 the zone's rule still removes summer time from the target.
  EXPECT_NE(run(words("--year 1960 --tz America/New_York --on 2039-07-04 --on-time 12:00" + json))
                .out.find("\"target\":{\"solar\":\"2039-07-04\",\"time\":\"11:00\""),
            std::string::npos);
  // A target time at a change of the zone's offset: another zone would be
  // the birth's too, so the advice is another time.
  const Result changed =
      run(words("--year 1960 --tz Africa/Khartoum --on 2000-01-15 --on-time 12:30" + json));
  EXPECT_EQ(changed.status, 2);
  EXPECT_EQ(changed.err,
            "ziwei: --on-time: the target's clock time did not exist in Africa/Khartoum (a change "
            "of its offset); give a time outside it\n");
  const Result skipped =
      run(words("--year 1960 --tz America/New_York --on 2039-03-13 --on-time 02:30" + json));
  EXPECT_EQ(skipped.err,
            "ziwei: --on-time: the target's clock time did not exist in America/New_York (a "
            "daylight saving time change); give a time outside it\n");
}

TEST_F(BirthTimeRun, BatchColumns) {
  const Result result = run({"batch", "-"},
                            "name,sex,year,month,leap,day,hour,minute,second,solar,tz,place,"
                            "longitude,dst,late-zi\n"
                            "a,male,,,,,0,30,0,1979-07-01,Asia/Taipei,,,yes,\n"
                            "b,male,1998,12,0,30,23,15,0,,,,,,next-day\n"
                            "c,male,2000,1,0,1,0,0,0,,,,,,\n"
                            "d,male,,,,,0,30,0,1979-07-01,Asia/Taipei,,,,\n"
                            "e,male,,,,,12,0,0,1990-03-15,,Suzhou,,,\n"
                            "f,male,,,,,12,0,0,1990-03-15,,Urumqi,87.6,,\n"
                            "g,male,,,,,12,0,0,1990-03-15,,,87.6,maybe,\n");
  EXPECT_EQ(result.status, 1);
  const std::vector<std::string> out = lines(result.out);
  ASSERT_EQ(out.size(), 3u);
  EXPECT_NE(out[0].find("\"day\":7,\"hour\":23,\"minute\":30,\"second\":0,\"dateExists\":true,"
                        "\"solar\":\"1979-07-01\","
                        "\"clock\":\"1979-07-01T00:30:00\""),
            std::string::npos);
  EXPECT_NE(out[1].find("\"year\":1999,\"month\":1,"), std::string::npos);
  EXPECT_EQ(inputEnd(out[2]), "\"second\":0,\"dateExists\":true");  // empty fields: the defaults
  const std::vector<std::string> err = lines(result.err);
  ASSERT_EQ(err.size(), 5u);
  EXPECT_EQ(err[0],
            "ziwei: batch: line 5: 1979-07-01 00:30:00 in Asia/Taipei did not exist (the clocks "
            "were put forward over it): dst yes reads it as daylight time (UTC+09:00), standard "
            "time 1979-06-30 23:30:00; dst no as standard time (UTC+08:00), standard time "
            "1979-07-01 00:30:00");
  EXPECT_TRUE(err[1].starts_with("ziwei: batch: line 6: place: \"Suzhou\" fits 2 places"));
  EXPECT_TRUE(err[2].starts_with("ziwei: batch: line 7: place and longitude cannot both be"));
  EXPECT_EQ(err[3], "ziwei: batch: line 8: dst: \"maybe\" is not allowed (allowed: yes, no)");
}

TEST_F(BirthTimeRun, PlacesSearchesTheGazetteer) {
  const std::string taipei =
      "Taipei\t臺北\t台北\tTaiwan\tTaipei City\t121.5683\t25.0358\tAsia/Taipei\n";
  for (const auto& [args, status, out, err] :
       std::vector<std::tuple<Args, int, std::string, std::string>>{
           {{"places", "台北"}, 0, taipei, ""},
           {{"places", "taipei", "-n", "1"},
            0,
            taipei,
            "ziwei: places: more places fit \"taipei\" than the 1 listed (give --limit N)\n"},
           {{"places", "Suzhou, Jiangsu"},
            0,
            "Suzhou, Jiangsu\t蘇州\t苏州\tChina\tJiangsu\t120.62\t31.3005\tAsia/Shanghai\n",
            ""},
           {{"places", ""},
            2,
            "",
            "ziwei: places: QUERY \"\" names no place (give a place name or a part of one)\n"},
           {{"places", "Tai\xFF"},
            2,
            "",
            "ziwei: places: QUERY: the text is not valid UTF-8 (byte 4, character 4)\n"},
           {{"places", "Atlantis"},
            1,
            "",
            "ziwei: places: \"Atlantis\" is not in the gazetteer (close: Atlanta); give a "
            "longitude and a time zone instead\n"},
       }) {
    const Result result = run(args);
    EXPECT_EQ(result.status, status) << args.back();
    EXPECT_EQ(result.out, out) << args.back();
    EXPECT_EQ(result.err, err) << args.back();
  }
}

}  // namespace
