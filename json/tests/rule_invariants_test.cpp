// Each rule over many births: the chart cast by it differs from the default's
// only in the fields the rule concerns, and only for the births (and targets)
// the rule concerns. The two JSON documents are compared field by field.

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <functional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "birth/target_moment.h"
#include "calendar/gregorian.h"
#include "calendar/lunar.h"
#include "calendar/solar_terms.h"
#include "chart/chart.h"
#include "chart/frame/chart_frame.h"
#include "json/chart_json.h"

namespace ziwei {
namespace {

using Paths = std::set<std::string>;

// The paths where `a` and `b` differ, array indices and the star names that
// key a level's transformations written as "*"; the palaces' relations only
// when `relations`.
void differ(const rapidjson::Value& a, const rapidjson::Value& b, const std::string& path,
            Paths& out, bool relations) {
  if (a.IsObject() && b.IsObject()) {
    const bool keyedByStar = path.ends_with("/transformations");
    for (const auto& m : a.GetObject()) {
      const std::string key(m.name.GetString(), m.name.GetStringLength());
      if (!relations && key == "relations") continue;
      const std::string at = path + "/" + (keyedByStar ? "*" : key);
      if (!b.HasMember(m.name)) {
        out.insert(at);
      } else {
        differ(m.value, b[m.name], at, out, relations);
      }
    }
    for (const auto& m : b.GetObject()) {
      if (!a.HasMember(m.name)) out.insert(path + "/" + (keyedByStar ? "*" : m.name.GetString()));
    }
    return;
  }
  if (a.IsArray() && b.IsArray() && a.Size() == b.Size()) {
    for (rapidjson::SizeType i = 0; i < a.Size(); ++i) {
      differ(a[i], b[i], path + "/*", out, relations);
    }
    return;
  }
  if (a != b) out.insert(path);
}

// The fields where two charts differ, the rules' own "options" left out (and
// the relations unless `relations`: they follow the stars and stems, which
// the other fields show).
Paths differences(const Chart& byDefault, const Chart& byRule, bool relations = false) {
  const std::string a = chartJson(byDefault);
  std::string b = chartJson(byRule);
  if (const auto at = b.find(",\"options\":{"); at != std::string::npos) {
    int depth = 0;
    std::size_t end = at + 11;
    do {
      depth += b[end] == '{' ? 1 : b[end] == '}' ? -1 : 0;
      ++end;
    } while (depth > 0);
    b.erase(at, end - at);
  }
  Paths paths;
  if (a == b) return paths;
  rapidjson::Document da;
  rapidjson::Document db;
  da.Parse(a.c_str(), a.size());
  db.Parse(b.c_str(), b.size());
  differ(da, db, "", paths, relations);
  return paths;
}

// Births over the calendar: every 11th lunar year from 1912, each month (and
// its leap month when the year has one), days 1, 14, 16 and 30, hours 0 and
// 13, both sexes.
std::vector<LunarBirth> births() {
  std::vector<LunarBirth> all;
  for (int year = 1912; year <= 2100; year += 11) {
    for (int month = 1; month <= 12; ++month) {
      for (const bool leap : {false, true}) {
        if (leap && calendar::leap_month(year) != month) continue;
        for (const int day : {1, 14, 16, 30}) {
          for (const int hour : {0, 13}) {
            for (const bool male : {true, false})
              all.push_back({year, month, leap, day, hour, 0, 0, male});
          }
        }
      }
    }
  }
  return all;
}

// Targets every 11 days over 2020..2026, a period with leap months 4 (2020),
// 2 (2023) and 6 (2025), some with a clock time.
std::vector<TargetMoment> targets() {
  std::vector<TargetMoment> all;
  for (auto day = calendar::to_days(calendar::GregorianDate{2020, 1, 3});
       day <= calendar::to_days(calendar::GregorianDate{2026, 12, 31});
       day += std::chrono::days(11)) {
    const auto count = day.time_since_epoch().count();
    const std::optional<ClockOfDay> time =
        count % 3 == 0 ? std::optional<ClockOfDay>() : ClockOfDay{static_cast<int>(count % 24), 30};
    all.push_back(targetOnSolar(calendar::gregorian_from_days(day), time));
  }
  return all;
}

struct RuleCase {
  const char* name;
  void (*apply)(ChartOptions&);
  // The fields it may change, as a pattern of paths.
  const char* fields;
  bool relations = false;  // compare the relations too
};

bool allMatch(const Paths& paths, const std::regex& fields) {
  for (const std::string& path : paths) {
    if (!std::regex_match(path, fields)) return false;
  }
  return true;
}

std::string listed(const Paths& paths) {
  std::string text;
  for (const std::string& path : paths) text += path + " ";
  return text;
}

// Casts each request by default and by the rule; `concerned` says whether
// the rule is to change anything for it.
void checkRule(const RuleCase& rule, const std::vector<ChartRequest>& requests,
               const std::function<bool(const Chart&)>& concerned) {
  std::size_t changed = 0;
  const std::regex fields(rule.fields);
  for (ChartRequest request : requests) {
    const Chart byDefault = cast(request);
    rule.apply(request.options);
    const Paths paths = differences(byDefault, cast(request), rule.relations);
    const LunarBirth& birth = request.birth;
    std::string where = std::string(rule.name) + " " + std::to_string(birth.year) + "-" +
                        std::to_string(birth.month) + (birth.leap ? "L-" : "-") +
                        std::to_string(birth.day) + " " + std::to_string(birth.hour) +
                        (birth.male ? "m" : "f");
    if (request.target) where += " on " + calendar::format_gregorian(solarDateOf(*request.target));
    EXPECT_EQ(!paths.empty(), concerned(byDefault)) << where << ": " << listed(paths);
    EXPECT_TRUE(allMatch(paths, fields)) << where << ": " << listed(paths);
    changed += paths.empty() ? 0U : 1U;
  }
  EXPECT_GT(changed, 0U) << rule.name;
}

void checkNatal(const RuleCase& rule, const std::function<bool(const Chart&)>& concerned) {
  std::vector<ChartRequest> requests;
  for (const LunarBirth& birth : births()) {
    requests.emplace_back();
    requests.back().birth = birth;
  }
  checkRule(rule, requests, concerned);
}

// Every 131st birth up to 2020 (that `keep` keeps) on each target.
void checkPeriods(const RuleCase& rule,
                  const std::function<bool(const Chart&, const TargetMoment&)>& concerned,
                  bool (*keep)(const LunarBirth&) = nullptr) {
  std::vector<ChartRequest> requests;
  const std::vector<LunarBirth> all = births();
  const std::vector<TargetMoment> on = targets();
  for (std::size_t i = 0; i < all.size(); i += 131) {
    if (all[i].year > 2020 || (keep != nullptr && !keep(all[i]))) continue;
    for (const TargetMoment& target : on) {
      ChartRequest request;
      request.birth = all[i];
      request.target = target;
      requests.push_back(request);
    }
  }
  checkRule(rule, requests,
            [&](const Chart& chart) { return concerned(chart, *chart.request.target); });
}

TEST(RuleInvariants, YearBoundaryChangesOnlyBirthsBetweenNewYearAndLiChun) {
  checkNatal({"year-boundary", [](ChartOptions& o) { o.yearBoundary = YearBoundary::Spring; },
              "/(frame|palaces)/.*"},
             [](const Chart& chart) {
               const LunarBirth& b = chart.request.birth;
               const auto first = calendar::to_days(calendar::LunarDate{
                   b.year, b.month, b.leap && calendar::leap_month(b.year) == b.month, 1});
               const auto instant = (first.time_since_epoch().count() + b.day - 1) * 86400LL +
                                    b.hour * 3600 - 8 * 3600;
               const auto month = calendar::solarMonthAt(instant);
               return month && month->year != b.year;
             });
}

TEST(RuleInvariants, LifeMasterChangesOnlyTheLifeMaster) {
  checkNatal({"life-master", [](ChartOptions& o) { o.lifeMaster = LifeMasterRule::Year; },
              "/frame/lifeMaster"},
             [](const Chart& chart) {
               // The masters by palace and by year differ unless the Life
               // palace's branch and the year's share a master.
               constexpr int kMaster[12] = {0, 1, 2, 3, 4, 5, 6, 5, 4, 3, 2, 1};
               return kMaster[chart.frame.LifePalaceNum.index()] !=
                      kMaster[chart.frame.YearBranch.index()];
             });
}

TEST(RuleInvariants, TianShangTianShiChangeOnlyForYinMalesAndYangFemales) {
  checkNatal({"tianshang-tianshi",
              [](ChartOptions& o) { o.tianShangTianShi = TianShangTianShi::Polarity; },
              "/palaces/\\*/markers/.*"},
             [](const Chart& chart) {
               return chart.frame.SexText == SexLabel::YinMale ||
                      chart.frame.SexText == SexLabel::YangFemale;
             });
}

TEST(RuleInvariants, LeapMonthRulesChangeOnlyLeapBirths) {
  checkNatal(
      {"leap-month this", [](ChartOptions& o) { o.leapMonth = LeapMonthRule::This; },
       "/(input/pillars/lunar/month|frame/.*|palaces/.*)"},
      [](const Chart& chart) { return chart.request.birth.leap && chart.request.birth.day > 15; });
  checkNatal(
      {"leap-month next", [](ChartOptions& o) { o.leapMonth = LeapMonthRule::Next; },
       "/(input/pillars/lunar/month|frame/.*|palaces/.*)"},
      [](const Chart& chart) { return chart.request.birth.leap && chart.request.birth.day <= 15; });
}

TEST(RuleInvariants, LeapMonthRulesChangeOnlyTheRunningMonthOfLeapTargets) {
  checkPeriods(
      {"leap-month this", [](ChartOptions& o) { o.leapMonth = LeapMonthRule::This; },
       "/periods/(month|day|hour)/.*"},
      [](const Chart&, const TargetMoment& target) {
        return target.lunar.leap && target.lunar.day > 15;
      },
      // Births the rule casts alike (the natal check covers the others).
      [](const LunarBirth& birth) { return !birth.leap; });
}

TEST(RuleInvariants, TransformationTableChangesOnlyTransformationsOfItsStem) {
  const RuleCase rule{
      "transformation",
      [](ChartOptions& o) {
        o.transformations[4] = {Star::TanLang, Star::TaiYin, Star::TaiYang, Star::TianJi};
      },
      "/(palaces/\\*/main/\\*/transformation|periods/[a-z]+/transformations/\\*)"};
  checkNatal(rule, [](const Chart& chart) { return chart.frame.YearStem == Stem(5); });
  checkPeriods(rule, [](const Chart& chart, const TargetMoment&) {
    const RunningPeriods& p = *chart.periods;
    bool any = chart.frame.YearStem == Stem(5);
    for (const LevelPeriod& level : p.levels) {
      any |= level.present && level.stemBranch.stem == Stem(5) && &level != &p[PeriodLevel::Minor];
    }
    return any;
  });
}

TEST(RuleInvariants, AgeByBirthdayChangesOnlyTheDecadeAndMinorPeriodBeforeTheBirthday) {
  checkPeriods({"age", [](ChartOptions& o) { o.age = AgeCount::Birthday; },
                "/periods/(age|decade/.*|minor/.*)"},
               [](const Chart& chart, const TargetMoment& target) {
                 const RunningPeriods& p = *chart.periods;
                 const bool before =
                     std::pair(p.month, target.lunar.day) <
                     std::pair<int, int>(chart.frame.BirthMonth, chart.frame.BirthDay);
                 return p.age > 1 && before;
               });
}

TEST(RuleInvariants, SolarTermPeriodsChangeOnlyTheRunningYearMonthDayAndHour) {
  checkPeriods(
      {"period-boundary", [](ChartOptions& o) { o.periodBoundary = PeriodBoundary::SolarTerms; },
       "/periods/(year|month|day|hour)/.*"},
      [](const Chart& chart, const TargetMoment& target) {
        const auto instant =
            std::chrono::sys_days(calendar::to_days(solarDateOf(target)))
                    .time_since_epoch()
                    .count() *
                86400LL +
            (target.time ? target.time->hour * 3600 + target.time->minute * 60 : 86399) - 8 * 3600;
        const auto month = calendar::solarMonthAt(instant);
        return month->year != target.lunar.year || month->month != chart.periods->month;
      });
}

TEST(RuleInvariants, FiveTigerStemsChangeOnlyTheFlightsOfLevelsOfAnotherStemPair) {
  // The five tigers give the palaces of a year of stem s the stems of a birth
  // year of stem s or s + 5; the decade keeps the natal stems.
  checkPeriods({"running-stems", [](ChartOptions& o) { o.runningStems = RunningStems::FiveTigers; },
                "/periods/(year|month|day|hour)/relations/\\*/(flies|self|inward)/.*", true},
               [](const Chart& chart, const TargetMoment&) {
                 const RunningPeriods& p = *chart.periods;
                 bool any = false;
                 for (const PeriodLevel level : {PeriodLevel::Year, PeriodLevel::Month,
                                                 PeriodLevel::Day, PeriodLevel::Hour}) {
                   const LevelPeriod& period = p[level];
                   any |= period.present &&
                          period.stemBranch.stem.index() % 5 != chart.frame.YearStem.index() % 5;
                 }
                 return any;
               });
}

}  // namespace
}  // namespace ziwei
