#pragma once
// ziwei batch: many charts at once, from CSV records or over the whole lunar
// input space, cast on every core and written in input order.

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "page/page_file.h"

namespace ziwei::cli {

struct BatchOptions {
  std::optional<std::string> input;     // the CSV file; standard input when not given
  bool all = false;                     // every lunar birth instead of an input
  std::optional<std::string> output;    // the JSON Lines file; standard output when not given
  std::optional<std::string> pagesDir;  // one page file per chart instead of JSON Lines
  PageEncoding encoding = PageEncoding::Big5;
  bool encodingGiven = false;
  std::optional<std::string> printDate;  // on the pages; today when not given
  unsigned jobs = 0;                     // worker threads; 0 for one per core
  bool force = false;                    // write even when the output may not fit
  std::optional<std::string> rulesFile;  // the rules every record starts from (--rules)
};

// Reads the arguments that follow "batch". Pure: no I/O, no global state.
Parsed<BatchOptions> parseBatchCommand(std::span<const std::string_view> args);

std::string batchHelpText();

// The whole command on the process's streams; returns the exit status:
// kExitDone, kExitBadData when a line was refused, kExitIoError when the
// input could not be read or an output not written, kExitUsage.
int batchCommand(std::span<const std::string_view> args);

}  // namespace ziwei::cli
