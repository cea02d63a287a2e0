#include "cli/birth_time_options.h"

#include <charconv>

#include "calendar/calendar_error.h"
#include "cli/options.h"
#include "unicode/utf8.h"

namespace ziwei::cli {

namespace {

// The candidates of an ambiguous place listed after the refusal at most.
constexpr std::size_t kCandidateLines = 10;

constexpr std::string_view kLongitudeAllowed =
    " (allowed: -180 to 180, degrees east of Greenwich, west negative)";

// "-12.5", "87.6", "+121": a sign, digits, optionally a point and digits.
bool isDecimal(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view part =
      point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
  const auto digits = [](std::string_view s) {
    return s.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return !whole.empty() && digits(whole) && digits(part) &&
         (point == std::string_view::npos || !part.empty());
}

}  // namespace

std::string readZone(std::string_view what, std::string_view text) {
  if (text.empty()) {
    throw Refusal{given(what, text) + " is not allowed (allowed: " + std::string(kZoneHelp) + ")"};
  }
  try {
    checkZone(text);
  } catch (const BirthTimeError& error) {
    throw Refusal{std::string(what) + ": " + oneLine(error.what())};
  }
  return std::string(text);
}

double readLongitude(std::string_view what, std::string_view text) {
  if (!isDecimal(text)) {
    throw Refusal{given(what, text) + " is not a number of degrees" +
                  std::string(kLongitudeAllowed)};
  }
  const std::string_view digits = text.front() == '+' ? text.substr(1) : text;
  double degrees = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), degrees,
                                            std::chars_format::fixed);
  // Out of a double's range: too large a number is refused, one too close to
  // zero is zero.
  const bool tooLarge =
      error == std::errc::result_out_of_range &&
      digits.substr(0, digits.find('.')).find_first_not_of("-0") != std::string_view::npos;
  if (error == std::errc::result_out_of_range && !tooLarge) degrees = 0;
  if (tooLarge || !(degrees >= -180.0 && degrees <= 180.0)) {
    throw Refusal{given(what, text) + " is not allowed" + std::string(kLongitudeAllowed)};
  }
  return degrees;
}

const places::Place& readPlace(std::string_view what, std::string_view text) {
  try {
    return places::findPlace(text);
  } catch (const places::PlaceError& error) {
    std::vector<std::string> more;
    const auto& candidates = error.candidates();
    for (std::size_t i = 0; error.ambiguous() && i < candidates.size() && i < kCandidateLines;
         ++i) {
      more.push_back("  " + places::qualifiedName(*candidates[i]) + ": " +
                     places::describePlace(*candidates[i]));
    }
    if (error.ambiguous() && candidates.size() > kCandidateLines) {
      more.push_back("  and " + std::to_string(candidates.size() - kCandidateLines) +
                     " more (ziwei places lists them)");
    }
    throw Refusal{std::string(what) + ": " + oneLine(error.what()), std::move(more)};
  }
}

ResolvedBirth resolveRequest(const RecordedBirth& record, const FieldNames& names) {
  RecordedBirth withLongitude = record;
  if (withLongitude.place != nullptr && !withLongitude.longitude) {
    withLongitude.longitude = withLongitude.place->longitude;
  }
  const std::string yes = std::string(names.dst) + " yes";
  const std::string no = std::string(names.dst) + " no";
  try {
    return resolveBirthTime(withLongitude);
  } catch (const calendar::CalendarError& error) {
    throw Refusal{(record.solar ? std::string(names.solar) + ": " : std::string()) +
                  oneLine(error.what())};
  } catch (const LocalTimeError& error) {
    throw Refusal{oneLine(error.withChoices(yes, no))};
  } catch (const DaylightChoiceError& error) {
    throw Refusal{(error.choice() ? yes : no) + ": " + oneLine(error.what())};
  } catch (const BirthTimeError& error) {
    throw Refusal{oneLine(error.what())};
  }
}

TargetMoment targetInZone(const TargetMoment& target, const std::string& zone,
                          std::string_view what) {
  if (!target.time || zone.empty()) return target;
  RecordedBirth record;
  record.solar = solarDateOf(target);
  record.birth.hour = target.time->hour;
  record.birth.minute = target.time->minute;
  record.zone = zone;
  const auto outside = [&](LocalTime kind, std::string_view change) {
    return Refusal{std::string(what) + ": the target's clock time " +
                   (kind == LocalTime::Repeated ? "occurred twice" : "did not exist") + " in " +
                   zone + " (" + std::string(change) + "); give a time outside it"};
  };
  try {
    const ClockTime standard = resolveBirthTime(record, {1900, 2100}).steps.standard;
    return targetOnSolar(standard.date, ClockOfDay{standard.hour, standard.minute});
  } catch (const LocalTimeError& error) {
    throw outside(error.kind(), "a daylight saving time change");
  } catch (const OffsetChangeError& error) {
    // The birth's zone reads the target: naming another zone would change
    // the birth's too.
    throw outside(error.kind(), "a change of its offset");
  } catch (const std::invalid_argument& error) {  // out of the calendar's range
    throw Refusal{std::string(what) + ": " + oneLine(error.what())};
  }
}

}  // namespace ziwei::cli
