#include "birth/zone_rules.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <climits>

#include "text/close_names.h"

namespace ziwei::zone_history {

namespace {

using std::chrono::days;
using std::chrono::sys_days;

constexpr std::int64_t kDay = 86400;
constexpr int kNoYear = INT_MAX;

// What a time of day is measured in: the wall clock, standard time, or UT.
enum class Clock { Wall, Standard, Universal };

// The day of a month a rule or an end names: a day, the last WEEKDAY, the
// first WEEKDAY on or after DAY, the last on or before DAY.
struct DayRule {
  enum Kind { Fixed, Last, OnOrAfter, OnOrBefore } kind = Fixed;
  int day = 1;
  int weekday = 0;  // 0 Sunday .. 6 Saturday
};

constexpr std::array<std::string_view, 12> kMonths = {
    "january", "february", "march",     "april",   "may",      "june",
    "july",    "august",   "september", "october", "november", "december"};
constexpr std::array<std::string_view, 7> kWeekdays = {"sunday",   "monday", "tuesday", "wednesday",
                                                       "thursday", "friday", "saturday"};

std::string lower(std::string_view text) { return foldAsciiCase(text); }

}  // namespace

struct ZoneRules::Rule {
  int from = 0;
  int to = 0;
  int month = 1;
  DayRule on;
  int at = 0;
  Clock atClock = Clock::Wall;
  int save = 0;
};

struct ZoneRules::ZoneLine {
  int standard = 0;
  std::string rules;  // a rule name, or empty for a fixed saving
  int save = 0;       // the fixed saving
  bool ends = false;  // the line has an end (UNTIL)
  int untilYear = 0;
  int untilMonth = 1;
  DayRule untilDay;
  int untilAt = 0;
  Clock untilClock = Clock::Wall;
};

namespace {

// ---------------------------------------------------------------- reading

class Reader {
 public:
  explicit Reader(std::size_t line) : line_(line) {}

  [[noreturn]] void fail(std::string_view what, std::string_view field) const {
    throw ZoneTextError("time-zone text, line " + std::to_string(line_) + ": " + std::string(what) +
                        " \"" + std::string(field) + "\"");
  }

  // The index of the one word of `words` that `field` begins (case aside).
  template <std::size_t N>
  int prefixOf(const std::array<std::string_view, N>& words, std::string_view field,
               std::string_view what) const {
    const std::string typed = lower(field);
    int found = -1;
    for (std::size_t i = 0; i < N && !typed.empty(); ++i) {
      if (words[i].starts_with(typed)) {
        if (found >= 0) fail("ambiguous " + std::string(what), field);
        found = static_cast<int>(i);
      }
    }
    if (found < 0) fail("not a " + std::string(what), field);
    return found;
  }

  int number(std::string_view field) const {
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc{} || end != field.data() + field.size()) fail("not a number", field);
    return value;
  }

  // "[-]H[:MM[:SS[.frac]]]" and an optional clock letter, in seconds; "-"
  // is zero.
  int time(std::string_view field, Clock* clock = nullptr) const {
    if (clock != nullptr) *clock = Clock::Wall;
    if (field == "-") return 0;
    std::string_view text = field;
    if (!text.empty() && std::string_view("wsugzd").find(text.back()) != std::string_view::npos) {
      const char letter = text.back();
      if (clock != nullptr) {
        *clock = letter == 's' ? Clock::Standard : letter == 'w' ? Clock::Wall : Clock::Universal;
      }
      text.remove_suffix(1);
    }
    const bool negative = text.starts_with('-');
    if (negative) text.remove_prefix(1);
    if (const std::size_t point = text.find('.'); point != std::string_view::npos) {
      text = text.substr(0, point);  // fractions of a second: none in the data
    }
    int seconds = 0;
    int scale = 3600;
    while (!text.empty() && scale >= 1) {
      const std::size_t colon = text.find(':');
      seconds += number(text.substr(0, colon)) * scale;
      scale /= 60;
      text = colon == std::string_view::npos ? std::string_view{} : text.substr(colon + 1);
    }
    if (!text.empty()) fail("not a time", field);
    return negative ? -seconds : seconds;
  }

  int month(std::string_view field) const { return prefixOf(kMonths, field, "month") + 1; }

  DayRule day(std::string_view field) const {
    DayRule rule;
    if (field.starts_with("last")) {
      rule.kind = DayRule::Last;
      rule.weekday = prefixOf(kWeekdays, field.substr(4), "weekday");
      return rule;
    }
    for (const auto& [sign, kind] :
         {std::pair{">=", DayRule::OnOrAfter}, std::pair{"<=", DayRule::OnOrBefore}}) {
      if (const std::size_t at = field.find(sign); at != std::string_view::npos) {
        rule.kind = kind;
        rule.weekday = prefixOf(kWeekdays, field.substr(0, at), "weekday");
        rule.day = number(field.substr(at + 2));
        return rule;
      }
    }
    rule.day = number(field);
    return rule;
  }

  int year(std::string_view field, int only) const {
    if (!field.empty() && field.front() >= '0' && field.front() <= '9') return number(field);
    static constexpr std::array<std::string_view, 3> kWords = {"minimum", "maximum", "only"};
    switch (prefixOf(kWords, field, "year")) {
      case 0:
        return INT_MIN;
      case 1:
        return kNoYear;
      default:
        return only;
    }
  }

 private:
  std::size_t line_;
};

std::vector<std::string_view> fieldsOf(std::string_view line) {
  if (const std::size_t hash = line.find('#'); hash != std::string_view::npos) {
    line = line.substr(0, hash);
  }
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (true) {
    at = line.find_first_not_of(" \t\r\f\v", at);
    if (at == std::string_view::npos) break;
    const std::size_t end = line.find_first_of(" \t\r\f\v", at);
    fields.push_back(line.substr(at, end - at));
    if (end == std::string_view::npos) break;
    at = end;
  }
  return fields;
}

// ---------------------------------------------------------------- dates

std::int64_t dayOf(int year, int month, const DayRule& rule) {
  using namespace std::chrono;
  const auto weekdayOf = [](sys_days d) { return static_cast<int>(weekday{d}.c_encoding()); };
  const year_month ym{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)}};
  sys_days d;
  switch (rule.kind) {
    case DayRule::Fixed:
      d = sys_days{ym / 1} + days{rule.day - 1};
      break;
    case DayRule::Last: {
      const sys_days last{ym / std::chrono::last};
      d = last - days{(weekdayOf(last) - rule.weekday + 7) % 7};
      break;
    }
    case DayRule::OnOrAfter: {
      const sys_days from = sys_days{ym / 1} + days{rule.day - 1};
      d = from + days{(rule.weekday - weekdayOf(from) + 7) % 7};
      break;
    }
    case DayRule::OnOrBefore: {
      const sys_days to = sys_days{ym / 1} + days{rule.day - 1};
      d = to - days{(weekdayOf(to) - rule.weekday + 7) % 7};
      break;
    }
  }
  return d.time_since_epoch().count();
}

// A local time as UT, by the clock it is given in.
std::int64_t universal(std::int64_t local, Clock clock, int standard, int save) {
  if (clock == Clock::Universal) return local;
  return local - standard - (clock == Clock::Wall ? save : 0);
}

// A transition as the rules give it: from `at` on, standard offset and saving.
struct Transition {
  std::int64_t at;
  int standard;
  int save;
};

}  // namespace

ZoneRules::ZoneRules(std::string_view text) {
  std::size_t number = 0;
  std::vector<ZoneLine>* zone = nullptr;  // the zone a continuation line belongs to
  static constexpr std::array<std::string_view, 3> kKinds = {"rule", "zone", "link"};
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++number;
    std::vector<std::string_view> f = fieldsOf(line);
    if (f.empty()) continue;
    const Reader read(number);
    std::size_t at = 0;  // the zone fields begin here
    if (zone == nullptr) {
      switch (read.prefixOf(kKinds, f[0], "line kind")) {
        case 0: {
          if (f.size() < 10) read.fail("a rule line needs 10 fields", line);
          Rule rule;
          rule.from = read.year(f[2], 0);
          rule.to = read.year(f[3], rule.from);
          rule.month = read.month(f[5]);
          rule.on = read.day(f[6]);
          rule.at = read.time(f[7], &rule.atClock);
          rule.save = read.time(f[8]);
          rules_[std::string(f[1])].push_back(rule);
          continue;
        }
        case 1:
          if (f.size() < 5) read.fail("a zone line needs 5 fields at least", line);
          if (zones_.contains(f[1])) read.fail("a second zone named", f[1]);
          names_.emplace_back(f[1]);
          zone = &(zones_[std::string(f[1])] = std::make_unique<Zone>())->lines;
          at = 2;
          break;
        default:
          if (f.size() < 3) read.fail("a link line needs 3 fields", line);
          names_.emplace_back(f[2]);
          links_[std::string(f[2])] = std::string(f[1]);
          continue;
      }
    }
    if (f.size() < at + 3) read.fail("a zone line needs an offset, rules and a format", line);
    ZoneLine z;
    z.standard = read.time(f[at]);
    const std::string_view rules = f[at + 1];
    if (rules == "-" || (rules.front() >= '0' && rules.front() <= '9') || rules.front() == '-') {
      z.save = read.time(rules);
    } else {
      z.rules = rules;
    }
    const std::size_t until = at + 3;
    z.ends = f.size() > until;
    if (z.ends) {
      z.untilYear = read.year(f[until], 0);
      if (f.size() > until + 1) z.untilMonth = read.month(f[until + 1]);
      if (f.size() > until + 2) z.untilDay = read.day(f[until + 2]);
      if (f.size() > until + 3) z.untilAt = read.time(f[until + 3], &z.untilClock);
    }
    zone->push_back(std::move(z));
    if (!zone->back().ends) zone = nullptr;
  }
  if (zone != nullptr) throw ZoneTextError("time-zone text: the last zone line has an end");
}

ZoneRules::~ZoneRules() = default;

const std::vector<Period>* ZoneRules::periods(std::string_view name) const {
  auto zone = zones_.find(name);
  for (int hops = 0; hops < 8 && zone == zones_.end(); ++hops) {
    const auto link = links_.find(name);
    if (link == links_.end()) return nullptr;
    name = link->second;
    zone = zones_.find(name);
  }
  if (zone == zones_.end()) return nullptr;
  const Zone& z = *zone->second;
  std::call_once(z.built, [&] { z.periods = build(z.lines); });
  return &z.periods;
}

// As the zone compiler reads a zone: each line holds from the end of the one
// before (read by that line's offsets) to its own end. Within a line that
// follows rules, the rule in force at its beginning is the last one that took
// effect before it (none: no saving), then each rule takes effect in turn, its
// time read by the offsets in force just before it.
std::vector<Period> ZoneRules::build(const std::vector<ZoneLine>& lines) const {
  static const std::vector<Rule> kNoRules;
  std::vector<Transition> found;
  int save = 0;  // the saving in force
  std::int64_t start = std::numeric_limits<std::int64_t>::min();
  std::int64_t startLocal = 0;  // the line's beginning as the line before gives it
  Clock startClock = Clock::Wall;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ZoneLine& line = lines[i];
    const int standard = line.standard;
    const bool first = i == 0;
    const std::int64_t untilLocal =
        line.ends ? dayOf(line.untilYear, line.untilMonth, line.untilDay) * kDay + line.untilAt : 0;
    if (line.rules.empty()) {
      save = line.save;
      found.push_back({start, standard, save});
    } else {
      const auto named = rules_.find(line.rules);
      if (named == rules_.end()) {
        throw ZoneTextError("time-zone text: no rule named \"" + line.rules + "\"");
      }
      const std::vector<Rule>& rules = named->second;
      save = 0;  // until a rule of the line says otherwise
      int startSave = 0;
      bool startPending = true;
      int firstYear = kLastRuleYear;
      for (const Rule& rule : rules) firstYear = std::min(firstYear, std::max(rule.from, 1800));
      const int lastYear = line.ends ? std::min(line.untilYear, kLastRuleYear) : kLastRuleYear;
      std::vector<std::pair<std::int64_t, const Rule*>> todo;
      for (int year = firstYear; year <= lastYear; ++year) {
        todo.clear();
        for (const Rule& rule : rules) {
          if (year >= rule.from && year <= rule.to) {
            todo.emplace_back(dayOf(year, rule.month, rule.on) * kDay + rule.at, &rule);
          }
        }
        while (!todo.empty()) {
          std::size_t k = 0;
          std::int64_t when = 0;
          for (std::size_t j = 0; j < todo.size(); ++j) {
            const std::int64_t t =
                universal(todo[j].first, todo[j].second->atClock, standard, save);
            if (j == 0 || t < when) {
              k = j;
              when = t;
            }
          }
          const Rule& rule = *todo[k].second;
          todo.erase(todo.begin() + static_cast<std::ptrdiff_t>(k));
          if (line.ends && when >= universal(untilLocal, line.untilClock, standard, save)) break;
          const int saveBefore = save;
          save = rule.save;
          // A rule that takes effect by the wall-clock time the line begins
          // at, read with this line's offsets, holds from the line's start.
          if (!first && startPending &&
              (when <= start || when <= universal(startLocal, startClock, standard, saveBefore))) {
            if (when == start) {
              startPending = false;
              found.push_back({when, standard, save});
            } else {
              startSave = save;
            }
            continue;
          }
          if (first && startPending) {
            found.push_back({start, standard, 0});
            startPending = false;
          }
          found.push_back({when, standard, save});
        }
      }
      if (startPending) found.push_back({start, standard, first ? 0 : startSave});
    }
    if (line.ends) {
      start = universal(untilLocal, line.untilClock, standard, save);
      startLocal = untilLocal;
      startClock = line.untilClock;
    }
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const Transition& a, const Transition& b) { return a.at < b.at; });

  // One entry a change; the last of several at one instant holds.
  std::vector<Transition> changes;
  for (const Transition& t : found) {
    if (!changes.empty() && changes.back().at == t.at) changes.pop_back();
    if (!changes.empty() && changes.back().standard == t.standard && changes.back().save == t.save)
      continue;
    changes.push_back(t);
  }

  // Negative savings: see zone_rules.h.
  std::vector<Period> periods;
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const Transition& t = changes[i];
    const int utc = t.standard + t.save;
    int standard = t.standard;
    if (t.save < 0) {
      standard = utc;
    } else if (t.save == 0 && i > 0 && i + 1 < changes.size() && changes[i - 1].save < 0 &&
               changes[i + 1].save < 0) {
      standard = t.standard + std::min(changes[i - 1].save, changes[i + 1].save);
    }
    if (!periods.empty() && periods.back().utc == utc && periods.back().standard == standard)
      continue;
    periods.push_back({t.at, utc, standard});
  }
  return periods;
}

}  // namespace ziwei::zone_history
