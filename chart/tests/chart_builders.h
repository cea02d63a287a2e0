#pragma once
// What the chart tests build alike: a request for a lunar birth, and where a
// cast chart put a star.

#include <utility>

#include "chart/chart.h"

namespace ziwei::test {

inline ChartRequest birthOf(int year, int month, int day, int hour, bool male = true,
                            bool leap = false) {
  ChartRequest request;
  request.birth = {year, month, leap, day, hour, 0, 0, male};
  return request;
}

// The palace whose main or marker group holds `star`, found by walking the
// cells, and its transformation (nowhere: palace 0).
inline std::pair<PalaceNum, Transformation> placed(const Chart& chart, Star star) {
  for (const ChartPalace& palace : chart.palaces) {
    for (const PlacedStar& p : palace.stars.main) {
      if (p.star == star) return {palace.palace, p.transformation};
    }
    for (const PlacedStar& p : palace.stars.markers) {
      if (p.star == star) return {palace.palace, p.transformation};
    }
  }
  return {PalaceNum{}, Transformation::None};
}

}  // namespace ziwei::test
