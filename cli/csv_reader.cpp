#include "cli/csv_reader.h"

#include <algorithm>

namespace ziwei::cli {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

CsvReader::CsvReader(std::string_view text) : text_(text) {
  if (text_.starts_with(kByteOrderMark)) at_ = kByteOrderMark.size();
}

void CsvReader::skipLine() {
  const std::size_t end = text_.find('\n', at_);
  at_ = end == std::string_view::npos ? text_.size() : end + 1;
  ++line_;
}

std::optional<std::variant<CsvRecord, CsvError>> CsvReader::next() {
  // Empty lines hold no record.
  for (;;) {
    if (at_ >= text_.size()) return std::nullopt;
    const std::string_view rest = text_.substr(at_);
    if (rest.starts_with('\n')) {
      at_ += 1;
    } else if (rest.starts_with("\r\n") || rest == "\r") {
      at_ += rest.size() == 1 ? 1u : 2u;
    } else {
      break;
    }
    ++line_;
  }

  CsvRecord record;
  record.line = line_;
  const std::size_t firstLineStart = at_;
  const auto refuse = [this, &record](std::string reason) {
    CsvError error{record.line, std::move(reason)};
    skipLine();
    return error;
  };

  for (;;) {  // one field a turn
    std::string field;
    if (at_ < text_.size() && text_[at_] == '"') {
      ++at_;
      for (;;) {
        const std::size_t quote = text_.find('"', at_);
        if (quote == std::string_view::npos) {
          const CsvError error{record.line, "a quoted field is not closed"};
          at_ = firstLineStart;
          line_ = record.line;
          skipLine();
          return error;
        }
        const std::string_view part = text_.substr(at_, quote - at_);
        line_ += static_cast<std::size_t>(std::ranges::count(part, '\n'));
        field += part;
        at_ = quote + 1;
        if (at_ < text_.size() && text_[at_] == '"') {
          field += '"';
          ++at_;
          continue;
        }
        break;
      }
      const std::string_view after = text_.substr(at_);
      if (!after.empty() && after[0] != ',' && after[0] != '\n' && !after.starts_with("\r\n") &&
          after != "\r") {
        return refuse("a closing quote is followed by \"" + std::string(after.substr(0, 1)) +
                      "\" instead of a comma or the end of the line");
      }
    } else {
      const std::size_t end = text_.find_first_of(",\n\"", at_);
      std::size_t stop = end == std::string_view::npos ? text_.size() : end;
      if (stop < text_.size() && text_[stop] == '"') {
        return refuse("a quote inside a field that does not begin with one");
      }
      // A CR before the line feed (or at the end of the text) ends the line.
      std::size_t fieldEnd = stop;
      if (fieldEnd > at_ && text_[fieldEnd - 1] == '\r' &&
          (fieldEnd == text_.size() || text_[fieldEnd] == '\n')) {
        --fieldEnd;
      }
      field.assign(text_.substr(at_, fieldEnd - at_));
      at_ = stop;
    }
    record.fields.push_back(std::move(field));

    if (at_ >= text_.size()) return record;
    if (text_[at_] == ',') {
      ++at_;
      continue;
    }
    // The end of the line: LF, CR LF, or a CR that ends the text.
    if (text_[at_] == '\r') ++at_;
    if (at_ < text_.size() && text_[at_] == '\n') ++at_;
    ++line_;
    return record;
  }
}

}  // namespace ziwei::cli
