#include "birth/gregorian_birth.h"

#include <gtest/gtest.h>

namespace ziwei {
namespace {

using Outcome = GregorianConversion::Outcome;

RecordedBirth on(calendar::GregorianDate date, int hour, int minute, std::string zone = {}) {
  RecordedBirth record;
  record.solar = date;
  record.birth.hour = hour;
  record.birth.minute = minute;
  record.zone = std::move(zone);
  return record;
}

TEST(GregorianBirth, TellsWhatStandsInTheWay) {
  const GregorianConversion taken = convertGregorianBirth(on({2001, 6, 8}, 23, 30), kSelectorYears);
  ASSERT_EQ(taken.outcome, Outcome::Taken);
  EXPECT_EQ(taken.resolved->birth, (LunarBirth{2001, 4, true, 17, 23, 30, 0, true}));

  // Outside the caller's years, the lunar birth is still found and named.
  for (const calendar::GregorianDate date :
       {calendar::GregorianDate{1912, 2, 17}, calendar::GregorianDate{2011, 2, 3}}) {
    const GregorianConversion other = convertGregorianBirth(on(date, 0, 0), kSelectorYears);
    ASSERT_EQ(other.outcome, Outcome::OtherYear);
    EXPECT_EQ(other.resolved->birth.year, date.year == 1912 ? 1911 : 2011);
  }
  EXPECT_EQ(convertGregorianBirth(on({2011, 2, 3}, 0, 0), kCommandLineYears).outcome,
            Outcome::Taken);

  // Taiwan left summer time at midnight of 1979-09-30: 23:30 came twice.
  const GregorianConversion twice =
      convertGregorianBirth(on({1979, 9, 30}, 23, 30, "Asia/Taipei"), kSelectorYears);
  ASSERT_EQ(twice.outcome, Outcome::NeedsReading);
  EXPECT_EQ(twice.readings->kind(), LocalTime::Repeated);
  RecordedBirth chosen = on({1979, 9, 30}, 23, 30, "Asia/Taipei");
  chosen.daylight = true;
  EXPECT_EQ(convertGregorianBirth(chosen, kSelectorYears).resolved->birth.hour, 22);

  EXPECT_EQ(convertGregorianBirth(on({1900, 1, 30}, 0, 0), kSelectorYears).outcome,
            Outcome::OutsideCalendar);
  EXPECT_EQ(convertGregorianBirth(on({2001, 2, 29}, 0, 0), kSelectorYears).outcome,
            Outcome::OutsideCalendar);
  const GregorianConversion refused =
      convertGregorianBirth(on({2001, 6, 8}, 12, 0, "Asia/Taipie"), kSelectorYears);
  EXPECT_EQ(refused.outcome, Outcome::Refused);
  EXPECT_NE(refused.refusal.find("Asia/Taipie"), std::string::npos) << refused.refusal;
}

}  // namespace
}  // namespace ziwei
