// Prints every zone's changes of offset from 1900 to 2100 as `zdump -i -c
// 1900,2101` prints them (without the abbreviations), for run_verify.sh.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "birth/zone_history.h"

namespace {

using ziwei::zone_history::Period;

// "+08", "-0330", "+003439".
std::string offsetText(int offset) {
  const int magnitude = std::abs(offset);
  char text[16];
  const int h = magnitude / 3600;
  const int m = magnitude / 60 % 60;
  const int s = magnitude % 60;
  const char sign = offset < 0 ? '-' : '+';
  if (s != 0) {
    std::snprintf(text, sizeof text, "%c%02d%02d%02d", sign, h, m, s);
  } else if (m != 0) {
    std::snprintf(text, sizeof text, "%c%02d%02d", sign, h, m);
  } else {
    std::snprintf(text, sizeof text, "%c%02d", sign, h);
  }
  return text;
}

// "1918-03-31\t03", "1916-10-01\t02:25:21".
std::string localText(std::int64_t seconds) {
  const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
  const auto inDay = static_cast<int>(seconds - days * 86400);
  const std::chrono::year_month_day date{
      std::chrono::sys_days{std::chrono::days{static_cast<int>(days)}}};
  char text[48];
  const int h = inDay / 3600;
  const int m = inDay / 60 % 60;
  const int s = inDay % 60;
  const int n =
      std::snprintf(text, sizeof text, "%04d-%02u-%02u\t%02d", static_cast<int>(date.year()),
                    static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()), h);
  if (s != 0) {
    std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), ":%02d:%02d", m, s);
  } else if (m != 0) {
    std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), ":%02d", m);
  }
  return text;
}

std::string line(const std::string& when, const Period& p) {
  return when + "\t" + offsetText(p.utc) + (p.utc != p.standard ? "\t1" : "");
}

}  // namespace

int main() {
  constexpr std::int64_t kFirst = -2208988800;  // 1900-01-01 00:00 UTC
  constexpr std::int64_t kEnd = 4133980800;     // 2101-01-01 00:00 UTC
  for (const std::string& name : ziwei::zone_history::zoneNames()) {
    const auto& periods = ziwei::zone_history::zonePeriods(name);
    std::printf("TZ=\"%s\"\n", name.c_str());
    std::size_t i = 0;
    while (i + 1 < periods.size() && periods[i + 1].begin <= kFirst) ++i;
    std::printf("%s\n", line("-\t-", periods[i]).c_str());
    for (++i; i < periods.size() && periods[i].begin < kEnd; ++i) {
      std::printf("%s\n", line(localText(periods[i].begin + periods[i].utc), periods[i]).c_str());
    }
  }
  return 0;
}
