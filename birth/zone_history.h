#pragma once
// A zone's history as the birth-time steps read it, from the system's
// time-zone database (its text form, tzdata.zi; see zone_rules.h). Used by
// birth_time.cpp only.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "birth/birth_time.h"
#include "birth/zone_rules.h"

namespace ziwei::zone_history {

// Offsets of one reading of a local time, in seconds east of UTC.
struct Offsets {
  int utc = 0;       // what the clock showed
  int standard = 0;  // the zone's standard offset then
  bool daylight() const noexcept { return utc != standard; }
};

// A local time read in a zone: one reading, or the two of a skipped or
// repeated time (`first` the earlier offset regime, `second` the later).
struct Reading {
  LocalTime kind = LocalTime::Unique;
  Offsets first;
  Offsets second;
};

// Every zone and link name of the database, in its order.
const std::vector<std::string>& zoneNames();

// The periods of the zone named `zone`. Throws BirthTimeError for an unknown
// zone, naming close names, and when the database cannot be read.
const std::vector<Period>& zonePeriods(std::string_view zone);

// Reads `localSeconds` (seconds since 1970-01-01 00:00 local time) in the zone
// named `zone`. Throws as zonePeriods does.
Reading readLocalTime(std::string_view zone, std::int64_t localSeconds);

}  // namespace ziwei::zone_history
