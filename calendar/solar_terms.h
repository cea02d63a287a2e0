#pragma once
// The 24 solar terms (節氣), 1900..2100: the instants the Sun's apparent
// ecliptic longitude reaches a multiple of 15°, from the generated table
// solar_terms_table.inc, and the solar-term months (節月) they bound.

#include <cstdint>
#include <optional>

namespace ziwei::calendar {

// The terms in the order a Gregorian year meets them, 小寒 (285°) first and
// 冬至 (270°) last. The even ones are the 節 that begin the solar-term
// months (小寒 丑, 立春 寅, 驚蟄 卯, ... 大雪 子), the odd ones the 中氣.
enum class SolarTerm : std::uint8_t {
  XiaoHan, DaHan, LiChun, YuShui, JingZhe, ChunFen,
  QingMing, GuYu, LiXia, XiaoMan, MangZhong, XiaZhi,
  XiaoShu, DaShu, LiQiu, ChuShu, BaiLu, QiuFen,
  HanLu, ShuangJiang, LiDong, XiaoXue, DaXue, DongZhi,
};
inline constexpr int kSolarTermCount = 24;
inline constexpr int kSolarTermFirstYear = 1900;
inline constexpr int kSolarTermLastYear = 2100;

// The Sun's apparent longitude at a term, in degrees (小寒 285 ... 冬至 270).
constexpr int solarLongitude(SolarTerm term) {
  return (285 + 15 * static_cast<int>(term)) % 360;
}

// Seconds since 1970-01-01 00:00:00 UTC.
using UnixSeconds = std::int64_t;

// The instant of `term` in Gregorian year `year` (1900..2100), to the
// second. Throws CalendarError for a year outside the table.
UnixSeconds solarTermInstant(int year, SolarTerm term);

// The solar-term month holding an instant: `year` is the Gregorian year
// whose 立春 began the solar year (so 1984-01-10 is in solar year 1983),
// `month` 1 (寅, from 立春) .. 12 (丑, from 小寒 of the next Gregorian
// year).
struct SolarMonth {
  int year = 0;
  int month = 0;
  friend bool operator==(const SolarMonth&, const SolarMonth&) = default;
};

// The solar-term month of `instant`; a term's own instant belongs to the
// month it begins. Nothing before 小寒 1900 or after 2100-12-31 24:00 China
// Standard Time (小寒 2101 comes later than that in any reckoning).
std::optional<SolarMonth> solarMonthAt(UnixSeconds instant);

}  // namespace ziwei::calendar
