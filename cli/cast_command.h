#pragma once
// ziwei [OPTION]...: casts one chart and writes it, the default command.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "birth/birth_time.h"
#include "birth/lunar_birth.h"
#include "birth/target_moment.h"
#include "cli/birth_time_options.h"
#include "cli/options.h"
#include "cli/rule_choices.h"
#include "page/page_file.h"
#include "vocabulary/vocabulary.h"

namespace ziwei::cli {

// In the order of the words of --format.
enum class OutputFormat { Html, Json, Text, Markdown, Study };

struct CastOptions {
  // The birth as the options record it: the lunar date or --solar, the
  // clock time, the sex, --tz, --dst, --longitude, --place and the rules.
  RecordedBirth record;
  // The rules given as options and by --rules; record.options once settled.
  RuleChoices rules;
  // What is cast: the name, and the lunar birth resolved from `record` with
  // its rules and, for a Gregorian birth, the date given.
  BirthRequest request;
  // How request.birth was found, with stepsRecorded() or --explain.
  std::optional<BirthTimeSteps> steps;
  bool explain = false;  // print the steps instead of the chart
  OutputFormat format = OutputFormat::Html;
  PageEncoding encoding = PageEncoding::Big5;
  Language language = Language::ZhHant;  // of the names (--lang)
  std::optional<std::string> printDate;  // today's date when not given
  std::optional<std::string> output;     // standard output when not given
  // The running periods' target (--on, --on-time, --on-lunar, --on-leap):
  // none for the natal chart alone.
  std::optional<TargetMoment> target;
  // As given on the command line, for the checks of options that exclude
  // each other.
  bool encodingGiven = false;
  std::optional<std::string> solar;      // --solar
  std::string lunarOption;               // the first of --year, --month, --leap, --day
  std::optional<std::string> placeName;  // --place
  std::string outputOption;  // the first of --format, --encoding, --print-date, --output
  TargetTexts targetTexts;
};

// Reads the arguments that follow the program name and resolves the birth
// time (reading the system's time-zone database for --tz or --place).
Parsed<CastOptions> parseCastCommand(std::span<const std::string_view> args);

// The help text: every option with its range and default.
std::string castHelpText();

// What a cast writes: the encoded page, or the JSON document and a line
// feed; with a target the running-period page, or the document with its
// periods; with --explain the birth-time steps, a line each. Throws
// std::invalid_argument for birth data the engine refuses and TargetError for
// a target before the birth year.
std::string castOutput(const CastOptions& options);

// The warning for a lunar date the calendar lacks, which is cast as given
// (the calendar's own words for what it lacks), or nothing for a date it
// has: the cast and a batch page give it on standard error.
std::optional<std::string> missingDateWarning(const LunarBirth& birth);

// castOutput, with birth data the engine refuses and a target before the
// birth year thrown as a Refusal worded as the command reports them.
std::string checkedCastOutput(const CastOptions& options);

// The value shape of the cast's option `name` (without "--"), or nothing.
std::optional<Shape> castOptionShape(std::string_view name);

// Casts the chart and writes it where the options say; returns the exit
// status, a failure reported as one line on standard error.
int runCast(const CastOptions& options);

// The whole command on the process's streams.
int castCommand(std::span<const std::string_view> args);

}  // namespace ziwei::cli
