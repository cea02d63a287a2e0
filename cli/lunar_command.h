#pragma once
// ziwei lunar DATE...: the lunar date of each Gregorian date.

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/command_line.h"

namespace ziwei::cli {

// The dates to convert, in the order given; "-" stands for the lines of
// standard input.
struct LunarOptions {
  std::vector<std::string> dates;
};

using LunarCommand = std::variant<UsageError, ShowHelp, LunarOptions>;

// Reads the arguments that follow "lunar". Pure. The dates themselves are
// checked when they are converted, so that a bad one does not stop the others.
LunarCommand parseLunarCommand(std::span<const std::string_view> args);

std::string lunarHelpText();

// "YYYY-MM-DD<TAB>year<TAB>month<TAB>leap (0 or 1)<TAB>day<LF>" for the
// Gregorian date "YYYY-MM-DD". Throws calendar::CalendarError for a malformed
// date or one outside 1900-01-31..2100-12-31.
std::string lunarLine(std::string_view date);

// Converts the dates of `options` in order, reading `in` for "-" (one date a
// line; blanks and tabs around it and a CR before the line feed are dropped,
// blank lines skipped). A good date writes its line to `out`; a bad one
// writes "ziwei: lunar: argument N: ..." or "ziwei: lunar: line N of standard
// input: ..." to `err`. Returns kExitDone, kExitBadData when a date was
// refused, or kExitIoError (with a line on `err`) when `out` failed.
int runLunar(const LunarOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

// The whole command on the process's standard streams; returns the exit
// status.
int lunarCommand(std::span<const std::string_view> args);

}  // namespace ziwei::cli
