#pragma once
// ziwei terms YEAR [--tz ZONE] [--lang L]: the 24 solar terms of a year.

#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "vocabulary/vocabulary.h"

namespace ziwei::cli {

struct TermsOptions {
  int year = 0;  // 1900..2100
  bool given = false;
  std::string zone;  // empty: China Standard Time
  Language language = Language::ZhHant;
};

// Reads the arguments that follow "terms"; checks the zone.
Parsed<TermsOptions> parseTermsCommand(std::span<const std::string_view> args);

std::string termsHelpText();

// One line per term of the year, in their order: the name, the date and time
// in the zone ("YYYY-MM-DD HH:MM:SS") and its offset from UTC ("+08:00"),
// separated by tabs.
std::string termsText(const TermsOptions& options);

int termsCommand(std::span<const std::string_view> args);

}  // namespace ziwei::cli
