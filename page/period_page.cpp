#include "page/period_page.h"

#include <stdexcept>

#include "page/minor_ages.h"
#include "page/page_template.h"
#include "page/palace_cell.h"

namespace ziwei {

namespace {

static_assert([] {
  for (std::size_t i = 0; i < kSharedHeadPlaceholders; ++i) {
    if (kPeriodPagePlaceholders[i] != kPagePlaceholders[i]) return false;
  }
  return true;
}());

using enum PeriodLevel;

// The levels whose running stars a cell lists, in this order.
constexpr std::array kStarLevels{Decade, Year, Month, Day, Hour};

std::size_t index(PeriodLevel level) { return static_cast<std::size_t>(level); }

// The first character of a palace name (命宮 -> 命, Life -> L): the short
// form of the labels.
std::string_view firstCharacter(std::string_view name) {
  if (name.empty()) return name;
  const auto lead = static_cast<unsigned char>(name[0]);
  const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  return name.substr(0, length);
}

void appendClassOpen(AppendBuffer& out, std::string_view classes) {
  out.ascii("<span class='");
  out.ascii(classes);
  out.ascii("'>");
}

// A palace label: the level's character and the palace's short name, framed
// in the level's colour.
void appendLabel(AppendBuffer& out, PeriodLevel level, std::string_view shortName,
                 const Vocabulary& words) {
  out.ascii("<span class='lb ");
  out.ascii(kPeriodLevelClasses[index(level)]);
  out.ascii("'>");
  out += words.levelLabels[index(level)];
  out += shortName;
  out.ascii("</span>");
}

void appendStemBranch(AppendBuffer& out, StemBranch sb, const Vocabulary& words) {
  out += words(sb.stem);
  out += words(sb.branch);
}

constexpr std::string_view kCellStart =
    "<table width='155' border='0' cellpadding='0' cellspacing='0'>";
constexpr std::string_view kRowEnd = "</td></tr>";

}  // namespace

std::string periodPageStyle() {
  std::string style;
  for (std::size_t i = 0; i < kPeriodLevelCount; ++i) {
    style += '.';
    style += kPeriodLevelClasses[i];
    style += "{color:";
    style += kPeriodLevelColours[i];
    style += '}';
  }
  style +=
      ".lb{border:1px solid;padding:0 1px;margin:0 1px;font-size:12px;white-space:nowrap}"
      ".rs{font-size:12px;line-height:1.25}.rs "
      "span{white-space:nowrap}.nm{word-break:break-all}.tg{font-size:14px}"
      ".lv{font-size:13px}.lv td,.lv th{padding:0 4px;font-weight:normal}"
      ".key{font-size:12px;margin:4px 6px;line-height:1.4}";
  return style;
}

const PreparedTemplate& periodPageTemplate(const Vocabulary& words) {
  static const std::array<PreparedTemplate, kLanguageCount> prepared = [] {
    const auto of = [](const Vocabulary& language) {
      return PreparedTemplate(translatedPageText(buildPeriodPageTemplate(), language),
                              kPeriodPagePlaceholders);
    };
    return std::array{of(kZhHant), of(kZhHans), of(kEnglish)};
  }();
  return prepared[static_cast<std::size_t>(words.language)];
}

void appendPeriodCell(AppendBuffer& out, const Chart& chart, const RunningPeriods& periods,
                      PalaceNum num, const Vocabulary& words) {
  const ChartPalace& palace = chart[num];
  out.ascii(kCellStart);
  appendStarRow(out, palace, words, &periods);

  // The running stars of the levels, each level's in its colour.
  out.ascii("<tr><td class='rs'>");
  for (const PeriodLevel level : kStarLevels) {
    const LevelPeriod& l = periods[level];
    if (!l.present) continue;
    for (std::size_t s = 0; s < kRunningStarCount; ++s) {
      if (l.stars[s] != num) continue;
      appendClassOpen(out, kPeriodLevelClasses[index(level)]);
      out += words.runningPrefixes[index(level)];
      out += words.runningStars[s];
      out.ascii("</span> ");
    }
  }
  out.ascii(kRowEnd);

  // The natal major period and palace name, as the chart page shows them.
  out.ascii("<tr><td align='center'><font size='2'>");
  out.appendNumber(palace.majorPeriodFirstAge);
  out += '-';
  out.appendNumber(palace.majorPeriodFirstAge + 9);
  out.ascii("</font></td></tr><tr><td align='center'><strong><font color='");
  if (palace.stars.redName) out.ascii("#FF0000");
  out.ascii("'>");
  out += words(palace.role);
  out += ' ';
  if (palace.body) out += words.bodyPalace;
  out.ascii("</font></strong>");
  out.ascii(kRowEnd);

  // The decade's and the year's names of the palace; the 命宮 of the other
  // levels where it stands.
  out.ascii("<tr><td align='center'>");
  for (const PeriodLevel level : {Decade, Year}) {
    if (const LevelPeriod& l = periods[level]; l.present) {
      appendLabel(out, level, firstCharacter(words(roleOf(l.palace, num))), words);
    }
  }
  for (const PeriodLevel level : {Minor, Month, Day, Hour}) {
    if (const LevelPeriod& l = periods[level]; l.present && l.palace == num) {
      appendLabel(out, level, words.lifeLabel, words);
    }
  }
  out.ascii(kRowEnd);

  // The natal doctor cycle and growth phase; the year's general-star and
  // year-front cycles; the palace's stem and branch.
  const Branch yearBranch = periods[Year].stemBranch.branch;
  out.ascii(
      "<tr><td><table width='100%' border='0' cellspacing='0' cellpadding='0'><tr>"
      "<td align='left'><font color='#0000FF' size='2'>");
  out += words(Cycle::Doctor, palace.cycle(Cycle::Doctor));
  out.ascii("</font> ");
  appendClassOpen(out, "rs py");
  out += words(Cycle::General, getYearSSFourStar(yearBranch, num));
  out += ' ';
  out += words(Cycle::YearFront, getYearYFourStar(yearBranch, num));
  out.ascii("</span></td><td align='right'><font size='2'>");
  out += words(Cycle::Growth, palace.cycle(Cycle::Growth));
  out.ascii("</font> <font color='#990000' size='2'>");
  appendStemBranch(out, {palace.stem, branchOf(num)}, words);
  out.ascii("</font></td></tr></table>");
  out.ascii(kRowEnd);

  out.ascii("<tr><td align='center'><font size='2'>");
  out.ascii(kMinorAgesInCell[static_cast<std::size_t>(palace.minorPeriodFirstAge)].view());
  out.ascii("</font></td></tr></table>");
}

void appendPeriodSpan(AppendBuffer& out, const Chart& chart, PeriodLevel level,
                      const Vocabulary& words) {
  const RunningPeriods& periods = *chart.periods;
  switch (level) {
    case Decade:
      if (periods.childhood) out += words.childhood;
      out.appendNumber(periods.decadeFirstAge);
      out += '-';
      out.appendNumber(periods.decadeLastAge);
      out += words.ageUnit;
      break;
    case Minor:
      out.appendNumber(periods.age);
      out += words.ageUnit;
      break;
    case Year:
      out.appendNumber(periods.year);
      out += words.yearUnit;
      break;
    case Month:
      out.appendNumber(periods.month);
      out += words.monthUnit;
      break;
    case Day:
      out.appendNumber(periods.target.lunar.day);
      out += words.dayUnit;
      break;
    case Hour:
      out += words(periods[Hour].stemBranch.branch);
      out += words.hourUnit;
      break;
  }
}

namespace {

// The table of levels in the centre block: name, palace, stem-branch, span.
void appendPeriodRows(AppendBuffer& out, const Chart& chart, const RunningPeriods& periods,
                      const Vocabulary& words) {
  for (std::size_t i = 0; i < kPeriodLevelCount; ++i) {
    const auto level = static_cast<PeriodLevel>(i);
    const LevelPeriod& l = periods[level];
    if (level == Hour && !l.present) continue;
    out.ascii("<tr><td>");
    appendClassOpen(out, kPeriodLevelClasses[i]);
    out += words(level);
    out.ascii("</span></td>");
    if (!l.present) {
      out.ascii("<td colspan='3'>");
      out += words.pastLastDecade;
      out.ascii("</td></tr>");
      continue;
    }
    out.ascii("<td>");
    out += words(branchOf(l.palace));
    out.ascii("</td><td>");
    appendStemBranch(out, l.stemBranch, words);
    out.ascii("</td><td>");
    appendPeriodSpan(out, chart, level, words);
    out.ascii("</td></tr>");
  }
}

}  // namespace

// "2026年5月14日 13:30" (the time when given).
void appendTargetDate(AppendBuffer& out, const TargetMoment& target, const Vocabulary& words) {
  out.appendNumber(target.solar.year);
  out += words.yearSeparator;
  out.appendNumber(target.solar.month);
  out += words.monthSeparator;
  out.appendNumber(target.solar.day);
  out += words.daySuffix;
  if (target.time) {
    out += ' ';
    out.appendTwoDigits(target.time->hour);
    out += ':';
    out.appendTwoDigits(target.time->minute);
  }
}

// "丙午年3月28日 未時", "癸卯年閏2月16日".
void appendTargetLunar(AppendBuffer& out, const RunningPeriods& periods, const Vocabulary& words) {
  const TargetMoment& target = periods.target;
  appendStemBranch(out, periods[Year].stemBranch, words);
  out += words.yearSeparator;
  if (target.lunar.leap) out += words.leapMonth;
  out.appendNumber(target.lunar.month);
  out += words.monthSeparator;
  out.appendNumber(target.lunar.day);
  out += words.daySuffix;
  if (const LevelPeriod& hour = periods[Hour]; hour.present) {
    out += ' ';
    out += words(hour.stemBranch.branch);
    out += words.hourUnit;
  }
}

namespace {

// The legend's hour level, " [時]流時", and the prefix of its running stars.
void appendHourLegendLabel(AppendBuffer& out, const Vocabulary& words) {
  out.ascii(" <span class='lb ph'>");
  out += words.levelLabels[index(Hour)];
  out.ascii("</span>");
  out += words(Hour);
}

void appendHourLegendPrefix(AppendBuffer& out, const Vocabulary& words) {
  std::string_view prefix = words.runningPrefixes[index(Hour)];
  while (prefix.ends_with(' ')) prefix.remove_suffix(1);
  out.ascii("<span class='ph'>");
  out += prefix;
  out.ascii("</span> ");
}

constexpr std::size_t kPeriodCellsRoom = 12 * 4096;

std::string periodPage(const Chart& chart, std::string_view printDate, PageEncoding encoding,
                       const Vocabulary& words) {
  if (!chart.periods) throw std::invalid_argument("the chart has no running periods");
  const RunningPeriods& periods = *chart.periods;
  std::array<std::string, kFirstCellPlaceholder> head = pageHeadValues(chart, printDate, words);
  head[1] = translatedPageText("Tessaro紫微斗數運限盤", words);
  return fillPage(
      periodPageTemplate(words), encoding, kPeriodCellsRoom, [&](AppendBuffer& out, std::size_t step) {
        switch (step) {
          case kSharedHeadPlaceholders:
            appendTargetDate(out, periods.target, words);
            break;
          case kSharedHeadPlaceholders + 1:
            appendTargetLunar(out, periods, words);
            break;
          case kSharedHeadPlaceholders + 2:
            out.appendNumber(periods.age);
            break;
          case kSharedHeadPlaceholders + 3:
            appendPeriodRows(out, chart, periods, words);
            break;
          case kSharedHeadPlaceholders + 4:  // the legend's hour label
            if (periods[Hour].present)
              appendHourLegendLabel(out, words);
            break;
          case kSharedHeadPlaceholders + 5:  // the legend's hour star prefix
            if (periods[Hour].present) appendHourLegendPrefix(out, words);
            break;
          case kSharedHeadPlaceholders + 6:  // the note, empty
            break;
          default:
            if (step < kSharedHeadPlaceholders) {
              out += head[step];
            } else {
              const int cell = static_cast<int>(step - kFirstPeriodCellPlaceholder);
              appendPeriodCell(out, chart, periods, PalaceNum(cell + 1), words);
            }
        }
      });
}

}  // namespace

std::string assemblePeriodPage(const Chart& chart, std::string_view printDate,
                               const Vocabulary& words) {
  return periodPage(chart, printDate, PageEncoding::Utf8, words);
}

std::string periodPageFile(const Chart& chart, std::string_view printDate, PageEncoding encoding,
                           const Vocabulary& words) {
  refuseBig5Unless(encoding, words);
  return pageFileBytes(encoding, [&](PageEncoding filled) {
    return periodPage(chart, printDate, filled, words);
  });
}

}  // namespace ziwei
