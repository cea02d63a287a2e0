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

// True when `record` gives any of a zone, a place, a longitude or a reading
// of the clock, or `ruleGiven` (a rule given, even as its default): the JSON
// records the steps then.
inline bool stepsRecorded(const RecordedBirth& record, bool ruleGiven) {
  return ruleGiven || !record.zone.empty() || record.place != nullptr || record.longitude ||
         record.daylight;
}

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

// Resolves `record` (its lunar birth, or its clock time on the Gregorian
// date `record.solar`, its rules, zone, place and longitude; a place without
// a longitude gives its own): the lunar birth the chart is cast on and the
// steps. Throws a Refusal with the engine's reason, naming the field by
// `names`: a calendar refusal of a Gregorian date begins with "--solar: ", a
// reading of the clock is chosen by "--dst yes" or "--dst no".
ResolvedBirth resolveRequest(const RecordedBirth& record, const FieldNames& names);

// The running periods' target with its clock time read in `zone` (the zone
// of the birth): daylight saving time is removed, which may move the date.
// Without a clock time, or without a zone, the target as it is. The birth's
// --dst choice and true solar time do not apply to it. Throws a Refusal
// (`what`: "--on-time" or "on") for a time the zone skipped or repeated.
TargetMoment targetInZone(const TargetMoment& target, const std::string& zone,
                          std::string_view what);

}  // namespace ziwei::cli
