#include "cli/terms_command.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "birth/birth_time.h"
#include "calendar/gregorian.h"
#include "calendar/solar_terms.h"
#include "cli/birth_time_options.h"
#include "cli/command.h"
#include "cli/exit_status.h"

namespace ziwei::cli {

namespace {

constexpr std::array<OptionRow<TermsOptions>, 3> kRows{{
    {"tz", 0, Shape::Text, "ZONE",
     "show the times in this time zone, an IANA name such as Asia/Taipei or America/New_York, "
     "daylight saving time included (default: China Standard Time, UTC+8)",
     [](TermsOptions& o, const OptionValue& v) { o.zone = readZone(v.option, v.text); }},
    {"lang", 0, Shape::Word, "zh-Hant|zh-Hans|en",
     "language of the terms' names (default: zh-Hant)",
     [](TermsOptions& o, const OptionValue& v) { o.language = static_cast<Language>(v.word); }},
    {"help", 'h', Shape::Help, "", "show this help and exit"},
}};

void operand(TermsOptions& o, std::string_view text) {
  if (o.given) throw Refusal{"unexpected argument " + shown(text) + " (give one YEAR)"};
  o.year = readNumber("YEAR", text, calendar::kSolarTermFirstYear, calendar::kSolarTermLastYear);
  o.given = true;
}

constexpr OptionTable<TermsOptions> kTable{"terms", kRows, operand, true};

void finish(TermsOptions& o) {
  if (!o.given) throw Refusal{"YEAR is missing (give a Gregorian year, 1900 to 2100)"};
}

// "YYYY-MM-DD HH:MM:SS\t+08:00" of `instant` at `offset` seconds east of UTC.
std::string localTime(calendar::UnixSeconds instant, int offset) {
  const calendar::UnixSeconds local = instant + offset;
  const auto days = static_cast<int>((local >= 0 ? local : local - 86399) / 86400);
  const int seconds = static_cast<int>(local - std::int64_t{days} * 86400);
  const calendar::GregorianDate date =
      calendar::gregorian_from_days(std::chrono::sys_days(std::chrono::days(days)));
  const int east = std::abs(offset);
  char text[64];
  std::snprintf(text, sizeof text, " %02d:%02d:%02d\t%c%02d:%02d", seconds / 3600,
                seconds / 60 % 60, seconds % 60, offset < 0 ? '-' : '+', east / 3600,
                east / 60 % 60);
  std::string line = calendar::format_gregorian(date) + text;
  if (east % 60 != 0) {  // a local mean time of the past
    std::snprintf(text, sizeof text, ":%02d", east % 60);
    line += text;
  }
  return line;
}

int runTerms(const TermsOptions& options) {
  std::string text;
  try {
    text = termsText(options);
  } catch (const BirthTimeError& error) {  // the database cannot be read
    reportError(std::string("terms: ") + error.what());
    return kExitIoError;
  }
  return printText(text);
}

}  // namespace

Parsed<TermsOptions> parseTermsCommand(std::span<const std::string_view> args) {
  return parseOptions(kTable, args, TermsOptions{}, finish);
}

std::string termsHelpText() {
  return "Usage: ziwei terms YEAR [--tz ZONE] [--lang L]\n"
         "Lists the 24 solar terms (節氣) of the Gregorian year YEAR, 1900 to 2100, from\n"
         "小寒 to 冬至: a line each with the name, the date and time the Sun reaches the\n"
         "term's longitude, and the offset from UTC of the clock shown, separated by tabs.\n"
         "\n" +
         optionHelp(kTable) +
         "\n"
         "Exit status: 0 done, 1 the output could not be written, 2 bad command line.\n";
}

std::string termsText(const TermsOptions& options) {
  const Vocabulary& words = vocabularyOf(options.language);
  std::string text;
  for (int term = 0; term < calendar::kSolarTermCount; ++term) {
    const auto which = static_cast<calendar::SolarTerm>(term);
    const calendar::UnixSeconds instant = calendar::solarTermInstant(options.year, which);
    text += words(which);
    text += '\t';
    text += localTime(instant, utcOffsetAt(options.zone, instant));
    text += '\n';
  }
  return text;
}

int termsCommand(std::span<const std::string_view> args) {
  return runParsed(parseTermsCommand(args), termsHelpText, runTerms);
}

}  // namespace ziwei::cli
