#pragma once
// ziwei find: every birth of a range of dates, hours and sexes whose chart
// meets the conditions given, one line each (find/search.h does the search).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "cli/rule_choices.h"
#include "find/condition.h"
#include "find/search.h"

namespace ziwei::cli {

enum class FindFormat { Csv, JsonLines, Count };

struct FindOptions {
  // As given, read once the whole command line is read.
  std::optional<std::string> from;   // --from
  std::optional<std::string> to;     // --to
  std::optional<std::string> hours;  // --hours
  std::vector<std::string> where;    // each --where, in order
  RuleChoices rules;
  // What is searched: the range with its rules, and the conditions.
  find::BirthRange range;
  std::vector<find::Condition> conditions;
  FindFormat format = FindFormat::Csv;
  std::uint64_t limit = 0;  // 0 for no limit
  unsigned jobs = 0;        // threads; 0 for one per core
};

// Reads the arguments that follow "find" (and the rules file of --rules).
Parsed<FindOptions> parseFindCommand(std::span<const std::string_view> args);

std::string findHelpText();

// The value shape of find's option `name` (without "--"), or nothing.
std::optional<Shape> findOptionShape(std::string_view name);

// The line of a match in `format` (none for Count), and the header line
// that precedes the matches (for Csv).
std::string matchLine(const find::Match& match, FindFormat format);
std::string_view matchHeader(FindFormat format);

// The whole command on the process's streams; returns the exit status:
// kExitDone (whether or not a birth matched), kExitIoError when the output
// could not be written, kExitUsage.
int findCommand(std::span<const std::string_view> args);

}  // namespace ziwei::cli
