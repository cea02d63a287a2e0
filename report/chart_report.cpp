#include "report/chart_report.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "chart/frame/chart_frame.h"
#include "chart/relations/relations.h"
#include "chart/rule_options.h"
#include "page/append_buffer.h"
#include "page/period_page.h"
#include "rules/rule_text.h"
#include "unicode/utf8.h"

namespace ziwei {

namespace {

// What the page writers append to a buffer, as a string.
template <class Fill>
std::string filled(Fill fill) {
  std::string text;
  AppendBuffer out(text);
  fill(out);
  out.finish();
  return text;
}

// "HH:MM".
std::string clock(int hour, int minute) {
  return filled([&](AppendBuffer& out) {
    out.appendTwoDigits(hour);
    out += ':';
    out.appendTwoDigits(minute);
  });
}

// Texts joined by `separator`.
template <class Texts>
std::string joined(const Texts& texts, std::string_view separator) {
  std::string text;
  for (const auto& each : texts) {
    if (!text.empty()) text += separator;
    text += each;
  }
  return text;
}

class ReportWriter {
 public:
  ReportWriter(const Chart& chart, const ReportRecord& record, const Vocabulary& words)
      : chart_(chart),
        record_(record),
        words_(words),
        labels_(words.report),
        stars_(starPalacesOf(chart)),
        order_(reportPalaceOrder(chart)) {}

  Report write() {
    writeFrame();
    report_.push_back({2, std::string(labels_.palacesTitle), {}, {}});
    const PalaceStems stems = natalStems(chart_);
    const PalaceRelationsByPalace relations = palaceRelations(chart_, stems, stars_);
    for (const PalaceNum palace : order_) {
      writePalace(chart_[palace], relations[palace.index()], stems);
    }
    if (chart_.periods) writePeriods(*chart_.periods);
    return std::move(report_);
  }

 private:
  std::string name(std::string_view text) const { return std::string(text); }

  std::string stemBranch(Stem stem, Branch branch) const {
    return name(words_(stem)) + name(labels_.stemBranchJoin) + name(words_(branch));
  }

  // "遷移宮 (申)": a palace by its natal name and its branch.
  std::string palaceRef(PalaceNum palace) const {
    return name(words_(chart_[palace].role)) + " (" + name(words_(branchOf(palace))) + ")";
  }

  std::string transformation(Transformation kind) const {
    return name(labels_.transformationPrefix) + name(words_(kind));
  }

  // "紫微 (◎, 化科)": a star with its brightness and birth-year
  // transformation, where it has them.
  std::string placed(const PlacedStar& star) const {
    std::string marks;
    if (star.brightness != Brightness::None) marks = name(words_(star.brightness));
    if (star.transformation != Transformation::None) {
      if (!marks.empty()) marks += ", ";
      marks += transformation(star.transformation);
    }
    std::string text = name(words_(star.star));
    if (!marks.empty()) text += " (" + marks + ")";
    return text;
  }

  template <std::size_t Capacity>
  void addStars(std::vector<std::string>& list, const StarRow<Capacity>& row) const {
    for (const PlacedStar& star : row) list.push_back(placed(star));
  }

  std::string listOrNone(const std::vector<std::string>& list) const {
    return list.empty() ? name(labels_.none) : joined(list, ", ");
  }

  std::string years(int first, int last) const {
    return std::to_string(first) + "-" + std::to_string(last) + name(words_.ageUnit);
  }

  ReportSection& section(int depth, std::string title) {
    report_.push_back({depth, std::move(title), {}, {}});
    return report_.back();
  }

  // The birth as the request gives it: "1984年1月1日 子時 00:00".
  std::string lunarBirth() const {
    const LunarBirth& birth = chart_.request.birth;
    std::string text = std::to_string(birth.year) + name(words_.yearSeparator);
    if (birth.leap) text += words_.leapMonth;
    text += std::to_string(birth.month) + name(words_.monthSeparator) + std::to_string(birth.day) +
            name(words_.daySuffix);
    return text + " " + name(words_(chart_.frame.HourNum)) + name(words_.hourUnit) + " " +
           clock(birth.hour, birth.minute);
  }

  // The rules other than their defaults, as a rules file names them.
  std::string rules() const {
    const ChartOptions& options = chart_.frame.options;
    std::vector<std::string> set;
    for (const RuleOption& rule : kRuleOptions) {
      if (const std::size_t word = rule.get(options); word != 0) {
        set.push_back(name(rule.name) + " = " + name(ruleWord(rule, word)));
      }
    }
    if (const std::string table = transformationsText(options, words_); !table.empty()) {
      set.push_back(name(kTransformationRule) + " = " + table);
    }
    return joined(set, "; ");
  }

  void writeFrame() {
    const ChartState& frame = chart_.frame;
    ReportSection& s = section(1, name(labels_.chartTitle));
    auto& f = s.fields;
    f.push_back({labels_.name, oneLine(chart_.request.name)});
    f.push_back({labels_.sex, name(words_(frame.SexText))});
    f.push_back({labels_.lunarBirth, lunarBirth()});
    if (record_.solar) {
      f.push_back({labels_.solarBirth, calendar::format_gregorian(*record_.solar)});
    }
    f.push_back({labels_.birthYear, stemBranch(frame.YearStem, frame.YearBranch) + " (" +
                                        name(words_.animal(frame.YearBranch)) + ")"});
    f.push_back({labels_.bureau, name(words_(frame.BureauName))});
    f.push_back({labels_.lifePalace, name(words_(branchOf(frame.LifePalaceNum)))});
    f.push_back({labels_.bodyPalace, palaceRef(frame.BodyPalaceNum)});
    f.push_back({labels_.lifeMaster, name(words_(chart_.lifeMaster))});
    f.push_back({labels_.bodyMaster, name(words_(chart_.bodyMaster))});
    f.push_back({labels_.douJun, name(words_(branchOf(chart_.douJun)))});
    if (std::string set = rules(); !set.empty()) f.push_back({labels_.rules, std::move(set)});
    if (record_.printDate) f.push_back({labels_.printDate, oneLine(*record_.printDate)});
    if (!labels_.brightnessKey.empty()) {
      f.push_back({labels_.brightness, name(labels_.brightnessKey)});
    }
  }

  // The stars of `row` (a stem's four) that `kinds` names: "化祿 廉貞".
  std::string fallen(TransformationSet kinds, Stem stem) const {
    const auto& row = chart_.frame.options.transformations[stem.index()];
    std::vector<std::string> list;
    for (std::size_t k = 0; k < kFourTransformations.size(); ++k) {
      if (kinds.has(kFourTransformations[k])) {
        list.push_back(transformation(kFourTransformations[k]) + " " + name(words_(row[k])));
      }
    }
    return joined(list, ", ");
  }

  // "化祿 廉貞 → 兄弟宮 (丑)" for each of a stem's four, or of a level's.
  std::string flights(const std::array<Star, 4>& row) const {
    std::vector<std::string> list;
    for (std::size_t k = 0; k < row.size(); ++k) {
      list.push_back(transformation(kFourTransformations[k]) + " " + name(words_(row[k])) + " → " +
                     palaceRef(stars_[static_cast<std::size_t>(row[k])]));
    }
    return joined(list, ", ");
  }

  void writePalace(const ChartPalace& palace, const PalaceRelations& relations,
                   const PalaceStems& stems) {
    std::string title =
        name(words_(palace.role)) + " · " + stemBranch(palace.stem, branchOf(palace.palace));
    if (palace.body) title += " · " + name(words_.bodyPalace);
    ReportSection& s = section(3, std::move(title));
    auto& f = s.fields;

    std::vector<std::string> main;
    addStars(main, palace.stars.main);
    f.push_back({labels_.mainStars, listOrNone(main)});
    std::vector<std::string> others;
    addStars(others, palace.stars.minor);
    addStars(others, palace.stars.voids);
    addStars(others, palace.stars.markers);
    f.push_back({labels_.otherStars, listOrNone(others)});

    std::vector<std::string> cycles;
    for (std::size_t c = 0; c < kCycleCount; ++c) {
      cycles.push_back(name(words_.cycles[c][palace.cycles[c]]) + " (" +
                       name(labels_.cycleTitles[c]) + ")");
    }
    f.push_back({labels_.cycles, joined(cycles, ", ")});

    std::vector<std::string> trine;
    for (const PalaceNum p : relations.trine) trine.push_back(palaceRef(p));
    f.push_back({labels_.trine, joined(trine, ", ")});
    f.push_back(
        {labels_.flank, palaceRef(relations.flank[0]) + ", " + palaceRef(relations.flank[1])});
    const Stem stem = stems[palace.palace.index()];
    f.push_back({labels_.flies, flights(chart_.frame.options.transformations[stem.index()])});
    if (!relations.self.empty()) f.push_back({labels_.self, fallen(relations.self, stem)});
    if (!relations.inward.empty()) {
      f.push_back({labels_.inward, fallen(relations.inward, stems[(palace.palace + 6).index()])});
    }

    f.push_back(
        {labels_.majorPeriod, years(palace.majorPeriodFirstAge, palace.majorPeriodFirstAge + 9)});
    std::vector<std::string> ages;
    for (int i = 0; i < 9; ++i) ages.push_back(std::to_string(palace.minorPeriodFirstAge + 12 * i));
    f.push_back({labels_.minorAges, joined(ages, ", ")});
  }

  std::string span(PeriodLevel level) const {
    return filled([&](AppendBuffer& out) { appendPeriodSpan(out, chart_, level, words_); });
  }

  // The running stars of a level in each palace that holds some, in the
  // palaces' order: "命宮 (寅): 運魁, 運祿; ...".
  std::string runningStars(PeriodLevel level, const LevelPeriod& period) const {
    const std::string_view prefix = words_.runningPrefixes[static_cast<std::size_t>(level)];
    std::vector<std::string> palaces;
    for (const PalaceNum palace : order_) {
      std::vector<std::string> here;
      for (std::size_t s = 0; s < kRunningStarCount; ++s) {
        if (period.stars[s] == palace) here.push_back(name(prefix) + name(words_.runningStars[s]));
      }
      if (!here.empty()) palaces.push_back(palaceRef(palace) + ": " + joined(here, ", "));
    }
    return joined(palaces, "; ");
  }

  // The decade's years: "2019 己亥 (36歲), ...".
  std::string decadeYears(const RunningPeriods& periods) const {
    std::vector<std::string> list;
    for (int age = periods.decadeFirstAge; age <= periods.decadeLastAge; ++age) {
      const int year = lunarYearOfAge(chart_.frame, age);
      const StemBranch sb = yearStemBranch(year);
      list.push_back(std::to_string(year) + " " + stemBranch(sb.stem, sb.branch) + " (" +
                     std::to_string(age) + name(words_.ageUnit) + ")");
    }
    return joined(list, ", ");
  }

  // The levels shown: all but an hour without a target time.
  static bool shown(PeriodLevel level, const LevelPeriod& period) {
    return period.present || level != PeriodLevel::Hour;
  }

  void writePeriods(const RunningPeriods& periods) {
    ReportSection& part = section(2, name(labels_.periodsTitle));
    part.fields.push_back({labels_.target, filled([&](AppendBuffer& out) {
                             appendTargetDate(out, periods.target, words_);
                           })});
    part.fields.push_back({labels_.targetLunar, filled([&](AppendBuffer& out) {
                             appendTargetLunar(out, periods, words_);
                           })});
    part.fields.push_back({labels_.age, std::to_string(periods.age) + name(words_.ageUnit)});
    ReportTable& levels = part.table;
    for (const std::string_view column : labels_.levelColumns)
      levels.columns.push_back(name(column));
    for (std::size_t i = 0; i < kPeriodLevelCount; ++i) {
      const auto level = static_cast<PeriodLevel>(i);
      const LevelPeriod& period = periods[level];
      if (!shown(level, period)) continue;
      if (!period.present) {
        levels.rows.push_back({name(words_(level)), "-", "-", name(words_.pastLastDecade)});
        continue;
      }
      levels.rows.push_back({name(words_(level)), palaceRef(period.palace),
                             stemBranch(period.stemBranch.stem, period.stemBranch.branch),
                             span(level)});
    }

    for (std::size_t i = 0; i < kPeriodLevelCount; ++i) {
      const auto level = static_cast<PeriodLevel>(i);
      const LevelPeriod& period = periods[level];
      if (!period.present) continue;
      ReportSection& s =
          section(3, name(words_(level)) + " · " +
                         stemBranch(period.stemBranch.stem, period.stemBranch.branch));
      s.fields.push_back({labels_.lifePalace, palaceRef(period.palace)});
      s.fields.push_back({labels_.levelColumns[3], span(level)});
      if (carriesStars(level)) {
        s.fields.push_back({labels_.transformations, flights(period.transformed)});
        const std::string running = runningStars(level, period);
        s.fields.push_back({labels_.runningStars, running.empty() ? name(labels_.none) : running});
      }
      if (level == PeriodLevel::Decade) {
        s.fields.push_back({labels_.decadeYears, decadeYears(periods)});
      }
    }

    ReportSection& names = section(3, name(labels_.namesTitle));
    ReportTable& table = names.table;
    table.columns = {name(labels_.palaceColumn), name(labels_.natalColumn)};
    for (std::size_t i = 0; i < kPeriodLevelCount; ++i) {
      if (periods.levels[i].present) table.columns.push_back(name(words_.levels[i]));
    }
    table.columns.push_back(name(labels_.yearGeneral));
    table.columns.push_back(name(labels_.yearFront));
    const Branch yearBranch = periods[PeriodLevel::Year].stemBranch.branch;
    for (const PalaceNum palace : order_) {
      std::vector<std::string> row = {name(words_(branchOf(palace))),
                                      name(words_(chart_[palace].role))};
      for (const LevelPeriod& period : periods.levels) {
        if (period.present) row.push_back(name(words_(roleOf(period.palace, palace))));
      }
      row.push_back(name(words_(Cycle::General, getYearSSFourStar(yearBranch, palace))));
      row.push_back(name(words_(Cycle::YearFront, getYearYFourStar(yearBranch, palace))));
      table.rows.push_back(std::move(row));
    }
  }

  const Chart& chart_;
  const ReportRecord& record_;
  const Vocabulary& words_;
  const ReportWords& labels_;
  const StarPalaces stars_;
  const std::array<PalaceNum, 12> order_;
  Report report_;
};

}  // namespace

std::array<PalaceNum, 12> reportPalaceOrder(const Chart& chart) {
  std::array<PalaceNum, 12> order{};
  for (int k = 0; k < 12; ++k) {
    order[static_cast<std::size_t>(k)] = chart.frame.LifePalaceNum - k;
  }
  return order;
}

Report chartReport(const Chart& chart, const ReportRecord& record, const Vocabulary& words) {
  return ReportWriter(chart, record, words).write();
}

}  // namespace ziwei
