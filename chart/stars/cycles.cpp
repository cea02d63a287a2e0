#include "chart/stars/cycles.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

using Cycle = std::array<std::string_view, 12>;

// Names by their step from the start palace in the cycle's direction.
constexpr Cycle kDoctorCycle = {"博士", "力士", "青龍", "小耗", "將軍", "奏書",
                                "蜚廉", "喜神", "病符", "大耗", "伏兵", "官府"};
constexpr Cycle kYearFrontCycle = {"歲建", "晦氣", "喪門", "貫索", "官符", "小耗",
                                   "大耗", "龍德", "白虎", "天德", "弔客", "病符"};
constexpr Cycle kGeneralCycle = {"將星", "攀鞍", "歲驛", "息神", "華蓋", "劫煞",
                                 "災煞", "天煞", "指背", "咸池", "地煞", "亡神"};
constexpr Cycle kGrowthCycle = {"長生", "沐浴", "冠帶", "臨官", "帝旺", "衰",
                                "病",   "死",   "墓",   "絕",   "胎",   "養"};

// Start of the Doctor cycle (the palace of 祿存) by year stem.
constexpr std::array<PalaceNum, 10> kDoctorStart = {3, 4, 6, 7, 6, 7, 9, 10, 12, 1};
// Start of the General-star cycle by year branch (子辰申 子, 丑巳酉 酉, 寅午戌
// 午, 卯未亥 卯).
constexpr std::array<PalaceNum, 12> kGeneralStart = {1, 10, 7, 4, 1, 10, 7, 4, 1, 10, 7, 4};
// Start of the Growth-phase cycle by bureau (水二 申, 木三 亥, 金四 巳, 土五 申,
// 火六 寅), indexed by bureau number - 2.
constexpr std::array<PalaceNum, 5> kGrowthStart = {9, 12, 6, 9, 3};

// The name that falls in `DayNum` for a cycle started at `start`.
std::string_view nameInPalace(const Cycle& cycle, PalaceNum start, bool forward, PalaceNum DayNum) {
  if (!isPalace(DayNum) || !isPalace(start)) return {};
  int d = forward ? DayNum - start : start - DayNum;
  if (d < 0) d += 12;
  return cycle[static_cast<std::size_t>(d)];
}

constexpr bool isSexLabel(std::string_view label) {
  return label == "陽男" || label == "陰男" || label == "陽女" || label == "陰女";
}

}  // namespace

std::string_view doctorName(const ChartState& chart, PalaceNum DayNum, std::string_view SEXTEXT) {
  if (!isStem(chart.YearStemNum) || !isSexLabel(SEXTEXT)) return {};
  return nameInPalace(kDoctorCycle, kDoctorStart[static_cast<std::size_t>(chart.YearStemNum - 1)],
                      runsForward(SEXTEXT), DayNum);
}

std::string_view yearFrontName(int yearBranch, PalaceNum DayNum) {
  if (!isPalace(yearBranch)) return {};
  return nameInPalace(kYearFrontCycle, static_cast<PalaceNum>(yearBranch), true, DayNum);
}

std::string_view generalName(int yearBranch, PalaceNum DayNum) {
  if (!isPalace(yearBranch)) return {};
  return nameInPalace(kGeneralCycle, kGeneralStart[static_cast<std::size_t>(yearBranch - 1)], true,
                      DayNum);
}

std::string_view yearFrontName(const ChartState& chart, PalaceNum DayNum) {
  return yearFrontName(chart.YearBranchNum, DayNum);
}

std::string_view generalName(const ChartState& chart, PalaceNum DayNum) {
  return generalName(chart.YearBranchNum, DayNum);
}

std::string_view growthName(std::string_view FiveHourse, std::string_view SEXTEXT,
                            PalaceNum DayNum) {
  const int bureau = bureauNumber(FiveHourse);
  if (bureau == 0) return {};
  return nameInPalace(kGrowthCycle, kGrowthStart[static_cast<std::size_t>(bureau - 2)],
                      runsForward(SEXTEXT), DayNum);
}

std::string getDrTreeStar(const ChartState& chart, PalaceNum DayNum, std::string_view SEXTEXT) {
  return std::string(doctorName(chart, DayNum, SEXTEXT));
}

std::string getYearYFourStar(const ChartState& chart, PalaceNum DayNum) {
  return std::string(yearFrontName(chart, DayNum));
}

std::string getYearSSFourStar(const ChartState& chart, PalaceNum DayNum) {
  return std::string(generalName(chart, DayNum));
}

std::string getFiveLongLifeStar(std::string_view FiveHourse, std::string_view SEXTEXT,
                                PalaceNum DayNum) {
  return std::string(growthName(FiveHourse, SEXTEXT, DayNum));
}

FamilyPalaces<Family::LifeMarkers> skySSTreePalaces(PalaceNum LiftNum) {
  if (!isPalace(LiftNum)) return {};
  return {wrapPalace(LiftNum - 7), wrapPalace(LiftNum - 5)};
}

StarList getSkySSTreeStar(PalaceNum DayNum, PalaceNum LiftNum) {
  return starsIn<Family::LifeMarkers>(skySSTreePalaces(LiftNum), DayNum);
}

}  // namespace ziwei
