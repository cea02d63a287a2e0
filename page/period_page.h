#pragma once
// The running-period page (運限盤): the chart page's grid and style, each
// palace cell with the natal stars, the decade's and the year's
// transformation marks beside them, the running stars of every level and the
// decade's and the year's palace names; the centre block names the target,
// the age and each level.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "chart/chart.h"
#include "page/append_buffer.h"
#include "page/chart_page.h"
#include "page/page_file.h"
#include "vocabulary/vocabulary.h"

namespace ziwei {

// The placeholders of the running-period template: the first twelve are
// those of the chart page's head (pageHeadValues), then the target, the age,
// the table of levels, the hour level's entries in the legend (empty without
// an hour), the note and the palace cells 1..12.
inline constexpr std::array<std::string_view, 31> kPeriodPagePlaceholders{
    "@Title@",       "@FateName@",     "@PrintDate@",   "@txtNAME@",     "@SEXTEXT@",
    "@getAnimal@",   "@CYY@",          "@CMM@",         "@CDD@",         "@CHH@",
    "@CMU@",         "@FiveHourse@",   "@TargetDate@",  "@TargetLunar@", "@Age@",
    "@PeriodRows@",  "@HourLabelKey@", "@HourStarKey@", "@PAGENOTE@",    "@HourseNUM01@",
    "@HourseNUM02@", "@HourseNUM03@",  "@HourseNUM04@", "@HourseNUM05@", "@HourseNUM06@",
    "@HourseNUM07@", "@HourseNUM08@",  "@HourseNUM09@", "@HourseNUM10@", "@HourseNUM11@",
    "@HourseNUM12@",
};
inline constexpr std::size_t kSharedHeadPlaceholders = 12;
inline constexpr std::size_t kFirstPeriodCellPlaceholder = 19;

// Each level's class in the page's style, and its colour: dark enough on
// white to read (contrast 5.3:1 and more) and to print, and apart from the
// natal stars' red, blue, green and orange. The prefixes of the running
// stars and the labels name the level too, for a print without colour.
inline constexpr std::array<std::string_view, kPeriodLevelCount> kPeriodLevelClasses = {
    "pd", "pn", "py", "pm", "pa", "ph"};
inline constexpr std::array<std::string_view, kPeriodLevelCount> kPeriodLevelColours = {
    "#00796B", "#795548", "#7B1FA2", "#9C4A00", "#AD1457", "#455A64"};

// The page's own style rules, one line of CSS: the level classes, the labels
// and the name that wraps.
std::string periodPageStyle();

// The template (buildPeriodPageTemplate) in the language of `words`,
// prepared on first use.
const PreparedTemplate& periodPageTemplate(const Vocabulary& words = kZhHant);

// Appends the running-period cell of palace `num`.
void appendPeriodCell(AppendBuffer& out, const Chart& chart, const RunningPeriods& periods,
                      PalaceNum num, const Vocabulary& words);

// The span of a present level of a chart cast with a target, as the table of
// levels gives it: the decade's ages (童限 first for the childhood decade),
// the age, the running year, the month counted, the lunar day, the hour.
void appendPeriodSpan(AppendBuffer& out, const Chart& chart, PeriodLevel level,
                      const Vocabulary& words);

// The target's Gregorian date, "2026年5月14日 13:30" (the time when given),
// and its lunar date with the year's stem-branch, "丙午年3月28日 未時",
// "癸卯年閏2月16日".
void appendTargetDate(AppendBuffer& out, const TargetMoment& target, const Vocabulary& words);
void appendTargetLunar(AppendBuffer& out, const RunningPeriods& periods, const Vocabulary& words);

// The running-period page of `chart` (cast with a target): UTF-8 without a
// line break, or the bytes of its file in `encoding` (Big5 encoded while
// filled, then CR LF). The name and `printDate` are user text and are
// HTML-escaped. Throws std::invalid_argument for a chart without periods.
std::string assemblePeriodPage(const Chart& chart, std::string_view printDate,
                               const Vocabulary& words = kZhHant);
std::string periodPageFile(const Chart& chart, std::string_view printDate, PageEncoding encoding,
                           const Vocabulary& words = kZhHant);

}  // namespace ziwei
