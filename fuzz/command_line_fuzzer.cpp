// Fuzzes ziwei's command-line parser: the input split on NUL bytes is the
// argument list after the program name (a C argv cannot hold NUL).
//
// Every list either is refused with one line of valid UTF-8 that holds no
// control character (it goes to a terminal), or gives a command; a cast
// command holds valid UTF-8 texts and birth data that the chart engine
// accepts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "chart/frame/chart_frame.h"
#include "cli/command_line.h"
#include "page/solar_birth.h"
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

  const ziwei::cli::Command command = ziwei::cli::parseCommandLine(args);
  std::visit(
      [](const auto& parsed) {
        using Parsed = std::decay_t<decltype(parsed)>;
        if constexpr (std::is_same_v<Parsed, ziwei::cli::UsageError>) {
          require(printable(parsed.message), "a refusal is one printable line of UTF-8");
        } else if constexpr (std::is_same_v<Parsed, ziwei::cli::CastOptions>) {
          require(ziwei::isValidUtf8(parsed.birth.name), "the name is UTF-8");
          require(!parsed.printDate || ziwei::isValidUtf8(*parsed.printDate),
                  "the print date is UTF-8");
          require(!parsed.output || !parsed.output->empty(), "an output file has a name");
          try {
            (void)ziwei::castFrame(ziwei::toSelection(parsed.birth), ziwei::kCommandLineYears);
          } catch (const ziwei::SelectionError&) {
            require(false, "accepted birth data cast a chart");
          }
        }
      },
      command);
  return 0;
}
