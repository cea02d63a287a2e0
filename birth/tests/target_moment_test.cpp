#include "birth/target_moment.h"

#include <gtest/gtest.h>

#include <string>

namespace ziwei {
namespace {

using T = TargetTexts;

TEST(TargetMoment, ReadsBothFormsOfADate) {
  // 2023-04-06 is lunar 2023, leap month 2, day 16.
  const TargetMoment leapDay{{2023, 2, true, 16}, {2023, 4, 6}, ClockOfDay{23, 59}};
  EXPECT_EQ(readTarget(T{"2023-04-06", {}, false, "23:59"}), leapDay);
  EXPECT_EQ(readTarget(T{{}, "2023-2-16", true, "23:59"}), leapDay);
  EXPECT_EQ(readTarget(T{{}, "2023-02-16", true, {}}),
            (TargetMoment{{2023, 2, true, 16}, {2023, 4, 6}, std::nullopt}));
  EXPECT_EQ(readTargetField("lunar 2023-2-16 leap 23:59"), leapDay);
  EXPECT_EQ(readTargetField("2023-04-06 23:59"), leapDay);
  EXPECT_EQ(readTargetField("1900-01-31")->lunar, (LunarDay{1900, 1, false, 1}));
  EXPECT_EQ(readTargetField("2100-12-31")->lunar, (LunarDay{2100, 12, false, 1}));
  EXPECT_EQ(readTarget({}), std::nullopt);
  EXPECT_EQ(readTargetField(""), std::nullopt);
}

// Each refusal names the part and what is allowed.
TEST(TargetMoment, RefusesBadTargets) {
  const std::string solar = "(allowed: YYYY-MM-DD from 1900-01-31 to 2100-12-31)";
  const std::string time = "(allowed: HH:MM from 00:00 to 23:59)";
  const std::string lunar =
      "(allowed: Y-M-D, lunar years 1900 to 2100, months 1 to 12, days 1 to 30)";
  const std::string field =
      "(allowed: [lunar] DATE [leap] [HH:MM], e.g. 2026-05-14 13:30 or lunar 2026-3-28)";
  const struct {
    TargetTexts texts;
    std::string message;
  } cases[] = {
      {T{"2026-13-01", {}, false, {}}, "on: \"2026-13-01\" is not an existing date " + solar},
      {T{"1900-01-30", {}, false, {}}, "on: \"1900-01-30\" is not allowed " + solar},
      {T{"2026-05-14", {}, false, "9:30"}, "on-time: \"9:30\" is not a clock time " + time},
      {T{"2026-05-14", {}, false, "09:60"}, "on-time: \"09:60\" is not a clock time " + time},
      {T{{}, "2026/3/28", false, {}}, "on-lunar: \"2026/3/28\" is not a lunar date " + lunar},
      {T{{}, "2026-3-", false, {}}, "on-lunar: \"2026-3-\" is not a lunar date " + lunar},
      {T{{}, "-2026-3-1", false, {}}, "on-lunar: \"-2026-3-1\" is not a lunar date " + lunar},
      {T{{}, "2023-3-10", true, {}},
       "on-lunar: lunar 2023, leap month 3, day 10: lunar year 2023 has no leap month 3 (its "
       "leap month is 2)"},
      {T{{}, "2026-2-30", false, {}},
       "on-lunar: lunar 2026, month 2, day 30: the day is not allowed (allowed: days 1 to 29 of "
       "that month)"},
      {T{{}, "1899-12-1", false, {}},
       "on-lunar: lunar 1899, month 12, day 1: the year is outside the supported range 1900..2100"},
      {T{{}, "2100-12-2", false, {}},
       "on-lunar: lunar 2100, month 12, day 2 falls on 2101-01-01, outside the supported range "
       "1900-01-31..2100-12-31"},
      {T{"2026-05-14", {}, true, {}},
       "on-leap: marks the month of a lunar date (allowed: with --on-lunar)"},
  };
  for (const auto& c : cases) {
    try {
      readTarget(c.texts);
      ADD_FAILURE() << "accepted: " << c.message;
    } catch (const TargetError& e) {
      EXPECT_EQ(e.what(), c.message);
      EXPECT_EQ(std::string(e.field()) + ": " + std::string(e.detail()), c.message);
    }
  }
  const auto fieldRefusal = [](std::string_view text) {
    try {
      readTargetField(text);
    } catch (const TargetError& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  for (const std::string_view bad :
       {"lunar", "lunar 2026-3-28 13:30 x", "2026-05-14  13:30", " 2026-05-14"}) {
    EXPECT_EQ(fieldRefusal(bad), "on: \"" + std::string(bad) + "\" is not a target " + field);
  }
  // The field form names the part's problem under its own name.
  EXPECT_EQ(fieldRefusal("2026-05-14 25:00"), "on: \"25:00\" is not a clock time " + time);
}

}  // namespace
}  // namespace ziwei
