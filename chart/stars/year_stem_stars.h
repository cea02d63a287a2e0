#pragma once

#include <array>
#include <string>
#include <string_view>

#include "chart/frame/chart_state.h"
#include "chart/stars/star_list.h"

namespace ziwei {

// 祿存, 擎羊, 陀羅, 天魁, 天鉞 (reads YearStemNum).
StarList getSkySFirstStar(const ChartState& chart, PalaceNum DayNum);
// 天官, 天福, 天廚 (reads YearStemNum).
StarList getSkySSecondStar(const ChartState& chart, PalaceNum DayNum);

// `strW` (a main star's name, possibly followed by its brightness mark)
// followed by the star's four-transformation mark for the year stem, or by
// "ˉ" when it has none; the empty text when YearStemNum is outside 1..10.
std::string getSkyOFirstStar(const ChartState& chart, std::string_view strW);
// The mark alone, by star: what getSkyOFirstStar appends to the star's text
// (kNoMark for none); empty when YearStemNum is outside 1..10, where
// getSkyOFirstStar gives the empty text.
std::string_view transformationMark(const ChartState& chart, Star star);

// The families as data: stars in test order and their palaces in one chart.
inline constexpr std::array<Star, 5> kSkySFirstStars = {Star::LuCun, Star::QingYang, Star::TuoLuo,
                                                        Star::TianKui, Star::TianYue};
inline constexpr std::array<Star, 3> kSkySSecondStars = {Star::TianGuan, Star::TianFuLuck,
                                                         Star::TianChu};
std::array<PalaceNum, 5> skySFirstStarPalaces(const ChartState& chart);
std::array<PalaceNum, 3> skySSecondStarPalaces(const ChartState& chart);

// The four mark texts and the none mark, as they stand on the page.
inline constexpr std::string_view kMarkLu = "<font color='#0000FF'><strong>祿</strong></font>";
inline constexpr std::string_view kMarkQuan = "<font color='#0000FF'><strong>權</strong></font>";
inline constexpr std::string_view kMarkKe = "<font color='#0000FF'><strong>科</strong></font>";
inline constexpr std::string_view kMarkJi = "<font color='#0000FF'><strong>忌</strong></font>";
inline constexpr std::string_view kNoMark = "ˉ";

}  // namespace ziwei
