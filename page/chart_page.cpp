#include "page/chart_page.h"

#include <array>
#include <chrono>
#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>
#include <stdexcept>

#include "chart/frame/cyclic_names.h"
#include "chart/frame/masters.h"
#include "page/palace_cell.h"
#include "page/user_text.h"

namespace ziwei {

namespace {

// Replaces every occurrence of `placeholder` in `page` by `value`.
void replaceAll(std::string& page, std::string_view placeholder, std::string_view value) {
  std::size_t at = page.find(placeholder);
  if (at == std::string::npos) return;
  std::string replaced;
  replaced.reserve(page.size() + value.size());
  std::size_t done = 0;
  while (at != std::string::npos) {
    replaced.append(page, done, at - done);
    replaced += value;
    done = at + placeholder.size();
    at = page.find(placeholder, done);
  }
  replaced.append(page, done);
  page = std::move(replaced);
}

constexpr std::array<std::string_view, 12> kCellPlaceholders{
    "@HourseNUM01@", "@HourseNUM02@", "@HourseNUM03@", "@HourseNUM04@",
    "@HourseNUM05@", "@HourseNUM06@", "@HourseNUM07@", "@HourseNUM08@",
    "@HourseNUM09@", "@HourseNUM10@", "@HourseNUM11@", "@HourseNUM12@",
};

}  // namespace

std::string assembleChartPage(const ChartState& chart, std::string_view pageTemplate,
                              std::string_view name, std::string_view printDate) {
  // The placeholders are replaced one after another over the whole page;
  // a value may hold a placeholder that a later step replaces. The user's
  // texts are escaped and so hold no "@".
  std::string page(pageTemplate);
  replaceAll(page, "@Title@", "Tessaro");
  replaceAll(page, "@FateName@", "Tessaro紫微斗數命盤");
  replaceAll(page, "@PrintDate@", escapeUserText(printDate));
  replaceAll(page, "@txtNAME@", escapeUserText(name));
  replaceAll(page, "@SEXTEXT@", chart.SexText);
  replaceAll(page, "@getAnimal@", getAnimal(chart.YearBranchNum));
  replaceAll(page, "@CYY@", std::to_string(chart.BirthYear - 1911));
  replaceAll(page, "@CMM@", std::to_string(chart.BirthMonth));
  replaceAll(page, "@CDD@", std::to_string(chart.BirthDay));
  replaceAll(page, "@CHH@", std::to_string(chart.BirthHour));
  replaceAll(page, "@CMU@", std::to_string(chart.BirthMinute));
  replaceAll(page, "@FiveHourse@", chart.BureauName);
  replaceAll(page, "@LiftHourseM@", getLiftStart(chart.LifePalaceNum));
  replaceAll(page, "@getBodyStart@", getBodyStart(chart));
  replaceAll(page, "@getLifeDStart@", getEARTHWORD(getLifeDStart(chart)));
  replaceAll(page, "@PAGENOTE@", "");
  for (std::size_t i = 0; i < kCellPlaceholders.size(); ++i) {
    replaceAll(page, kCellPlaceholders[i], HourInStr(chart, static_cast<PalaceNum>(i + 1)));
  }
  return page;
}

std::string todayShortDate() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  const auto format = [&local](const std::locale& locale) {
    std::ostringstream text;
    text.imbue(locale);
    text << std::put_time(&local, "%x");
    return text.str();
  };
  // The user's locale when it can be loaded and writes UTF-8; the C
  // locale's form otherwise.
  try {
    std::string date = format(std::locale(""));
    if (isValidUtf8(date)) return date;
  } catch (const std::runtime_error&) {
  }
  return format(std::locale::classic());
}

}  // namespace ziwei
