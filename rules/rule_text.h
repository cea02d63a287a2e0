#pragma once
// The rules a user chooses, as text: the words of kRuleOptions, the table of
// the four transformations ("戊=貪狼,太陰,太陽,天機") and a rules file of
// `NAME = WORD` lines. The command line, batch columns, the desktop's 設定
// dialog and its settings all read and write rules here.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "chart/request.h"
#include "vocabulary/vocabulary.h"

namespace ziwei {

// The name of the transformation rule: the option --transformation (one stem
// each time), the rules file's name, the JSON "options" key; the batch column
// is kTransformationsColumn (stems separated by ';').
inline constexpr std::string_view kTransformationRule = "transformation";
inline constexpr std::string_view kTransformationsColumn = "transformations";
inline constexpr std::string_view kTransformationsSetting = "rules/transformations";

// Reads one stem's transformations, "STEM=S1,S2,S3,S4" (祿, 權, 科, 忌 in
// that order; names in zh-Hant, zh-Hans or English; blanks around names
// allowed), into `options`. Returns a message naming what is wrong and what
// is allowed, or nothing when it was set.
std::optional<std::string> setTransformationText(ChartOptions& options, std::string_view text);

// The same for any number of stems separated by ';' (an empty text sets
// nothing).
std::optional<std::string> setTransformationsText(ChartOptions& options, std::string_view text);

// The stems whose transformations differ from this program's table, as
// "STEM=S1,S2,S3,S4" separated by ';' in `words`' names; empty for the
// default table.
std::string transformationsText(const ChartOptions& options, const Vocabulary& words = kZhHant);

// A rules file read: the options it sets, over `base`. `given` (when not
// null) collects which rules the file named: the number of each rule of
// kRuleOptions, and kRuleOptions.size() for the transformations.
struct RulesFileError {
  std::size_t line = 0;  // 1-based
  std::string message;   // names the line's value and what is allowed
};

// Reads a rules file's text: `NAME = WORD` lines, `#` to the end of a line a
// comment, blank lines ignored; NAME is a rule of kRuleOptions or
// "transformation" (its WORD "STEM=S1,S2,S3,S4", one line per stem). Sets
// the rules in `options`; returns the first line refused, or nothing.
std::optional<RulesFileError> readRulesText(std::string_view text, ChartOptions& options);

// The text of a rules file that sets every rule of `options` that is not the
// default (a comment line first).
std::string rulesFileText(const ChartOptions& options);

}  // namespace ziwei
