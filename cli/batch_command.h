#pragma once
// ziwei batch: many charts at once, from CSV records or over the whole lunar
// input space, cast on every core and written in input order.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "birth/lunar_birth.h"
#include "cli/command_line.h"
#include "cli/csv_reader.h"
#include "page/page_file.h"

namespace ziwei::cli {

struct BatchOptions {
  std::optional<std::string> input;     // the CSV file; standard input when not given
  bool all = false;                     // every lunar birth instead of an input
  std::optional<std::string> output;    // the JSON Lines file; standard output when not given
  std::optional<std::string> pagesDir;  // one page file per chart instead of JSON Lines
  PageEncoding encoding = PageEncoding::Big5;
  std::optional<std::string> printDate;  // on the pages; today when not given
  unsigned jobs = 0;                     // worker threads; 0 for one per core
};

using BatchCommand = std::variant<UsageError, ShowHelp, BatchOptions>;

// Reads the arguments that follow "batch". Pure: no I/O, no global state.
BatchCommand parseBatchCommand(std::span<const std::string_view> args);

std::string batchHelpText();

// The columns of the input, as its header names them: the nine below in any
// order, and optionally "solar".
inline constexpr std::array<std::string_view, 10> kBatchColumns = {
    "name", "sex", "year", "month", "leap", "day", "hour", "minute", "second", "solar"};
inline constexpr std::size_t kSolarColumn = 9;

// Where each column stands in a record (kBatchColumns order; the solar
// column may be missing), and how many fields a record has.
struct BatchColumns {
  std::array<std::optional<std::size_t>, kBatchColumns.size()> position;
  std::size_t fields = 0;
};

// The columns of a header record, or why it cannot be used (a column
// missing, unknown or given twice).
std::variant<BatchColumns, std::string> readBatchHeader(const CsvRecord& header);

// The birth of one record, or why it is refused. A record with a solar date
// leaves year, month, leap and day empty; the date is converted to the lunar
// date (birth/solar_birth.h).
std::variant<BirthRequest, std::string> readBatchRecord(const CsvRecord& record,
                                                        const BatchColumns& columns);

// The births of --all: lunar years 1912..2010 x months x the leap flag x days
// 1..30 x hours 0..23 x both sexes, minute and second 0, in that nesting.
inline constexpr std::size_t kAllBirths = 99 * 12 * 2 * 30 * 24 * 2;
BirthRequest allBirth(std::size_t index);

// The whole command on the process's standard streams; returns the exit
// status: kExitDone, kExitBadData when a line was refused, kExitIoError when
// the input could not be read or an output not written, kExitUsage.
int batchCommand(std::span<const std::string_view> args);

}  // namespace ziwei::cli
