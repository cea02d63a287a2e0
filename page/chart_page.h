#pragma once

#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"

namespace ziwei {

// The finished chart page (UTF-8, no trailing line break): the template with
// every placeholder replaced in order. `name` and `printDate` are user text
// and are HTML-escaped, "@" included, before they go in.
std::string assembleChartPage(const ChartState& chart, std::string_view pageTemplate,
                              std::string_view name, std::string_view printDate);

// Today's date in the user's locale's short date format.
std::string todayShortDate();

}  // namespace ziwei
