#include "cli/rules_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/options.h"
#include "rules/rule_text.h"

namespace ziwei::cli {

namespace {
constexpr std::size_t kLargestRulesFile = 64 * 1024;
}  // namespace

ChartOptions readRulesFile(std::string_view what, std::string_view path) {
  const std::string name(path);
  const std::string where = std::string(what) + ": " + name;
  std::ifstream file(name, std::ios::binary);
  if (!file) throw Refusal{where + ": cannot be read (" + std::strerror(errno) + ")"};
  std::string text;
  char block[4096];
  while (file.read(block, sizeof block) || file.gcount() > 0) {
    text.append(block, static_cast<std::size_t>(file.gcount()));
    if (text.size() > kLargestRulesFile) {
      throw Refusal{where + ": larger than 64 KiB, the largest rules file allowed"};
    }
  }
  if (file.bad()) throw Refusal{where + ": cannot be read (" + std::strerror(errno) + ")"};
  ChartOptions options;
  if (const auto error = readRulesText(text, options)) {
    throw Refusal{where + " line " + std::to_string(error->line) + ": " + error->message};
  }
  return options;
}

}  // namespace ziwei::cli
