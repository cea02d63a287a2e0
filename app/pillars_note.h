#pragma once
// The four pillars of a chart's birth, as the status line shows them once
// the chart page is shown.

#include <QString>

#include "chart/chart.h"

namespace ziwei::desktop {

// "四柱 (節氣) 庚辰年 戊寅月 癸巳日 壬子時 ‧ (農曆) 庚辰年 戊寅月 癸巳日 壬子時";
// the solar-term pillars are left out for a birth past the terms' table.
QString pillarsNote(const Chart& chart);

}  // namespace ziwei::desktop
