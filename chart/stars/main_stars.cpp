#include "chart/stars/main_stars.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "chart/frame/chart_frame.h"
#include "chart/frame/numbering.h"
#include "chart/stars/star_names.h"

namespace ziwei {

namespace {

// Zi Wei series by the distance d = ZiWei - palace (1..12, counted
// backwards from 紫微); d = 12 is 紫微's own palace, which the composer fills.
constexpr std::array<std::string_view, 13> kZiWeiSeriesByDistance = {"",
                                                                     starName(Star::TianJi),    // 1
                                                                     "",                        // 2
                                                                     starName(Star::TaiYang),   // 3
                                                                     starName(Star::WuQu),      // 4
                                                                     starName(Star::TianTong),  // 5
                                                                     "",
                                                                     "",  // 6, 7
                                                                     starName(Star::LianZhen),  // 8
                                                                     "",
                                                                     "",
                                                                     "",
                                                                     ""};  // 9..12

// Tian Fu series by the distance d = TianFu - palace (1..12); the series
// counts forwards, so 1 palace forwards is d = 11. d = 12 is 天府 itself.
constexpr std::array<std::string_view, 13> kTianFuSeriesByDistance = {
    "",
    "",                     // 1
    starName(Star::PoJun),  // 2: 10 forwards
    "",
    "",
    "",                         // 3..5
    starName(Star::QiSha),      // 6: 6 forwards
    starName(Star::TianLiang),  // 7: 5 forwards
    starName(Star::TianXiang),  // 8: 4 forwards
    starName(Star::JuMen),      // 9: 3 forwards
    starName(Star::TanLang),    // 10: 2 forwards
    starName(Star::TaiYin),     // 11: 1 forwards
    ""};                        // 12

// The star at the distance from `head` back to `DayNum`, wrapped into 1..12.
// Positions outside 1..12 name no star.
StarList byDistance(const std::array<std::string_view, 13>& series, int head, int DayNum) {
  if (!isPalace(head) || !isPalace(DayNum)) return {};
  int d = head - DayNum;
  if (d < 1) d += 12;
  return StarList(series[static_cast<std::size_t>(d)]);
}

// The distance of each of `stars` in `series`.
template <std::size_t N>
constexpr std::array<int, N> distancesOf(const std::array<std::string_view, 13>& series,
                                         const std::array<Star, N>& stars) {
  std::array<int, N> distances{};
  for (std::size_t i = 0; i < N; ++i) {
    for (std::size_t d = 1; d < series.size(); ++d) {
      if (series[d] == starName(stars[i])) distances[i] = static_cast<int>(d);
    }
  }
  return distances;
}

constexpr auto kZiWeiSeriesDistances = distancesOf(kZiWeiSeriesByDistance, kZiWeiSeriesStars);
constexpr auto kTianFuSeriesDistances = distancesOf(kTianFuSeriesByDistance, kTianFuSeriesStars);

template <std::size_t N>
std::array<PalaceNum, N> palacesAt(const std::array<int, N>& distances, int head) {
  std::array<PalaceNum, N> palaces{};
  if (!isPalace(head)) return palaces;
  for (std::size_t i = 0; i < N; ++i) palaces[i] = wrapPalace(head - distances[i]);
  return palaces;
}

}  // namespace

std::array<PalaceNum, 5> ziWeiSeriesPalaces(PalaceNum FirstStar) {
  return palacesAt(kZiWeiSeriesDistances, FirstStar);
}

std::array<PalaceNum, 7> tianFuSeriesPalaces(PalaceNum SkyStar) {
  return palacesAt(kTianFuSeriesDistances, SkyStar);
}

StarList getFirstSubStar(PalaceNum FirstStar, PalaceNum DayNum) {
  return byDistance(kZiWeiSeriesByDistance, FirstStar, DayNum);
}

PalaceNum getSkyStarNUM(PalaceNum FirstStar) { return tianFuPalace(FirstStar); }

StarList getSkyStar(PalaceNum FirstStar, PalaceNum DayNum) {
  // 紫微 and 天府 mirror each other: their palace numbers sum to 6 or 18.
  if (!isPalace(FirstStar) || !isPalace(DayNum)) return {};
  int s = FirstStar + DayNum;
  if (s > 12) s -= 12;
  return s == 6 ? StarList(starName(Star::TianFu)) : StarList();
}

StarList getSkySubStar(PalaceNum SkyStar, PalaceNum DayNum) {
  return byDistance(kTianFuSeriesByDistance, SkyStar, DayNum);
}

}  // namespace ziwei
