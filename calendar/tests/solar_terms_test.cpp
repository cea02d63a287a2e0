#include "calendar/solar_terms.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "calendar/calendar_error.h"
#include "calendar/gregorian.h"
#include "calendar/tests/sun_longitude.h"

namespace ziwei::calendar {

// Readable failure messages.
void PrintTo(const SolarMonth& m, std::ostream* os) {
  *os << "solar year " << m.year << " month " << m.month;
}

namespace {

constexpr UnixSeconds kHour = 3600;
constexpr UnixSeconds kDay = 86400;

// Unix seconds of a UTC date and time.
UnixSeconds utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  return static_cast<UnixSeconds>(to_days({year, month, day}).time_since_epoch().count()) * kDay +
         hour * kHour + minute * 60 + second;
}

SolarTerm term(int index) { return static_cast<SolarTerm>(index); }

// --- The independent computation, checked against published values ---

// Meeus, example 25.b: the Sun on 1992 October 13.0 TT (JDE 2448908.5).
TEST(SunLongitude, ReproducesMeeusWorkedExample) {
  const testing::EarthPosition earth = testing::earthPosition(2448908.5);
  EXPECT_NEAR(earth.longitude_rad, -43.63484796, 1e-8);
  EXPECT_NEAR(earth.latitude_rad, -0.00000312, 1e-8);
  EXPECT_NEAR(earth.radius_au, 0.99760775, 1e-8);
  // Geometric, FK5: 199.907347°.
  EXPECT_NEAR(testing::sunGeometricLongitude(2448908.5), 199.907347, 1e-6);
  // Apparent: 199°54'21.818" with the full nutation (Δψ = +15.908"); the
  // short nutation formula is good to 0.5".
  const double apparent = 199.0 + 54.0 / 60.0 + 21.818 / 3600.0;
  EXPECT_NEAR(testing::sunApparentLongitude(2448908.5), apparent, 0.5 / 3600.0);
}

TEST(SunLongitude, FindsPublishedEquinoxAndSolsticeOf2000) {
  // 春分 2000-03-20 07:35 UTC and 冬至 2000-12-21 13:37 UTC, to the minute:
  // the computed instant lies within that minute, give or take a minute.
  EXPECT_LE(std::llabs(testing::sunTermUnixSeconds(2000, 5) - utc(2000, 3, 20, 7, 35, 30)), 90);
  EXPECT_LE(std::llabs(testing::sunTermUnixSeconds(2000, 23) - utc(2000, 12, 21, 13, 37, 30)), 90);
}

TEST(SunLongitude, DeltaTFollowsTheObservedValues) {
  // Observed ΔT: about 2.6 s at 1905, 24 s at 1940, 32 s at 1960, 50.5 s at
  // 1980, 63.8 s at 2000 (Espenak & Meeus's fits reproduce them within a
  // second or so).
  EXPECT_NEAR(testing::deltaT(1905.0), 2.6, 1.5);
  EXPECT_NEAR(testing::deltaT(1940.0), 24.3, 1.0);
  EXPECT_NEAR(testing::deltaT(1960.0), 33.1, 1.0);
  EXPECT_NEAR(testing::deltaT(1980.0), 50.5, 1.0);
  EXPECT_NEAR(testing::deltaT(2000.0), 63.8, 0.5);
  // The fits join without a jump where one polynomial hands over to the next.
  for (const double y : {1900.0, 1920.0, 1941.0, 1961.0, 1986.0, 2005.0, 2050.0}) {
    EXPECT_NEAR(testing::deltaT(y - 1e-6), testing::deltaT(y), 1.0) << y;
  }
}

// --- The table ---

// Every instant of the table lies within a minute of the instant computed
// from the VSOP87 theory with ΔT from Espenak & Meeus.
TEST(SolarTerms, TableAgreesWithTheAstronomicalComputation) {
  UnixSeconds worst = 0;
  int worst_year = 0;
  int worst_term = 0;
  for (int year = kSolarTermFirstYear; year <= kSolarTermLastYear; ++year) {
    for (int i = 0; i < kSolarTermCount; ++i) {
      const UnixSeconds table = solarTermInstant(year, term(i));
      const UnixSeconds computed = testing::sunTermUnixSeconds(year, i);
      const UnixSeconds difference = std::llabs(table - computed);
      EXPECT_LE(difference, 60) << year << " term " << i << ": table " << table << ", computed "
                                << computed;
      if (difference > worst) {
        worst = difference;
        worst_year = year;
        worst_term = i;
      }
    }
  }
  std::printf("largest difference from the computation: %lld s (%d, term %d)\n",
              static_cast<long long>(worst), worst_year, worst_term);
  RecordProperty("max_difference_seconds", std::to_string(worst));
}

TEST(SolarTerms, KnownInstants) {
  // 冬至 2000 at 13:37 UTC and 春分 2000 at 07:35 UTC (to the minute).
  EXPECT_EQ(solarTermInstant(2000, SolarTerm::DongZhi) / 60, utc(2000, 12, 21, 13, 37) / 60);
  EXPECT_EQ(solarTermInstant(2000, SolarTerm::ChunFen) / 60, utc(2000, 3, 20, 7, 35) / 60);
  // The first and last rows are read from the right ends: 小寒 1900 on
  // January 6 at 02:04 and 冬至 2100 on December 22 at 03:51 (China Standard
  // Time).
  const auto cst_date = [](UnixSeconds t) {
    return gregorian_from_days(std::chrono::floor<std::chrono::days>(
        std::chrono::sys_seconds{std::chrono::seconds{t + 8 * kHour}}));
  };
  EXPECT_EQ(cst_date(solarTermInstant(1900, SolarTerm::XiaoHan)), (GregorianDate{1900, 1, 6}));
  EXPECT_EQ(cst_date(solarTermInstant(2100, SolarTerm::DongZhi)), (GregorianDate{2100, 12, 22}));
}

TEST(SolarTerms, RefusesYearsAndTermsOutsideTheTable) {
  EXPECT_NO_THROW(solarTermInstant(1900, SolarTerm::XiaoHan));
  EXPECT_NO_THROW(solarTermInstant(2100, SolarTerm::DongZhi));
  for (const int year : {1899, 2101, 0, -2000}) {
    try {
      solarTermInstant(year, SolarTerm::LiChun);
      ADD_FAILURE() << year << " accepted";
    } catch (const CalendarError& e) {
      EXPECT_EQ(std::string(e.what()), "solar-term year " + std::to_string(year) +
                                           " is outside the supported range 1900..2100");
    }
  }
  EXPECT_THROW(solarTermInstant(2000, term(24)), CalendarError);
}

// --- Solar-term months ---

TEST(SolarMonths, TermInstantBelongsToTheMonthItBegins) {
  const UnixSeconds li_chun = solarTermInstant(2026, SolarTerm::LiChun);
  EXPECT_EQ(solarMonthAt(li_chun), (SolarMonth{2026, 1}));
  EXPECT_EQ(solarMonthAt(li_chun - 1), (SolarMonth{2025, 12}));
  const UnixSeconds jing_zhe = solarTermInstant(2026, SolarTerm::JingZhe);
  EXPECT_EQ(solarMonthAt(jing_zhe - 1), (SolarMonth{2026, 1}));
  EXPECT_EQ(solarMonthAt(jing_zhe), (SolarMonth{2026, 2}));
  // 中氣 begin nothing: 雨水 lies inside month 1.
  EXPECT_EQ(solarMonthAt(solarTermInstant(2026, SolarTerm::YuShui)), (SolarMonth{2026, 1}));
}

TEST(SolarMonths, JanuaryBeforeLiChunBelongsToThePreviousSolarYear) {
  // 小寒 begins month 12 (丑) of the solar year before.
  const UnixSeconds xiao_han = solarTermInstant(1984, SolarTerm::XiaoHan);
  EXPECT_EQ(solarMonthAt(xiao_han - 1), (SolarMonth{1983, 11}));
  EXPECT_EQ(solarMonthAt(xiao_han), (SolarMonth{1983, 12}));
  EXPECT_EQ(solarMonthAt(utc(1984, 1, 10)), (SolarMonth{1983, 12}));
  // 大雪 begins month 11 (子) of its own year.
  EXPECT_EQ(solarMonthAt(solarTermInstant(1984, SolarTerm::DaXue)), (SolarMonth{1984, 11}));
  EXPECT_EQ(solarMonthAt(utc(1984, 12, 31, 12)), (SolarMonth{1984, 11}));
}

TEST(SolarMonths, EveryJieStartsTheNextMonth) {
  std::optional<SolarMonth> before;
  for (int year = kSolarTermFirstYear; year <= kSolarTermLastYear; ++year) {
    for (int jie = 0; jie < kSolarTermCount; jie += 2) {
      const UnixSeconds t = solarTermInstant(year, term(jie));
      const SolarMonth expected = jie == 0 ? SolarMonth{year - 1, 12} : SolarMonth{year, jie / 2};
      ASSERT_EQ(solarMonthAt(t), expected) << year << " term " << jie;
      if (before) {
        ASSERT_EQ(solarMonthAt(t - 1), before) << year << " term " << jie;
      }
      before = expected;
    }
  }
}

TEST(SolarMonths, RangeLimits) {
  const UnixSeconds first = solarTermInstant(1900, SolarTerm::XiaoHan);
  EXPECT_EQ(solarMonthAt(first - 1), std::nullopt);
  EXPECT_EQ(solarMonthAt(first), (SolarMonth{1899, 12}));
  EXPECT_EQ(solarMonthAt(solarTermInstant(1900, SolarTerm::LiChun)), (SolarMonth{1900, 1}));
  // 2100-12-31 24:00 China Standard Time is 2100-12-31 16:00 UTC.
  const UnixSeconds last = utc(2100, 12, 31, 16);
  EXPECT_EQ(solarMonthAt(last), (SolarMonth{2100, 11}));
  EXPECT_EQ(solarMonthAt(last + 1), std::nullopt);
  EXPECT_EQ(solarMonthAt(INT64_MIN), std::nullopt);
  EXPECT_EQ(solarMonthAt(INT64_MAX), std::nullopt);
}

}  // namespace
}  // namespace ziwei::calendar
