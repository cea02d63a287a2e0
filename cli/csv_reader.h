#pragma once
// Comma-separated values as the batch caster reads them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

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

// Reads records one after another from a whole text. Pure: it only looks at
// the bytes it was given, whatever they are.
//
// Fields are separated by "," and records by LF or CR LF. A field that
// begins with '"' is quoted: it runs to the next lone '"', "" stands for one
// '"', and it may hold commas and line breaks (kept as they are); the
// closing quote must be followed by "," or the end of the record. A '"'
// inside an unquoted field is refused. A UTF-8 byte order mark at the start
// is skipped, empty lines are skipped, and a CR that ends the text is
// dropped.
//
// After a refused record the reader goes on with the line after the one
// where the fault was found; after a quoted field that is never closed, with
// the line after the record's first line.
class CsvReader {
 public:
  explicit CsvReader(std::string_view text);

  // The next record or refusal; nothing at the end of the text.
  std::optional<std::variant<CsvRecord, CsvError>> next();

 private:
  // Skips to the start of the next line.
  void skipLine();

  std::string_view text_;
  std::size_t at_ = 0;
  std::size_t line_ = 1;
};

}  // namespace ziwei::cli
