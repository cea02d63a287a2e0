// ziwei: casts a Zi Wei Dou Shu chart from the command line.
#include <array>
#include <exception>
#include <span>
#include <string_view>
#include <vector>

#include "cli/batch_command.h"
#include "cli/cast_command.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/find_command.h"
#include "cli/lunar_command.h"
#include "cli/places_command.h"
#include "cli/serve_command.h"
#include "cli/solar_command.h"
#include "cli/terms_command.h"
#include "output/output_file.h"

namespace {

// The commands after "ziwei"; the cast takes every other command line.
constexpr std::array<ziwei::cli::CommandEntry, 7> kCommands{{
    {"lunar", ziwei::cli::lunarCommand},
    {"solar", ziwei::cli::solarCommand},
    {"batch", ziwei::cli::batchCommand},
    {"find", ziwei::cli::findCommand},
    {"places", ziwei::cli::placesCommand},
    {"terms", ziwei::cli::termsCommand},
    {"serve", ziwei::cli::serveCommand},
}};

}  // namespace

int main(int argc, char** argv) {
  ziwei::openStandardStreams();
  try {
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    for (const ziwei::cli::CommandEntry& command : kCommands) {
      if (!args.empty() && args.front() == command.name) {
        return command.main(std::span(args).subspan(1));
      }
    }
    return ziwei::cli::castCommand(args);
  } catch (const std::exception& error) {
    ziwei::cli::reportError(error.what());
    return ziwei::cli::kExitIoError;
  }
}
