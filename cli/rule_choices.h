#pragma once
// The rule options of the commands that cast (chart/rule_options.h lists the
// rules): --NAME WORD for each rule, --transformation STEM=S1,S2,S3,S4 and
// --rules FILE, read into one RuleChoices and settled once the whole command
// line is read.

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "chart/request.h"
#include "chart/rule_options.h"
#include "cli/options.h"
#include "rules/rule_text.h"

namespace ziwei::cli {

struct RuleChoices {
  ChartOptions options;         // the rules the options set, over the defaults
  bool birthTimeGiven = false;  // a birth-time rule was given, even as its default
  // The rules given as options (name without "--", value), in their order,
  // applied over those of the rules file.
  std::vector<std::pair<std::string, std::string>> texts;
  std::optional<std::string> file;  // --rules
};

// What the rows' setters do; throw a Refusal for a bad --transformation.
void chooseRule(RuleChoices& choices, const OptionValue& value);
void chooseTransformation(RuleChoices& choices, const OptionValue& value);
void chooseRulesFile(RuleChoices& choices, const OptionValue& value);

// The rows of the rule options for a command whose options keep their
// RuleChoices at `Member`.
template <class Target, RuleChoices Target::*Member>
constexpr std::array<OptionRow<Target>, kRuleOptions.size() + 2> ruleRows() {
  std::array<OptionRow<Target>, kRuleOptions.size() + 2> rows{};
  for (std::size_t i = 0; i < kRuleOptions.size(); ++i) {
    rows[i] = {
        kRuleOptions[i].name, 0,
        Shape::Word,          kRuleOptions[i].words,
        kRuleOptions[i].help, [](Target& o, const OptionValue& v) { chooseRule(o.*Member, v); }};
  }
  rows[kRuleOptions.size()] = {
      kTransformationRule,
      0,
      Shape::Text,
      "STEM=S1,S2,S3,S4",
      "the four stars stem STEM transforms, in the order 祿, 權, 科, 忌, for the natal chart, "
      "the palace stems and every running level (repeat it for several stems): four different "
      "stars among the fourteen main stars, 文昌, 文曲, 左輔 and 右弼, e.g. 戊=貪狼,太陰,太陽,天機",
      [](Target& o, const OptionValue& v) { chooseTransformation(o.*Member, v); }};
  rows[kRuleOptions.size() + 1] = {
      "rules",
      0,
      Shape::Path,
      "FILE",
      "read the rules from FILE, lines NAME = WORD (NAME a rule option without --, or "
      "transformation = STEM=S1,S2,S3,S4; # begins a comment); the options given win",
      [](Target& o, const OptionValue& v) { chooseRulesFile(o.*Member, v); }};
  return rows;
}

// Reads the rules file, when one was given, and sets `choices.options` to its
// rules with those given as options over them. Throws the file's Refusal.
void settleRules(RuleChoices& choices);

}  // namespace ziwei::cli
