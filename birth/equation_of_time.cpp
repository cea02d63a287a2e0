#include "birth/equation_of_time.h"

#include <cmath>
#include <numbers>

namespace ziwei {

double equationOfTime(std::int64_t utcSeconds) {
  constexpr double kRadians = std::numbers::pi / 180.0;
  // Days from J2000.0 (2000-01-01 12:00, 946728000 s after 1970-01-01). The
  // formulas want Terrestrial Time; taking UT instead (a minute or so apart)
  // changes the result by less than 0.1 s.
  const double d = (static_cast<double>(utcSeconds) - 946728000.0) / 86400.0;
  const double g = (357.529 + 0.98560028 * d) * kRadians;  // mean anomaly
  const double q = 280.459 + 0.98564736 * d;               // mean longitude, degrees
  const double lambda = (q + 1.915 * std::sin(g) + 0.020 * std::sin(2 * g)) * kRadians;
  const double epsilon = (23.439 - 0.00000036 * d) * kRadians;  // obliquity
  const double rightAscension =
      std::atan2(std::cos(epsilon) * std::sin(lambda), std::cos(lambda)) / kRadians;
  // Mean longitude less right ascension, brought into -180..180 degrees; 240
  // seconds of time a degree.
  const double degrees = std::remainder(q - rightAscension, 360.0);
  return degrees * 240.0;
}

}  // namespace ziwei
