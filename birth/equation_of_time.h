#pragma once
// The equation of time: apparent (true) solar time minus mean solar time.

#include <cstdint>

namespace ziwei {

// The equation of time in seconds at the instant `utcSeconds` (seconds since
// 1970-01-01 00:00 UTC): about -14 minutes in mid-February, +16 minutes early
// in November. Computed from the low-precision solar coordinates of the
// Astronomical Almanac (as the U.S. Naval Observatory publishes them under
// "Approximate Solar Coordinates"): good to a few seconds from 1900 to 2100.
double equationOfTime(std::int64_t utcSeconds);

}  // namespace ziwei
