#pragma once
// The birth time as a record gives it, read from the options of a cast
// (--tz, --dst, --longitude, --place) or the fields of a batch record (tz,
// dst, longitude, place), and resolved to the lunar birth the chart is cast
// on (birth/birth_time.h).

#include <optional>
#include <string>
#include <string_view>

#include "birth/birth_time.h"
#include "birth/lunar_birth.h"
#include "birth/target_moment.h"
#include "places/places.h"

namespace ziwei::cli {

// What the record chose besides the birth and its rules.
struct BirthTimeChoices {
  std::string zone;                      // an IANA name; empty: China Standard Time
  const places::Place* place = nullptr;  // its zone and longitude, unless given
  std::optional<double> longitude;       // degrees east: true solar time
  std::optional<bool> daylight;          // the reading of a repeated or skipped time
  bool ruleGiven = false;                // a rule was given, even as its default

  // Any of these or a rule was given: the JSON records the steps.
  bool given() const {
    return ruleGiven || !zone.empty() || place != nullptr || longitude || daylight;
  }
};

// The allowed values, as help texts and refusals name them.
inline constexpr std::string_view kZoneHelp =
    "an IANA time-zone name such as Asia/Taipei, Asia/Shanghai or America/New_York";

// The zone `text`, a zone of the system's database; else throws a Refusal
// "what: ...".
std::string readZone(std::string_view what, std::string_view text);

// The longitude `text`: a decimal number of degrees, east positive, within
// -180..180; else throws a Refusal "what: "text" is not ... (allowed: ...)".
double readLongitude(std::string_view what, std::string_view text);

// The place of the gazetteer that `text` names; else throws a Refusal
// "what: ..." that names the value, with the candidates of an ambiguous name
// on the lines that follow (`more`).
const places::Place& readPlace(std::string_view what, std::string_view text);

// How the edge names the fields a refusal points at: "--solar" and "--dst"
// for the cast, "solar" and "dst" for a batch record.
struct FieldNames {
  std::string_view solar;
  std::string_view dst;
};
inline constexpr FieldNames kOptionNames{"--solar", "--dst"};
inline constexpr FieldNames kColumnNames{"solar", "dst"};

// Resolves `request` (its lunar birth, or its clock time on the Gregorian
// date `request.solar`, and its rules) with `choices`: request.birth becomes
// the lunar birth the chart is cast on. Returns the steps. Throws a Refusal
// with the engine's reason, naming the field by `names`: a calendar refusal
// of a Gregorian date begins with "--solar: ", a reading of the clock is
// chosen by "--dst yes" or "--dst no".
ResolvedBirth resolveRequest(BirthRequest& request, const BirthTimeChoices& choices,
                             const FieldNames& names);

// The running periods' target with its clock time read in `zone` (the zone
// of the birth): daylight saving time is removed, which may move the date.
// Without a clock time, or without a zone, the target as it is. The birth's
// --dst choice and true solar time do not apply to it. Throws a Refusal
// (`what`: "--on-time" or "on") for a time the zone skipped or repeated.
TargetMoment targetInZone(const TargetMoment& target, const std::string& zone,
                          std::string_view what);

}  // namespace ziwei::cli
