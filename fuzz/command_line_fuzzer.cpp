// Fuzzes ziwei's command-line parsers: the input split on NUL bytes is the
// argument list after the program name (a C argv cannot hold NUL); a first
// argument "lunar", "solar", "batch" or "find" selects that command's
// parser, as in main.
//
// Every list either is refused with one line of valid UTF-8 that holds no
// control character (it goes to a terminal), or gives a command whose texts
// are valid UTF-8, whose birth data the chart engine accepts, and whose dates
// convert (or are refused with such a line); a search's conditions, one for
// each --where, and its range are sound.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/calendar_error.h"
#include "chart/chart.h"
#include "cli/batch_command.h"
#include "cli/cast_command.h"
#include "cli/find_command.h"
#include "cli/lunar_command.h"
#include "cli/solar_command.h"
#include "fuzz/fuzz_check.h"
#include "unicode/utf8.h"

namespace {

using ziwei::fuzz::printable;
using ziwei::fuzz::require;

bool utf8(const std::optional<std::string>& text) { return !text || ziwei::isValidUtf8(*text); }

void check(const ziwei::cli::LunarOptions& options) {
  require(!options.dates.empty(), "lunar has a date");
  for (const std::string& date : options.dates) {
    if (date == "-") continue;
    try {
      const std::string line = ziwei::cli::lunarLine("argument", date);
      require(line.ends_with('\n') && ziwei::isValidUtf8(line), "a lunar line is one line");
    } catch (const ziwei::cli::Refusal& refusal) {
      require(printable(refusal.message), "a refused date prints as one line");
    }
  }
}

void check(const ziwei::cli::SolarOptions& options) {
  try {
    require(ziwei::cli::solarLine(options.date).size() == 11, "a solar line is a date");
  } catch (const ziwei::calendar::CalendarError&) {
    require(false, "an accepted lunar date converts");
  }
}

void check(const ziwei::cli::BatchOptions& options) {
  require(options.jobs <= 256, "batch workers are bounded");
  require(utf8(options.printDate), "the print date is UTF-8");
}

void check(const ziwei::cli::FindOptions& options) {
  require(!options.where.empty() && options.conditions.size() == options.where.size(),
          "a search has one condition for each --where");
  for (const ziwei::find::Condition& condition : options.conditions) {
    require(!ziwei::find::conditionFault(condition), "a condition read is sound");
  }
  require(!ziwei::find::rangeFault(options.range), "a search's range is sound");
  require(ziwei::find::birthCount(options.range) <= std::uint64_t{68984} * 24 * 2,
          "a search is within the calendar");
}

void check(const ziwei::cli::CastOptions& options) {
  require(ziwei::isValidUtf8(options.request.name) && utf8(options.printDate),
          "the texts are UTF-8");
  require(!options.output || !options.output->empty(), "an output file has a name");
  try {
    (void)ziwei::cast(options.request);
  } catch (const std::invalid_argument&) {
    require(false, "accepted birth data cast a chart");
  }
}

template <class Options>
void check(const ziwei::cli::Parsed<Options>& parsed) {
  if (const auto* error = std::get_if<ziwei::cli::UsageError>(&parsed)) {
    require(printable(error->message), "a refusal is one printable line of UTF-8");
  } else if (const auto* options = std::get_if<Options>(&parsed)) {
    check(*options);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> args;
  if (!input.empty()) {
    for (std::size_t from = 0;;) {
      const std::size_t nul = input.find('\0', from);
      args.push_back(input.substr(from, nul - from));
      if (nul == std::string_view::npos) break;
      from = nul + 1;
    }
  }
  const std::string_view first = args.empty() ? std::string_view{} : args.front();
  const auto rest = std::span<const std::string_view>(args).subspan(args.empty() ? 0 : 1);
  if (first == "lunar") {
    check(ziwei::cli::parseLunarCommand(rest));
  } else if (first == "solar") {
    check(ziwei::cli::parseSolarCommand(rest));
  } else if (first == "batch") {
    check(ziwei::cli::parseBatchCommand(rest));
  } else if (first == "find") {
    check(ziwei::cli::parseFindCommand(rest));
  } else {
    check(ziwei::cli::parseCastCommand(args));
  }
  return 0;
}
