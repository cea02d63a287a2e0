#pragma once
// ziwei lunar DATE...: the lunar date of each Gregorian date.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"

namespace ziwei::cli {

// The dates to convert, in the order given; "-" stands for the lines of
// standard input.
struct LunarOptions {
  std::vector<std::string> dates;
};

// Reads the arguments that follow "lunar". Pure. The dates themselves are
// checked when they are converted, so that a bad one does not stop the others.
Parsed<LunarOptions> parseLunarCommand(std::span<const std::string_view> args);

std::string lunarHelpText();

// "YYYY-MM-DD<TAB>year<TAB>month<TAB>leap (0 or 1)<TAB>day<LF>" for the
// Gregorian date "YYYY-MM-DD"; throws a Refusal "what: reason" for a
// malformed date or one outside 1900-01-31..2100-12-31.
std::string lunarLine(std::string_view what, std::string_view date);

// Converts the dates in order, reading standard input for "-" (one date a
// line; blanks and tabs around it and a CR before the line feed are dropped,
// blank lines skipped). A bad date is reported on standard error as
// "ziwei: lunar: argument N: ..." or "... line N of standard input: ...".
// Returns kExitDone, kExitBadData when a date was refused, or kExitIoError
// when standard input could not be read or standard output not written.
int runLunar(const LunarOptions& options);

int lunarCommand(std::span<const std::string_view> args);

}  // namespace ziwei::cli
