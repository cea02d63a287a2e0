#include "find/condition_text.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "text/close_names.h"
#include "unicode/utf8.h"
#include "vocabulary/vocabulary.h"

namespace ziwei::find {

namespace {

constexpr std::array<const Vocabulary*, 3> kVocabularies = {&kZhHant, &kZhHans, &kEnglish};
constexpr std::array<std::string_view, 2> kPalaceSuffixes = {"宮", "宫"};  // zh-Hant, zh-Hans
constexpr std::string_view kTransformationPrefix = "化";

// A name the text may use, with what it stands for and the name a message
// suggests for it (the whole palace name for 命, say).
template <class Meaning>
struct Named {
  std::string name;
  Meaning meaning;
  std::string_view shown;
};

// A star or a transformation.
struct Item {
  std::optional<Star> star;
  Transformation transformation = Transformation::None;
  friend bool operator==(const Item&, const Item&) = default;
};

struct Names {
  std::vector<Named<PalaceChoice>> palaces;
  std::vector<Named<Item>> items;
};

template <class Meaning>
void addName(std::vector<Named<Meaning>>& list, std::string name, Meaning meaning,
             std::string_view shown) {
  list.push_back({foldAsciiCase(name), meaning, shown});
}

// A palace name and, when it ends in 宮, the name without it.
void addPalace(Names& names, std::string_view name, PalaceChoice choice) {
  addName(names.palaces, std::string(name), choice, name);
  for (const std::string_view suffix : kPalaceSuffixes) {
    if (name.size() > suffix.size() && name.ends_with(suffix)) {
      addName(names.palaces, std::string(name.substr(0, name.size() - suffix.size())), choice,
              name);
    }
  }
}

const Names& names() {
  static const Names all = [] {
    Names n;
    for (const Vocabulary* words : kVocabularies) {
      for (std::size_t role = 0; role < kPalaceRoleCount; ++role) {
        addPalace(n, words->palaces[role],
                  {PalaceBy::Role, static_cast<PalaceRole>(role), PalaceNum{}});
      }
      addPalace(n, words->bodyPalace, {PalaceBy::Body, PalaceRole::Life, PalaceNum{}});
      // A branch, or the branch and 宮: 午宮 is the palace at 午.
      for (const PalaceNum palace : kPalaces) {
        const std::string_view branch = (*words)(branchOf(palace));
        const PalaceChoice choice{PalaceBy::Branch, PalaceRole::Life, palace};
        addName(n.palaces, std::string(branch), choice, branch);
        if (words->language != Language::En) {
          for (const std::string_view suffix : kPalaceSuffixes) {
            addName(n.palaces, std::string(branch) + std::string(suffix), choice, branch);
          }
        }
      }
      for (std::size_t star = 0; star < kStarCount; ++star) {
        addName(n.items, std::string(words->stars[star]), Item{static_cast<Star>(star)},
                words->stars[star]);
      }
      for (const Transformation kind : kFourTransformations) {
        const std::string_view word = (*words)(kind);
        addName(n.items, std::string(word), Item{std::nullopt, kind}, word);
        if (words->language != Language::En) {
          addName(n.items, std::string(kTransformationPrefix) + std::string(word),
                  Item{std::nullopt, kind}, word);
        }
      }
    }
    return n;
  }();
  return all;
}

template <class Meaning>
const Named<Meaning>* lookUp(const std::vector<Named<Meaning>>& list, std::string_view word) {
  const std::string folded = foldAsciiCase(word);
  for (const Named<Meaning>& entry : list) {
    if (entry.name == folded) return &entry;
  }
  return nullptr;
}

bool ascii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::size_t characters(std::string_view text) {
  std::size_t count = 0;
  while (!text.empty()) {
    (void)takeCodePoint(text);
    ++count;
  }
  return count;
}

// The names a message suggests for `word`: English names a letter or two
// away from an ASCII word, Chinese names a character away from a word of two
// characters or more; one name for each meaning (命宮 rather than 命宮 and
// 命宫), at most three.
template <class Meaning>
std::vector<std::string_view> suggestions(const std::vector<Named<Meaning>>& list,
                                          std::string_view word) {
  const bool latin = ascii(word);
  std::vector<std::string_view> candidates;
  for (const Named<Meaning>& entry : list) {
    if (ascii(entry.name) == latin) candidates.push_back(entry.name);
  }
  const std::vector<std::string_view> close =
      latin                   ? closeNames(word, candidates, candidates.size())
      : characters(word) >= 2 ? closeNamesByCharacter(word, candidates, 1, candidates.size())
                              : std::vector<std::string_view>{};
  std::vector<const Named<Meaning>*> taken;
  for (const std::string_view name : close) {
    const Named<Meaning>* entry = lookUp(list, name);
    if (std::none_of(taken.begin(), taken.end(),
                     [&](const auto* t) { return t->meaning == entry->meaning; })) {
      taken.push_back(entry);
    }
    if (taken.size() == 3) break;
  }
  std::vector<std::string_view> shown;
  for (const auto* entry : taken) shown.push_back(entry->shown);
  return shown;
}

std::string listed(const std::vector<std::string_view>& words) {
  std::string text;
  for (const std::string_view word : words) {
    if (!text.empty()) text += ", ";
    text += word;
  }
  return text;
}

// A part of the condition: its text and where it begins, in bytes.
struct Part {
  std::string_view text;
  std::size_t at = 0;
};

constexpr std::array<std::string_view, 3> kBlanks = {" ", "\t", "\u3000"};
constexpr std::array<std::string_view, 3> kCommas = {",", "\uFF0C", "\u3001"};

// The length of the separator of `separators` that `text` begins with, or 0.
std::size_t separatorAt(std::string_view text, std::span<const std::string_view> separators) {
  for (const std::string_view separator : separators) {
    if (text.starts_with(separator)) return separator.size();
  }
  return 0;
}

// `part` without the blanks at its ends.
Part trimmed(Part part) {
  while (const std::size_t n = separatorAt(part.text, kBlanks)) {
    part.text.remove_prefix(n);
    part.at += n;
  }
  for (bool cut = true; cut;) {
    cut = false;
    for (const std::string_view blank : kBlanks) {
      if (part.text.ends_with(blank)) {
        part.text.remove_suffix(blank.size());
        cut = true;
      }
    }
  }
  return part;
}

// The first word of `rest` (up to a blank), taken from it.
Part takeWord(Part& rest) {
  rest = trimmed(rest);
  std::size_t end = 0;
  while (end < rest.text.size() && separatorAt(rest.text.substr(end), kBlanks) == 0) ++end;
  const Part word{rest.text.substr(0, end), rest.at};
  rest.text.remove_prefix(end);
  rest.at += end;
  return word;
}

// The items of `list`, split at the commas and trimmed.
std::vector<Part> items(Part list) {
  std::vector<Part> parts;
  std::size_t begin = 0;
  for (std::size_t i = 0;; ++i) {
    const std::size_t n = i < list.text.size() ? separatorAt(list.text.substr(i), kCommas) : 0;
    if (i == list.text.size() || n != 0) {
      parts.push_back(trimmed({list.text.substr(begin, i - begin), list.at + begin}));
      if (i == list.text.size()) break;
      i += n - 1;
      begin = i + 1;
    }
  }
  return parts;
}

struct Refused {
  std::size_t at;  // in bytes
  std::string message;
};

std::string kindsAllowed() {
  return listed(
      std::vector<std::string_view>(kConditionKindWords.begin(), kConditionKindWords.end()));
}

Condition read(std::string_view text) {
  Part rest{text, 0};
  const Part palace = takeWord(rest);
  if (palace.text.empty()) {
    throw Refused{0, "the condition is empty (PALACE KIND STAR[,STAR...], e.g. 命宮 has 紫微)"};
  }
  Condition condition;
  if (const auto* named = lookUp(names().palaces, palace.text)) {
    condition.palace = named->meaning;
  } else {
    const std::vector<std::string_view> close = suggestions(names().palaces, palace.text);
    throw Refused{palace.at, "unknown palace " + quotedForMessage(palace.text) +
                                 (close.empty() ? " (a palace is named 命宮 .. 父母宮, 身宮 "
                                                  "or by a branch 子 .. 亥)"
                                                : " (close: " + listed(close) + ")")};
  }
  const Part kind = takeWord(rest);
  if (kind.text.empty()) {
    throw Refused{kind.at, "the kind of condition is missing after " +
                               quotedForMessage(palace.text) + " (allowed: " + kindsAllowed() +
                               ")"};
  }
  const auto word =
      std::find(kConditionKindWords.begin(), kConditionKindWords.end(), foldAsciiCase(kind.text));
  if (word == kConditionKindWords.end()) {
    const std::vector<std::string_view> close =
        closeNames(kind.text, kConditionKindWords, kConditionKindWords.size());
    throw Refused{kind.at, "unknown kind " + quotedForMessage(kind.text) + " (" +
                               (close.empty() ? "" : "close: " + listed(close) + "; ") +
                               "allowed: " + kindsAllowed() + ")"};
  }
  condition.kind = static_cast<ConditionKind>(word - kConditionKindWords.begin());
  const Part list = trimmed(rest);
  if (condition.kind == ConditionKind::Empty) {
    if (!list.text.empty()) {
      throw Refused{list.at,
                    "empty lists nothing, but " + quotedForMessage(list.text) + " follows it"};
    }
    return condition;
  }
  if (list.text.empty()) {
    throw Refused{list.at, std::string(kind.text) +
                               (condition.kind == ConditionKind::Self
                                    ? " lists the transformations 祿, 權, 科 or 忌 after it"
                                    : " lists stars (or 祿, 權, 科, 忌) after it, e.g. 命宮 " +
                                          std::string(kind.text) + " 紫微,天府")};
  }
  for (const Part& item : items(list)) {
    if (item.text.empty()) throw Refused{item.at, "a star's name is missing between commas"};
    const auto* named = lookUp(names().items, item.text);
    if (named == nullptr) {
      const std::vector<std::string_view> close = suggestions(names().items, item.text);
      throw Refused{item.at, "unknown star " + quotedForMessage(item.text) +
                                 (close.empty() ? " (a star of the chart, or 祿, 權, 科 or 忌)"
                                                : " (close: " + listed(close) + ")")};
    }
    if (named->meaning.star) {
      if (condition.kind == ConditionKind::Self) {
        throw Refused{item.at, "self lists the transformations 祿, 權, 科 or 忌, not the star " +
                                   quotedForMessage(item.text)};
      }
      condition.stars.set(static_cast<std::size_t>(*named->meaning.star));
    } else {
      condition.transformations.add(named->meaning.transformation);
    }
  }
  return condition;
}

}  // namespace

std::variant<Condition, ConditionError> readCondition(std::string_view text) {
  try {
    return read(text);
  } catch (const Refused& refused) {
    return ConditionError{characters(text.substr(0, refused.at)) + 1, refused.message};
  }
}

}  // namespace ziwei::find
