#include "cli/csv_reader.h"

#include <algorithm>

#include "cli/options.h"
#include "unicode/utf8.h"

namespace ziwei::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The start of the line after the one at `at` in `text`, counting it.
std::size_t afterLine(std::string_view text, std::size_t at, std::size_t& line) {
  const std::size_t end = text.find('\n', at);
  ++line;
  return end == std::string_view::npos ? text.size() : end + 1;
}

// Reads the record at the start of `text`, which holds it whole (up to its
// line feed, or to the end of the input when `text` ends there). Sets `used`
// to where the next record starts and moves `line` on.
std::variant<CsvRecord, CsvError> parseRecord(std::string_view text, std::size_t& used,
                                              std::size_t& line) {
  CsvRecord record;
  record.line = line;
  std::size_t at = 0;
  const auto refuse = [&](std::string reason) {
    used = afterLine(text, at, line);
    return CsvError{record.line, std::move(reason)};
  };
  for (;;) {  // one field a turn
    std::string field;
    if (at < text.size() && text[at] == '"') {
      ++at;
      for (;;) {
        const std::size_t quote = text.find('"', at);
        if (quote == std::string_view::npos) {
          line = record.line;
          used = afterLine(text, 0, line);
          return CsvError{record.line, "a quoted field is not closed"};
        }
        const std::string_view part = text.substr(at, quote - at);
        line += static_cast<std::size_t>(std::ranges::count(part, '\n'));
        field += part;
        at = quote + 1;
        if (at < text.size() && text[at] == '"') {
          field += '"';
          ++at;
          continue;
        }
        break;
      }
      const std::string_view after = text.substr(at);
      if (!after.empty() && after[0] != ',' && after[0] != '\n' && !after.starts_with("\r\n") &&
          after != "\r") {
        std::string_view character = after;
        (void)takeCodePoint(character);
        return refuse("a closing quote is followed by " +
                      shown(after.substr(0, after.size() - character.size())) +
                      " instead of a comma or the end of the line");
      }
    } else {
      const std::size_t end = text.find_first_of(",\n\"", at);
      const std::size_t stop = end == std::string_view::npos ? text.size() : end;
      if (stop < text.size() && text[stop] == '"') {
        at = stop;
        return refuse("a quote inside a field that does not begin with one");
      }
      // A CR before the line feed (or at the end of the input) ends the line.
      std::size_t fieldEnd = stop;
      if (fieldEnd > at && text[fieldEnd - 1] == '\r' &&
          (fieldEnd == text.size() || text[fieldEnd] == '\n')) {
        --fieldEnd;
      }
      field.assign(text.substr(at, fieldEnd - at));
      at = stop;
    }
    record.fields.push_back(std::move(field));
    if (at < text.size() && text[at] == ',') {
      ++at;
      continue;
    }
    // The end of the line: LF, CR LF, or a CR that ends the input.
    if (at < text.size() && text[at] == '\r') ++at;
    if (at < text.size() && text[at] == '\n') ++at;
    ++line;
    used = at;
    return record;
  }
}

}  // namespace

bool CsvReader::have(std::size_t count) {
  while (input_.data().size() < count) {
    if (!input_.fill()) return false;
  }
  return true;
}

CsvError CsvReader::tooLong(std::size_t scanned) {
  CsvError error{line_, std::string(kTooLong)};
  // A record that spans lines goes on after its first line, as one whose
  // quote is never closed; else the rest of the line is dropped.
  if (const std::size_t feed = input_.data().substr(0, scanned).find('\n');
      feed != std::string_view::npos) {
    input_.consume(feed + 1);
  } else {
    input_.skipLine();
  }
  ++line_;
  return error;
}

std::optional<std::variant<CsvRecord, CsvError>> CsvReader::next() {
  if (!started_) {
    started_ = true;
    have(kByteOrderMark.size());
    if (input_.data().starts_with(kByteOrderMark)) input_.consume(kByteOrderMark.size());
  }
  // Empty lines hold no record.
  for (;;) {
    have(2);
    const std::string_view rest = input_.data();
    if (rest.empty()) return std::nullopt;
    if (rest.starts_with('\n')) {
      input_.consume(1);
    } else if (rest.starts_with("\r\n") || (rest == "\r" && input_.ended())) {
      input_.consume(rest.size() == 1 ? 1u : 2u);
    } else {
      break;
    }
    ++line_;
  }

  // The record's extent: to the line feed that is not inside quotes, or to
  // the end of the input.
  enum class State { FieldStart, Plain, Quoted, QuoteInQuoted } state = State::FieldStart;
  std::size_t at = 0;
  std::size_t end = 0;
  for (;;) {
    if (at > kLongestLine) return tooLong(at);
    if (at == input_.data().size() && !input_.fill()) {
      end = at;
      break;
    }
    const char c = input_.data()[at++];
    if (state == State::Quoted) {
      if (c == '"') state = State::QuoteInQuoted;
      continue;
    }
    if (state == State::QuoteInQuoted && c == '"') {
      state = State::Quoted;
      continue;
    }
    if (state == State::FieldStart && c == '"') {
      state = State::Quoted;
      continue;
    }
    state = c == ',' ? State::FieldStart : State::Plain;
    if (c == '\n') {
      end = at;
      break;
    }
  }
  std::size_t used = 0;
  auto result = parseRecord(input_.data().substr(0, end), used, line_);
  input_.consume(used);
  return result;
}

}  // namespace ziwei::cli
