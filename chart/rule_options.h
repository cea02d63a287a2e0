#pragma once
// The rules of ChartOptions a user may choose, listed once. Each row yields
// the cast option (--NAME WORD), the batch column (NAME; an empty field keeps
// the default), the JSON "options" entry (written only for a value other
// than the default), the --help line and the desktop setting (its key). The
// first word is the default, the rule this program has always cast by. A rule
// with named values needs only its row here (enumRule below). The table of
// the four transformations is a rule of another shape: rules/rule_text.h
// reads and writes it.

#include <array>
#include <cstddef>
#include <string_view>
#include <type_traits>

#include "chart/request.h"

namespace ziwei {

struct RuleOption {
  std::string_view name;        // the option without "--", the column and the JSON key
  std::string_view words;       // the allowed values, "|"-separated; the first is the default
  std::string_view help;        // the --help text
  std::string_view setting;     // the desktop's settings key
  std::string_view title;       // the desktop's label of the rule
  std::string_view wordTitles;  // the desktop's labels of the words, "|"-separated
  // The birth-time resolution applies it (the JSON "input" then records the
  // steps, even for the default).
  bool birthTime;
  void (*set)(ChartOptions&, std::size_t word);
  std::size_t (*get)(const ChartOptions&);
};

// The row of a rule that is a member `M` of ChartOptions of enum type E, its
// words in the enum's order.
template <auto M>
constexpr RuleOption enumRule(std::string_view name, std::string_view words, std::string_view help,
                              std::string_view setting, std::string_view title,
                              std::string_view wordTitles, bool birthTime = false) {
  using E = std::remove_cvref_t<decltype(ChartOptions{}.*M)>;
  return {name,
          words,
          help,
          setting,
          title,
          wordTitles,
          birthTime,
          [](ChartOptions& o, std::size_t word) { o.*M = static_cast<E>(word); },
          [](const ChartOptions& o) { return static_cast<std::size_t>(o.*M); }};
}

inline constexpr std::array<RuleOption, 8> kRuleOptions{{
    enumRule<&ChartOptions::lateZi>(
        "late-zi", "same-day|next-day",
        "the day of a birth at 23:00-23:59 (晚子): its own (same-day, the default) or the next "
        "(next-day: the lunar date moves on one day)",
        "rules/lateZi", "晚子時 (23 時)", "算當日|算次日", true),
    enumRule<&ChartOptions::yearBoundary>(
        "year-boundary", "new-year|spring",
        "when the birth year's stem and branch change: at 正月初一 (new-year, the default) or "
        "at the instant of 立春 (spring); the lunar date stays",
        "rules/yearBoundary", "生年干支之界", "正月初一|立春"),
    enumRule<&ChartOptions::periodBoundary>(
        "period-boundary", "lunar|solar-terms",
        "when the running year and month (流年, 流月) change: at 正月初一 and each lunar "
        "month (lunar, the default) or at 立春 and each 節 (solar-terms)",
        "rules/periodBoundary", "流年流月之界", "正月初一與農曆月|立春與各節"),
    enumRule<&ChartOptions::age>(
        "age", "nominal|birthday",
        "the age of the decade and the minor period: nominal (虛歲, the default) or one less "
        "until the lunar birthday in the target's year (birthday)",
        "rules/age", "歲數", "虛歲|過生日加一歲"),
    enumRule<&ChartOptions::leapMonth>(
        "leap-month", "split|this|next",
        "how a leap month counts, for the birth and the running month: as its own month to "
        "day 15 and the next from day 16 (split, the default), wholly as the month before it "
        "(this) or wholly as the next (next)",
        "rules/leapMonth", "閏月", "十五日前本月、後下月|全作本月|全作下月"),
    enumRule<&ChartOptions::lifeMaster>(
        "life-master", "palace|year",
        "命主 by the Life palace's branch (palace, the default) or by the birth year's branch "
        "(year)",
        "rules/lifeMaster", "命主", "依命宮地支|依生年地支"),
    enumRule<&ChartOptions::tianShangTianShi>(
        "tianshang-tianshi", "fixed|polarity",
        "天傷 in the 僕役宮 and 天使 in the 疾厄宮 (fixed, the default), or the two swapped "
        "for 陰男 and 陽女 (polarity)",
        "rules/tianShangTianShi", "天傷天使", "固定|陰男陽女互換"),
    enumRule<&ChartOptions::runningStems>(
        "running-stems", "natal|five-tigers",
        "the stems of a running level's palaces, for their flying transformations: the natal "
        "palaces' (natal, the default) or, for the year, month, day and hour, by the five "
        "tigers from the level's own stem (five-tigers)",
        "rules/runningStems", "運限宮干", "本命宮干|依運限干五虎遁"),
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
