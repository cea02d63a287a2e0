#include "cli/command.h"

#include <unistd.h>

#include "cli/exit_status.h"
#include "cli/version.h"
#include "output/output_file.h"
#include "unicode/utf8.h"

namespace ziwei::cli {

void reportError(std::string_view message) {
  const std::string line = "ziwei: " + oneLine(message) + "\n";
  // Nothing is left to tell a failure of standard error to.
  (void)!::write(STDERR_FILENO, line.data(), line.size());
}

int reportUsage(const UsageError& error) {
  reportError(error.message);
  std::string more;
  for (const std::string& line : error.more) more += line + "\n";
  (void)!::write(STDERR_FILENO, more.data(), more.size());
  return kExitUsage;
}

int printText(std::string_view text) {
  try {
    writeOutputFile(std::nullopt, text);
  } catch (const OutputError& error) {
    reportError(error.what());
    return kExitIoError;
  }
  return kExitDone;
}

std::string versionText() { return "ziwei " + std::string(kVersion) + "\n"; }

}  // namespace ziwei::cli
