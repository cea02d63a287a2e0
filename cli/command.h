#pragma once
// Running a command: a usage error, the help text, the version or the work.

#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "cli/options.h"

namespace ziwei::cli {

// How every command writes a file, for its help text.
inline constexpr std::string_view kOutputFilesHelp =
    "Output files: a file is written to a temporary file beside it, named after it\n"
    "as NAME.tmpXXXXXX (six letters and digits; NAME is shortened to keep the whole\n"
    "within 255 bytes), flushed and renamed over it, so that a reader sees the old\n"
    "file or the whole new one; it keeps the old file's mode, and its owner where\n"
    "permitted. A link is followed to the file it names; a device, a pipe and\n"
    "/dev/stdout are written in place. Refused and left as they are: a file you may\n"
    "not write, a loop of links, and a file with other hard links (their names\n"
    "would keep the old content). A run ended by Ctrl-C, SIGTERM, SIGHUP or a\n"
    "closed pipe removes its temporary files; only a killed one (SIGKILL, a crash)\n"
    "leaves NAME.tmpXXXXXX beside its target.\n";

// Writes a usage error on standard error, one line and the lines that follow
// it; returns kExitUsage.
int reportUsage(const UsageError& error);

// Writes `text` to standard output; returns kExitDone, or kExitIoError with
// a line on standard error when it cannot be written.
int printText(std::string_view text);

// Writes "ziwei: " and `message` (made one line) on standard error.
void reportError(std::string_view message);

// "ziwei VERSION\n".
std::string versionText();

// The one runner: a usage error, then help (and version), then the work.
template <class Options>
int runParsed(const Parsed<Options>& parsed, std::string (*help)(), int (*run)(const Options&)) {
  if (const auto* error = std::get_if<UsageError>(&parsed)) return reportUsage(*error);
  if (std::holds_alternative<ShowHelp>(parsed)) return printText(help());
  if (std::holds_alternative<ShowVersion>(parsed)) return printText(versionText());
  return run(std::get<Options>(parsed));
}

// One command of ziwei: its name after "ziwei" ("" for the cast) and its
// whole run on the process's streams.
struct CommandEntry {
  std::string_view name;
  int (*main)(std::span<const std::string_view> args);
};

}  // namespace ziwei::cli
