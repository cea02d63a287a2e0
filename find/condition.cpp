#include "find/condition.h"

#include <algorithm>
#include <stdexcept>

namespace ziwei::find {

namespace {

template <std::size_t Capacity>
void add(PalaceContent& content, const StarRow<Capacity>& row) {
  for (const PlacedStar& star : row) {
    content.stars.set(static_cast<std::size_t>(star.star));
    if (star.transformation != Transformation::None)
      content.transformations.add(star.transformation);
  }
}

bool holdsAll(const PalaceContent& content, const Condition& condition) {
  return (content.stars & condition.stars) == condition.stars &&
         content.transformations.includes(condition.transformations);
}

bool holdsAny(const PalaceContent& content, const Condition& condition) {
  return (content.stars & condition.stars).any() ||
         content.transformations.meets(condition.transformations);
}

}  // namespace

std::optional<std::string> conditionFault(const Condition& condition) {
  switch (condition.palace.by) {
    case PalaceBy::Role:
      if (static_cast<std::size_t>(condition.palace.role) >= kPalaceRoleCount) {
        return "the palace's role is not one of the twelve";
      }
      break;
    case PalaceBy::Branch:
      if (!condition.palace.branch.valid()) return "the palace's branch is not one of the twelve";
      break;
    case PalaceBy::Body:
      break;
    default:
      return "the palace is chosen neither by role, nor as the Body palace, nor by branch";
  }
  const bool listed = condition.stars.any() || !condition.transformations.empty();
  switch (condition.kind) {
    case ConditionKind::Has:
    case ConditionKind::HasAny:
    case ConditionKind::Lacks:
    case ConditionKind::Sees:
      if (!listed) return "the condition lists no star and no transformation";
      return std::nullopt;
    case ConditionKind::Empty:
      if (listed) return "an empty palace condition lists nothing";
      return std::nullopt;
    case ConditionKind::Self:
      if (condition.stars.any()) return "a self condition lists transformations, not stars";
      if (!listed) return "a self condition lists no transformation";
      return std::nullopt;
  }
  return "the kind of condition is none of has, has-any, lacks, sees, empty and self";
}

PalaceNum palaceChosen(const Chart& chart, const PalaceChoice& choice) {
  switch (choice.by) {
    case PalaceBy::Body:
      return chart.frame.BodyPalaceNum;
    case PalaceBy::Branch:
      return choice.branch;
    case PalaceBy::Role:
      break;
  }
  return palaceOfRole(chart.frame.LifePalaceNum, choice.role);
}

PalaceContent contentOf(const ChartPalace& palace) {
  PalaceContent content;
  add(content, palace.stars.main);
  add(content, palace.stars.voids);
  add(content, palace.stars.markers);
  add(content, palace.stars.minor);
  return content;
}

bool meets(const Chart& chart, const Condition& condition) {
  const PalaceNum palace = palaceChosen(chart, condition.palace);
  switch (condition.kind) {
    case ConditionKind::Has:
      return holdsAll(contentOf(chart[palace]), condition);
    case ConditionKind::HasAny:
      return holdsAny(contentOf(chart[palace]), condition);
    case ConditionKind::Lacks:
      return !holdsAny(contentOf(chart[palace]), condition);
    case ConditionKind::Sees: {
      PalaceContent seen;
      for (const PalaceNum p : trineOf(palace)) {
        const PalaceContent content = contentOf(chart[p]);
        seen.stars |= content.stars;
        seen.transformations |= content.transformations;
      }
      return holdsAll(seen, condition);
    }
    case ConditionKind::Empty:
      return (contentOf(chart[palace]).stars & kFourteenMainStars).none();
    case ConditionKind::Self: {
      const ChartPalace& own = chart[palace];
      const StarSet stars = contentOf(own).stars;
      return transformationsOnto(
                 chart.frame.options.transformations, own.stem,
                 [&](Star star) { return stars.test(static_cast<std::size_t>(star)); })
          .includes(condition.transformations);
    }
  }
  return false;
}

Query::Query(std::vector<Condition> conditions) : conditions_(std::move(conditions)) {
  for (std::size_t i = 0; i < conditions_.size(); ++i) {
    if (const auto fault = conditionFault(conditions_[i])) {
      throw std::invalid_argument("condition " + std::to_string(i + 1) + ": " + *fault);
    }
  }
}

bool Query::matches(const Chart& chart) const {
  return std::all_of(conditions_.begin(), conditions_.end(),
                     [&](const Condition& condition) { return meets(chart, condition); });
}

}  // namespace ziwei::find
