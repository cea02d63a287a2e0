#include "birth/equation_of_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "calendar/gregorian.h"

namespace ziwei {
namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

std::int64_t utcSeconds(calendar::GregorianDate date, int hour = 0) {
  return static_cast<std::int64_t>(calendar::to_days(date).time_since_epoch().count()) * 86400 +
         hour * 3600;
}

// The reference: J. Meeus, Astronomical Algorithms (2nd ed., 1998), the
// equation of time by Smart's formula (eq. 28.3) from the solar elements of
// chapter 25 (L0, M, e) and the mean obliquity of eq. 22.2. In seconds.
double meeusEquationOfTime(double julianDay) {
  const double t = (julianDay - 2451545.0) / 36525.0;
  const double l0 = (280.46646 + 36000.76983 * t + 0.0003032 * t * t) * kRadians;
  const double m = (357.52911 + 35999.05029 * t - 0.0001537 * t * t) * kRadians;
  const double e = 0.016708634 - 0.000042037 * t - 0.0000001267 * t * t;
  const double epsilon =
      (23.0 + 26.0 / 60 + (21.448 - 46.8150 * t - 0.00059 * t * t + 0.001813 * t * t * t) / 3600) *
      kRadians;
  const double y = std::pow(std::tan(epsilon / 2), 2);
  const double radians = y * std::sin(2 * l0) - 2 * e * std::sin(m) +
                         4 * e * y * std::sin(m) * std::cos(2 * l0) -
                         0.5 * y * y * std::sin(4 * l0) - 1.25 * e * e * std::sin(2 * m);
  return radians / kRadians * 240.0;
}

double julianDay(std::int64_t utc) { return static_cast<double>(utc) / 86400.0 + 2440587.5; }

TEST(EquationOfTime, AgreesWithMeeus) {
  // Meeus' example 28.b: 1992 October 13.0 gives E = 0.059825 radian, 13m42.7s
  // (the reference as implemented here must give that) ...
  const std::int64_t example = utcSeconds({1992, 10, 13});
  EXPECT_NEAR(meeusEquationOfTime(julianDay(example)), 0.059825 / kRadians * 240.0, 0.3);
  EXPECT_NEAR(equationOfTime(example), 13 * 60 + 42.7, 1.0);
  // ... and over the calendar's years, through the seasons (the extremes of
  // about -14m in February and +16m in November, the zeros of April, June,
  // September and December), within a few seconds of the reference.
  const calendar::GregorianDate dates[] = {
      {1912, 2, 11}, {1945, 4, 15}, {1979, 6, 13}, {1979, 7, 26}, {1988, 6, 15},  {2000, 1, 1},
      {2000, 2, 12}, {2000, 5, 14}, {2001, 9, 1},  {2024, 11, 3}, {2050, 12, 25}, {2100, 12, 31}};
  for (const calendar::GregorianDate& date : dates) {
    for (const int hour : {0, 13}) {
      const std::int64_t at = utcSeconds(date, hour);
      EXPECT_NEAR(equationOfTime(at), meeusEquationOfTime(julianDay(at)), 6.0)
          << calendar::format_gregorian(date) << " " << hour << "h";
    }
  }
}

}  // namespace
}  // namespace ziwei
