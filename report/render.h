#pragma once
// The two renderings of a report (report/chart_report.h), UTF-8, each line
// ended by a line feed.
//
// Text: the chart's title underlined with "=", a part's with "-", a
// palace's or level's title alone with its fields indented by two blanks;
// a field is "label: value"; a table's columns are aligned (a wide East
// Asian character counts two columns) and two blanks apart, under a rule of
// "-". Sections are a blank line apart.
//
// Markdown: "#", "##" and "###" headings, a field as the list item
// "- **label**: value", a table as a pipe table; the characters Markdown
// reads as markup (\ ` * _ [ ] < > | ~ &) are escaped with a backslash.

#include <string>
#include <string_view>

#include "report/chart_report.h"

namespace ziwei {

enum class ReportFormat { Text, Markdown };

std::string renderReport(const Report& report, ReportFormat format);

// The columns `text` takes on a terminal: two for a wide or full-width East
// Asian character, one for any other.
std::size_t displayWidth(std::string_view text);

// The chart as text or Markdown: renderReport(chartReport(...)).
std::string chartReportText(const Chart& chart, const ReportRecord& record, const Vocabulary& words,
                            ReportFormat format);

}  // namespace ziwei
