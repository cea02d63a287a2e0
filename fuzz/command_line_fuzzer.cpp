// Fuzzes ziwei's command-line parsers: the input split on NUL bytes is the
// argument list after the program name (a C argv cannot hold NUL); a first
// argument "lunar", "solar" or "batch" selects that command's parser, as in
// main.
//
// Every list either is refused with one line of valid UTF-8 that holds no
// control character (it goes to a terminal), or gives a command; a cast
// command holds valid UTF-8 texts and birth data that the chart engine
// accepts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "birth/solar_birth.h"
#include "calendar/calendar_error.h"
#include "chart/frame/chart_frame.h"
#include "cli/batch_command.h"
#include "cli/cast_command.h"
#include "cli/lunar_command.h"
#include "cli/solar_command.h"
#include "page/user_text.h"

namespace {

void require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

bool printable(std::string_view line) {
  if (line.empty() || !ziwei::isValidUtf8(line)) return false;
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

// A refusal of the calendar and batch commands is printed through oneLine.
void checkRefusal(const std::string& message) {
  require(!message.empty(), "a refusal gives a reason");
  require(printable(ziwei::oneLine(message)), "a refusal prints as one line");
}

// A command of lunar, solar or batch: a refusal that prints as one line, or
// options that pass `check`.
template <typename Options, typename Command>
void checkCommand(const Command& command, void (*check)(const Options&)) {
  if (const auto* error = std::get_if<ziwei::cli::UsageError>(&command)) {
    checkRefusal(error->message);
  } else if (const auto* options = std::get_if<Options>(&command)) {
    check(*options);
  }
}

void checkLunar(const ziwei::cli::LunarOptions& options) {
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

void checkSolar(const ziwei::cli::SolarOptions& options) {
  try {
    require(ziwei::cli::solarLine(options.date).size() == 11, "a solar line is a date");
  } catch (const ziwei::calendar::CalendarError&) {
    require(false, "an accepted lunar date converts");
  }
}

void checkBatch(const ziwei::cli::BatchOptions& options) {
  require(options.jobs <= 256, "batch workers are bounded");
  require(!options.printDate || ziwei::isValidUtf8(*options.printDate), "the print date is UTF-8");
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

  // The commands as ziwei's main dispatches them.
  const std::string_view first = args.empty() ? std::string_view{} : args.front();
  const auto rest = std::span<const std::string_view>(args).subspan(args.empty() ? 0 : 1);
  if (first == "lunar") {
    checkCommand(ziwei::cli::parseLunarCommand(rest), checkLunar);
  } else if (first == "solar") {
    checkCommand(ziwei::cli::parseSolarCommand(rest), checkSolar);
  } else if (first == "batch") {
    checkCommand(ziwei::cli::parseBatchCommand(rest), checkBatch);
  }
  if (first == "lunar" || first == "solar" || first == "batch") return 0;
  const auto command = ziwei::cli::parseCastCommand(args);
  std::visit(
      [](const auto& parsed) {
        using Parsed = std::decay_t<decltype(parsed)>;
        if constexpr (std::is_same_v<Parsed, ziwei::cli::UsageError>) {
          require(printable(parsed.message), "a refusal is one printable line of UTF-8");
        } else if constexpr (std::is_same_v<Parsed, ziwei::cli::CastOptions>) {
          require(ziwei::isValidUtf8(parsed.request.name), "the name is UTF-8");
          require(!parsed.printDate || ziwei::isValidUtf8(*parsed.printDate),
                  "the print date is UTF-8");
          require(!parsed.output || !parsed.output->empty(), "an output file has a name");
          try {
            (void)ziwei::castFrame(parsed.request.birth, parsed.request.options);
          } catch (const std::invalid_argument&) {
            require(false, "accepted birth data cast a chart");
          }
        }
      },
      command);
  return 0;
}
