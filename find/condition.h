#pragma once
// Conditions on a natal chart, as numbers: a palace, chosen by its name (its
// role counted from the Life palace), as the Body palace or by its branch,
// and what it must hold. A Query is the conditions a chart must all meet;
// the search (find/search.h) casts birth after birth and keeps the charts
// that meet it. find/condition_text.h reads a condition from text.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chart/chart.h"
#include "chart/frame/numbering.h"
#include "chart/relations/relations.h"
#include "chart/stars/star_names.h"

namespace ziwei::find {

// Some stars: bit n for the Star numbered n.
using StarSet = std::bitset<kStarCount>;

inline StarSet starSetOf(Star star) { return StarSet().set(static_cast<std::size_t>(star)); }

// The fourteen main stars (紫微 .. 破軍, the first of Star): a palace without
// any of them is empty (空宮), whatever else its main row holds.
inline constexpr StarSet kFourteenMainStars{(1u << 14) - 1};

enum class PalaceBy : std::uint8_t { Role, Body, Branch };

// The palace a condition is about.
struct PalaceChoice {
  PalaceBy by = PalaceBy::Role;
  PalaceRole role = PalaceRole::Life;  // for PalaceBy::Role
  PalaceNum branch;                    // for PalaceBy::Branch: the palace of that branch
  friend bool operator==(const PalaceChoice&, const PalaceChoice&) = default;
};

enum class ConditionKind : std::uint8_t {
  Has,     // every star and transformation listed lies in the palace
  HasAny,  // at least one of them does
  Lacks,   // none of them does
  Sees,    // every one lies in its 三方四正 (the palace, its opposite, its trine)
  Empty,   // it holds none of the fourteen main stars; nothing is listed
  Self,    // its stem transforms its own stars with every kind listed (離心自化)
};
inline constexpr std::size_t kConditionKindCount = 6;

// A transformation listed by Has, HasAny, Lacks and Sees is a birth-year
// transformation (生年四化) on a star of the palaces; by Self, one its own
// stem sends onto its own stars, by the transformation table of the rules.
struct Condition {
  PalaceChoice palace;
  ConditionKind kind = ConditionKind::Has;
  StarSet stars;
  TransformationSet transformations;
  friend bool operator==(const Condition&, const Condition&) = default;
};

// What is wrong with a condition built by hand, in English, or nothing: Has,
// HasAny, Lacks and Sees list a star or a transformation at least; Empty
// lists nothing; Self lists transformations only, one at least; the palace
// is a role, the Body palace or a valid branch.
std::optional<std::string> conditionFault(const Condition& condition);

// The palace `choice` picks in `chart`.
PalaceNum palaceChosen(const Chart& chart, const PalaceChoice& choice);

// The stars a palace holds (every row) and the birth-year transformations on
// them.
struct PalaceContent {
  StarSet stars;
  TransformationSet transformations;
};
PalaceContent contentOf(const ChartPalace& palace);

// Whether `chart` meets `condition`. It reads the chosen palace (and for
// Sees its trine) alone: a Self condition takes the 自化 of that palace
// (transformationsOnto, as palaceRelations has it) by its natal stem.
bool meets(const Chart& chart, const Condition& condition);

// Conditions a chart must all meet, tried in their order until one fails.
class Query {
 public:
  // Throws std::invalid_argument, with the conditionFault of the first
  // faulty condition and its place, for a faulty one.
  explicit Query(std::vector<Condition> conditions);

  bool matches(const Chart& chart) const;
  const std::vector<Condition>& conditions() const { return conditions_; }

 private:
  std::vector<Condition> conditions_;
};

}  // namespace ziwei::find
