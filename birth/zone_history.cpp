#include "birth/zone_history.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "birth/zone_rules.h"
#include "text/close_names.h"
#include "unicode/utf8.h"

namespace ziwei::zone_history {

namespace {

// The text database of the system's tzdata: $TZDIR/tzdata.zi, else
// /usr/share/zoneinfo/tzdata.zi. Read once.
const ZoneRules& database() {
  static const std::unique_ptr<const ZoneRules> rules = []() -> std::unique_ptr<const ZoneRules> {
    const char* folder = std::getenv("TZDIR");
    const std::string path =
        std::string(folder != nullptr && *folder != '\0' ? folder : "/usr/share/zoneinfo") +
        "/tzdata.zi";
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return nullptr;
    std::string text;
    std::array<char, 1 << 16> block{};
    for (std::size_t n; (n = std::fread(block.data(), 1, block.size(), file)) > 0;) {
      text.append(block.data(), n);
    }
    const bool read = std::ferror(file) == 0;
    std::fclose(file);
    if (!read || text.empty()) return nullptr;
    try {
      return std::make_unique<const ZoneRules>(text);
    } catch (const ZoneTextError&) {
      return nullptr;
    }
  }();
  if (!rules) {
    throw BirthTimeError(
        "the system's time-zone database (tzdata.zi in /usr/share/zoneinfo, or in $TZDIR) "
        "could not be read; install tzdata");
  }
  return *rules;
}

// The names of the database close to `given`: those whose last part is
// `given` or its last part, whatever the case ("taipei" gives Asia/Taipei),
// then those a letter or two away.
std::vector<std::string_view> closeZones(const ZoneRules& db, std::string_view given) {
  const auto lastPart = [](std::string_view name) {
    return foldAsciiCase(name.substr(name.rfind('/') + 1));
  };
  const std::string wanted = lastPart(given);
  std::vector<std::string_view> names;
  std::vector<std::string_view> found;
  for (const std::string& zone : db.names()) {
    names.push_back(zone);
    if (lastPart(zone) == wanted) found.push_back(zone);
  }
  for (const std::string_view name : closeNames(given, names)) {
    if (std::find(found.begin(), found.end(), name) == found.end()) found.push_back(name);
  }
  if (found.size() > 3) found.resize(3);
  return found;
}

Offsets offsetsOf(const Period& period) { return {period.utc, period.standard}; }

}  // namespace

const std::vector<std::string>& zoneNames() { return database().names(); }

const std::vector<Period>& zonePeriods(std::string_view zone) {
  const ZoneRules& db = database();
  if (const std::vector<Period>* periods = db.periods(zone)) return *periods;
  std::string message = "unknown time zone " + quotedForMessage(zone);
  const std::vector<std::string_view> close = closeZones(db, zone);
  for (std::size_t i = 0; i < close.size(); ++i) {
    message += (i == 0 ? " (close: " : ", ") + std::string(close[i]);
  }
  if (!close.empty()) message += ")";
  throw BirthTimeError(message +
                       "; a zone is an IANA name such as Asia/Taipei, Asia/Shanghai or "
                       "America/New_York");
}

Reading readLocalTime(std::string_view zone, std::int64_t localSeconds) {
  const std::vector<Period>& periods = zonePeriods(zone);
  // Offsets lie within a day of UTC: a period that begins more than two days
  // away from the time cannot hold it.
  constexpr std::int64_t kMargin = std::int64_t{2} * 86400;
  const auto after = std::upper_bound(periods.begin(), periods.end(), localSeconds - kMargin,
                                      [](std::int64_t t, const Period& p) { return t < p.begin; });
  const std::size_t from =
      after == periods.begin() ? 0 : static_cast<std::size_t>(after - periods.begin()) - 1;
  std::size_t before = from;  // the last period begun (locally) by the time
  std::vector<std::size_t> holding;
  for (std::size_t j = from; j < periods.size(); ++j) {
    if (j > 0 && periods[j].begin > localSeconds + kMargin) break;
    const bool begun = j == 0 || periods[j].begin + periods[j].utc <= localSeconds;
    const bool ended =
        j + 1 < periods.size() && periods[j + 1].begin + periods[j].utc <= localSeconds;
    if (begun) before = j;
    if (begun && !ended) holding.push_back(j);
  }
  Reading reading;
  if (holding.empty()) {  // skipped: the readings before and after the gap
    reading.kind = LocalTime::Skipped;
    reading.first = offsetsOf(periods[before]);
    reading.second = offsetsOf(periods[before + 1]);
    return reading;
  }
  reading.first = offsetsOf(periods[holding.front()]);
  if (holding.size() > 1) {
    reading.kind = LocalTime::Repeated;
    reading.second = offsetsOf(periods[holding.back()]);
  }
  return reading;
}

}  // namespace ziwei::zone_history
