#pragma once

#include <string>
#include <vector>

#include "chart/frame/chart_state.h"

namespace ziwei {

// The star names of one palace, sorted into the five groups that its cell
// shows. Each group lists its names in the order the star families gave
// them (the first name of the four upper groups stands rightmost in the
// cell; the cycle group runs left to right).
struct PalaceGroups {
  std::vector<std::string> main;     // main stars and major auxiliaries, red
  std::vector<std::string> voids;    // 旬空, orange
  std::vector<std::string> markers;  // 天傷 or 天使, then 截空, green
  std::vector<std::string> minor;    // minor stars, blue
  std::vector<std::string> cycles;   // doctor, general-star and year-front spirits
  bool redName = false;              // a main star, 天馬 or 祿存 lies here
};

// Asks every star family for its stars in palace `fateNUM` and sorts them
// into the five groups.
PalaceGroups gatherPalaceGroups(const ChartState& chart, PalaceNum fateNUM);

}  // namespace ziwei
