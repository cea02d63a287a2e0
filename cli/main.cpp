// ziwei: casts a Zi Wei Dou Shu chart from the command line.
#include <exception>
#include <iostream>
#include <span>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "cli/batch_command.h"
#include "cli/cast_command.h"
#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/lunar_command.h"
#include "cli/output.h"
#include "cli/solar_command.h"
#include "cli/version.h"
#include "page/page_file.h"

namespace {

int printText(const std::string& text) {
  try {
    ziwei::cli::writeOutput(std::nullopt, text);
  } catch (const ziwei::PageWriteError& error) {
    std::cerr << "ziwei: " << error.what() << '\n';
    return ziwei::cli::kExitIoError;
  }
  return ziwei::cli::kExitDone;
}

int run(const ziwei::cli::Command& command) {
  using namespace ziwei::cli;
  return std::visit(
      [](const auto& parsed) {
        using Parsed = std::decay_t<decltype(parsed)>;
        if constexpr (std::is_same_v<Parsed, UsageError>) {
          std::cerr << "ziwei: " << ziwei::oneLine(parsed.message) << '\n';
          return kExitUsage;
        } else if constexpr (std::is_same_v<Parsed, ShowHelp>) {
          return printText(helpText());
        } else if constexpr (std::is_same_v<Parsed, ShowVersion>) {
          return printText("ziwei " + std::string(kVersion) + "\n");
        } else {
          return runCast(parsed);
        }
      },
      command);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const std::string_view first = args.empty() ? std::string_view{} : args.front();
    if (first == "lunar") return ziwei::cli::lunarCommand(std::span(args).subspan(1));
    if (first == "solar") return ziwei::cli::solarCommand(std::span(args).subspan(1));
    if (first == "batch") return ziwei::cli::batchCommand(std::span(args).subspan(1));
    return run(ziwei::cli::parseCommandLine(args));
  } catch (const std::exception& error) {
    std::cerr << "ziwei: " << ziwei::oneLine(error.what()) << '\n';
    return ziwei::cli::kExitIoError;
  }
}
