#pragma once
// The reference the one-pass filler is checked against: the placeholders
// replaced one after another, each over the whole text, every occurrence, a
// value holding a later placeholder having it replaced too.

#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"
#include "page/chart_page.h"
#include "page/palace_cell.h"

namespace ziwei::test {

inline std::string pageByOrderedReplacement(const ChartState& chart, std::string_view pageTemplate,
                                            std::string_view name, std::string_view printDate) {
  const auto head = pageHeadValues(chart, name, printDate);
  std::string page(pageTemplate);
  for (std::size_t step = 0; step < kPagePlaceholders.size(); ++step) {
    const std::string value =
        step < kFirstCellPlaceholder
            ? head[step]
            : HourInStr(chart, static_cast<PalaceNum>(step - kFirstCellPlaceholder + 1));
    const std::string_view placeholder = kPagePlaceholders[step];
    for (std::size_t at = page.find(placeholder); at != std::string::npos;
         at = page.find(placeholder, at + value.size())) {
      page.replace(at, placeholder.size(), value);
    }
  }
  return page;
}

}  // namespace ziwei::test
