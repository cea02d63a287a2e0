#include "rules/rule_text.h"

#include <array>

#include "chart/rule_options.h"

namespace ziwei {

namespace {

constexpr std::array<const Vocabulary*, 3> kReadVocabularies{&kZhHant, &kZhHans, &kEnglish};

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::optional<std::size_t> stemNamed(std::string_view name) {
  for (const Vocabulary* words : kReadVocabularies) {
    for (std::size_t i = 0; i < words->stems.size(); ++i) {
      if (words->stems[i] == name) return i;
    }
  }
  return std::nullopt;
}

std::optional<Star> transformableNamed(std::string_view name) {
  for (const Vocabulary* words : kReadVocabularies) {
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

}  // namespace

std::optional<std::string> setTransformationText(ChartOptions& options, std::string_view text) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    return "'" + std::string(text) + "' is not STEM=S1,S2,S3,S4 (祿, 權, 科, 忌)";
  }
  const std::string_view stemText = trimmed(text.substr(0, equals));
  const std::optional<std::size_t> stem = stemNamed(stemText);
  if (!stem) return "'" + std::string(stemText) + "' is not a stem (甲 .. 癸)";
  std::array<Star, 4> row{};
  std::string_view rest = text.substr(equals + 1);
  for (std::size_t i = 0; i < row.size(); ++i) {
    const std::size_t comma = rest.find(',');
    if ((comma == std::string_view::npos) != (i + 1 == row.size())) {
      return "'" + std::string(text) + "' does not name four stars (祿, 權, 科, 忌)";
    }
    const std::string_view name = trimmed(rest.substr(0, comma));
    const std::optional<Star> star = transformableNamed(name);
    if (!star) {
      return "'" + std::string(name) +
             "' is not a star a stem transforms; allowed: " + allowedStars();
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (row[j] == *star)
        return "'" + std::string(text) + "' names " + std::string(name) + " twice";
    }
    row[i] = *star;
    if (comma != std::string_view::npos) rest.remove_prefix(comma + 1);
  }
  options.transformations[*stem] = row;
  return std::nullopt;
}

std::optional<std::string> setTransformationsText(ChartOptions& options, std::string_view text) {
  ChartOptions read = options;
  while (!trimmed(text).empty()) {
    const std::size_t semicolon = text.find(';');
    if (auto error = setTransformationText(read, text.substr(0, semicolon))) return error;
    if (semicolon == std::string_view::npos) break;
    text.remove_prefix(semicolon + 1);
  }
  options = read;
  return std::nullopt;
}

std::string transformationsText(const ChartOptions& options, const Vocabulary& words) {
  std::string text;
  for (std::size_t stem = 0; stem < options.transformations.size(); ++stem) {
    if (options.transformations[stem] == kTransformations[stem]) continue;
    if (!text.empty()) text += ';';
    text += words.stems[stem];
    text += '=';
    for (std::size_t i = 0; i < 4; ++i) {
      if (i > 0) text += ',';
      text += words(options.transformations[stem][i]);
    }
  }
  return text;
}

std::optional<RulesFileError> readRulesText(std::string_view text, ChartOptions& options) {
  ChartOptions read = options;
  std::size_t number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    line = trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      return RulesFileError{number, "'" + std::string(line) + "' is not NAME = WORD"};
    }
    const std::string_view name = trimmed(line.substr(0, equals));
    const std::string_view word = trimmed(line.substr(equals + 1));
    if (name == kTransformationRule) {
      if (auto error = setTransformationText(read, word)) return RulesFileError{number, *error};
      continue;
    }
    const RuleOption* rule = ruleNamed(name);
    if (rule == nullptr) {
      return RulesFileError{number, "'" + std::string(name) + "' is not a rule"};
    }
    const std::size_t n = ruleWordNumber(*rule, word);
    if (ruleWord(*rule, n).empty()) {
      return RulesFileError{number, "'" + std::string(word) + "' is not a value of " +
                                        std::string(name) + " (" + std::string(rule->words) + ")"};
    }
    rule->set(read, n);
  }
  options = read;
  return std::nullopt;
}

std::string rulesFileText(const ChartOptions& options) {
  std::string text = "# chart rules\n";
  for (const RuleOption& rule : kRuleOptions) {
    const std::size_t word = rule.get(options);
    if (word == 0) continue;
    text += std::string(rule.name) + " = " + std::string(ruleWord(rule, word)) + "\n";
  }
  for (std::size_t stem = 0; stem < options.transformations.size(); ++stem) {
    if (options.transformations[stem] == kTransformations[stem]) continue;
    ChartOptions one;
    one.transformations[stem] = options.transformations[stem];
    text += std::string(kTransformationRule) + " = " + transformationsText(one) + "\n";
  }
  return text;
}

}  // namespace ziwei
