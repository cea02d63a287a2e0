#pragma once
// A condition of the search read from text:
//
//   PALACE KIND [ITEM[,ITEM...]]
//
// PALACE  a palace's name (命宮 .. 父母宮, with or without 宮), 身宮 (or 身),
//         or a branch (子 .. 亥, or 子宮 .. 亥宮), for the palace of that branch
// KIND    has, has-any, lacks, sees, empty or self (find/condition.h)
// ITEM    a star's name, or a transformation: 祿, 權, 科, 忌 (or 化祿 ..)
//
// Names are those of zh-Hant or zh-Hans, or the English vocabulary's
// (Life .. Parents, Body, Zi .. Hai, the stars' and the transformations'
// English names; ASCII case does not count). PALACE and KIND are separated
// by blanks (spaces, tabs or U+3000); the items by ",", "，" or "、", with
// blanks around them ignored. empty lists nothing; self lists
// transformations only.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "find/condition.h"

namespace ziwei::find {

// Why a text is not a condition: one line in English that quotes the word
// refused and, for an unknown palace, kind or star, the names close to it,
// e.g. `unknown star "紫薇" (close: 紫微)`; and where the word begins, the
// how-manyth character of the text (from 1).
struct ConditionError {
  std::size_t character = 1;
  std::string message;
};

std::variant<Condition, ConditionError> readCondition(std::string_view text);

// The words of the kinds, by ConditionKind.
inline constexpr std::array<std::string_view, kConditionKindCount> kConditionKindWords = {
    "has", "has-any", "lacks", "sees", "empty", "self"};

}  // namespace ziwei::find
