#pragma once
// Conditions and queries from their text, as the suites write them.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "find/condition.h"
#include "find/condition_text.h"

namespace ziwei::find::test {

// The condition `text` reads as; a failure (and an empty condition) when it
// is refused.
inline Condition accepted(std::string_view text) {
  auto read = readCondition(text);
  if (const auto* error = std::get_if<ConditionError>(&read)) {
    ADD_FAILURE() << text << ": refused at " << error->character << ": " << error->message;
    return {};
  }
  return std::get<Condition>(read);
}

inline Query queryOf(std::initializer_list<std::string_view> texts) {
  std::vector<Condition> conditions;
  for (const std::string_view text : texts) conditions.push_back(accepted(text));
  return Query(std::move(conditions));
}

}  // namespace ziwei::find::test
