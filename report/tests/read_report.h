#pragma once
// Reads the two renderings of a report back into sections, as a reader (or
// a program given the text) would, checking the layout each promises on the
// way: underlines as wide as their titles, table columns aligned, Markdown
// tables with as many cells in every row as in the head.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/render.h"

namespace ziwei::test {

struct ReadSection {
  int depth = 0;
  std::string title;
  std::vector<std::pair<std::string, std::string>> fields;
  std::vector<std::vector<std::string>> table;  // the head first

  // The value of the field `label`, or nothing.
  const std::string* field(std::string_view label) const {
    for (const auto& [name, value] : fields) {
      if (name == label) return &value;
    }
    return nullptr;
  }
  friend bool operator==(const ReadSection&, const ReadSection&) = default;
};

using ReadReport = std::vector<ReadSection>;

inline std::vector<std::string> linesOf(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    EXPECT_NE(end, std::string_view::npos) << "the last line has no line feed";
    lines.emplace_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

inline bool allOf(std::string_view line, char c) {
  return !line.empty() && line.find_first_not_of(c) == std::string_view::npos;
}

// A table's rule: runs of "-" two blanks apart, after the indent.
inline bool isTableRule(std::string_view line) {
  while (line.starts_with(' ')) line.remove_prefix(1);
  return !line.empty() && line.find_first_not_of("- ") == std::string_view::npos &&
         line.find("  ") != std::string_view::npos && !line.ends_with(' ');
}

// The cells of a text table's line and the column where each begins.
inline std::vector<std::pair<std::string, std::size_t>> textCells(std::string_view line) {
  std::vector<std::pair<std::string, std::size_t>> cells;
  std::size_t column = 0;
  while (!line.empty()) {
    std::size_t blanks = 0;
    while (blanks < line.size() && line[blanks] == ' ') ++blanks;
    column += blanks;
    line.remove_prefix(blanks);
    std::size_t end = line.find("  ");
    if (end == std::string_view::npos) end = line.size();
    const std::string_view cell = line.substr(0, end);
    cells.emplace_back(std::string(cell), column);
    column += displayWidth(cell);
    line.remove_prefix(end);
  }
  return cells;
}

inline ReadReport readText(std::string_view text) {
  ReadReport report;
  const std::vector<std::string> lines = linesOf(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty()) continue;
    EXPECT_FALSE(line.ends_with(' ')) << "a blank at the end of: " << line;
    const std::string next = i + 1 < lines.size() ? lines[i + 1] : "";
    if (isTableRule(next)) {
      EXPECT_FALSE(report.empty());
      if (report.empty()) return report;
      auto& table = report.back().table;
      const auto columns = textCells(next);
      std::size_t row = i;
      for (; row < lines.size() && !lines[row].empty(); ++row) {
        if (row == i + 1) continue;
        const auto cells = textCells(lines[row]);
        EXPECT_EQ(cells.size(), columns.size()) << lines[row];
        std::vector<std::string> values;
        for (std::size_t c = 0; c < cells.size(); ++c) {
          if (c < columns.size()) {
            EXPECT_EQ(cells[c].second, columns[c].second) << lines[row];
          }
          values.push_back(cells[c].first);
        }
        table.push_back(std::move(values));
      }
      i = row;
      continue;
    }
    if (allOf(next, '=') || allOf(next, '-')) {
      EXPECT_EQ(next.size(), displayWidth(line)) << line;
      report.push_back({next[0] == '=' ? 1 : 2, line, {}, {}});
      ++i;
      continue;
    }
    const bool indented = line.starts_with("  ");
    const std::string_view body = std::string_view(line).substr(indented ? 2 : 0);
    const std::size_t colon = body.find(": ");
    if (colon != std::string_view::npos || body.ends_with(':')) {
      EXPECT_FALSE(report.empty());
      if (report.empty()) return report;
      // Fields of a palace or a level are indented, those of a part not.
      EXPECT_EQ(indented, report.back().depth == 3) << line;
      const std::size_t end = colon != std::string_view::npos ? colon : body.size() - 1;
      report.back().fields.emplace_back(
          std::string(body.substr(0, end)),
          std::string(end + 2 <= body.size() ? body.substr(end + 2) : ""));
      continue;
    }
    EXPECT_FALSE(indented) << line;
    report.push_back({3, std::string(body), {}, {}});
  }
  return report;
}

// Markdown text without its escapes.
inline std::string unescaped(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) ++i;
    plain += text[i];
  }
  return plain;
}

// The cells of a Markdown table row, split at the pipes that are not
// escaped and without their escapes.
inline std::vector<std::string> markdownCells(std::string_view line) {
  std::vector<std::string> cells;
  EXPECT_TRUE(line.starts_with("| ") && line.ends_with(" |")) << line;
  std::string cell;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) {
      cell += line[++i];
    } else if (line[i] == '|') {
      EXPECT_TRUE(cell.size() >= 2 && cell.front() == ' ' && cell.back() == ' ') << line;
      cells.push_back(cell.size() >= 2 ? cell.substr(1, cell.size() - 2) : cell);
      cell.clear();
    } else {
      cell += line[i];
    }
  }
  return cells;
}

// A Markdown rendering read back: a heading is followed by a blank line, a
// list or a table by a blank line or the end; every row of a table has the
// head's number of cells, the second line is its delimiter row.
inline ReadReport readMarkdown(std::string_view text) {
  ReadReport report;
  const std::vector<std::string> lines = linesOf(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::string_view previous = i > 0 ? std::string_view(lines[i - 1]) : "";
    if (line.empty()) {
      EXPECT_FALSE(previous.empty()) << "two blank lines before line " << i + 2;
      continue;
    }
    EXPECT_FALSE(line.ends_with(' ') && !line.ends_with(" |")) << "a blank at the end: " << line;
    if (line.starts_with('#')) {
      const std::size_t depth = line.find_first_not_of('#');
      EXPECT_TRUE(depth >= 1 && depth <= 3 && line[depth] == ' ') << line;
      EXPECT_TRUE(i == 0 || previous.empty()) << line;
      EXPECT_TRUE(i + 1 == lines.size() || lines[i + 1].empty()) << line;
      report.push_back({static_cast<int>(depth), unescaped(line.substr(depth + 1)), {}, {}});
      continue;
    }
    EXPECT_FALSE(report.empty()) << line;
    if (report.empty()) return report;
    ReadSection& section = report.back();
    if (line.starts_with("- **")) {
      EXPECT_TRUE(previous.empty() || previous.starts_with("- **")) << line;
      // The label ends at the first "**" that is not escaped.
      std::size_t end = 4;
      while (end < line.size() && !(line.compare(end, 2, "**") == 0 && line[end - 1] != '\\')) {
        ++end;
      }
      EXPECT_TRUE(line.compare(end, 3, "**:") == 0) << line;
      const std::string_view value =
          end + 3 < line.size() ? std::string_view(line).substr(end + 4) : "";
      EXPECT_TRUE(end + 3 == line.size() || line[end + 3] == ' ') << line;
      section.fields.emplace_back(unescaped(std::string_view(line).substr(4, end - 4)),
                                  unescaped(value));
      continue;
    }
    EXPECT_TRUE(line.starts_with('|')) << "neither heading, field nor table: " << line;
    EXPECT_TRUE(previous.empty() || previous.starts_with('|')) << line;
    const std::vector<std::string> cells = markdownCells(line);
    if (previous.empty()) {
      EXPECT_TRUE(section.table.empty()) << "a second table: " << line;
      // The head, then the delimiter row.
      EXPECT_TRUE(i + 1 < lines.size());
      if (i + 1 >= lines.size()) return report;
      const std::vector<std::string> delimiters = markdownCells(lines[i + 1]);
      EXPECT_EQ(delimiters.size(), cells.size()) << lines[i + 1];
      for (const std::string& delimiter : delimiters) EXPECT_EQ(delimiter, "---");
      ++i;
    } else {
      EXPECT_EQ(cells.size(), section.table.front().size()) << line;
    }
    section.table.push_back(cells);
  }
  return report;
}

}  // namespace ziwei::test
