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

// Meeus, Appendix III, "Earth": the periodic terms of L0..L5, B0..B1 and
// R0..R4, transcribed in the book's order.
constexpr auto kL0 = std::to_array<Term>({
    {175347046, 0, 0},
    {3341656, 4.6692568, 6283.0758500},
    {34894, 4.62610, 12566.15170},
    {3497, 2.7441, 5753.3849},
    {3418, 2.8289, 3.5231},
    {3136, 3.6277, 77713.7715},
    {2676, 4.4181, 7860.4194},
    {2343, 6.1352, 3930.2097},
    {1324, 0.7425, 11506.7698},
    {1273, 2.0371, 529.6910},
    {1199, 1.1096, 1577.3435},
    {990, 5.233, 5884.927},
    {902, 2.045, 26.298},
    {857, 3.508, 398.149},
    {780, 1.179, 5223.694},
    {753, 2.533, 5507.553},
    {505, 4.583, 18849.228},
    {492, 4.205, 775.523},
    {357, 2.920, 0.067},
    {317, 5.849, 11790.629},
    {284, 1.899, 796.298},
    {271, 0.315, 10977.079},
    {243, 0.345, 5486.778},
    {206, 4.806, 2544.314},
    {205, 1.869, 5573.143},
    {202, 2.458, 6069.777},
    {156, 0.833, 213.299},
    {132, 3.411, 2942.463},
    {126, 1.083, 20.775},
    {115, 0.645, 0.980},
    {103, 0.636, 4694.003},
    {102, 0.976, 15720.839},
    {102, 4.267, 7.114},
    {99, 6.21, 2146.17},
    {98, 0.68, 155.42},
    {86, 5.98, 161000.69},
    {85, 1.30, 6275.96},
    {85, 3.67, 71430.70},
    {80, 1.81, 17260.15},
    {79, 3.04, 12036.46},
    {75, 1.76, 5088.63},
    {74, 3.50, 3154.69},
    {74, 4.68, 801.82},
    {70, 0.83, 9437.76},
    {62, 3.98, 8827.39},
    {61, 1.82, 7084.90},
    {57, 2.78, 6286.60},
    {56, 4.39, 14143.50},
    {56, 3.47, 6279.55},
    {52, 0.19, 12139.55},
    {52, 1.33, 1748.02},
    {51, 0.28, 5856.48},
    {49, 0.49, 1194.45},
    {41, 5.37, 8429.24},
    {41, 2.40, 19651.05},
    {39, 6.17, 10447.39},
    {37, 6.04, 10213.29},
    {37, 2.57, 1059.38},
    {36, 1.71, 2352.87},
    {36, 1.78, 6812.77},
    {33, 0.59, 17789.85},
    {30, 0.44, 83996.85},
    {30, 2.74, 1349.87},
    {25, 3.16, 4690.48},
});
static_assert(kL0.size() == 64);

constexpr auto kL1 = std::to_array<Term>({
    {628331966747, 0, 0},       {206059, 2.678235, 6283.075850},
    {4303, 2.6351, 12566.1517}, {425, 1.590, 3.523},
    {119, 5.796, 26.298},       {109, 2.966, 1577.344},
    {93, 2.59, 18849.23},       {72, 1.14, 529.69},
    {68, 1.87, 398.15},         {67, 4.41, 5507.55},
    {59, 2.89, 5223.69},        {56, 2.17, 155.42},
    {45, 0.40, 796.30},         {36, 0.47, 775.52},
    {29, 2.65, 7.11},           {21, 5.34, 0.98},
    {19, 1.85, 5486.78},        {19, 4.97, 213.30},
    {17, 2.99, 6275.96},        {16, 0.03, 2544.31},
    {16, 1.43, 2146.17},        {15, 1.21, 10977.08},
    {12, 2.83, 1748.02},        {12, 3.26, 5088.63},
    {12, 5.27, 1194.45},        {12, 2.08, 4694.00},
    {11, 0.77, 553.57},         {10, 1.30, 6286.60},
    {10, 4.24, 1349.87},        {9, 2.70, 242.73},
    {9, 5.64, 951.72},          {8, 5.30, 2352.87},
    {6, 2.65, 9437.76},         {6, 4.67, 4690.48},
});
static_assert(kL1.size() == 34);

constexpr auto kL2 = std::to_array<Term>({
    {52919, 0, 0},     {8720, 1.0721, 6283.0758}, {309, 0.867, 12566.152}, {27, 0.05, 3.52},
    {16, 5.19, 26.30}, {16, 3.68, 155.42},        {10, 0.76, 18849.23},    {9, 2.06, 77713.77},
    {7, 0.83, 775.52}, {5, 4.66, 1577.34},        {4, 1.03, 7.11},         {4, 3.44, 5573.14},
    {3, 5.14, 796.30}, {3, 6.05, 5507.55},        {3, 1.19, 242.73},       {3, 6.12, 529.69},
    {3, 0.31, 398.15}, {3, 2.28, 553.57},         {2, 4.38, 5223.69},      {2, 3.75, 0.98},
});
static_assert(kL2.size() == 20);

constexpr auto kL3 = std::to_array<Term>({
    {289, 5.844, 6283.076},
    {35, 0, 0},
    {17, 5.49, 12566.15},
    {3, 5.20, 155.42},
    {1, 4.72, 3.52},
    {1, 5.30, 18849.23},
    {1, 5.97, 242.73},
});

constexpr auto kL4 = std::to_array<Term>({
    {114, 3.142, 0},
    {8, 4.13, 6283.08},
    {1, 3.84, 12566.15},
});

constexpr auto kL5 = std::to_array<Term>({
    {1, 3.14, 0},
});

constexpr auto kB0 = std::to_array<Term>({
    {280, 3.199, 84334.662},
    {102, 5.422, 5507.553},
    {80, 3.88, 5223.69},
    {44, 3.70, 2352.87},
    {32, 4.00, 1577.34},
});

constexpr auto kB1 = std::to_array<Term>({
    {9, 3.90, 5507.55},
    {6, 1.73, 5223.69},
});

constexpr auto kR0 = std::to_array<Term>({
    {100013989, 0, 0},
    {1670700, 3.0984635, 6283.0758500},
    {13956, 3.05525, 12566.15170},
    {3084, 5.1985, 77713.7715},
    {1628, 1.1739, 5753.3849},
    {1576, 2.8469, 7860.4194},
    {925, 5.453, 11506.770},
    {542, 4.564, 3930.210},
    {472, 3.661, 5884.927},
    {346, 0.964, 5507.553},
    {329, 5.900, 5223.694},
    {307, 0.299, 5573.143},
    {243, 4.273, 11790.629},
    {212, 5.847, 1577.344},
    {186, 5.022, 10977.079},
    {175, 3.012, 18849.228},
    {110, 5.055, 5486.778},
    {98, 0.89, 6069.78},
    {86, 5.69, 15720.84},
    {86, 1.27, 161000.69},
    {65, 0.27, 17260.15},
    {63, 0.92, 529.69},
    {57, 2.01, 83996.85},
    {56, 5.24, 71430.70},
    {49, 3.25, 2544.31},
    {47, 2.58, 775.52},
    {45, 5.54, 9437.76},
    {43, 6.01, 6275.96},
    {39, 5.36, 4694.00},
    {38, 2.39, 8827.39},
    {37, 0.83, 19651.05},
    {37, 4.90, 12139.55},
    {36, 1.67, 12036.46},
    {35, 1.84, 2942.46},
    {33, 0.24, 7084.90},
    {32, 0.18, 5088.63},
    {32, 1.78, 398.15},
    {28, 1.21, 6286.60},
    {28, 1.90, 6279.55},
    {26, 4.59, 10447.39},
});
static_assert(kR0.size() == 40);

constexpr auto kR1 = std::to_array<Term>({
    {103019, 1.107490, 6283.075850},
    {1721, 1.0644, 12566.1517},
    {702, 3.142, 0},
    {32, 1.02, 18849.23},
    {31, 2.84, 5507.55},
    {25, 1.32, 5223.69},
    {18, 1.42, 1577.34},
    {10, 5.91, 10977.08},
    {9, 1.42, 6275.96},
    {9, 0.27, 5486.78},
});

constexpr auto kR2 = std::to_array<Term>({
    {4359, 5.7846, 6283.0758},
    {124, 5.579, 12566.152},
    {12, 3.14, 0},
    {9, 3.63, 77713.77},
    {6, 1.87, 5573.14},
    {3, 5.47, 18849.23},
});

constexpr auto kR3 = std::to_array<Term>({
    {145, 4.273, 6283.076},
    {7, 3.92, 12566.15},
});

constexpr auto kR4 = std::to_array<Term>({
    {4, 2.56, 6283.08},
});

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
