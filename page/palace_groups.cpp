#include "page/palace_groups.h"

#include <initializer_list>
#include <string_view>

#include "chart/frame/cyclic_names.h"
#include "chart/stars/cycles.h"
#include "chart/stars/day_stars.h"
#include "chart/stars/hour_month_stars.h"
#include "chart/stars/main_stars.h"
#include "chart/stars/voids.h"
#include "chart/stars/year_branch_stars.h"
#include "chart/stars/year_stem_stars.h"

namespace ziwei {

namespace {

// Adds the family results to `group` in order: every non-empty result is
// split at each "," into names.
void addResults(std::vector<std::string>& group, std::initializer_list<std::string> results) {
  for (const std::string& result : results) {
    if (result.empty()) continue;
    std::string_view rest = result;
    for (;;) {
      const std::size_t comma = rest.find(',');
      group.emplace_back(rest.substr(0, comma));
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
  }
}

}  // namespace

PalaceGroups gatherPalaceGroups(const ChartState& chart, PalaceNum fateNUM) {
  PalaceGroups groups;

  if (chart.ZiWeiNum == fateNUM) groups.main.emplace_back("紫微");
  addResults(groups.main,
             {getFirstSubStar(chart.ZiWeiNum, fateNUM), getSkyStar(chart.ZiWeiNum, fateNUM),
              getSkySubStar(chart.TianFuNum, fateNUM), getHourFirstStar(chart, fateNUM),
              getSkySFirstStar(chart, fateNUM), getMonthFirstStar(chart, fateNUM)});
  for (const std::string& name : groups.main) {
    if (kMainStarSet.find(name) != std::string_view::npos) groups.redName = true;
  }

  addResults(groups.voids, {getEmptyDead(chart, fateNUM)});
  addResults(groups.markers,
             {getSkySSTreeStar(fateNUM, chart.LifePalaceNum), getDrDDTreeStar(chart, fateNUM)});
  addResults(groups.minor,
             {getHourSecondStar(chart, fateNUM), getMonthSecondStar(chart, fateNUM),
              getSkySSecondStar(chart, fateNUM), getEarthSecondStar(chart, fateNUM),
              getEarthSecondStar2(chart, fateNUM, getOtherHourse(chart.LifePalaceNum, fateNUM),
                                  chart.BodyPalaceNum),
              getDaySecondStar(chart, fateNUM)});
  addResults(groups.cycles, {getDrTreeStar(chart, fateNUM, chart.SexText),
                             getYearSSFourStar(chart, fateNUM), getYearYFourStar(chart, fateNUM)});
  return groups;
}

}  // namespace ziwei
