#pragma once
// The time-zone database in its text form (the zic input that tzdata ships as
// tzdata.zi): each zone's offsets from UTC as periods, with the standard
// offset and the amount saved as the database defines them. Used by
// zone_history.cpp only.
//
// The periods run from the zone's first line to the end of 2101: rules that
// hold "to max" (the summer time of the US, of Europe, ...) are applied every
// year up to then, so a clock time of 2100 is read with that year's rule.
//
// The database writes Ireland's summer time (and Namibia's and Morocco's
// alternation) as standard time with a negative saving in winter. Here, as
// in the database's own form for readers without negative savings, such a
// winter is standard time at its offset, and a period between two such
// winters keeps the winter's standard offset and counts as daylight saving
// time: Dublin keeps GMT in winter and saves an hour in summer. A period with
// a negative saving alone (Prague's winter of 1946-47) is standard time.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ziwei::zone_history {

// From `begin` (seconds since 1970-01-01 00:00 UTC) until the next period's
// begin, the clock shows UTC + `utc` seconds, of which `utc - standard` are
// daylight saving time.
struct Period {
  std::int64_t begin = std::numeric_limits<std::int64_t>::min();
  int utc = 0;
  int standard = 0;
  friend bool operator==(const Period&, const Period&) = default;
};

// The text does not follow the zic input format; what() names the line.
class ZoneTextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr int kLastRuleYear = 2101;

class ZoneRules {
 public:
  // Reads zic input: Rule, Zone and Link lines, keywords abbreviated or not
  // (R, Z, L; "o" for only, "ma" for max, ...), comments after '#'. Throws
  // ZoneTextError.
  explicit ZoneRules(std::string_view text);
  ZoneRules(const ZoneRules&) = delete;
  ZoneRules& operator=(const ZoneRules&) = delete;
  ~ZoneRules();

  // Every zone and link name, in the order of the text.
  const std::vector<std::string>& names() const { return names_; }

  // The periods of the zone or link `name`, the first from the beginning of
  // time, made on first use (safe from any thread); nullptr for a name the
  // text lacks.
  const std::vector<Period>* periods(std::string_view name) const;

  struct Rule;
  struct ZoneLine;

 private:
  std::vector<Period> build(const std::vector<ZoneLine>& lines) const;

  // Maps looked up by a string_view without making a string.
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const noexcept {
      return std::hash<std::string_view>{}(text);
    }
  };
  template <class Value>
  using Map = std::unordered_map<std::string, Value, Hash, std::equal_to<>>;

  // A zone's lines and its periods, made once on first use.
  struct Zone {
    std::vector<ZoneLine> lines;
    mutable std::once_flag built;
    mutable std::vector<Period> periods;
  };

  Map<std::vector<Rule>> rules_;
  Map<std::unique_ptr<Zone>> zones_;
  Map<std::string> links_;  // name -> target
  std::vector<std::string> names_;
};

}  // namespace ziwei::zone_history
