#include "birth/zone_rules.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace ziwei::zone_history {
namespace {

std::int64_t utcSeconds(int y, unsigned m, unsigned d, int hour = 0, int minute = 0) {
  const std::chrono::sys_days date{std::chrono::year{y} / std::chrono::month{m} /
                                   std::chrono::day{d}};
  return date.time_since_epoch().count() * 86400 + hour * 3600 + minute * 60;
}

// The period in force at `utc`.
Period at(const std::vector<Period>& periods, std::int64_t utc) {
  Period found = periods.front();
  for (const Period& p : periods) {
    if (p.begin <= utc) found = p;
  }
  return found;
}

constexpr int h = 3600;

// A zone text in the compiler's abbreviated form, as tzdata.zi writes it.
constexpr std::string_view kText = R"(# test
R U 1967 2006 - O lastSu 2 0 S
R U 2007 ma - Mar Su>=8 2 1 D
R U 2007 ma - N Su>=1 2 0 S
Z T/East -4:56:2 - LMT 1883 N 18 17u
-5 U E%sT
L T/East T/Link
R I 1971 o - O 31 2u -1 -
R I 1972 ma - Mar lastSu 1u 0 -
R I 1972 ma - O lastSu 1u -1 -
Z T/Irish 0 - GMT 1968 O 27
1 I IST/GMT
Z T/Prague 1 - CET 1946 D 1 3
1 -1 GMT 1947 F 23 2
1 - CET
R A 1989 1993 - Mar Su>=1 0 0 -
R A 1999 o - O Su>=1 0 1 -
R A 2000 o - Mar 3 0 0 -
Z T/Arg -3 A %z 1999 O 3
-4 A %z 2000 Mar 3
-3 A %z
)";

TEST(ZoneRules, AppliesRulesToMaxUpTo2100) {
  const ZoneRules rules(kText);
  const std::vector<Period>& east = *rules.periods("T/East");
  EXPECT_EQ(at(east, utcSeconds(1880, 1, 1)).utc, -(4 * h + 56 * 60 + 2));
  // Second Sunday of March, 2:00 EST (7:00 UT), to the first Sunday of
  // November, 2:00 EDT (6:00 UT), every year.
  for (const int year : {2038, 2039, 2077, 2100}) {
    SCOPED_TRACE(year);
    using namespace std::chrono;
    const sys_days march{std::chrono::year{year} / March / Sunday[2]};
    const std::int64_t begins = march.time_since_epoch().count() * 86400 + 7 * h;
    EXPECT_EQ(at(east, begins - 1).utc, -5 * h);
    EXPECT_EQ(at(east, begins).utc, -4 * h);
    EXPECT_EQ(at(east, begins).standard, -5 * h);
    const sys_days november{std::chrono::year{year} / November / Sunday[1]};
    const std::int64_t ends = november.time_since_epoch().count() * 86400 + 6 * h;
    EXPECT_EQ(at(east, ends - 1).utc, -4 * h);
    EXPECT_EQ(at(east, ends).utc, -5 * h);
  }
  EXPECT_EQ(rules.periods("T/Link"), &east);
  EXPECT_EQ(rules.periods("T/None"), nullptr);
  EXPECT_EQ(rules.names(),
            (std::vector<std::string>{"T/East", "T/Link", "T/Irish", "T/Prague", "T/Arg"}));
}

TEST(ZoneRules, ANegativeSavingIsReadAsWinterStandardTime) {
  const ZoneRules rules(kText);
  const std::vector<Period>& irish = *rules.periods("T/Irish");
  // Winter: GMT is standard time; summer saves an hour over it.
  const Period winter = at(irish, utcSeconds(2000, 1, 15, 12));
  EXPECT_EQ(winter.utc, 0);
  EXPECT_EQ(winter.standard, 0);
  const Period summer = at(irish, utcSeconds(2000, 7, 15, 12));
  EXPECT_EQ(summer.utc, h);
  EXPECT_EQ(summer.standard, 0);
  // 1968-1971, before the first winter: standard time an hour east.
  const Period before = at(irish, utcSeconds(1970, 1, 15, 12));
  EXPECT_EQ(before.utc, h);
  EXPECT_EQ(before.standard, h);
  // A negative saving alone is standard time at its offset.
  const std::vector<Period>& prague = *rules.periods("T/Prague");
  const Period gmt = at(prague, utcSeconds(1947, 1, 10));
  EXPECT_EQ(gmt.utc, 0);
  EXPECT_EQ(gmt.standard, 0);
  EXPECT_EQ(at(prague, utcSeconds(1947, 3, 1)).standard, h);
}

TEST(ZoneRules, ARuleAtTheWallClockStartOfALineHoldsFromItsStart) {
  // 1999-10-03 00:00 -03 became -04 with an hour saved: the clock stayed at -03.
  const ZoneRules rules(kText);
  const std::vector<Period>& arg = *rules.periods("T/Arg");
  const Period across = at(arg, utcSeconds(1999, 10, 3, 3, 30));
  EXPECT_EQ(across.utc, -3 * h);
  EXPECT_EQ(across.standard, -4 * h);
  EXPECT_EQ(at(arg, utcSeconds(1999, 10, 3, 2, 59)).standard, -3 * h);
  EXPECT_EQ(at(arg, utcSeconds(2000, 3, 3, 12)).standard, -3 * h);
}

TEST(ZoneRules, RefusesTextOutOfTheFormatNamingTheLine) {
  const auto refusal = [](std::string_view text) -> std::string {
    try {
      const ZoneRules rules(text);
      (void)rules.periods("T/Z");
    } catch (const ZoneTextError& error) {
      return error.what();
    }
    return "(accepted)";
  };
  EXPECT_EQ(refusal("R X 2000 o - Mq 1 0 1 -\n"), "time-zone text, line 1: not a month \"Mq\"");
  EXPECT_EQ(refusal("# x\nR X 2000 o - Ma 1 0 1 -\n"),
            "time-zone text, line 2: ambiguous month \"Ma\"");
  EXPECT_EQ(refusal("Z T/Z 1 - X 2000\n"), "time-zone text: the last zone line has an end");
  EXPECT_EQ(refusal("Q T/Z 1 - X\n"), "time-zone text, line 1: not a line kind \"Q\"");
  EXPECT_EQ(refusal("Z T/Z 1 Nope X\n"), "time-zone text: no rule named \"Nope\"");
}

}  // namespace
}  // namespace ziwei::zone_history
