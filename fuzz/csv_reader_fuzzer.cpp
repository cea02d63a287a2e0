// Fuzzes the batch caster's CSV reader and record reader: the input is the
// whole CSV text.
//
// Reading any text ends; every record and refusal names a line of the text,
// in rising order; a refusal is one printable line. The records read, written out
// again with every field quoted, read back as the same fields on the lines
// where they were written. With the first record as the header, a record
// that the record reader accepts holds a UTF-8 name and birth data that the
// chart engine accepts.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "birth/solar_birth.h"
#include "chart/chart.h"
#include "cli/batch_records.h"
#include "cli/csv_reader.h"
#include "fuzz/fuzz_check.h"
#include "page/user_text.h"

namespace {

using ziwei::cli::CsvError;
using ziwei::cli::CsvReader;
using ziwei::cli::CsvRecord;

using ziwei::fuzz::printable;
using ziwei::fuzz::require;

std::vector<std::variant<CsvRecord, CsvError>> readAll(std::string_view text) {
  const std::size_t lines =
      static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
  std::vector<std::variant<CsvRecord, CsvError>> read;
  ziwei::cli::Input input = ziwei::cli::Input::ofText(text);
  CsvReader reader(input);
  std::size_t lastLine = 0;
  while (auto next = reader.next()) {
    const std::size_t line = std::visit([](const auto& each) { return each.line; }, *next);
    require(line >= 1 && line <= lines, "a record names a line of the text");
    require(line >= lastLine, "records come in line order");
    if (const auto* error = std::get_if<CsvError>(&*next)) {
      require(printable(error->reason), "a refusal prints as one line");
    }
    lastLine = line;
    read.push_back(std::move(*next));
    require(read.size() <= text.size() + 1, "reading ends");
  }
  return read;
}

// The records written out again, every field quoted, one record a line.
std::string quoted(const std::vector<CsvRecord>& records, std::vector<std::size_t>& lines) {
  std::string text;
  std::size_t line = 1;
  for (const CsvRecord& record : records) {
    lines.push_back(line);
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
      if (i != 0) text += ',';
      text += '"';
      for (const char c : record.fields[i]) {
        if (c == '"') text += '"';
        text += c;
      }
      text += '"';
      line += static_cast<std::size_t>(
          std::count(record.fields[i].begin(), record.fields[i].end(), '\n'));
    }
    text += '\n';
    ++line;
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto read = readAll(text);

  std::vector<CsvRecord> records;
  for (const auto& each : read) {
    if (const auto* record = std::get_if<CsvRecord>(&each)) records.push_back(*record);
  }
  std::vector<std::size_t> lines;
  const std::string again = quoted(records, lines);
  const auto reread = readAll(again);
  require(reread.size() == records.size(), "the records read back one for one");
  for (std::size_t i = 0; i < records.size(); ++i) {
    const auto* record = std::get_if<CsvRecord>(&reread[i]);
    require(record != nullptr, "a quoted record is read back");
    require(record->fields == records[i].fields, "a quoted record keeps its fields");
    require(record->line == lines[i], "a quoted record starts on its line");
  }

  if (records.empty()) return 0;
  ziwei::cli::BatchColumns columns;
  try {
    columns = ziwei::cli::readBatchHeader(records.front());
  } catch (const ziwei::cli::Refusal& refusal) {
    require(printable(refusal.message), "a refused header prints as one line");
    return 0;
  }
  for (std::size_t i = 1; i < records.size(); ++i) {
    try {
      const ziwei::BirthRequest input = ziwei::cli::readBatchRecord(records[i], columns).request;
      require(ziwei::isValidUtf8(input.name), "an accepted name is UTF-8");
      try {
        (void)ziwei::cast(input);
      } catch (const std::invalid_argument&) {
        require(false, "an accepted record casts a chart");
      }
    } catch (const ziwei::cli::Refusal& refusal) {
      require(printable(refusal.message), "a refused record prints as one line");
    }
  }
  return 0;
}
