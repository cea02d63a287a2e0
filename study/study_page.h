#pragma once

#include <string>

#include "chart/chart.h"
#include "json/chart_json.h"
#include "vocabulary/vocabulary.h"

namespace ziwei {

// The study page of a chart: one self-contained UTF-8 HTML file (no line
// break at its end) that reads nothing at run time and nothing from the
// network. It holds the chart's JSON document (chartJson of `chart`,
// `record` and `words`) as data, the page's words in the language of
// `words`, and the style sheet and script (study/study.css, study/study.js)
// that draw the grid from them: a palace selected by click or keyboard shows
// its 三方四正, flanks and four flying transformations, and with periods a
// level switch shows each running level's names, transformations, running
// stars and relations. Every "<" of the data is written as \u003c, so no
// text of the chart can end the script that holds it. Throws as chartJson.
std::string studyPage(const Chart& chart, const ChartRecord& record = {},
                      const Vocabulary& words = kZhHant);

}  // namespace ziwei
