#include "page/period_page.h"

#include "chart/frame/cyclic_names.h"
#include "chart/frame/numbering.h"
#include "chart/periods/periods.h"
#include "chart/stars/cycles.h"
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

// The first character of a palace name (命宮 -> 命): the short form of the
// labels.
std::string_view firstCharacter(std::string_view name) { return name.substr(0, 3); }

void appendClassOpen(AppendBuffer& out, std::string_view classes) {
  out.ascii("<span class='");
  out.ascii(classes);
  out.ascii("'>");
}

// A palace label: the level's character and the palace's short name, framed
// in the level's colour.
void appendLabel(AppendBuffer& out, PeriodLevel level, std::string_view shortName) {
  out.ascii("<span class='lb ");
  out.ascii(kPeriodLevelClasses[index(level)]);
  out.ascii("'>");
  out += kPeriodLevelLabels[index(level)];
  out += shortName;
  out.ascii("</span>");
}

void appendStemBranch(AppendBuffer& out, StemBranch sb) {
  out += kStemNames[static_cast<std::size_t>(sb.stem - 1)];
  out += kBranchNames[static_cast<std::size_t>(sb.branch - 1)];
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

const PreparedTemplate& periodPageTemplate() {
  static const PreparedTemplate prepared(buildPeriodPageTemplate(), kPeriodPagePlaceholders);
  return prepared;
}

void appendPeriodCell(AppendBuffer& out, const ChartState& chart, const PalaceLayout& palace,
                      const RunningPeriods& periods, PalaceNum num) {
  out.ascii(kCellStart);
  appendStarRow(out, chart, palace, num, &periods);

  // The running stars of the levels, each level's in its colour.
  out.ascii("<tr><td class='rs'>");
  for (const PeriodLevel level : kStarLevels) {
    const LevelPeriod& l = periods[level];
    if (!l.present) continue;
    for (std::size_t s = 0; s < kRunningStarCount; ++s) {
      if (l.stars[s] != num) continue;
      appendClassOpen(out, kPeriodLevelClasses[index(level)]);
      out += kRunningStarPrefixes[index(level)];
      out += kRunningStarNames[s];
      out.ascii("</span> ");
    }
  }
  out.ascii(kRowEnd);

  // The natal major period and palace name, as the chart page shows them.
  out.ascii("<tr><td align='center'><font size='2'>");
  if (const int start = majorPeriodStart(chart.BureauName, chart.SexText, chart.LifePalaceNum, num);
      start != 0) {
    out.appendNumber(start);
    out += '-';
    out.appendNumber(start + 9);
  }
  out.ascii("</font></td></tr><tr><td align='center'><strong><font color='");
  if (palace.redName) out.ascii("#FF0000");
  out.ascii("'>");
  out += palaceName(chart.LifePalaceNum, num);
  out += ' ';
  out += getBodyHourse(chart, num);
  out.ascii("</font></strong>");
  out.ascii(kRowEnd);

  // The decade's and the year's names of the palace; the 命宮 of the other
  // levels where it stands.
  out.ascii("<tr><td align='center'>");
  for (const PeriodLevel level : {Decade, Year}) {
    if (const LevelPeriod& l = periods[level]; l.present) {
      appendLabel(out, level, firstCharacter(palaceName(l.palace, num)));
    }
  }
  for (const PeriodLevel level : {Minor, Month, Day, Hour}) {
    if (const LevelPeriod& l = periods[level]; l.present && l.palace == num) {
      appendLabel(out, level, "命");
    }
  }
  out.ascii(kRowEnd);

  // The natal doctor cycle and growth phase; the year's general-star and
  // year-front cycles; the palace's stem and branch.
  const int yearBranch = periods[Year].stemBranch.branch;
  out.ascii(
      "<tr><td><table width='100%' border='0' cellspacing='0' cellpadding='0'><tr>"
      "<td align='left'><font color='#0000FF' size='2'>");
  out += doctorName(chart, num, chart.SexText);
  out.ascii("</font> ");
  appendClassOpen(out, "rs py");
  out += generalName(yearBranch, num);
  out += ' ';
  out += yearFrontName(yearBranch, num);
  out.ascii("</span></td><td align='right'><font size='2'>");
  out += growthName(chart.BureauName, chart.SexText, num);
  out.ascii("</font> <font color='#990000' size='2'>");
  appendStemBranch(out, {palaceStem(chart.YearStemNum, num), num});
  out.ascii("</font></td></tr></table>");
  out.ascii(kRowEnd);

  out.ascii("<tr><td align='center'><font size='2'>");
  out.ascii(kMinorAgesInCell[static_cast<std::size_t>(
                                 minorPeriodFirstAge(chart.YearBranchNum, chart.SexNum, num))]
                .view());
  out.ascii("</font></td></tr></table>");
}

namespace {

// The table of levels in the centre block: name, palace, stem-branch, span.
void appendPeriodRows(AppendBuffer& out, const ChartState& chart, const RunningPeriods& periods) {
  for (std::size_t i = 0; i < kPeriodLevelCount; ++i) {
    const auto level = static_cast<PeriodLevel>(i);
    const LevelPeriod& l = periods[level];
    if (level == Hour && !l.present) continue;
    out.ascii("<tr><td>");
    appendClassOpen(out, kPeriodLevelClasses[i]);
    out += kPeriodLevelNames[i];
    out.ascii("</span></td>");
    if (!l.present) {
      out.ascii("<td colspan='3'>");
      out += std::string_view("已過第十二大限");
      out.ascii("</td></tr>");
      continue;
    }
    out.ascii("<td>");
    out += kBranchNames[static_cast<std::size_t>(l.palace - 1)];
    out.ascii("</td><td>");
    appendStemBranch(out, l.stemBranch);
    out.ascii("</td><td>");
    switch (level) {
      case Decade:
        if (periods.childhood) out += std::string_view("童限");
        out.appendNumber(periods.decadeFirstAge);
        out += '-';
        out.appendNumber(periods.decadeLastAge);
        out += std::string_view("歲");
        break;
      case Minor:
        out.appendNumber(periods.age);
        out += std::string_view("歲");
        break;
      case Year:
        out.appendNumber(lunarYearOfAge(chart, periods.age));
        out += std::string_view("年");
        break;
      case Month:
        out.appendNumber(periods.month);
        out += std::string_view("月");
        break;
      case Day:
        out.appendNumber(periods.target.lunar.day);
        out += std::string_view("日");
        break;
      case Hour:
        out += kBranchNames[static_cast<std::size_t>(l.stemBranch.branch - 1)];
        out += std::string_view("時");
        break;
    }
    out.ascii("</td></tr>");
  }
}

// "2026年5月14日 13:30" (the time when given).
void appendTargetDate(AppendBuffer& out, const TargetMoment& target) {
  out.appendNumber(target.solar.year);
  out += std::string_view("年");
  out.appendNumber(target.solar.month);
  out += std::string_view("月");
  out.appendNumber(target.solar.day);
  out += std::string_view("日");
  if (target.time) {
    out += ' ';
    out.appendTwoDigits(target.time->hour);
    out += ':';
    out.appendTwoDigits(target.time->minute);
  }
}

// "丙午年3月28日 未時", "癸卯年閏2月16日".
void appendTargetLunar(AppendBuffer& out, const RunningPeriods& periods) {
  const TargetMoment& target = periods.target;
  appendStemBranch(out, periods[Year].stemBranch);
  out += std::string_view(target.lunar.leap ? "年閏" : "年");
  out.appendNumber(target.lunar.month);
  out += std::string_view("月");
  out.appendNumber(target.lunar.day);
  out += std::string_view("日");
  if (const LevelPeriod& hour = periods[Hour]; hour.present) {
    out += ' ';
    out += kBranchNames[static_cast<std::size_t>(hour.stemBranch.branch - 1)];
    out += std::string_view("時");
  }
}

constexpr std::size_t kPeriodCellsRoom = 12 * 4096;

std::string periodPage(const ChartState& chart, const RunningPeriods& periods,
                       std::string_view name, std::string_view printDate, PageEncoding encoding) {
  std::array<std::string, kFirstCellPlaceholder> head = pageHeadValues(chart, name, printDate);
  head[1] = "Tessaro紫微斗數運限盤";
  const ChartLayout layout = layOutPalaces(chart);
  return fillPage(
      periodPageTemplate(), encoding, kPeriodCellsRoom, [&](AppendBuffer& out, std::size_t step) {
        switch (step) {
          case kSharedHeadPlaceholders:
            appendTargetDate(out, periods.target);
            break;
          case kSharedHeadPlaceholders + 1:
            appendTargetLunar(out, periods);
            break;
          case kSharedHeadPlaceholders + 2:
            out.appendNumber(periods.age);
            break;
          case kSharedHeadPlaceholders + 3:
            appendPeriodRows(out, chart, periods);
            break;
          case kSharedHeadPlaceholders + 4:  // the legend's hour label
            if (periods[Hour].present)
              out += std::string_view(" <span class='lb ph'>時</span>流時");
            break;
          case kSharedHeadPlaceholders + 5:  // the legend's hour star prefix
            if (periods[Hour].present) out += std::string_view("<span class='ph'>時</span> ");
            break;
          case kSharedHeadPlaceholders + 6:  // the note, empty
            break;
          default:
            if (step < kSharedHeadPlaceholders) {
              out += head[step];
            } else {
              const std::size_t cell = step - kFirstPeriodCellPlaceholder;
              appendPeriodCell(out, chart, layout[cell], periods, static_cast<PalaceNum>(cell + 1));
            }
        }
      });
}

}  // namespace

std::string assemblePeriodPage(const ChartState& chart, const RunningPeriods& periods,
                               std::string_view name, std::string_view printDate) {
  return periodPage(chart, periods, name, printDate, PageEncoding::Utf8);
}

std::string periodPageFile(const ChartState& chart, const RunningPeriods& periods,
                           std::string_view name, std::string_view printDate,
                           PageEncoding encoding) {
  return pageFileBytes(encoding, [&](PageEncoding filled) {
    return periodPage(chart, periods, name, printDate, filled);
  });
}

}  // namespace ziwei
