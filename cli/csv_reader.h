#pragma once
// Comma-separated values as the batch caster reads them, one record at a
// time from an Input, so that memory stays bounded however long the input.

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/input.h"

namespace ziwei::cli {

// One record: its fields and the line it starts on (the first line is 1).
struct CsvRecord {
  std::size_t line = 0;
  std::vector<std::string> fields;
};

// A record that could not be read: its first line and why.
struct CsvError {
  std::size_t line = 0;
  std::string reason;
};

// Reads records one after another.
//
// Fields are separated by "," and records by LF or CR LF. A field that
// begins with '"' is quoted: it runs to the next lone '"', "" stands for one
// '"', and it may hold commas and line breaks (kept as they are); the
// closing quote must be followed by "," or the end of the record. A '"'
// inside an unquoted field is refused. A UTF-8 byte order mark at the start
// is skipped, empty lines are skipped, and a CR that ends the input is
// dropped. A record of more than kLongestLine bytes is refused.
//
// After a refused record the reader goes on with the line after the one
// where the fault was found; after a quoted field that is never closed (or
// a record too long that spans lines), with the line after the record's
// first line.
class CsvReader {
 public:
  explicit CsvReader(Input& input) : input_(input) {}

  // The next record or refusal; nothing at the end of the input. Throws
  // InputError when the input cannot be read.
  std::optional<std::variant<CsvRecord, CsvError>> next();

 private:
  // At least `count` bytes of data, or all that is left; false when fewer.
  bool have(std::size_t count);
  CsvError tooLong(std::size_t scanned);

  Input& input_;
  std::size_t line_ = 1;
  bool started_ = false;
};

}  // namespace ziwei::cli
