#pragma once
// The rules of ChartOptions a user may choose, listed once. Each row yields
// the cast option (--NAME WORD), the batch column (NAME; an empty field keeps
// the default), the JSON "options" entry (written only for a value other
// than the default), the --help line and the desktop setting (its key). The
// first word is the default, the rule this program has always cast by. A rule
// with named values needs only its row here, e.g.
//   {"late-zi", "same-day|next-day", "the day of an hour-23 birth", "rules/lateZi",
//    [](ChartOptions& o, std::size_t word) { o.lateZi = LateZi(word); },
//    [](const ChartOptions& o) { return std::size_t(o.lateZi); }},

#include <array>
#include <cstddef>
#include <string_view>

#include "chart/request.h"

namespace ziwei {

struct RuleOption {
  std::string_view name;    // the option without "--", the column and the JSON key
  std::string_view words;   // the allowed values, "|"-separated; the first is the default
  std::string_view help;    // the --help text
  std::string_view setting;  // the desktop's settings key
  void (*set)(ChartOptions&, std::size_t word);
  std::size_t (*get)(const ChartOptions&);
};

inline constexpr std::array<RuleOption, 1> kRuleOptions{{
    {"late-zi", "same-day|next-day",
     "the day of a birth at 23:00-23:59 (晚子): its own (same-day, the default) or the next "
     "(next-day: the lunar date moves on one day)",
     "rules/lateZi", [](ChartOptions& o, std::size_t word) { o.lateZi = LateZi(word); },
     [](const ChartOptions& o) { return static_cast<std::size_t>(o.lateZi); }},
}};

// The word number `word` of a rule (empty past its last).
constexpr std::string_view ruleWord(const RuleOption& rule, std::size_t word) {
  std::string_view words = rule.words;
  for (; word > 0; --word) {
    const std::size_t bar = words.find('|');
    if (bar == std::string_view::npos) return {};
    words.remove_prefix(bar + 1);
  }
  return words.substr(0, words.find('|'));
}

// The number of `text` among a rule's words, or the number of words when it
// is none of them.
constexpr std::size_t ruleWordNumber(const RuleOption& rule, std::string_view text) {
  std::size_t n = 0;
  for (; !ruleWord(rule, n).empty(); ++n) {
    if (ruleWord(rule, n) == text) return n;
  }
  return n;
}

// The rule named `name`, if any.
constexpr const RuleOption* ruleNamed(std::string_view name) {
  for (const RuleOption& rule : kRuleOptions) {
    if (rule.name == name) return &rule;
  }
  return nullptr;
}

// Sets the rule named `name` (without "--") to its value `word`.
constexpr void setRule(ChartOptions& options, std::string_view name, std::size_t word) {
  if (const RuleOption* rule = ruleNamed(name)) rule->set(options, word);
}

static_assert(ruleWord(kRuleOptions[0], 1) == "next-day" &&
              ruleWordNumber(kRuleOptions[0], "same-day") == 0 &&
              ruleWordNumber(kRuleOptions[0], "late") == 2);

}  // namespace ziwei
