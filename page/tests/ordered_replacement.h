#pragma once
// The reference the one-pass filler is checked against: the placeholders
// replaced one after another, each over the whole text, every occurrence, a
// value holding a later placeholder having it replaced too.

#include <string>
#include <string_view>

#include "chart/chart.h"
#include "page/chart_page.h"
#include "page/palace_cell.h"

namespace ziwei::test {

// The cell of palace `n` as text.
inline std::string cellText(const Chart& chart, int n, const Vocabulary& words = kZhHant) {
  std::string cell;
  AppendBuffer buffer(cell);
  HourInStr(buffer, chart, PalaceNum(n), words);
  buffer.finish();
  return cell;
}

inline std::string pageByOrderedReplacement(const Chart& chart, std::string_view pageTemplate,
                                            std::string_view printDate) {
  const auto head = pageHeadValues(chart, printDate, kZhHant);
  std::string page(pageTemplate);
  for (std::size_t step = 0; step < kPagePlaceholders.size(); ++step) {
    const std::string value =
        step < kFirstCellPlaceholder
            ? head[step]
            : cellText(chart, static_cast<int>(step - kFirstCellPlaceholder) + 1);
    const std::string_view placeholder = kPagePlaceholders[step];
    for (std::size_t at = page.find(placeholder); at != std::string::npos;
         at = page.find(placeholder, at + value.size())) {
      page.replace(at, placeholder.size(), value);
    }
  }
  return page;
}

}  // namespace ziwei::test
