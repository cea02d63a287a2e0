#pragma once
// The chart as a document a person, a note or a language model reads: one
// pass over the chart makes its sections (chartReport), and each section is
// rendered as plain text or as Markdown (report/render.h). The names are the
// vocabulary's; nothing in it depends on the day it is made.
//
// The sections, in this order:
//  1. The frame (depth 1, the chart's title): name, sex label, lunar birth
//     date and hour, the Gregorian date when the record gives it, the birth
//     year's stem-branch and animal, bureau, 命宮 and 身宮, 命主, 身主, 斗君,
//     the rules other than their defaults, the printed date when asked for,
//     and what the brightness marks say.
//  2. The palaces (depth 2), then each palace (depth 3) from 命宮 in the
//     order of the names, 命宮, 兄弟宮, 夫妻宮, 子女宮, 財帛宮, 疾厄宮, 遷移宮,
//     僕役宮, 官祿宮, 田宅宮, 福德宮, 父母宮 (each the branch before the one
//     above): titled by its name, stem-branch and 身宮; its main stars with
//     brightness and birth-year transformation, the other stars (minor,
//     voids, markers), its four cycle entries, 三方四正, the flanking palaces,
//     where its stem's four transformations fly, the 離心 and 向心 自化 that
//     fall on its stars (only when some do), its major period and its nine
//     minor ages.
//  3. With a target, the running periods (depth 2): the target's dates, the
//     age and a table of the levels (命宮, stem-branch, span); each present
//     level (depth 3) with its 命宮, span, four transformations and the
//     palaces they land in, its running stars by palace (in the palaces'
//     order) and, for the decade, its years; and a table (depth 3) of every
//     level's names of the twelve palaces, with the year's 將前 and 歲前.
// A palace is named by its natal name and branch, "遷移宮 (申)".

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/gregorian.h"
#include "chart/chart.h"
#include "vocabulary/vocabulary.h"

namespace ziwei {

// One line of a section: a label and its value.
struct ReportField {
  std::string_view label;  // the vocabulary's
  std::string value;
};

// A table: its column heads and rows of as many cells; none without columns.
struct ReportTable {
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> rows;
};

struct ReportSection {
  int depth = 1;  // 1 the chart, 2 a part, 3 a palace, a level or a part's table
  std::string title;
  std::vector<ReportField> fields;
  ReportTable table;
};

using Report = std::vector<ReportSection>;

// What the record of a birth adds to the chart: the Gregorian date it was
// given by, and a date to print as the user wrote it (none: no date at all).
struct ReportRecord {
  std::optional<calendar::GregorianDate> solar;
  std::optional<std::string> printDate;
};

// The sections of `chart` named by `words`. The user's texts (the name, the
// printed date) are written as oneLine writes them: a control character or
// a byte that is not UTF-8 as "\xNN", so that neither can break a line.
Report chartReport(const Chart& chart, const ReportRecord& record = {},
                   const Vocabulary& words = kZhHant);

// The palaces in the order the report gives them: from the Life palace, each
// the one before the last.
std::array<PalaceNum, 12> reportPalaceOrder(const Chart& chart);

}  // namespace ziwei
