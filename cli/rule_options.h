#pragma once
// The rules of ChartOptions a user may choose. Each row is both a cast option
// (--NAME WORD) and an optional batch column (NAME; an empty field keeps the
// default). A rule with named values needs only its row here, e.g.
//   {"late-zi", "same-day|next-day", "the day of an hour-23 birth",
//    [](ChartOptions& o, std::size_t word) { o.lateZi = LateZi(word); }},

#include <array>
#include <cstddef>
#include <string_view>

#include "birth/lunar_birth.h"

namespace ziwei::cli {

struct RuleOption {
  std::string_view name;   // the option without "--", and the column
  std::string_view words;  // the allowed values, "|"-separated; the first is the default
  std::string_view help;
  void (*set)(ChartOptions&, std::size_t word);
};

inline constexpr std::array<RuleOption, 1> kRuleOptions{{
    {"late-zi", "same-day|next-day",
     "the day of a birth at 23:00-23:59 (晚子): its own (same-day, the default) or the next "
     "(next-day: the lunar date moves on one day)",
     [](ChartOptions& o, std::size_t word) { o.lateZi = LateZi(word); }},
}};

// Sets the rule named `name` (without "--") to its value `word`.
inline void setRule(ChartOptions& options, std::string_view name, std::size_t word) {
  for (const RuleOption& rule : kRuleOptions) {
    if (rule.name == name) rule.set(options, word);
  }
}

}  // namespace ziwei::cli
