#include "chart/chart.h"

#include "chart/frame/chart_frame.h"
#include "chart/frame/cyclic_names.h"
#include "chart/frame/masters.h"
#include "chart/periods/periods.h"

namespace ziwei {

void cast(const ChartRequest& request, Chart& chart) {
  chart.request = request;
  const ChartState& frame = chart.frame =
      castFrame(request.birth, request.options, request.birthInstant);
  chart.lifeMaster =
      getLiftStart(request.options.lifeMaster == LifeMasterRule::Year ? palaceOf(frame.YearBranch)
                                                                      : frame.LifePalaceNum);
  chart.bodyMaster = getBodyStart(frame);
  chart.douJun = getLifeDStart(frame);

  PalaceStarsAt stars{};
  for (std::size_t i = 0; i < stars.size(); ++i) stars[i] = &chart.palaces[i].stars;
  layOutPalaces(frame, stars);
  for (const PalaceNum palace : kPalaces) {
    ChartPalace& p = chart.palaces[palace.index()];
    p.palace = palace;
    p.stem = getSky(frame, palace);
    p.role = roleOf(frame.LifePalaceNum, palace);
    p.body = getBodyHourse(frame, palace);
    p.cycles = {getDrTreeStar(frame, palace, frame.SexText),
                getYearSSFourStar(frame.YearBranch, palace),
                getYearYFourStar(frame.YearBranch, palace),
                getFiveLongLifeStar(frame.BureauName, frame.SexText, palace)};
    p.majorPeriodFirstAge =
        getBigYear(frame.BureauName, frame.SexText, frame.LifePalaceNum, palace);
    p.minorPeriodFirstAge = getSmallYear(frame.YearBranch, frame.SexNum, palace);
  }
  chart.periods.reset();
  if (request.target) chart.periods = castPeriods(frame, *request.target);
}

Chart cast(const ChartRequest& request) {
  Chart chart;
  cast(request, chart);
  return chart;
}

}  // namespace ziwei
