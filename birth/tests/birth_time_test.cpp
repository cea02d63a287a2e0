#include "birth/birth_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "birth/birth_time_text.h"
#include "birth/solar_birth.h"
#include "sexagenary/sexagenary.h"

// Reference values:
// - Daylight saving time: the IANA time-zone database (file "asia": Rule
//   Taiwan 1979 Jul 1 - Sep 30, from the Central Weather Bureau's history;
//   Rule Shang 1988 Apr 17 - Sep 11; Rule HK 1970 Apr 19 - Oct 18; file
//   "northamerica": US rules, 1990 Apr 1 - Oct 28), read from the system.
// - Lunar dates: the Hong Kong Observatory's tables (the lunar new years of
//   1990-01-27, 1999-02-16 and 2000-02-05; 1990 has a leap month 5); the
//   calendar's every-day check (calendar/verify) holds the rest to them.
// - The equation of time: within 6 s of Meeus' reference (see
//   equation_of_time_test.cpp), given here in whole seconds.

namespace ziwei {
namespace {

struct Record {
  calendar::GregorianDate date;
  int hour;
  int minute;
  std::string zone = "";
  std::optional<double> longitude = std::nullopt;
  std::optional<bool> daylight = std::nullopt;
  LateZi lateZi = LateZi::SameDay;
};

RecordedBirth solarRecord(const Record& r) {
  RecordedBirth record;
  record.solar = r.date;
  record.birth.hour = r.hour;
  record.birth.minute = r.minute;
  record.zone = r.zone;
  record.longitude = r.longitude;
  record.daylight = r.daylight;
  record.options.lateZi = r.lateZi;
  return record;
}

std::string refusal(const RecordedBirth& record, YearRange years = kCommandLineYears) {
  try {
    resolveBirthTime(record, years);
  } catch (const std::invalid_argument& error) {
    return error.what();
  }
  return "(accepted)";
}

LunarBirth lunar(int year, int month, bool leap, int day, int hour, int minute, int second = 0) {
  return {year, month, leap, day, hour, minute, second, true};
}

// A lunar birth as "1990-5L-9 09:30:00" (L: the leap month).
std::string lunarText(const LunarBirth& b) {
  char time[16];
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", b.hour, b.minute, b.second);
  return std::to_string(b.year) + "-" + std::to_string(b.month) + (b.leap ? "L-" : "-") +
         std::to_string(b.day) + " " + time;
}

TEST(BirthTime, RemovesDaylightSavingTime) {
  // Each row: the clock time, its UTC offset and the saving removed in
  // hours, the standard time and the lunar date (the lunar birth keeps the
  // standard time's hour, minute and second).
  struct Case {
    Record record;
    int utcHours;
    int removedHours;
    std::string standard;
    std::string birth;
  };
  const Case cases[] = {
      {{{1979, 7, 1}, 10, 30, "Asia/Taipei"}, 9, 1, "1979-07-01 09:30:00", "1979-6-8"},
      {{{1985, 7, 1}, 10, 30, "Asia/Taipei"}, 8, 0, "1985-07-01 10:30:00", "1985-5-14"},
      {{{1988, 6, 15}, 10, 30, "Asia/Shanghai"}, 9, 1, "1988-06-15 09:30:00", "1988-5-2"},
      {{{1988, 1, 15}, 10, 30, "Asia/Shanghai"}, 8, 0, "1988-01-15 10:30:00", "1987-11-26"},
      {{{1970, 7, 1}, 10, 30, "Asia/Hong_Kong"}, 9, 1, "1970-07-01 09:30:00", "1970-5-28"},
      // West of Greenwich; the lunar date is that of the local civil date.
      {{{1990, 7, 1}, 10, 30, "America/New_York"}, -4, 1, "1990-07-01 09:30:00", "1990-5L-9"},
      {{{1990, 1, 27}, 23, 30, "America/New_York"}, -5, 0, "1990-01-27 23:30:00", "1990-1-1"},
      // The hour repeated when Taiwan's summer time ended (1979-10-01 00:00
      // daylight time became 09-30 23:00), read either way.
      {{{1979, 9, 30}, 23, 30, "Asia/Taipei", {}, true}, 9, 1, "1979-09-30 22:30:00", "1979-8-10"},
      {{{1979, 9, 30}, 23, 30, "Asia/Taipei", {}, false}, 8, 0, "1979-09-30 23:30:00", "1979-8-10"},
      // The hour skipped when it began (1979-07-01 00:00 became 01:00).
      {{{1979, 7, 1}, 0, 30, "Asia/Taipei", {}, true}, 9, 1, "1979-06-30 23:30:00", "1979-6-7"},
      {{{1979, 7, 1}, 0, 30, "Asia/Taipei", {}, false}, 8, 0, "1979-07-01 00:30:00", "1979-6-8"},
      {{{1990, 10, 28}, 1, 30, "America/New_York", {}, true},
       -4,
       1,
       "1990-10-28 00:30:00",
       "1990-9-11"},
      {{{1990, 10, 28}, 1, 30, "America/New_York", {}, false},
       -5,
       0,
       "1990-10-28 01:30:00",
       "1990-9-11"},
      // Past the zones' last listed change (2037): their rule for later years.
      {{{2038, 7, 15}, 12, 0, "America/New_York"}, -4, 1, "2038-07-15 11:00:00", "2038-6-14"},
      {{{2099, 1, 15}, 12, 0, "America/New_York"}, -5, 0, "2099-01-15 12:00:00", "2098-12-25"},
      {{{2075, 7, 15}, 12, 0, "Europe/London"}, 1, 1, "2075-07-15 11:00:00", "2075-6-3"},
      {{{2050, 7, 1}, 12, 0, "Australia/Sydney"}, 10, 0, "2050-07-01 12:00:00", "2050-5-13"},
      {{{2050, 1, 1}, 12, 0, "Australia/Sydney"}, 11, 1, "2050-01-01 11:00:00", "2049-12-8"},
      {{{2060, 7, 1}, 12, 0, "America/Santiago"}, -4, 0, "2060-07-01 12:00:00", "2060-6-4"},
      // Daylight time next to a change of the standard offset: the standard
      // offset and the saving as the database has them.
      {{{1941, 11, 20}, 12, 0, "Europe/Paris"}, 2, 1, "1941-11-20 11:00:00", "1941-10-2"},
      {{{1942, 5, 20}, 12, 0, "Europe/Kyiv"}, 2, 1, "1942-05-20 11:00:00", "1942-4-6"},
      {{{1943, 3, 29}, 12, 0, "America/Iqaluit"}, -4, 1, "1943-03-29 11:00:00", "1943-2-24"},
      {{{1940, 12, 1}, 12, 0, "Europe/Amsterdam"}, 2, 1, "1940-12-01 11:00:00", "1940-11-3"},
      {{{1991, 6, 1}, 12, 0, "Europe/Moscow"}, 3, 1, "1991-06-01 11:00:00", "1991-4-19"},
      {{{2000, 1, 15}, 12, 0, "America/Argentina/Buenos_Aires"},
       -3,
       1,
       "2000-01-15 11:00:00",
       "1999-12-9"},
      // Ireland: GMT in winter, an hour saved in summer; the hour repeated in
      // October is Irish summer time when read as daylight time.
      {{{2000, 1, 15}, 12, 0, "Europe/Dublin"}, 0, 0, "2000-01-15 12:00:00", "1999-12-9"},
      {{{2000, 7, 15}, 12, 0, "Europe/Dublin"}, 1, 1, "2000-07-15 11:00:00", "2000-6-14"},
      {{{2000, 10, 29}, 1, 30, "Europe/Dublin", {}, true},
       1,
       1,
       "2000-10-29 00:30:00",
       "2000-10-3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.record.zone + " " + calendar::format_gregorian(c.record.date));
    const ResolvedBirth resolved = resolveBirthTime(solarRecord(c.record));
    EXPECT_EQ(resolved.steps.utcOffset, c.utcHours * 3600);
    EXPECT_EQ(resolved.steps.daylightSaving, c.removedHours * 3600);
    EXPECT_EQ(formatClock(resolved.steps.standard), c.standard);
    EXPECT_EQ(lunarText(resolved.birth), c.birth + c.standard.substr(10));
    EXPECT_TRUE(resolved.birth.male);
    EXPECT_EQ(resolved.steps.hourBranch, hourBranch(resolved.birth.hour).number());
  }
}

TEST(BirthTime, RefusesWithTheValueAndWhatIsAllowed) {
  const std::string zones =
      "; a zone is an IANA name such as Asia/Taipei, Asia/Shanghai or America/New_York";
  const std::pair<Record, std::string> cases[] = {
      {{{1979, 9, 30}, 23, 30, "Asia/Taipei"},
       "1979-09-30 23:30:00 in Asia/Taipei occurred twice (the clocks were put back): read as "
       "daylight time (UTC+09:00) it is standard time 1979-09-30 22:30:00; read as standard "
       "time (UTC+08:00), 1979-09-30 23:30:00"},
      {{{1979, 7, 1}, 0, 30, "Asia/Taipei"},
       "1979-07-01 00:30:00 in Asia/Taipei did not exist (the clocks were put forward over it): "
       "read as daylight time (UTC+09:00) it is standard time 1979-06-30 23:30:00; read as "
       "standard time (UTC+08:00), 1979-07-01 00:30:00"},
      {{{2039, 3, 13}, 2, 30, "America/New_York"},
       "2039-03-13 02:30:00 in America/New_York did not exist (the clocks were put forward over "
       "it): read as daylight time (UTC-04:00) it is standard time 2039-03-13 01:30:00; read as "
       "standard time (UTC-05:00), 2039-03-13 02:30:00"},
      // Sudan's change of standard offset (tz file "africa": 2000 Jan 15 12:00).
      {{{2000, 1, 15}, 12, 30, "Africa/Khartoum", {}, false},
       "2000-01-15 12:30:00 in Africa/Khartoum did not exist (the clocks were put forward over "
       "it) when the zone changed its offset from UTC+02:00 to UTC+03:00; name the zone "
       "Etc/GMT-2 or Etc/GMT-3 to choose one"},
      {{{1979, 12, 1}, 10, 30, "Asia/Taipei", {}, true},
       "1979-12-01 10:30:00 in Asia/Taipei is standard time (UTC+08:00); the zone kept "
       "no daylight saving time then"},
      {{{1979, 7, 1}, 10, 30, "Asia/Taipei", {}, false},
       "1979-07-01 10:30:00 in Asia/Taipei is daylight saving time (UTC+09:00, "
       "1h00m00s ahead of standard time); for a clock kept on standard time name the zone "
       "Etc/GMT-8"},
      {{{1988, 6, 15}, 10, 30, "", {}, true},
       "with no time zone named the clock is China Standard Time (UTC+08:00), which "
       "keeps no daylight saving time; name the zone, e.g. Asia/Shanghai"},
      {{{1988, 6, 15}, 10, 30, "taipei"},
       "unknown time zone \"taipei\" (close: Asia/Taipei)" + zones},
      {{{1988, 6, 15}, 10, 30, "Mars/Olympus"}, "unknown time zone \"Mars/Olympus\"" + zones},
      {{{1988, 6, 15}, 10, 30, "", 180.5},
       "longitude 180.5 is not allowed (allowed: -180 to 180 degrees, east positive)"},
      {{{1988, 6, 15}, 10, 30, "", std::numeric_limits<double>::quiet_NaN()},
       "longitude nan is not allowed (allowed: -180 to 180 degrees, east positive)"},
      {{{1988, 6, 15}, 24, 0, "Asia/Taipei"}, "hour 24 is not allowed (allowed: 0 to 23)"},
      // A date past the accepted span, even one a correction would bring back.
      {{{2101, 1, 1}, 0, 0, "", -100.0},
       "\"2101-01-01\" is not allowed (allowed: 1912-02-18 to 2100-12-31, lunar years 1912 to "
       "2100)"},
      {{{1912, 2, 17}, 23, 30, "", 135.0},
       "\"1912-02-17\" falls in lunar year 1911 (allowed: 1912-02-18 to 2100-12-31, lunar "
       "years 1912 to 2100)"},
      // No fixed-offset zone keeps Singapore's UTC+07:30 of before 1982.
      {{{1981, 12, 31}, 23, 45, "Asia/Singapore"},
       "1981-12-31 23:45:00 in Asia/Singapore did not exist (the clocks were put forward over "
       "it) when the zone changed its offset from UTC+07:30 to UTC+08:00; name the zone "
       "Etc/GMT-8 to read it as UTC+08:00 (no fixed-offset zone keeps UTC+07:30)"},
      // True solar time that leaves the accepted dates names both dates.
      {{{1912, 2, 18}, 0, 30, "", 87.6},
       "1912-02-18 00:30:00 comes to the lunar date of 1912-02-17: \"1912-02-17\" falls in lunar "
       "year 1911 (allowed: 1912-02-18 to 2100-12-31, lunar years 1912 to 2100)"},
  };
  for (const auto& [record, message] : cases) EXPECT_EQ(refusal(solarRecord(record)), message);

  try {
    resolveBirthTime(solarRecord({{1979, 7, 1}, 0, 30, "Asia/Taipei"}));
    ADD_FAILURE() << "accepted a skipped time";
  } catch (const LocalTimeError& error) {
    EXPECT_EQ(error.kind(), LocalTime::Skipped);
    EXPECT_EQ(error.daylightReading().utcOffset, 9 * 3600);
    EXPECT_EQ(error.daylightReading().standard, (ClockTime{{1979, 6, 30}, 23, 30, 0}));
    EXPECT_EQ(error.standardReading().standard, (ClockTime{{1979, 7, 1}, 0, 30, 0}));
    EXPECT_EQ(error.withChoices("dst yes", "dst no"),
              "1979-07-01 00:30:00 in Asia/Taipei did not exist (the clocks were put forward "
              "over it): dst yes reads it as daylight time (UTC+09:00), standard time 1979-06-30 "
              "23:30:00; dst no as standard time (UTC+08:00), standard time 1979-07-01 00:30:00");
  }
  try {
    resolveBirthTime(solarRecord({{1979, 7, 1}, 10, 30, "Asia/Taipei", {}, false}));
    ADD_FAILURE() << "accepted a choice the zone contradicts";
  } catch (const DaylightChoiceError& error) {
    EXPECT_FALSE(error.choice());
  }
}

TEST(BirthTime, TrueSolarTimeFromALongitude) {
  struct Case {
    Record record;
    int meanTime;
    int equationOfTime;
    std::string trueSolar;
    std::string birth;
  };
  const Case cases[] = {
      // Urumqi on Beijing time: 32.4 degrees west of 120°E, 2h09m36s.
      {{{1990, 3, 15}, 12, 0, "Asia/Shanghai", 87.6},
       -7776,
       -546,
       "1990-03-15 09:41:18",
       "1990-2-19"},
      // ... crossing midnight, and the end of a lunar month (1990-03-27 is
      // the first of month 3).
      {{{1990, 3, 15}, 1, 0, "", 87.6}, -7776, -554, "1990-03-14 22:41:10", "1990-2-18"},
      {{{1990, 3, 27}, 1, 0, "", 87.6}, -7776, -342, "1990-03-26 22:44:42", "1990-2-30"},
      // Taipei, 1.5 degrees east (in summer time: ExplainsEveryStep).
      {{{1985, 5, 10}, 12, 0, "Asia/Taipei", 121.5}, 360, 217, "1985-05-10 12:09:37", "1985-3-21"},
      // New York, a degree east of its meridian 75°W, on summer time.
      {{{1990, 7, 1}, 10, 30, "America/New_York", -74.0},
       240,
       -227,
       "1990-07-01 09:30:13",
       "1990-5L-9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(calendar::format_gregorian(c.record.date));
    const ResolvedBirth resolved = resolveBirthTime(solarRecord(c.record));
    EXPECT_EQ(resolved.steps.meanTimeCorrection, c.meanTime);
    EXPECT_EQ(resolved.steps.equationOfTime, c.equationOfTime);
    EXPECT_EQ(formatClock(resolved.steps.trueSolar), c.trueSolar);
    // The lunar birth: the date given and the true solar time's clock.
    EXPECT_EQ(lunarText(resolved.birth), c.birth + c.trueSolar.substr(10));
  }
  // A lunar date goes through its Gregorian date (lunar 1990, month 3, day 1
  // is 1990-03-27).
  RecordedBirth record;
  record.birth = lunar(1990, 3, false, 1, 1, 0);
  record.longitude = 87.6;
  EXPECT_EQ(resolveBirthTime(record).birth, lunar(1990, 2, false, 30, 22, 44, 42));
  record.birth.leap = true;  // 1990 has no leap month 3
  EXPECT_EQ(refusal(record),
            "lunar 1990, leap month 3, day 1: lunar year 1990 has no leap month 3 (its leap month "
            "is 5)");
}

TEST(BirthTime, LateZiHourMovesTheDateOnWithNextDay) {
  // From a Gregorian date, over the lunar new year, also after true solar
  // time (Urumqi's 01:30 on Beijing time is 23:06 the day before).
  const std::pair<Record, LunarBirth> solar[] = {
      {{{2000, 2, 4}, 23, 30, "", {}, {}, LateZi::NextDay}, lunar(2000, 1, false, 1, 23, 30)},
      {{{2000, 2, 4}, 23, 30}, lunar(1999, 12, false, 29, 23, 30)},
      {{{2000, 2, 4}, 22, 59, "", {}, {}, LateZi::NextDay}, lunar(1999, 12, false, 29, 22, 59)},
      {{{2000, 2, 5}, 1, 30, "", 87.6, {}, LateZi::NextDay}, lunar(2000, 1, false, 1, 23, 6, 30)},
  };
  for (const auto& [record, birth] : solar) {
    EXPECT_EQ(resolveBirthTime(solarRecord(record)).birth, birth);
  }
  // From a lunar date as given: over the year's end; a date the calendar
  // lacks or a move past the accepted years is refused.
  RecordedBirth record;
  record.options.lateZi = LateZi::NextDay;
  record.birth = lunar(1998, 12, false, 30, 23, 15);
  const ResolvedBirth moved = resolveBirthTime(record);
  EXPECT_EQ(moved.birth, lunar(1999, 1, false, 1, 23, 15));
  EXPECT_TRUE(moved.steps.lateZiMoved);
  EXPECT_FALSE(moved.steps.civil);
  record.birth = lunar(2023, 3, true, 1, 23, 0);
  EXPECT_EQ(refusal(record),
            "lunar 2023, leap month 3, day 1: lunar year 2023 has no leap month 3 (its leap "
            "month is 2); the late 子 hour rule NextDay moves 23:00 to the next day, which needs "
            "a date the calendar has");
  record.birth = lunar(2010, 12, false, 30, 23, 0);
  EXPECT_EQ(refusal(record, kSelectorYears),
            "lunar 2010, month 12, day 30 is the last day of its year; the late 子 hour rule "
            "NextDay moves 23:00 to the next day, into lunar year 2011 (allowed: lunar years "
            "1912 to 2010)");
  record.birth = lunar(2001, 4, false, 30, 22, 0);  // no move: not checked (month 4 has 29 days)
  EXPECT_EQ(resolveBirthTime(record, kSelectorYears).birth, record.birth);
}

TEST(BirthTime, WithoutOptionsIsTheConversionOfBefore) {
  for (const calendar::GregorianDate date :
       {calendar::GregorianDate{2001, 6, 8}, {1912, 2, 18}, {2100, 12, 31}, {1988, 6, 15}}) {
    for (const int hour : {0, 10, 23}) {
      RecordedBirth record;
      record.solar = date;
      record.birth = lunar(1950, 1, true, 30, hour, 59, 59);
      const LunarBirth before = lunarBirthOn(date, record.birth);
      EXPECT_EQ(resolveBirthTime(record).birth, before);
      if (date.year != 1988) {  // a zone without daylight saving time then changes nothing
        record.zone = "Asia/Shanghai";
        EXPECT_EQ(resolveBirthTime(record).birth, before);
      }
    }
  }
  RecordedBirth lunarDate;
  lunarDate.birth = lunar(2001, 4, false, 30, 23, 0);  // month 4 of 2001 has 29 days: kept
  EXPECT_EQ(resolveBirthTime(lunarDate).birth, lunarDate.birth);
}

TEST(BirthTime, ReadsEveryZoneOfTheGazetteer) {
  std::set<std::string_view> zones;
  for (const places::Place& place : places::allPlaces()) zones.insert(places::zoneOf(place));
  for (const std::string_view zone : zones) {
    RecordedBirth record;
    record.solar = calendar::GregorianDate{2000, 1, 16};
    record.birth.hour = 12;
    record.zone = std::string(zone);
    EXPECT_NO_THROW(resolveBirthTime(record)) << zone;
  }
}

TEST(BirthTime, ExplainsEveryStep) {
  RecordedBirth record;
  record.solar = calendar::GregorianDate{1979, 7, 1};
  record.birth.hour = 10;
  record.birth.minute = 30;
  record.place = &places::findPlace("臺北");
  record.longitude = 121.5;
  EXPECT_EQ(explainBirthTime(resolveBirthTime(record)),
            (std::vector<std::string>{
                "place: Taipei 臺北 台北 (Taipei City, Taiwan; 25.04°N 121.57°E; Asia/Taipei)",
                "clock time: 1979-07-01 10:30:00 in Asia/Taipei (UTC+09:00)",
                "daylight saving time: 1h00m00s removed, standard time 1979-07-01 09:30:00 "
                "(UTC+08:00)",
                "mean solar time (平太陽時): longitude 121.50°E, 1.50° east of the meridian "
                "120.00°E: +6m00s",
                "equation of time: -3m35s, true solar time (真太陽時) 1979-07-01 09:32:25",
                "lunar date: 1979, month 6, day 8; hour 09:32:25, 巳 hour (branch 6)"}));
  record = RecordedBirth{};
  record.solar = calendar::GregorianDate{1979, 7, 1};
  record.birth.hour = 0;
  record.birth.minute = 30;
  record.zone = "Asia/Taipei";
  record.daylight = true;
  record.options.lateZi = LateZi::NextDay;
  EXPECT_EQ(explainBirthTime(resolveBirthTime(record)),
            (std::vector<std::string>{
                "clock time: 1979-07-01 00:30:00 in Asia/Taipei (UTC+09:00)",
                "daylight saving time: 1h00m00s removed, standard time 1979-06-30 23:30:00 "
                "(UTC+08:00); the clock time did not exist, read as daylight saving time",
                "late 子 hour (晚子): 23:00-23:59 counts as the next day's 子 hour (rule "
                "NextDay): the date moves on one day",
                "lunar date: 1979, month 6, day 8; hour 23:30:00, 子 hour (branch 1)"}));
  record = RecordedBirth{};
  record.birth = lunar(2000, 4, true, 20, 13, 5);
  EXPECT_EQ(explainBirthTime(resolveBirthTime(record)),
            (std::vector<std::string>{
                "lunar date: 2000, leap month 4, day 20; hour 13:05:00, 未 hour (branch 8)"}));
}

}  // namespace
}  // namespace ziwei

namespace ziwei {
namespace {

TEST(BirthTimeText, OneFormatterPerValueInEachLanguage) {
  EXPECT_EQ(formatClock({{1979, 7, 1}, 9, 5, 7}), "1979-07-01 09:05:07");
  EXPECT_EQ(formatClock({{1979, 7, 1}, 9, 5, 7}, 'T'), "1979-07-01T09:05:07");
  EXPECT_EQ(formatOffset(8 * 3600), "UTC+08:00");
  EXPECT_EQ(formatOffset(-(4 * 3600 + 30 * 60)), "UTC-04:30");
  EXPECT_EQ(formatOffset(8 * 3600 + 5 * 60 + 43), "UTC+08:05:43");
  for (const auto& [seconds, english, chinese] :
       std::vector<std::tuple<int, std::string, std::string>>{
           {360, "+6m00s", "+6分00秒"},
           {-7776, "-2h09m36s", "-2時09分36秒"},
           {45, "+45s", "+0分45秒"},
           {0, "+0s", "+0分00秒"},
       }) {
    EXPECT_EQ(formatDuration(seconds, Narration::English), english);
    EXPECT_EQ(formatDuration(seconds, Narration::Chinese), chinese);
  }
  EXPECT_EQ(formatDuration(3600, Narration::English, false), "1h00m00s");
  EXPECT_EQ(formatLongitude(-87.6), "87.60°W");
}

TEST(BirthTimeText, TheStepsInChineseFromTheSameNumbers) {
  RecordedBirth record;
  record.solar = calendar::GregorianDate{1979, 7, 1};
  record.birth.hour = 13;
  record.birth.minute = 10;
  record.zone = "Asia/Taipei";
  record.longitude = 121.5;
  const ResolvedBirth resolved = resolveBirthTime(record);
  EXPECT_EQ(stepsTaken(resolved),
            (std::vector<BirthStep>{BirthStep::Clock, BirthStep::DaylightSaving,
                                    BirthStep::TrueSolarTime, BirthStep::LunarDate}));
  const ChineseBirthTime text = chineseBirthTime(resolved);
  EXPECT_EQ(text.corrected,
            "扣除夏令時間 1 小時,標準時間 1979-07-01 12:10:00 (UTC+08:00)\n"
            "真太陽時 1979-07-01 12:12:23 (經度 121.50°E,對時區中線 120.00°E +6分00秒;均時差 "
            "-3分37秒)");
  EXPECT_EQ(text.moved, "校正使時辰由未時改為午時");
  EXPECT_EQ(text.hour, "午時");
  EXPECT_EQ(text.lunar, "農曆 1979 年 6 月 8 日 12 時 12 分");
  // The same steps in English.
  EXPECT_EQ(narrateStep(BirthStep::TrueSolarTime, resolved, Narration::English).back(),
            "equation of time: -3m37s, true solar time (真太陽時) 1979-07-01 12:12:23");
}

}  // namespace
}  // namespace ziwei
