#include "calendar/tests/sun_longitude.h"

#include <array>
#include <cmath>
#include <numbers>
#include <span>

namespace ziwei::calendar::testing {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kDeg = kPi / 180.0;
constexpr double kJ2000 = 2451545.0;
constexpr double kUnixEpochJd = 2440587.5;  // 1970-01-01 00:00 UT

// One periodic term A cos(B + C τ) of a VSOP87 series, A in units of 1e-8
// (radians or astronomical units), τ in Julian millennia from J2000.0.
struct Term {
  double a, b, c;
};

#include "calendar/tests/vsop87_earth.inc"

double sum(std::span<const Term> terms, double tau) {
  double total = 0;
  for (const Term& t : terms) total += t.a * std::cos(t.b + t.c * tau);
  return total;
}

// Σ X_i τ^i / 1e8 over the series X0, X1, ... (Meeus, eq. 32.2).
double series(std::span<const std::span<const Term>> powers, double tau) {
  double total = 0;
  double factor = 1;
  for (const auto& terms : powers) {
    total += sum(terms, tau) * factor;
    factor *= tau;
  }
  return total / 1e8;
}

double reduceDegrees(double degrees) {
  const double r = std::fmod(degrees, 360.0);
  return r < 0 ? r + 360.0 : r;
}

// Nutation in longitude Δψ in degrees (Meeus, ch. 22, the short formula with
// the four largest terms, good to 0.5").
double nutationInLongitude(double t) {
  const double omega =
      (125.04452 - 1934.136261 * t + 0.0020708 * t * t + t * t * t / 450000.0) * kDeg;
  const double sun_mean = (280.4665 + 36000.7698 * t) * kDeg;
  const double moon_mean = (218.3165 + 481267.8813 * t) * kDeg;
  const double arcsec = -17.20 * std::sin(omega) - 1.32 * std::sin(2 * sun_mean) -
                        0.23 * std::sin(2 * moon_mean) + 0.21 * std::sin(2 * omega);
  return arcsec / 3600.0;
}

// Julian Day of 0h UT of a Gregorian date (Meeus, ch. 7).
double julianDay(int year, int month, double day) {
  if (month <= 2) {
    --year;
    month += 12;
  }
  const int a = year / 100;
  const int b = 2 - a + a / 4;
  return std::floor(365.25 * (year + 4716)) + std::floor(30.6001 * (month + 1)) + day + b - 1524.5;
}

}  // namespace

EarthPosition earthPosition(double jde) {
  const double tau = (jde - kJ2000) / 365250.0;
  const std::array<std::span<const Term>, 6> l{kL0, kL1, kL2, kL3, kL4, kL5};
  const std::array<std::span<const Term>, 2> b{kB0, kB1};
  const std::array<std::span<const Term>, 5> r{kR0, kR1, kR2, kR3, kR4};
  return {series(l, tau), series(b, tau), series(r, tau)};
}

double sunGeometricLongitude(double jde) {
  const EarthPosition earth = earthPosition(jde);
  // The Sun seen from the Earth is opposite the Earth seen from the Sun; the
  // conversion from the VSOP87 dynamical frame to FK5 moves the longitude by
  // −0.09033" (Meeus, ch. 25, higher accuracy).
  return reduceDegrees(earth.longitude_rad / kDeg + 180.0 - 0.09033 / 3600.0);
}

double sunApparentLongitude(double jde) {
  const double t = (jde - kJ2000) / 36525.0;
  const double radius = earthPosition(jde).radius_au;
  const double aberration = -20.4898 / 3600.0 / radius;
  return reduceDegrees(sunGeometricLongitude(jde) + nutationInLongitude(t) + aberration);
}

double sunLongitudeInstant(double longitude_deg, double estimate_jde) {
  // Meeus, ch. 27: correct the estimate by 58 sin(target − λ) days until it
  // stands still (58 days ≈ one year over 2π, the Sun's mean rate).
  double jde = estimate_jde;
  for (int i = 0; i < 20; ++i) {
    const double correction = 58.0 * std::sin((longitude_deg - sunApparentLongitude(jde)) * kDeg);
    jde += correction;
    if (std::abs(correction) < 1e-8) break;  // under a millisecond
  }
  return jde;
}

double deltaT(double y) {
  // Espenak & Meeus (2006), the polynomials for 1860..2150.
  if (y < 1900) {
    const double t = y - 1860;
    return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * t * t * t -
           0.0004473624 * t * t * t * t + std::pow(t, 5) / 233174.0;
  }
  if (y < 1920) {
    const double t = y - 1900;
    return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t -
           0.000197 * t * t * t * t;
  }
  if (y < 1941) {
    const double t = y - 1920;
    return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
  }
  if (y < 1961) {
    const double t = y - 1950;
    return 29.07 + 0.407 * t - t * t / 233.0 + t * t * t / 2547.0;
  }
  if (y < 1986) {
    const double t = y - 1975;
    return 45.45 + 1.067 * t - t * t / 260.0 - t * t * t / 718.0;
  }
  if (y < 2005) {
    const double t = y - 2000;
    return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
           0.000651814 * t * t * t * t + 0.00002373599 * std::pow(t, 5);
  }
  if (y < 2050) {
    const double t = y - 2000;
    return 62.92 + 0.32217 * t + 0.005589 * t * t;
  }
  const double u = (y - 1820) / 100.0;
  return -20 + 32 * u * u - 0.5628 * (2150 - y);
}

std::int64_t sunTermUnixSeconds(int year, int term_index) {
  const double longitude = std::fmod(285.0 + 15.0 * term_index, 360.0);
  // The Sun's mean longitude is 280.46° at J2000.0 (2000 January 1.5) and it
  // gains 360° in a tropical year of 365.2422 days.
  const double year_start = kJ2000 + 365.2422 * (year - 2000);
  const double estimate = year_start + reduceDegrees(longitude - 280.46) / 360.0 * 365.2422;
  const double jde = sunLongitudeInstant(longitude, estimate);
  // ΔT at the decimal year of the instant, then TT → UT.
  const double decimal_year = year + (jde - julianDay(year, 1, 1.0)) / 365.2425;
  const double jd_ut = jde - deltaT(decimal_year) / 86400.0;
  return std::llround((jd_ut - kUnixEpochJd) * 86400.0);
}

}  // namespace ziwei::calendar::testing
