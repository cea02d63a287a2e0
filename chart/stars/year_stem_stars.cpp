#include "chart/stars/year_stem_stars.h"

#include <array>
#include <cstddef>

#include "chart/frame/numbering.h"

namespace ziwei {

namespace {

using namespace branch;

// The year-stem stars by year stem: 祿存, 擎羊, 陀羅, 天魁, 天鉞, then 天官,
// 天福, 天廚.
constexpr std::array<std::array<PalaceNum, 8>, 10> kStemStars = {{
    {Yin, Mao, Chou, Chou, Wei, Wei, You, Si},   // 甲
    {Mao, Chen, Yin, Zi, Shen, Chen, Shen, Wu},  // 乙
    {Si, Wu, Chen, Hai, You, Si, Zi, Zi},        // 丙
    {Wu, Wei, Si, Hai, You, Yin, Hai, Si},       // 丁
    {Si, Wu, Chen, Chou, Wei, Mao, Mao, Wu},     // 戊
    {Wu, Wei, Si, Zi, Shen, You, Yin, Shen},     // 己
    {Shen, You, Wei, Chou, Wei, Hai, Wu, Yin},   // 庚
    {You, Xu, Shen, Wu, Yin, You, Si, Wu},       // 辛
    {Hai, Zi, Xu, Mao, Si, Xu, Wu, You},         // 壬
    {Zi, Chou, Hai, Mao, Si, Wu, Si, Hai},       // 癸
}};

// The stars that take 祿, 權, 科 and 忌, by year stem.
constexpr std::array<std::array<Star, 4>, 10> kTransformations = {{
    {Star::LianZhen, Star::PoJun, Star::WuQu, Star::TaiYang},        // 甲
    {Star::TianJi, Star::TianLiang, Star::ZiWei, Star::TaiYin},      // 乙
    {Star::TianTong, Star::TianJi, Star::WenChang, Star::LianZhen},  // 丙
    {Star::TaiYin, Star::TianTong, Star::TianJi, Star::JuMen},       // 丁
    {Star::TanLang, Star::TaiYin, Star::YouBi, Star::TianJi},        // 戊
    {Star::WuQu, Star::TanLang, Star::TianLiang, Star::WenQu},       // 己
    {Star::TaiYang, Star::WuQu, Star::TaiYin, Star::TianTong},       // 庚
    {Star::JuMen, Star::TaiYang, Star::WenQu, Star::WenChang},       // 辛
    {Star::TianLiang, Star::ZiWei, Star::ZuoFu, Star::WuQu},         // 壬
    {Star::PoJun, Star::JuMen, Star::TaiYin, Star::TanLang},         // 癸
}};

constexpr std::array<std::string_view, 4> kMarks = {kMarkLu, kMarkQuan, kMarkKe, kMarkJi};

// The first `count` UTF-8 characters of `text` (all of it when shorter).
std::string_view leadingCharacters(std::string_view text, int count) {
  std::size_t end = 0;
  for (int n = 0; n < count && end < text.size(); ++n) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

}  // namespace

std::array<PalaceNum, 5> skySFirstStarPalaces(const ChartState& chart) {
  if (!isStem(chart.YearStemNum)) return {};
  const auto& p = kStemStars[static_cast<std::size_t>(chart.YearStemNum - 1)];
  return {p[0], p[1], p[2], p[3], p[4]};
}

std::array<PalaceNum, 3> skySSecondStarPalaces(const ChartState& chart) {
  if (!isStem(chart.YearStemNum)) return {};
  const auto& p = kStemStars[static_cast<std::size_t>(chart.YearStemNum - 1)];
  return {p[5], p[6], p[7]};
}

StarList getSkySFirstStar(const ChartState& chart, PalaceNum DayNum) {
  return starsIn(kSkySFirstStars, skySFirstStarPalaces(chart), DayNum);
}

StarList getSkySSecondStar(const ChartState& chart, PalaceNum DayNum) {
  return starsIn(kSkySSecondStars, skySSecondStarPalaces(chart), DayNum);
}

std::string_view transformationMark(const ChartState& chart, Star star) {
  if (!isStem(chart.YearStemNum)) return {};
  const auto& row = kTransformations[static_cast<std::size_t>(chart.YearStemNum - 1)];
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (row[i] == star) return kMarks[i];
  }
  return kNoMark;
}

std::string getSkyOFirstStar(const ChartState& chart, std::string_view strW) {
  if (!isStem(chart.YearStemNum)) return {};
  const std::string_view name = leadingCharacters(strW, 2);
  std::string_view mark = kNoMark;
  const auto& row = kTransformations[static_cast<std::size_t>(chart.YearStemNum - 1)];
  for (std::size_t i = 0; i < row.size(); ++i) {
    if (starName(row[i]) == name) {
      mark = kMarks[i];
      break;
    }
  }
  std::string marked;
  marked.reserve(strW.size() + mark.size());
  marked += strW;
  marked += mark;
  return marked;
}

}  // namespace ziwei
