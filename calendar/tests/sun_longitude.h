#pragma once
// An independent computation of the Sun's apparent longitude and of the
// instants of the solar terms, for checking the generated table.
//
// Sources:
//   Jean Meeus, Astronomical Algorithms, 2nd ed. (Willmann-Bell, 1998):
//     ch. 22 (nutation, the short formula good to 0.5"), ch. 25 "higher
//     accuracy" (apparent place of the Sun from VSOP87), ch. 27 (solving for a
//     longitude), ch. 32 and Appendix III (the VSOP87 Earth series, abridged).
//   F. Espenak and J. Meeus, "Polynomial Expressions for Delta T", NASA
//     Eclipse Web Site (2006), from the Five Millennium Canon of Solar
//     Eclipses (NASA/TP-2006-214141).

#include <cstdint>

namespace ziwei::calendar::testing {

// The Earth's heliocentric ecliptic coordinates (VSOP87, dynamical ecliptic
// and equinox of date) at a Julian Ephemeris Day.
struct EarthPosition {
  double longitude_rad;  // L, not reduced to [0, 2π)
  double latitude_rad;   // B
  double radius_au;      // R
};
EarthPosition earthPosition(double jde);

// The Sun's geometric longitude (FK5, no nutation nor aberration), degrees
// in [0, 360).
double sunGeometricLongitude(double jde);

// The Sun's apparent geocentric longitude, degrees in [0, 360).
double sunApparentLongitude(double jde);

// The Julian Ephemeris Day (TT) at which the apparent longitude reaches
// `longitude_deg`, searched near `estimate_jde` (within a few weeks).
double sunLongitudeInstant(double longitude_deg, double estimate_jde);

// ΔT = TT − UT in seconds at a decimal year (Espenak & Meeus, 1860..2150).
double deltaT(double decimal_year);

// The instant, as Unix seconds UTC rounded to the second, at which the Sun's
// apparent longitude reaches `longitude_deg` (a multiple of 15) in Gregorian
// year `year`; `term_index` is 0 for the first term the year meets (小寒,
// 285°) through 23 (冬至, 270°), to place the search.
std::int64_t sunTermUnixSeconds(int year, int term_index);

}  // namespace ziwei::calendar::testing
