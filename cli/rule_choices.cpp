#include "cli/rule_choices.h"

#include "cli/rules_file.h"

namespace ziwei::cli {

namespace {

void note(RuleChoices& choices, const OptionValue& value) {
  choices.texts.emplace_back(value.option.substr(2), value.text);
}

}  // namespace

void chooseRule(RuleChoices& choices, const OptionValue& value) {
  if (const RuleOption* rule = ruleNamed(value.option.substr(2))) {
    rule->set(choices.options, value.word);
    choices.birthTimeGiven |= rule->birthTime;
  }
  note(choices, value);
}

void chooseTransformation(RuleChoices& choices, const OptionValue& value) {
  if (auto error = setTransformationText(choices.options, value.text)) {
    throw Refusal{std::string(value.option) + ": " + *error};
  }
  note(choices, value);
}

void chooseRulesFile(RuleChoices& choices, const OptionValue& value) {
  choices.file = std::string(value.text);
}

void settleRules(RuleChoices& choices) {
  if (!choices.file) return;
  ChartOptions rules = readRulesFile("--rules", *choices.file);
  for (const auto& [name, value] : choices.texts) {
    if (name == kTransformationRule) {
      (void)setTransformationText(rules, value);
    } else if (const RuleOption* rule = ruleNamed(name)) {
      rule->set(rules, ruleWordNumber(*rule, value));
    }
  }
  for (const RuleOption& rule : kRuleOptions) {
    if (rule.birthTime && rule.get(rules) != 0) choices.birthTimeGiven = true;
  }
  choices.options = rules;
}

}  // namespace ziwei::cli
