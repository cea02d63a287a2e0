#include "birth/zone_history.h"

#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <vector>

#include "text/close_names.h"
#include "unicode/utf8.h"

namespace ziwei::zone_history {

namespace {

using std::chrono::seconds;

const date::tzdb& database() {
  try {
    return date::get_tzdb();
  } catch (const std::exception& error) {
    throw BirthTimeError(std::string("the system's time-zone database could not be read (") +
                         error.what() + "); install tzdata");
  }
}

// The names of the database close to `given`: those whose last part is
// `given` or its last part, whatever the case ("taipei" gives Asia/Taipei),
// then those a letter or two away.
std::vector<std::string_view> closeZones(const date::tzdb& db, const std::string& given) {
  const auto lastPart = [](std::string_view name) {
    return foldAsciiCase(name.substr(name.rfind('/') + 1));
  };
  const std::string wanted = lastPart(given);
  std::vector<std::string_view> names;
  std::vector<std::string_view> found;
  for (const date::time_zone& zone : db.zones) {
    names.push_back(zone.name());
    if (lastPart(zone.name()) == wanted) found.push_back(zone.name());
  }
  for (const std::string_view name : closeNames(given, names)) {
    if (std::find(found.begin(), found.end(), name) == found.end()) found.push_back(name);
  }
  if (found.size() > 3) found.resize(3);
  return found;
}

const date::time_zone& locate(const std::string& name) {
  const date::tzdb& db = database();
  try {
    return *date::locate_zone(name);
  } catch (const std::runtime_error&) {
    std::string message = "unknown time zone " + quotedForMessage(name);
    const std::vector<std::string_view> close = closeZones(db, name);
    for (std::size_t i = 0; i < close.size(); ++i) {
      message += (i == 0 ? " (close: " : ", ") + std::string(close[i]);
    }
    if (!close.empty()) message += ")";
    throw BirthTimeError(message +
                         "; a zone is an IANA name such as Asia/Taipei, Asia/Shanghai or "
                         "America/New_York");
  }
}

// The zone's standard offset during `info`: its own offset when it keeps no
// daylight saving time, else that of the nearest period before it (or, for
// none, after it) that keeps none. The database files give a period's
// offset and whether it is daylight time, not the amount saved.
int standardOffset(const date::time_zone& zone, const date::sys_info& info) {
  constexpr int kMostSteps = 16;  // consecutive daylight periods (war time)
  const auto earliest = date::sys_days{date::year{1800} / 1 / 1};
  const auto latest = date::sys_days{date::year{2200} / 1 / 1};
  date::sys_info at = info;
  for (int step = 0; step < kMostSteps && at.save != std::chrono::minutes{0} && at.begin > earliest;
       ++step) {
    at = zone.get_info(at.begin - seconds{1});
  }
  if (at.save == std::chrono::minutes{0}) return static_cast<int>(at.offset.count());
  at = info;
  for (int step = 0; step < kMostSteps && at.save != std::chrono::minutes{0} && at.end < latest;
       ++step) {
    at = zone.get_info(at.end);
  }
  if (at.save == std::chrono::minutes{0}) return static_cast<int>(at.offset.count());
  return static_cast<int>(info.offset.count()) - 3600;  // no standard period known: one hour
}

Offsets offsetsOf(const date::time_zone& zone, const date::sys_info& info) {
  return {static_cast<int>(info.offset.count()), standardOffset(zone, info)};
}

}  // namespace

Reading readLocalTime(const std::string& zone, std::int64_t localSeconds) {
  const date::time_zone& history = locate(zone);
  const date::local_info info = history.get_info(date::local_seconds{seconds{localSeconds}});
  Reading reading;
  reading.first = offsetsOf(history, info.first);
  if (info.result == date::local_info::unique) return reading;
  reading.kind =
      info.result == date::local_info::ambiguous ? LocalTime::Repeated : LocalTime::Skipped;
  reading.second = offsetsOf(history, info.second);
  return reading;
}

}  // namespace ziwei::zone_history
