#include "rules/rule_text.h"

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "chart/rule_options.h"

namespace ziwei {

namespace {

constexpr std::array<const Vocabulary*, kLanguageCount> kVocabularies = {&kZhHant, &kZhHans,
                                                                         &kEnglish};

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<Stem> stemNamed(std::string_view name) {
  for (const Vocabulary* words : kVocabularies) {
    for (std::size_t i = 0; i < words->stems.size(); ++i) {
      if (words->stems[i] == name) return Stem(static_cast<int>(i) + 1);
    }
  }
  return std::nullopt;
}

std::optional<Star> transformableNamed(std::string_view name) {
  for (const Vocabulary* words : kVocabularies) {
    for (const Star star : kTransformableStars) {
      if ((*words)(star) == name) return star;
    }
  }
  return std::nullopt;
}

std::string allowedStars() {
  std::string names;
  for (const Star star : kTransformableStars) {
    if (!names.empty()) names += ' ';
    names += kZhHant(star);
  }
  return names;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

std::optional<std::string> setTransformationText(ChartOptions& options, std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    return quoted(text) + " is not STEM=S1,S2,S3,S4 (the stars of 祿, 權, 科 and 忌)";
  }
  const std::string_view stemText = trimmed(text.substr(0, equals));
  const std::optional<Stem> stem = stemNamed(stemText);
  if (!stem) return quoted(stemText) + " is not a stem: 甲 乙 丙 丁 戊 己 庚 辛 壬 癸";
  std::array<Star, 4> row{};
  std::string_view rest = text.substr(equals + 1);
  for (std::size_t i = 0; i < row.size(); ++i) {
    const std::size_t comma = rest.find(',');
    const std::string_view name = trimmed(rest.substr(0, comma));
    if (name.empty() || (i + 1 < row.size()) == (comma == std::string_view::npos)) {
      return quoted(text) + " does not name four stars, in the order 祿, 權, 科, 忌";
    }
    const std::optional<Star> star = transformableNamed(name);
    if (!star) {
      return quoted(name) + " cannot be transformed; the stars allowed: " + allowedStars();
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (row[j] == *star) return quoted(text) + " names " + std::string(name) + " twice";
    }
    row[i] = *star;
    rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
  }
  options.transformations[stem->index()] = row;
  return std::nullopt;
}

std::optional<std::string> setTransformationsText(ChartOptions& options, std::string_view text) {
  ChartOptions changed = options;
  while (!trimmed(text).empty()) {
    const std::size_t semicolon = text.find(';');
    if (auto error = setTransformationText(changed, text.substr(0, semicolon))) return error;
    text.remove_prefix(semicolon == std::string_view::npos ? text.size() : semicolon + 1);
  }
  options = changed;
  return std::nullopt;
}

namespace {

// "STEM=S1,S2,S3,S4" of each stem whose row differs from this program's
// table, in stem order.
std::vector<std::string> changedStems(const ChartOptions& options, const Vocabulary& words) {
  std::vector<std::string> stems;
  for (std::size_t stem = 0; stem < kTransformations.size(); ++stem) {
    const auto& row = options.transformations[stem];
    if (row == kTransformations[stem]) continue;
    std::string text = std::string(words.stems[stem]) + '=';
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += ',';
      text += words(row[i]);
    }
    stems.push_back(std::move(text));
  }
  return stems;
}

}  // namespace

std::string transformationsText(const ChartOptions& options, const Vocabulary& words) {
  std::string text;
  for (const std::string& stem : changedStems(options, words)) {
    if (!text.empty()) text += ';';
    text += stem;
  }
  return text;
}

std::optional<RulesFileError> readRulesText(std::string_view text, ChartOptions& options) {
  ChartOptions read = options;
  std::size_t lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    line = trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      return RulesFileError{lineNumber, quoted(line) + " is not NAME = WORD"};
    }
    const std::string_view name = trimmed(line.substr(0, equals));
    const std::string_view word = trimmed(line.substr(equals + 1));
    if (name == kTransformationRule) {
      if (auto error = setTransformationText(read, word)) {
        return RulesFileError{lineNumber, std::move(*error)};
      }
      continue;
    }
    const RuleOption* rule = ruleNamed(name);
    if (!rule) {
      std::string names;
      for (const RuleOption& known : kRuleOptions) names += std::string(known.name) + ", ";
      return RulesFileError{lineNumber, quoted(name) + " is not a rule; the rules: " + names +
                                            std::string(kTransformationRule)};
    }
    const std::size_t number = ruleWordNumber(*rule, word);
    if (ruleWord(*rule, number).empty()) {
      return RulesFileError{lineNumber,
                            std::string(name) + ": " + quoted(word) +
                                " is not allowed; allowed: " + std::string(rule->words)};
    }
    rule->set(read, number);
  }
  options = read;
  return std::nullopt;
}

std::string rulesFileText(const ChartOptions& options) {
  std::string text = "# Chart rules: NAME = WORD; a rule not named keeps its default.\n";
  for (const RuleOption& rule : kRuleOptions) {
    const std::size_t word = rule.get(options);
    if (word == 0) continue;
    text += std::string(rule.name) + " = " + std::string(ruleWord(rule, word)) + "\n";
  }
  for (const std::string& stem : changedStems(options, kZhHant)) {
    text += std::string(kTransformationRule) + " = " + stem + "\n";
  }
  return text;
}

}  // namespace ziwei
