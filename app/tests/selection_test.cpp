#include "app/selection.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace ziwei::desktop {
namespace {

TEST(Selection, ReadsEveryField) {
  const BirthSelection s{"1984", "012", " 閏 ", "20", "23", "7", "59", false};
  EXPECT_EQ(readSelection(s), (LunarBirth{1984, 12, true, 20, 23, 7, 59, false}));
  EXPECT_EQ(readSelection(BirthSelection{}), LunarBirth{});
}

// Every field refuses what its selector would not offer, naming the field.
TEST(Selection, RefusesWhatTheSelectorsDoNotOffer) {
  const auto refusal = [](BirthSelection s, YearRange range = kSelectorYears) -> std::string {
    try {
      readSelection(s, range);
    } catch (const SelectionError& e) {
      return e.field() + "|" + e.given() + "|" + e.allowed();
    }
    return "accepted";
  };
  const BirthSelection good;
  const auto with = [&](std::string BirthSelection::*field, std::string text) {
    BirthSelection s = good;
    s.*field = std::move(text);
    return s;
  };
  using S = BirthSelection;
  const struct {
    std::string S::*field;
    const char* name;
    const char* allowed;
    std::vector<std::string> bad;
  } fields[] = {
      {&S::year,
       "year",
       "1912 to 2010",
       {"1911", "2011", "2100", "99999999999", "", "1e3", " 2000", "-2000", "２０００"}},
      {&S::month, "month", "1 to 12", {"0", "13", "12abc"}},
      {&S::leap, "leap", "正 or 閏", {"", "閏月", "　閏"}},  // ideographic blank
      {&S::day, "day", "1 to 30", {"0", "31", " "}},
      {&S::hour, "hour", "0 to 23", {"24", "+1"}},
      {&S::minute, "minute", "0 to 59", {"60", "5.5"}},
      {&S::second, "second", "0 to 59", {"60", "0x1"}},
  };
  for (const auto& f : fields) {
    for (const std::string& text : f.bad) {
      EXPECT_EQ(refusal(with(f.field, text)), std::string(f.name) + "|" + text + "|" + f.allowed);
    }
  }
  EXPECT_EQ(refusal(good), "accepted");
  EXPECT_EQ(refusal(with(&S::month, "012")), "accepted");
  EXPECT_EQ(refusal(with(&S::leap, "  正 ")), "accepted");
  EXPECT_EQ(refusal(with(&S::year, "2100"), {1912, 2100}), "accepted");
  EXPECT_EQ(refusal(with(&S::year, "2101"), {1912, 2100}), "year|2101|1912 to 2100");

  // The first bad field is the one named.
  BirthSelection twoBad = with(&BirthSelection::day, "99");
  twoBad.second = "99";
  EXPECT_EQ(refusal(twoBad), "day|99|1 to 30");

  try {
    readSelection(with(&BirthSelection::year, "1800"));
    ADD_FAILURE() << "1800 accepted";
  } catch (const SelectionError& e) {
    EXPECT_STREQ(e.what(), "year: \"1800\" is not allowed (allowed: 1912 to 2010)");
  }
  try {
    readSelection(with(&BirthSelection::leap, "x\n\"y"));
    ADD_FAILURE() << "bad leap flag accepted";
  } catch (const SelectionError& e) {
    EXPECT_STREQ(e.what(), "leap: \"x\\x0A\"y\" is not allowed (allowed: 正 or 閏)");
    EXPECT_EQ(e.given(), "x\n\"y");
  }
}

}  // namespace
}  // namespace ziwei::desktop
